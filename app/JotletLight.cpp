#include "app/JotletLight.h"

#include "app/AboutBox.h"
#include "app/DLista.h"
#include "app/StartupFiles.h"
#include "app/TrayIcon.h"
#include "note/Note.h"
#include "platform/Paths.h"
#include "platform/Product.h"
#include "settings/DResource.h"
#include "settings/SettingsTable.h"
#include "settings/StartupValues.h"
#include "settings/TextIds.h"
#include "storage/NoteFolder.h"
#include "ui/Dialogs.h"
#include "ui/Guarded.h"
#include "ui/QuietShow.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

namespace {

constexpr int kAlarmIntervalMs = 5000;

const QString kFirstRunMessage = QStringLiteral(
    "This is the first time you run Harvel Jotlet Light: Please select a language");
const QString kNoTrayNotice = QStringLiteral(
    "This desktop has no notification area (system tray), so Jotlet Light keeps its icon in a "
    "small window in the lower right corner of the screen: click the icon for a new note, "
    "right-click it or click its arrow for the menu. The command jotletctl (for example "
    "\"jotletctl new\") works as well.");

const QString kCannotRestart = QStringLiteral(
    "Jotlet Light could not start itself again (%1). Your notes are saved: please start it "
    "again from your applications menu.");

app::ControllerEnvironment completed(app::ControllerEnvironment environment)
{
    if (environment.executablePath.isEmpty())
        environment.executablePath = QCoreApplication::applicationFilePath();
    if (environment.programFolder.isEmpty())
        environment.programFolder = platform::programFolder();
    if (!environment.systemTrayAvailable)
        environment.systemTrayAvailable = [] {
            return QSystemTrayIcon::isSystemTrayAvailable();
        };
    if (!environment.startProgram) {
        environment.startProgram = [](const QString &program, const QString &folder) {
            return QProcess::startDetached(program, {}, folder);
        };
    }
    if (!environment.runOptions) {
        environment.runOptions
            = [folder = environment.programFolder](QWidget *parent, bool languagePage) {
                  app::runOptionsDialog(folder, parent, languagePage);
              };
    }
    if (!environment.openUrl) {
        environment.openUrl = [](const QUrl &url) {
            QDesktopServices::openUrl(url);
        };
    }
    return environment;
}

void printError(const QString &message)
{
    std::fprintf(stderr, "jotletlight: %s\n", qPrintable(message));
}

// The program ends without anybody to answer a message box (session end,
// termination signal): errors go to standard error instead.
template<typename Body> void runReportingToStandardError(Body &&body)
{
    try {
        body();
    } catch (const Error &e) {
        printError(e.message());
    } catch (const std::exception &e) {
        printError(QString::fromLocal8Bit(e.what()));
    }
}

} // namespace

TFJotletLightMain::TFJotletLightMain(app::ControllerEnvironment environment)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_environment(completed(std::move(environment)))
    , PanGen(new app::AboutPanel(this))
    , RxTrayIcon1(new app::TrayIcon(Menu.PopupMenuPrinc, m_environment.systemTrayAvailable(), this))
    , TimerAlarm(new QTimer(this))
{
    FormCreate();
}

TFJotletLightMain::~TFJotletLightMain()
{
    runReportingToStandardError([this] { FreeNotes(); });
}

void TFJotletLightMain::FormCreate()
{
    m_notes.reset();
    NotesLoaded = false;
    setWindowTitle(QStringLiteral("Vesk Jotlet 2000 light"));
    PanGen->Lname->setText(QLatin1String(product::kName));
    resize(app::AboutPanel::kWidth, app::AboutPanel::kHeight);
    HideAboutBox();
    ui::runGuarded(nullptr, [this] { settings::writeStartupValues(m_environment.executablePath); });

    RxTrayIcon1->setIcon(app::trayImage(m_environment.programFolder));
    RxTrayIcon1->setHint(QStringLiteral("Vesk Jotlet 2000"));
    connectMenu();
    attachTray(true);

    TimerAlarm->setInterval(kAlarmIntervalMs);
    connect(TimerAlarm, &QTimer::timeout, this, &TFJotletLightMain::TimerAlarmTimer);
    TimerAlarm->start();
}

