#include "app/ProgramEnds.h"

#include "app/JotletLight.h"
#include "platform/SignalBridge.h"

#include <QGuiApplication>
#include <QSessionManager>

#include <cstdlib>

namespace app {
namespace {

TFJotletLightMain *g_savedAtExit = nullptr;

void saveAtExit()
{
    if (g_savedAtExit && !g_savedAtExit->hasEnded())
        g_savedAtExit->saveAllNotes();
}

} // namespace

SaveAtExit::SaveAtExit(TFJotletLightMain *controller)
{
    g_savedAtExit = controller;
    static const bool registered = std::atexit(saveAtExit) == 0;
    Q_UNUSED(registered);
}

SaveAtExit::~SaveAtExit()
{
    g_savedAtExit = nullptr;
}

void connectProgramEnds(TFJotletLightMain *controller, platform::SignalBridge *signalBridge)
{
    QObject::connect(signalBridge, &platform::SignalBridge::terminationRequested, controller,
                     [controller] { controller->endProgram(true); });
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, controller,
                     [controller] { controller->endProgram(true); });
#ifndef QT_NO_SESSIONMANAGER
    // Saving is all the controller does here; not cancelling lets the
    // session end. The autostart entry, not the session, starts it again.
    const auto saveForSessionEnd = [controller](QSessionManager &manager) {
        manager.setRestartHint(QSessionManager::RestartNever);
        controller->saveAllNotes();
    };
    QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, controller, saveForSessionEnd,
                     Qt::DirectConnection);
    QObject::connect(qGuiApp, &QGuiApplication::saveStateRequest, controller, saveForSessionEnd,
                     Qt::DirectConnection);
#endif
}

} // namespace app
