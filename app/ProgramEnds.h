#pragma once

class TFJotletLightMain;

namespace platform {
class SignalBridge;
}

namespace app {

// Connects what ends the program from outside to the controller: the
// session manager (log-off, shutdown: every note saved, and the session
// may go on), SIGTERM, SIGHUP and SIGINT, and the application quitting
// (every note saved and freed, then the controller closes).
void connectProgramEnds(TFJotletLightMain *controller, platform::SignalBridge *signalBridge);

// While one is alive, the notes of the controller are saved when the
// process ends by exit() before the controller has ended: Qt ends the
// process that way when the display connection breaks (the X server or
// XWayland went away before the session's save request).
class SaveAtExit
{
public:
    explicit SaveAtExit(TFJotletLightMain *controller);
    ~SaveAtExit();
    SaveAtExit(const SaveAtExit &) = delete;
    SaveAtExit &operator=(const SaveAtExit &) = delete;
};

} // namespace app