void TFJotletLightMain::connectMenu()
{
    const auto bind = [this](QAction *item, void (TFJotletLightMain::*command)()) {
        connect(item, &QAction::triggered, this, [this, command] { runCommand(command); });
    };
    bind(Menu.NewJotlet1, &TFJotletLightMain::NewJotlet1Click);
    bind(Menu.ShowAllJotlet1, &TFJotletLightMain::ShowAllJotlet1Click);
    bind(Menu.CloseAllJotlet1, &TFJotletLightMain::CloseAllJotlet1Click);
    bind(Menu.Options1, &TFJotletLightMain::Options1Click);
    bind(Menu.DeleteAllJotlet1, &TFJotletLightMain::DeleteAllJotlet1Click);
    bind(Menu.About2, &TFJotletLightMain::About2Click);
    // Exit works even while a modal window is open.
    connect(Menu.Close1, &QAction::triggered, this, [this] { requestEnd(Ending::Exit); });

    connect(PanGen->BContinue, &QPushButton::clicked, this,
            [this] { ui::runGuarded(nullptr, [this] { BContinueClick(); }); });
    connect(PanGen->Lcop, &app::LinkLabel::clicked, this, &TFJotletLightMain::LcopClick);
    connect(PanGen->Label3, &app::LinkLabel::clicked, this, &TFJotletLightMain::Label3Click);
    connect(PanGen->Lemail, &app::LinkLabel::clicked, this, &TFJotletLightMain::LemailClick);
    connect(PanGen->lblAuthor, &app::LinkLabel::clicked, this, &TFJotletLightMain::lblAuthorClick);
}

void TFJotletLightMain::attachTray(bool attached)
{
    disconnect(m_trayClick);
    if (attached) {
        m_trayClick
            = connect(RxTrayIcon1, &app::TrayIcon::clicked, this, [this](Qt::MouseButton button) {
                  if (!isBusy())
                      ui::runGuarded(nullptr, [&] { RxTrayIcon1Click(button); });
              });
    }
    RxTrayIcon1->setActive(attached);
}

bool TFJotletLightMain::isBusy() const
{
    return isEnding() || m_modalWindows > 0 || m_aboutOpen;
}

void TFJotletLightMain::runCommand(void (TFJotletLightMain::*command)())
{
    if (!isBusy())
        ui::runGuarded(nullptr, [&] { (this->*command)(); });
}

void TFJotletLightMain::activate()
{
    ui::runGuarded(nullptr, [this] { FormActivate(); });
}

void TFJotletLightMain::FormActivate()
{
    if (settings::firstRunDue()) {
        runModal([] { dialogs::showInformation(nullptr, kFirstRunMessage); });
        if (isEnding())
            return;
        settings::kFirstRun.write(false);
        ShowOptions(true);
        return;
    }
    if (!NotesLoaded)
        LoadNotes();
    NotesLoaded = true;
    tellOnceWhenNoTray();
}

void TFJotletLightMain::tellOnceWhenNoTray()
{
    if (RxTrayIcon1->usesSystemTray() || settings::kNoTrayNoticeShown.read())
        return;
    settings::kNoTrayNoticeShown.write(true);
    runModal([] { dialogs::showInformation(nullptr, kNoTrayNotice); });
}

void TFJotletLightMain::LoadNotes()
{
    const TReadRes &texts = TReadRes::current();
    NotesLoaded = true;
    PanGen->LOptions->setText(texts.GetText(settings::StatusLoadingStarts));
    NotesFolder = storage::noteFolderPath();
    const bool folderIsNew = !QFileInfo(NotesFolder).isDir();
    if (folderIsNew)
        PanGen->LOptions->setText(texts.GetText(settings::StatusCreatingFolder));
    // Also at every later start: a folder of another user is refused before
    // anything is read from it, and the user's own is kept private.
    storage::ensureNoteFolder();
    m_notes = std::make_unique<TVeskLista>();
    Menu.applyCaptions(texts);
    PanGen->BContinue->setText(texts.GetText(settings::AboutOk));
    RxTrayIcon1->setHint(QLatin1String(product::kName));

    const QString &programFolder = m_environment.programFolder;
    // The installed data folder is shared by every user: never move out of
    // it, even when it is writable (a start as root).
    const bool installed = QFileInfo(programFolder).canonicalFilePath()
        == QFileInfo(platform::installedDataFolder()).canonicalFilePath();
    app::deliverWelcomeNote(programFolder, NotesFolder, folderIsNew,
                            !installed && QFileInfo(programFolder).isWritable());
    // One unreadable note does not keep the others away; it is named in
    // one message at the end and its files are left as they are.
    QStringList failures;
    for (const QString &name : storage::listNoteFiles(NotesFolder)) {
        PanGen->LOptions->setText(texts.GetText(settings::StatusLoadingNote));
        failures += addNotesFromFiles(*m_notes, {name});
    }
    PanGen->LOptions->setText(texts.GetText(settings::StatusLoadingDone));
    PanGen->LOptions->clear();
    if (!failures.isEmpty())
        dialogs::showError(nullptr, failures.join(QLatin1Char('\n')));
}

void TFJotletLightMain::FreeNotes()
{
    if (!m_notes)
        return;
    // The list is gone whatever happens; destroy() saves every note before
    // it raises what failed.
    const std::unique_ptr<TVeskLista> notes = std::move(m_notes);
    notes->destroy();
}

void TFJotletLightMain::Restart()
{
    requestEnd(Ending::Restart);
}

