#include "ctl/Commands.h"

namespace ctl {

int dumpNoteFile(const QStringList &)
{
    printError(QStringLiteral("dump: not built yet"));
    return 1;
}

int makeNoteFile(const QStringList &)
{
    printError(QStringLiteral("make: not built yet"));
    return 1;
}

} // namespace ctl
