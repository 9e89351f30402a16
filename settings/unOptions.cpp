#include "settings/unOptions.h"

#include "platform/Paths.h"
#include "settings/DResource.h"
#include "settings/LanguageList.h"
#include "settings/SamplePanel.h"
#include "settings/SettingsTable.h"
#include "settings/StartupEntry.h"
#include "settings/TextIds.h"
#include "ui/ColorRef.h"
#include "ui/Dialogs.h"
#include "ui/Guarded.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTreeWidget>

using namespace settings;

namespace {

constexpr int kPositionCount = 6;

template<typename Widget> void translate(Widget *widget, TextId id)
{
    widget->setText(uiText(id, widget->text()));
}

} // namespace

qint32 settings::typedNumber(const QString &text)
{
    const QString number = text.trimmed();
    const qsizetype start
        = number.startsWith(QLatin1Char('+')) || number.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (number.size() == start)
        return 0;
    for (qsizetype i = start; i < number.size(); ++i) {
        if (number[i] < QLatin1Char('0') || number[i] > QLatin1Char('9'))
            return 0;
    }
    bool ok = false;
    const int value = number.toInt(&ok, 10);
    return ok ? value : 0;
}

TFrmOptions::TFrmOptions(const QString &programFolder, QWidget *parent)
    : QDialog(parent)
    , FormPlacement1(platform::windowPlacementFile(), QStringLiteral("options"))
    , m_programFolder(programFolder)
    , m_languageFolder(programFolder + QStringLiteral("/language"))
{
    setObjectName(QStringLiteral("FrmOptions"));
    setWindowTitle(QStringLiteral("Options"));
    // A fixed-size dialog: only a title and a close button, no minimize or
    // maximize (the window manager would otherwise offer both).
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    m_form.setupUi(*this);
    setFixedSize(421, 385);
    connectHandlers();
    FormCreate();
}

TFrmOptions::TFrmOptions(QWidget *parent)
    : TFrmOptions(platform::programFolder(), parent)
{
}

TFrmOptions::~TFrmOptions()
{
    if (m_shown)
        FormPlacement1.save(*this);
}

void TFrmOptions::showLanguagePage()
{
    m_form.pgSetup->setCurrentWidget(m_form.TSLanguage);
}

void TFrmOptions::done(int result)
{
    if (m_shown)
        FormPlacement1.save(*this);
    QDialog::done(result);
}

// Escape and the close box end the dialog at once, storing nothing.
void TFrmOptions::reject()
{
    done(kResultCancel);
}

void TFrmOptions::showEvent(QShowEvent *event)
{
    if (!m_shown) {
        m_shown = true;
        FormPlacement1.restore(*this);
    }
    QDialog::showEvent(event);
}

void TFrmOptions::connectHandlers()
{
    const OptionsForm &f = m_form;
    connect(f.btnApply, &QPushButton::clicked, this, &TFrmOptions::btnApplyClick);
    connect(f.btnCancel, &QPushButton::clicked, this, &TFrmOptions::btnCancelClick);
    connect(f.Button1, &QPushButton::clicked, this, &TFrmOptions::Button1Click);
    connect(f.Button2, &QPushButton::clicked, this, &TFrmOptions::Button2Click);
    connect(f.panBack, &SamplePanel::clicked, this, &TFrmOptions::panBackClick);
    connect(f.panTitle, &SamplePanel::clicked, this, &TFrmOptions::panTitleClick);
    connect(f.lvLang->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TFrmOptions::lvLangSelectItem);
    connect(f.edTitleNote, &QLineEdit::textChanged, this, &TFrmOptions::edTitleNoteChange);
    connect(f.cbPosition, &QComboBox::currentTextChanged, this, &TFrmOptions::cbPositionChange);
    connect(f.edWidth, &QLineEdit::textChanged, this, &TFrmOptions::edWidthChange);
    connect(f.edHeight, &QLineEdit::textChanged, this, &TFrmOptions::edHeightChange);
    connect(f.cbNewNotesOnTop, &QCheckBox::toggled, this, &TFrmOptions::cbNewNotesOnTopClick);
    connect(f.cbShowAllOnNewNote, &QCheckBox::toggled, this, &TFrmOptions::cbShowAllOnNewNoteClick);
    connect(f.cbAction, &QComboBox::currentIndexChanged, this, &TFrmOptions::cbActionChange);
    connect(f.cbRunAtWindows, &QCheckBox::toggled, this, &TFrmOptions::cbRunAtWindowsClick);
}

void TFrmOptions::FormCreate()
{
    applyLanguageTable();
    ResetDialog();
    // Once only: Cancel with changes reloads everything else, but the box
    // keeps what the user made of it.
    loadStartupEntry();
    setChanged(false);
}