void TFJotletLightMain::ShowOptions(bool languagePage)
{
    if (isEnding())
        return;
    ParkNotes(true);
    attachTray(false);
    // Whatever becomes of the dialog, the program restarts: the notes are
    // parked and the tray icon is gone until then.
    runModal(
        [&] { ui::runGuarded(nullptr, [&] { m_environment.runOptions(nullptr, languagePage); }); });
    // An end may have been asked for while the dialog was open.
    if (!isEnding())
        Restart();
}

void TFJotletLightMain::ParkNotes(bool park)
{
    m_notesParked = park;
    const int count = m_notes ? m_notes->count() : -1;
    for (int i = 0; i < count; ++i) {
        TSingolNote *note = m_notes->form(i);
        if (note->Discarded)
            continue;
        if (park) {
            note->ParkedVisible = note->isVisible();
            note->hide();
            note->Parked = true;
        } else {
            // Back as they were, without taking the focus one after another.
            if (note->ParkedVisible)
                ui::showWithoutActivating(note);
            else
                note->hide();
            note->Parked = false;
        }
    }
}

void TFJotletLightMain::Close1Click()
{
    requestEnd(Ending::Exit);
}

void TFJotletLightMain::endProgram(bool quietly)
{
    requestEnd(quietly ? Ending::Quietly : Ending::Exit);
}

void TFJotletLightMain::requestEnd(Ending ending)
{
    if (m_ended || (m_pendingEnd && *m_pendingEnd >= ending))
        return;
    m_pendingEnd = ending;
    if (ending == Ending::Quietly && dialogs::openModalWindows() > 0) {
        // Whoever ends the program may not wait: what is typed is on disk
        // before anything else happens.
        dialogs::Unattended unattended;
        saveAllNotes();
        for (const QString &message : unattended.messages)
            printError(message);
    }
    continueEnd();
}

void TFJotletLightMain::continueEnd()
{
    if (m_ended || !m_pendingEnd)
        return;
    if (dialogs::openModalWindows() > 0) {
        // A window of a note may be on the stack inside its own event loop:
        // the note goes once that loop has returned, never under it.
        dialogs::cancelModalWindows();
        QTimer::singleShot(10, this, &TFJotletLightMain::continueEnd);
        return;
    }
    const Ending ending = *m_pendingEnd;
    if (ending == Ending::Quietly) {
        freeNotesQuietly();
    } else {
        // A note that cannot be saved is not thrown away: the user is told
        // which and why, and the program goes on with it open.
        const bool saved = ui::runGuarded(nullptr, [this] {
            if (m_notes)
                m_notes->saveAll();
        });
        if (m_pendingEnd != ending) // ended otherwise while the error was shown
            return;
        if (!saved || !ui::runGuarded(nullptr, [this] { FreeNotes(); })) {
            resumeAfterFailedEnd();
            return;
        }
    }
    if (ending == Ending::Restart) {
        releaseNoteFolder();
        const QString &program = m_environment.executablePath;
        if (!m_environment.startProgram(program, QFileInfo(program).absolutePath()))
            dialogs::showError(nullptr, kCannotRestart.arg(program));
    }
    closeController();
}

void TFJotletLightMain::resumeAfterFailedEnd()
{
    m_pendingEnd.reset();
    // Parked for the options dialog, which is gone by now; the About
    // window brings its notes back itself.
    if (m_notesParked && !m_aboutOpen) {
        ParkNotes(false);
        attachTray(true);
    }
}

void TFJotletLightMain::freeNotesQuietly()
{
    dialogs::Unattended unattended;
    runReportingToStandardError([this] { FreeNotes(); });
    for (const QString &message : unattended.messages)
        printError(message);
}

void TFJotletLightMain::closeController()
{
    if (m_ended)
        return;
    m_ended = true;
    // What closing the window runs: free the notes (nothing left by now).
    freeNotesQuietly();
    TimerAlarm->stop();
    attachTray(false);
    hide();
    releaseNoteFolder();
    Q_EMIT finished();
}

void TFJotletLightMain::releaseNoteFolder()
{
    if (m_released)
        return;
    m_released = true;
    Q_EMIT noteFolderReleased();
}

void TFJotletLightMain::saveAllNotes()
{
    if (m_notes)
        runReportingToStandardError([this] { m_notes->saveAll(); });
}

void TFJotletLightMain::runRemoteCommand(const QString &command)
{
    if (command == QLatin1String("exit"))
        requestEnd(Ending::Exit);
    else if (command == QLatin1String("restart"))
        Restart();
    else if (command == QLatin1String("new"))
        runCommand(&TFJotletLightMain::NewJotlet1Click);
    else if (command == QLatin1String("show-all"))
        runCommand(&TFJotletLightMain::ShowAllJotlet1Click);
    else if (command == QLatin1String("hide-all"))
        runCommand(&TFJotletLightMain::CloseAllJotlet1Click);
    else if (command == QLatin1String("options"))
        runCommand(&TFJotletLightMain::Options1Click);
    else if (command == QLatin1String("about"))
        runCommand(&TFJotletLightMain::About2Click);
}
