#include "app/JotletLight.h"

#include "app/AboutBox.h"
#include "app/DLista.h"
#include "app/FolderSync.h"
#include "app/NotesWindow.h"
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
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int kAlarmIntervalMs = 5000;

const QString kFirstRunMessage = QStringLiteral(
    "This is the first time you run Harvel Jotlet Light: Please select a language");
const QString kNoTrayNotice = QStringLiteral(
    "This desktop has no notification area (system tray), so Jotlet Light keeps its icon in a "
    "small window in the lower right corner of the screen: click the icon for a new note, "
    "right-click it or click its arrow for the menu. The command jotletctl (for example "
    "\"jotletctl new\") works as well.");

const QString kNotEnded
    = QStringLiteral("a note could not be saved, so Jotlet Light goes on (see its message)");
const QString kEnding = QStringLiteral("Jotlet Light is ending");
const QString kBusy = QStringLiteral("Jotlet Light is busy: close its open window first");
const QString kNotLoaded = QStringLiteral("Jotlet Light has not loaded its notes yet");

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
    if (!environment.noteServices)
        environment.noteServices = note::desktopServices();
    return environment;
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
    freeNotesQuietly();
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
    bind(Menu.AllNotes1, &TFJotletLightMain::AllNotes1Click);
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
    m_notes = std::make_unique<TVeskLista>(m_environment.noteServices);
    m_notes->setAddedHandler([this](TSingolNote *note) {
        if (m_notesWindow)
            m_notesWindow->noteAdded(note);
    });
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
    // From now on notes may come, change and go through the folder itself.
    m_folderSync = std::make_unique<app::FolderSync>(
        *m_notes, NotesFolder,
        [this] { return !isBusy() && !m_notesParked && dialogs::openModalWindows() == 0; },
        [](const QStringList &errors) {
            dialogs::showError(nullptr, errors.join(QLatin1Char('\n')));
        });
    if (!failures.isEmpty())
        dialogs::showError(nullptr, failures.join(QLatin1Char('\n')));
}

void TFJotletLightMain::FreeNotes()
{
    if (!m_notes)
        return;
    m_folderSync.reset();
    // The list is gone whatever happens; destroy() saves every note before
    // it raises what failed.
    const std::unique_ptr<TVeskLista> notes = std::move(m_notes);
    notes->destroy();
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
    // It would show what is parked.
    if (park && m_notesWindow)
        m_notesWindow->close();
    const int count = m_notes ? m_notes->count() : -1;
    for (int i = 0; i < count; ++i) {
        TSingolNote *note = m_notes->form(i);
        if (park)
            note->park();
        else
            note->unpark();
    }
}

QString TFJotletLightMain::runRemoteCommand(platform::ControlCommand command,
                                            const QString &argument)
{
    using platform::ControlCommand;
    if (command == ControlCommand::Exit || command == ControlCommand::Restart) {
        requestEnd(command == ControlCommand::Exit ? Ending::Exit : Ending::Restart);
        // Ended, or ending once its open windows have returned.
        return isEnding() ? QString() : kNotEnded;
    }
    if (isEnding())
        return kEnding;
    if (m_modalWindows > 0 || m_aboutOpen || dialogs::openModalWindows() > 0)
        return kBusy;
    if (!m_notes)
        return kNotLoaded;
    switch (command) {
    case ControlCommand::New:
        runCommand(&TFJotletLightMain::NewJotlet1Click);
        break;
    case ControlCommand::ShowAll:
        runCommand(&TFJotletLightMain::ShowAllJotlet1Click);
        break;
    case ControlCommand::HideAll:
        runCommand(&TFJotletLightMain::CloseAllJotlet1Click);
        break;
    case ControlCommand::Options:
        // The dialog waits for the user; the answer goes back once it opens.
        QTimer::singleShot(0, this, [this] { runCommand(&TFJotletLightMain::Options1Click); });
        break;
    case ControlCommand::About:
        runCommand(&TFJotletLightMain::About2Click);
        break;
    case ControlCommand::Notes:
        runCommand(&TFJotletLightMain::AllNotes1Click);
        break;
    case ControlCommand::Show:
        return showNote(argument);
    case ControlCommand::Exit:
    case ControlCommand::Restart:
        break;
    }
    return {};
}

QString TFJotletLightMain::showNote(const QString &fileName)
{
    for (int i = 0; i < m_notes->count(); ++i) {
        TSingolNote *note = m_notes->form(i);
        if (!note->Discarded() && note->NoteFileName() == fileName) {
            note->comeForward();
            return {};
        }
    }
    return QStringLiteral("there is no note %1").arg(fileName);
}