void TFrmOptions::applyLanguageTable()
{
    const OptionsForm &f = m_form;
    translate(f.Label1, OptionsTitle);
    translate(f.Label2, OptionsPosition);
    translate(f.Label5, OptionsBackColor);
    translate(f.Label6, OptionsTitleBackColor);
    translate(f.Label3, OptionsWidth);
    translate(f.Label4, OptionsHeight);
    translate(f.Button1, OptionsChangeNoteFont);
    translate(f.Button2, OptionsChangeTitleFont);
    f.panNoteFont->setCaption(uiText(OptionsNoteFontSample, f.panNoteFont->caption()));
    f.panTitleFont->setCaption(uiText(OptionsTitleFontSample, f.panTitleFont->caption()));
    translate(f.Label7, OptionsSelectedLanguage);
    translate(f.Label8, OptionsAuthor);
    QTreeWidgetItem *headers = f.lvLang->headerItem();
    for (int column = 0; column < headers->columnCount(); ++column)
        headers->setText(column, uiText(OptionsLanguageColumns + column, headers->text(column)));
    translate(f.cbNewNotesOnTop, OptionsNewNotesOnTop);
    translate(f.cbShowAllOnNewNote, OptionsShowAllOnNewNote);
    f.gbLeftMouse->setTitle(uiText(OptionsLeftClickAction, f.gbLeftMouse->title()));
    const int advanced = f.pgSetup->indexOf(f.tsAdvanced);
    f.pgSetup->setTabText(advanced, uiText(OptionsAdvancedPage, f.pgSetup->tabText(advanced)));
    f.cbAction->setItemText(0, uiText(OptionsActionNewNote, f.cbAction->itemText(0)));
    f.cbAction->setItemText(1, uiText(OptionsActionShowAll, f.cbAction->itemText(1)));
    translate(f.cbRunAtWindows, OptionsRunAtStartup);

    const QStringList builtInPositions = [&] {
        QStringList entries;
        for (int i = 0; i < f.cbPosition->count(); ++i)
            entries << f.cbPosition->itemText(i);
        return entries;
    }();
    f.cbPosition->clear();
    for (int i = 0; i < kPositionCount; ++i)
        f.cbPosition->addItem(uiText(OptionsPositions + i, builtInPositions.value(i)));
}

void TFrmOptions::ResetDialog()
{
    const OptionsForm &f = m_form;
    LoadSettings();
    f.pgSetup->setCurrentWidget(f.TSJotlet);
    const QString active = platform::activeLanguageFileIn(m_programFolder);
    const LanguageFileInfo language = readLanguageInfo(active, QString());
    f.edLanguage->setText(language.language);
    f.edAuthor->setText(language.author);
    m_selectedLngFile = active;
    setChanged(false);
}

void TFrmOptions::LoadSettings()
{
    const OptionsForm &f = m_form;
    f.edTitleNote->setText(kTitle.read());
    f.edWidth->setText(QString::number(kWidth.read()));
    f.edHeight->setText(QString::number(kHeight.read()));
    f.panBack->setColorRef(kBackColor.read());
    f.panNoteFont->setColorRef(kBackColor.read());
    f.panTitle->setColorRef(kBackTitleColor.read());
    f.panTitleFont->setColorRef(kBackTitleColor.read());
    f.panNoteFont->setFontDesc(kNoteFont.read());
    f.panTitleFont->setFontDesc(kTitleFont.read());

    const qint32 position = kPosition.read();
    const int entry = position >= 1 && position <= kPositionCount ? int(position) - 1 : 0;
    // Also puts the entry's text back where the user typed over it.
    f.cbPosition->setCurrentIndex(entry);

    f.cbNewNotesOnTop->setChecked(kOnTopOnNew.read());
    f.cbShowAllOnNewNote->setChecked(kShowAllOnNew.read());
    const qint32 action = kLeftDefaultAction.read();
    f.cbAction->setCurrentIndex(action == 0 || action == 1 ? int(action) : -1);
    rebuildLanguageList();
}

void TFrmOptions::loadStartupEntry()
{
    bool present = false;
    m_startupEntryReadable = ui::runGuarded(this, [&] { present = readStartupEntry(); });
    m_form.cbRunAtWindows->setChecked(present);
}

void TFrmOptions::rebuildLanguageList()
{
    QTreeWidget &list = *m_form.lvLang;
    {
        // Emptying the list is no choice of the user's.
        const QSignalBlocker quiet(list.selectionModel());
        list.clear();
    }
    for (const LanguageFileInfo &language : listLanguageFiles(m_languageFolder)) {
        new QTreeWidgetItem(&list,
                            {language.language, language.fileName, language.author,
                             language.version, language.email});
    }
}

void TFrmOptions::setChanged(bool changed)
{
    m_form.btnApply->setEnabled(changed);
}

