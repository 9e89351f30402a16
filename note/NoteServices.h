#pragma once

#include "note/NoteGeometry.h"

#include <QUrl>

#include <functional>
#include <memory>

class QPrinter;

namespace note {

// What a note hands to the desktop and takes from it: opening a link, the
// printer to print on, the random draws behind its placement and file name,
// and the clock. The program passes the desktop's own, from the controller
// through the note list to every note; a test passes its own.
struct NoteServices
{
    // Opens a link's address; a failure to open is not reported.
    std::function<void(const QUrl &url)> openUrl;
    // The printer to print on, or none when there is no printer to use.
    std::function<std::unique_ptr<QPrinter>()> printer;
    // A uniform draw from 0 to bound - 1.
    notegeometry::RandomDraw randomDraw;
    // The local date and time as a serial (storage/DateTime.h).
    std::function<double()> now;
};

using SharedServices = std::shared_ptr<const NoteServices>;

// The desktop's own: QDesktopServices, the default printer, the system's
// random generator and clock.
SharedServices desktopServices();
// The desktop's own, with each that `services` gives in its place.
SharedServices withDesktopDefaults(NoteServices services);

} // namespace note
