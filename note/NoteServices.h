#pragma once

#include <QUrl>

#include <functional>
#include <memory>

class QPrinter;

// What a note's commands hand to the desktop: opening a link and the printer
// a note prints on. Both can be replaced, so tests see what would be opened
// and print into a file.
namespace note {

using UrlOpener = std::function<void(const QUrl &url)>;
// An empty opener restores the desktop's (QDesktopServices::openUrl).
void setUrlOpener(UrlOpener opener);
void openUrl(const QUrl &url);

// The printer to print on, or none when there is no printer to use.
using PrinterSource = std::function<std::unique_ptr<QPrinter>()>;
// An empty source restores the system's default printer.
void setPrinterSource(PrinterSource source);
std::unique_ptr<QPrinter> defaultPrinter();

} // namespace note
