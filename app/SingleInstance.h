#pragma once

#include "platform/ControlChannel.h"
#include "platform/InstanceLock.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

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

    // After claim() gave Acquired: takes the requests of
    // platform::kControlCommands; each is carried out on the event loop by
    // `handler`, with its argument, which says why when it did not do it,
    // and is answered then. False with a reason when the socket cannot be made (the program
    // still runs, only unreachable).
    using Handler = platform::ControlServer::Handler;
    bool serve(Handler handler, QString *error);

    // Stops taking requests and lets the next instance have the folder; a
    // request being carried out still gets its answer. Harmless when
    // already released.
    void release();

private:
    bool askHolderToShowAll() const;

    QString m_socketPath;
    platform::InstanceLock m_lock;
    // Owns the server, so one let go while it answers lives until then.
    QObject m_owner;
    QPointer<platform::ControlServer> m_server;
};

} // namespace app
