#pragma once

#include "platform/InstanceLock.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace platform {
class ControlServer;
}

namespace app {

// One running instance per note folder, and the requests other processes
// (jotletctl, a second start) send to it.
class SingleInstance
{
public:
    enum class Claim {
        Acquired, // this process works on the note folder
        HandedOver, // another instance runs and was asked to show all notes
        Blocked, // another instance holds the folder and does not answer
    };

    explicit SingleInstance(const QString &noteFolder);
    ~SingleInstance();

    // Every start goes through here, a restart too (it passes nothing on
    // the command line): take the folder; else ask its holder to show all
    // notes; when that gets no answer the holder is ending, so wait up to
    // waitMs for it to let go.
    Claim claim(int waitMs = 10000);

    // After claim() gave Acquired: takes requests; each arrives on the
    // event loop through `handler`. False with a reason when the socket
    // cannot be made (the program still runs, only unreachable).
    bool serve(std::function<void(const QString &command)> handler, QString *error);

    // Stops taking requests and lets the next instance have the folder.
    // Harmless when already released.
    void release();

    // exit, restart, new, show-all, hide-all, options, about.
    static QStringList commands();

private:
    bool askHolderToShowAll() const;

    QString m_socketPath;
    platform::InstanceLock m_lock;
    QObject m_receiver;
    std::unique_ptr<platform::ControlServer> m_server;
};

} // namespace app
