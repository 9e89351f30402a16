#include "ctl/Commands.h"

namespace ctl {

int convertBody(const QStringList &)
{
    printError(QStringLiteral("convert: not built yet"));
    return 1;
}

} // namespace ctl
