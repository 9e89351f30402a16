#pragma once

#include <QObject>

class QSocketNotifier;

namespace platform {

// Turns SIGTERM, SIGHUP and SIGINT into a Qt signal on the event loop, so the
// program saves every note before it ends instead of dying mid-way. The
// signal handler itself only writes one byte to a socket pair.
class SignalBridge : public QObject
{
    Q_OBJECT
public:
    explicit SignalBridge(QObject *parent = nullptr);
    ~SignalBridge() override;

Q_SIGNALS:
    void terminationRequested(int signalNumber);

private:
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
};

} // namespace platform
