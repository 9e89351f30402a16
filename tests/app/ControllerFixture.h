#pragma once

#include "app/JotletLight.h"
#include "note/NoteTestSupport.h"
#include "storage/NoteFile.h"
#include "ui/Dialogs.h"

#include <QDateTime>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>

class TSingolNote;

// A controller in a world of its own: besides what every note test has, no
// note folder yet, a program folder of the test's, scripted dialogs, a
// clock the test sets, and records of the programs it starts, the options
// dialogs it runs and the addresses it opens.
class ControllerTest : public notetest::NoteFixture
{
protected:
    void SetUp() override;
    void TearDown() override;

    // FirstRun is false (as after the first run) unless the test changed it.
    std::unique_ptr<TFJotletLightMain> makeController();
    // Made and activated once: the notes are loaded.
    std::unique_ptr<TFJotletLightMain> startController();

    // A note file as the program writes it.
    storage::NoteRecord noteRecord(const QString &title, bool visible = true) const;
    void writeNote(const QString &name, const storage::NoteRecord &record);
    storage::NoteRecord readNote(const QString &name) const;

    static TSingolNote *noteAt(const TFJotletLightMain &controller, int index);
    static int noteCount(const TFJotletLightMain &controller);

    void setNow(const QDateTime &moment) { m_now = moment; }

    QString programFolder;
    QStringList startedPrograms; // "<program> in <working folder>"
    QList<bool> optionsRuns; // languagePage of each run
    bool trayAvailable = false; // whether the desktop has a notification area
    std::function<void()> duringOptions; // runs while the options dialog is open
    QList<QUrl> openedUrls;

private:
    QDateTime m_now;
};
