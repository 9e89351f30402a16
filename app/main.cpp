#include "app/JotletLight.h"
#include "app/PlatformChoice.h"
#include "app/ProgramEnds.h"
#include "app/SingleInstance.h"
#include "platform/Paths.h"
#include "platform/Product.h"
#include "platform/SignalBridge.h"
#include "settings/DResource.h"
#include "storage/NoteFolder.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace {

const QString kFolderBusy = QStringLiteral(
    "Another Jotlet Light is working on your notes and does not answer. Please end it, or try "
    "again in a moment.");

void showFatal(const QString &message)
{
    QMessageBox::critical(nullptr, QString::fromLatin1(product::kApplicationTitle), message);
}

// The controller from its creation until it closes; the notes are saved
// and freed before this returns.
int runController(app::SingleInstance &instance)
{
    platform::SignalBridge signalBridge;
    TFJotletLightMain controller;
    app::connectProgramEnds(&controller, &signalBridge);
    const app::SaveAtExit saveAtExit(&controller);
    QObject::connect(&controller, &TFJotletLightMain::noteFolderReleased, &controller,
                     [&instance] { instance.release(); });
    QObject::connect(
        &controller, &TFJotletLightMain::finished, &controller, [] { QCoreApplication::quit(); },
        Qt::QueuedConnection);
    // Unreachable by jotletctl is no reason not to run.
    instance.serve(
        [&controller](platform::ControlCommand command, const QString &argument) {
            return controller.runRemoteCommand(command, argument);
        },
        nullptr);
    // There is no main window to activate: the one activation comes from
    // the event loop.
    QTimer::singleShot(0, &controller, [&controller] { controller.activate(); });
    return QApplication::exec();
}

} // namespace

int main(int argc, char **argv)
{
    app::choosePlatformBeforeStart();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(product::kApplicationTitle));
    // A tray program: closing its last note must not end it.
    QApplication::setQuitOnLastWindowClosed(false);

    // One instance per note folder; a second start brings the notes of the
    // running one to the front instead.
    app::SingleInstance instance(storage::noteFolderPath());
    switch (instance.claim()) {
    case app::SingleInstance::Claim::Acquired:
        break;
    case app::SingleInstance::Claim::HandedOver:
        return 0;
    case app::SingleInstance::Claim::Blocked:
        showFatal(kFolderBusy);
        return 1;
    }

    // Every caption comes from the language table, so it exists before any window.
    try {
        TReadRes::setCurrent(
            std::make_unique<TReadRes>(platform::activeLanguageFile(), platform::languageFolder()));
    } catch (const settings::EResourceFileMissing &e) {
        showFatal(e.message());
        return 1;
    }
    return runController(instance);
}
