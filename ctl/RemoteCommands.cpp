// jotletctl exit, restart, new, show-all, hide-all, options, about: requests
// to the Jotlet Light that works on this user's note folder.
#include "ctl/Commands.h"

#include "platform/ControlChannel.h"
#include "storage/NoteFolder.h"

namespace ctl {

int sendRequest(const QString &command, const QStringList &args)
{
    if (!args.isEmpty()) {
        printError(QStringLiteral("usage: jotletctl %1").arg(command));
        return 2;
    }
    QString error;
    const QString socket = platform::controlSocketPath(storage::noteFolderPath());
    if (!platform::sendControlRequest(socket, command, &error)) {
        printError(error);
        return 1;
    }
    return 0;
}

} // namespace ctl
