#pragma once

#include "settings/DResource.h"

#include <QString>

// The captions and messages of the notes window and its tray menu item: ids
// of the language files, each with its English built-in text, which stands
// where the language file has none.
namespace app::notestexts {

struct Caption
{
    int id;
    const char *builtIn;
};

inline constexpr Caption kAllNotes {12, "All notes"};
inline constexpr Caption kSearchPlaceholder {13, "Search titles and text"};
inline constexpr Caption kShow {14, "&Show"};
inline constexpr Caption kHide {15, "&Hide"};
inline constexpr Caption kCloseForGood {18, "Close for &good"};
inline constexpr Caption kHidden {24, "hidden"};
inline constexpr Caption kRolledUp {25, "rolled up"};
inline constexpr Caption kOnTop {65, "on top"};
inline constexpr Caption kAlarm {66, "Alarm"};
inline constexpr Caption kExpires {67, "Expires"};
inline constexpr Caption kNoMatch {68, "No note matches the search."};
inline constexpr Caption kNoNotes {69, "There are no notes yet."};
inline constexpr Caption kUntitled {70, "Untitled"};
inline constexpr Caption kCloseWindow {71, "Close"};
inline constexpr Caption kKeysHint {
    83, "Enter shows the note, Delete closes it for good, Escape closes this window."};

inline QString text(const Caption &caption)
{
    return uiText(caption.id, QString::fromUtf8(caption.builtIn));
}

} // namespace app::notestexts
