#include "note/NoteServices.h"

#include "storage/DateTime.h"

#include <QDesktopServices>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRandomGenerator>

namespace note {

SharedServices withDesktopDefaults(NoteServices services)
{
    if (!services.openUrl)
        services.openUrl = [](const QUrl &url) {
            QDesktopServices::openUrl(url);
        };
    if (!services.printer) {
        services.printer = []() -> std::unique_ptr<QPrinter> {
            const QPrinterInfo info = QPrinterInfo::defaultPrinter();
            if (info.isNull())
                return nullptr;
            return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
        };
    }
    if (!services.randomDraw)
        services.randomDraw = [](int bound) {
            return int(QRandomGenerator::global()->bounded(bound));
        };
    if (!services.now)
        services.now = &storage::nowDateTime;
    return std::make_shared<const NoteServices>(std::move(services));
}

SharedServices desktopServices()
{
    static const SharedServices desktop = withDesktopDefaults({});
    return desktop;
}

} // namespace note
