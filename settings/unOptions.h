#pragma once

#include "settings/FormPlacement.h"
#include "settings/OptionsForm.h"

#include <QDialog>

class QItemSelection;

// The options dialog: the defaults of new notes, the behaviour switches, the
// start-up entry and the language of the user interface. It works only on
// stored data; the caller restarts the program afterwards, so every change
// takes effect through that restart.
//
// Clean (Ok disabled) until the user changes something. Ok stores every
// value in one step (settings::SettingsEdit) and ends with kResultOk; Cancel
// with changes reloads everything and stays open, Cancel without changes,
// Escape and the close box end with kResultCancel, storing nothing.
class TFrmOptions : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kResultOk = 1;
    static constexpr int kResultCancel = 2;

    // Builds and loads the dialog for the program in programFolder (its
    // "language" folder and "default.lng"). Loading reads every value
    // through the settings store, which stores the default of each missing
    // one; a value the store refuses to write raises its error.
    explicit TFrmOptions(const QString &programFolder, QWidget *parent = nullptr);
    // The same for the running program's folder.
    explicit TFrmOptions(QWidget *parent = nullptr);
    ~TFrmOptions() override;

    // The first run asks for a language: that page comes first then.
    void showLanguagePage();

    const settings::OptionsForm &form() const { return m_form; }
    // The language file that Ok installs; the one in use until a row is picked.
    const QString &SelectedLngFile() const { return m_selectedLngFile; }

    void done(int result) override;
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void applyLanguageTable();
    void ResetDialog();
    void LoadSettings();
    void loadStartupEntry();
    void rebuildLanguageList();
    void storeStartupEntry();
    void installSelectedLanguage();
    void connectHandlers();

    void btnApplyClick();
    void btnCancelClick();
    void Button1Click();
    void Button2Click();
    void panBackClick();
    void panTitleClick();
    void lvLangSelectItem(const QItemSelection &selected, const QItemSelection &deselected);
    void edTitleNoteChange();
    void cbPositionChange();
    void edWidthChange();
    void edHeightChange();
    void cbNewNotesOnTopClick();
    void cbShowAllOnNewNoteClick();
    void cbActionChange();
    void cbRunAtWindowsClick();

    // Ok is enabled exactly while there are changes not stored yet.
    void setChanged(bool changed);
    void chooseFont(settings::SamplePanel &sample);
    void chooseColor(settings::SamplePanel &colorSample, settings::SamplePanel &fontSample);

    settings::OptionsForm m_form;
    settings::FormPlacement FormPlacement1;
    QString m_programFolder;
    QString m_languageFolder;
    QString m_selectedLngFile;
    // False when the start-up entry could not be read: Ok then leaves it
    // alone unless the user ticks the box.
    bool m_startupEntryReadable = true;
    bool m_shown = false;
};

namespace settings {

// Parses a number typed into the width or height box: an optional sign and
// decimal digits, blanks around them allowed; 0 for anything else, and for
// numbers beyond 32 bits.
qint32 typedNumber(const QString &text);

} // namespace settings
