// jotletctl exit, restart, new, show-all, hide-all, options, about: requests
// to the Jotlet Light that works on this user's note folder.
#include "ctl/Commands.h"

#include "platform/ControlChannel.h"
#include "storage/NoteFolder.h"

namespace ctl {
namespace {

// Refused connections fail at once; only an instance that is busy (or hung)
// makes the request wait this long for its answer.
constexpr int kAnswerTimeoutMs = 15000;

} // namespace

int sendRequest(const QString &command, const QStringList &args)
{
    if (!args.isEmpty()) {
        printError(QStringLiteral("usage: jotletctl %1").arg(command));
        return 2;
    }
    QString error;
    const QString socket = platform::controlSocketPath(storage::noteFolderPath());
    if (!platform::sendControlRequest(socket, command, &error, kAnswerTimeoutMs)) {
        printError(error);
        return 1;
    }
    return 0;
}

} // namespace ctl
