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

} // namespace app
