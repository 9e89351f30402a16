#include "app/ControllerFixture.h"

#include "app/DLista.h"
#include "note/Note.h"
#include "settings/veskUt.h"
#include "storage/DateTime.h"
#include "storage/NoteFolder.h"
#include "support/TempHome.h"

#include <QDir>

void ControllerTest::SetUp()
{
    NoteFixture::SetUp();
    // The controller makes the note folder itself.
    QDir(folder()).removeRecursively();
    programFolder = testsupport::freshDir(QStringLiteral("program"));
    QDir(programFolder).mkdir(QStringLiteral("language"));
    m_now = QDateTime(QDate(2024, 5, 6), QTime(9, 0));
    now = [this] {
        return storage::fromQDateTime(m_now);
    };
    writeRegBool(QStringLiteral("FirstRun"), false);
}

void ControllerTest::TearDown()
{
    duringOptions = {};
    NoteFixture::TearDown();
}

std::unique_ptr<TFJotletLightMain> ControllerTest::makeController()
{
    app::ControllerEnvironment environment;
    environment.executablePath = programFolder + QStringLiteral("/jotletlight");
    environment.programFolder = programFolder;
    environment.systemTrayAvailable = [this] {
        return trayAvailable;
    };
    environment.startProgram = [this](const QString &program, const QString &workingFolder) {
        startedPrograms << program + QStringLiteral(" in ") + workingFolder;
        return true;
    };
    environment.runOptions = [this](QWidget *, bool languagePage) {
        optionsRuns << languagePage;
        if (duringOptions)
            duringOptions();
    };
    openUrl = [this](const QUrl &url) {
        openedUrls << url;
    };
    environment.noteServices = services;
    return std::make_unique<TFJotletLightMain>(std::move(environment));
}

std::unique_ptr<TFJotletLightMain> ControllerTest::startController()
{
    // The notice about the missing tray has a test of its own.
    writeRegBool(QStringLiteral("NoTrayNoticeShown"), true);
    std::unique_ptr<TFJotletLightMain> controller = makeController();
    controller->FormActivate();
    return controller;
}

storage::NoteRecord ControllerTest::noteRecord(const QString &title, bool visible) const
{
    storage::NoteRecord record;
    record.left = 40;
    record.top = 50;
    record.width = 200;
    record.height = 150;
    record.restoreWidth = 200;
    record.restoreHeight = 150;
    record.title = title;
    record.lines = QStringList {title + QStringLiteral(" body")};
    record.visible = visible;
    record.backColor = 0x0000FFFF;
    record.titleColor = 0x00C0DCC0;
    record.bodyFont = {QStringLiteral("Arial"), 10, false, false, false, false, 0};
    record.titleFont = record.bodyFont;
    const double created = now();
    record.alarmDate = record.alarmTime = created;
    record.expirationDate = record.expirationTime = created;
    record.createStamp1 = record.createStamp2 = created;
    return record;
}

void ControllerTest::writeNote(const QString &name, const storage::NoteRecord &record)
{
    storage::ensureNoteFolder();
    storage::writeNoteFile(pathOf(name), record);
}

storage::NoteRecord ControllerTest::readNote(const QString &name) const
{
    return storage::readNoteFile(pathOf(name), storage::NoteRecord(), QSize(200, 150),
                                 QSize(1024, 768));
}

TSingolNote *ControllerTest::noteAt(const TFJotletLightMain &controller, int index)
{
    return controller.notes()->form(index);
}

int ControllerTest::noteCount(const TFJotletLightMain &controller)
{
    return controller.notes() ? controller.notes()->count() : -1;
}
