#include "note/NoteServices.h"

#include <QDesktopServices>
#include <QPrinter>
#include <QPrinterInfo>

namespace note {
namespace {

UrlOpener &injectedOpener()
{
    static UrlOpener opener;
    return opener;
}

PrinterSource &injectedSource()
{
    static PrinterSource source;
    return source;
}

} // namespace

void setUrlOpener(UrlOpener opener)
{
    injectedOpener() = std::move(opener);
}

void openUrl(const QUrl &url)
{
    if (const UrlOpener &opener = injectedOpener())
        opener(url);
    else
        QDesktopServices::openUrl(url); // a failure to open is not reported
}

void setPrinterSource(PrinterSource source)
{
    injectedSource() = std::move(source);
}

std::unique_ptr<QPrinter> defaultPrinter()
{
    if (const PrinterSource &source = injectedSource())
        return source();
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

} // namespace note
