#pragma once

#include "settings/DResource.h"
#include "settings/TextIds.h"

#include <QString>

// The captions and messages of the notes window and its tray menu item: ids
// of the language files, each with its English built-in text, which stands
// where the language file has none.
namespace app::notestexts {

struct Caption
{
    settings::TextId id;
    const char *builtIn;
};

inline constexpr Caption kAllNotes {settings::TrayAllNotes, "All notes"};
inline constexpr Caption kSearchPlaceholder {settings::NotesSearch, "Search titles and text"};
inline constexpr Caption kShow {settings::NotesShow, "&Show"};
inline constexpr Caption kHide {settings::NotesHide, "&Hide"};
inline constexpr Caption kCloseForGood {settings::NotesCloseForGood, "Close for &good"};
inline constexpr Caption kHidden {settings::NotesHidden, "hidden"};
inline constexpr Caption kRolledUp {settings::NotesRolledUp, "rolled up"};
inline constexpr Caption kOnTop {settings::NotesOnTop, "on top"};
inline constexpr Caption kAlarm {settings::NotesAlarm, "Alarm"};
inline constexpr Caption kExpires {settings::NotesExpires, "Expires"};
inline constexpr Caption kNoMatch {settings::NotesNoMatch, "No note matches the search."};
inline constexpr Caption kNoNotes {settings::NotesNoNotes, "There are no notes yet."};
inline constexpr Caption kUntitled {settings::NotesUntitled, "Untitled"};
inline constexpr Caption kCloseWindow {settings::NotesCloseWindow, "Close"};
inline constexpr Caption kKeysHint {
    settings::NotesKeysHint,
    "Enter shows the note, Delete closes it for good, Escape closes this window."};

inline QString text(const Caption &caption)
{
    return settings::uiText(caption.id, QString::fromUtf8(caption.builtIn));
}

} // namespace app::notestexts