void TFrmOptions::btnApplyClick()
{
    ui::runGuarded(this, [&] {
        const OptionsForm &f = m_form;
        // One step: a refused write stores none of them, and a second
        // instance never sees half of the user's choice.
        SettingsEdit edit;
        edit.write(kTitle, f.edTitleNote->text());
        if (const qint32 width = typedNumber(f.edWidth->text()))
            edit.write(kWidth, width);
        if (const qint32 height = typedNumber(f.edHeight->text()))
            edit.write(kHeight, height);
        edit.write(kBackColor, f.panBack->colorRef());
        edit.write(kBackTitleColor, f.panTitle->colorRef());
        edit.write(kNoteFont, f.panNoteFont->fontDesc());
        edit.write(kTitleFont, f.panTitleFont->fontDesc());
        // Typed text that is not an entry, to the letter, selects none: the
        // placement stays.
        const int position = f.cbPosition->findText(f.cbPosition->currentText(),
                                                    Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (position >= 0)
            edit.write(kPosition, position + 1);
        edit.write(kOnTopOnNew, f.cbNewNotesOnTop->isChecked());
        edit.write(kShowAllOnNew, f.cbShowAllOnNewNote->isChecked());
        edit.write(kLeftDefaultAction, f.cbAction->currentIndex());
        edit.commit();
        storeStartupEntry();
        installSelectedLanguage();
        setChanged(false);
        done(kResultOk);
    });
}

void TFrmOptions::storeStartupEntry()
{
    if (m_form.cbRunAtWindows->isChecked())
        writeStartupEntry(QCoreApplication::applicationFilePath());
    else if (m_startupEntryReadable)
        deleteStartupEntry();
}

void TFrmOptions::installSelectedLanguage()
{
    // No row picked: the language in use stays as it is.
    if (m_selectedLngFile == platform::activeLanguageFileIn(m_programFolder))
        return;
    installLanguageFile(m_selectedLngFile, platform::userLanguageFile());
}

void TFrmOptions::btnCancelClick()
{
    ui::runGuarded(this, [&] {
        if (m_form.btnApply->isEnabled())
            ResetDialog();
        else
            reject();
    });
}

void TFrmOptions::Button1Click()
{
    ui::runGuarded(this, [&] { chooseFont(*m_form.panNoteFont); });
}

void TFrmOptions::Button2Click()
{
    ui::runGuarded(this, [&] { chooseFont(*m_form.panTitleFont); });
}

void TFrmOptions::chooseFont(SamplePanel &sample)
{
    std::optional<storage::FontDesc> chosen = dialogs::chooseFont(this, sample.fontDesc());
    if (!chosen)
        return;
    // Only what is stored is shown: no strike-out, and a size in points.
    chosen->strikeOut = false;
    if (chosen->size <= 0)
        chosen->size = sample.fontDesc().size;
    setChanged(true);
    sample.setFontDesc(*chosen);
}

void TFrmOptions::panBackClick()
{
    ui::runGuarded(this, [&] { chooseColor(*m_form.panBack, *m_form.panNoteFont); });
}

void TFrmOptions::panTitleClick()
{
    ui::runGuarded(this, [&] { chooseColor(*m_form.panTitle, *m_form.panTitleFont); });
}

void TFrmOptions::chooseColor(SamplePanel &colorSample, SamplePanel &fontSample)
{
    const std::optional<QColor> chosen
        = dialogs::chooseColor(this, ui::colorFromRef(colorSample.colorRef()));
    if (!chosen)
        return;
    const qint32 color = ui::colorToRef(*chosen);
    colorSample.setColorRef(color);
    fontSample.setColorRef(color);
    setChanged(true);
}

// Called for every row whose selection changes, selected or deselected
// alike; the row handled last decides, so deselecting the chosen row keeps it.
void TFrmOptions::lvLangSelectItem(const QItemSelection &selected, const QItemSelection &deselected)
{
    ui::runGuarded(this, [&] {
        const QModelIndexList rows = deselected.indexes() + selected.indexes();
        for (const QModelIndex &row : rows) {
            if (row.column() != 0)
                continue;
            const QString fileName = row.siblingAtColumn(1).data().toString();
            setChanged(true);
            m_form.edLanguage->setText(fileName);
            m_form.edAuthor->setText(row.siblingAtColumn(2).data().toString());
            m_selectedLngFile = m_languageFolder + QLatin1Char('/') + fileName;
        }
    });
}

void TFrmOptions::edTitleNoteChange()
{
    setChanged(true);
}

void TFrmOptions::cbPositionChange()
{
    setChanged(true);
}

void TFrmOptions::edWidthChange()
{
    setChanged(true);
}

void TFrmOptions::edHeightChange()
{
    setChanged(true);
}

void TFrmOptions::cbNewNotesOnTopClick()
{
    setChanged(true);
}

void TFrmOptions::cbShowAllOnNewNoteClick()
{
    setChanged(true);
}

void TFrmOptions::cbActionChange()
{
    setChanged(true);
}

void TFrmOptions::cbRunAtWindowsClick()
{
    setChanged(true);
}
