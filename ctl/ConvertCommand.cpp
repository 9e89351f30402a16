#include "ctl/Commands.h"

#include "platform/Errors.h"
#include "ui/BodyConvert.h"

namespace ctl {

// jotletctl convert IN OUT: exports or imports a note body, each format
// chosen by the file's extension (.rtf or a note's own .jtl2, .txt, .html).
int convertBody(const QStringList &args)
{
    if (args.size() != 2) {
        printError(QStringLiteral("usage: jotletctl convert IN OUT (.rtf, .jtl2, .txt or .html)"));
        return 2;
    }
    try {
        ui::convertBodyFile(args[0], args[1]);
    } catch (const Error &e) {
        printError(QStringLiteral("convert: %1").arg(e.message()));
        return 1;
    }
    return 0;
}

} // namespace ctl
