// jotletctl exit, restart, new, show-all, hide-all, options, about, notes,
// show: requests to the Jotlet Light that works on this user's note folder.
#include "ctl/Commands.h"

#include "platform/ControlChannel.h"
#include "storage/NoteFolder.h"

namespace ctl {
namespace {

// Refused connections fail at once; only an instance that is busy (or hung)
// makes the request wait this long for its answer.
constexpr int kAnswerTimeoutMs = 15000;

} // namespace

int sendRequest(const platform::ControlCommandName &request, const QStringList &args)
{
    const QString word = QLatin1String(request.word);
    QString argument;
    switch (request.argument) {
    case platform::ControlArgument::None:
        if (!args.isEmpty()) {
            printError(QStringLiteral("usage: jotletctl %1").arg(word));
            return 2;
        }
        break;
    case platform::ControlArgument::NoteFile:
        if (args.size() != 1) {
            printError(QStringLiteral("usage: jotletctl %1 FILE").arg(word));
            return 2;
        }
        argument = args[0];
        if (!platform::isNoteFileName(argument)) {
            printError(QStringLiteral("%1: '%2' is no note file name (a name such as 123.jtl, as "
                                      "jotletctl list prints it)")
                           .arg(word, argument));
            return 2;
        }
        break;
    }
    QString error;
    const QString socket = platform::controlSocketPath(storage::noteFolderPath());
    if (!platform::sendControlRequest(socket, {word, argument}, &error, kAnswerTimeoutMs)) {
        printError(error);
        return 1;
    }
    return 0;
}

} // namespace ctl
