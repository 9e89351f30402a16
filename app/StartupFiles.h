#pragma once

#include <QIcon>
#include <QString>

// The files of the program's folder that the start-up looks at.
namespace app {

inline constexpr char kWelcomeNote[] = "about.jtl";
inline constexpr char kTrayImageFile[] = "jotletlight.ico";

// Puts the welcome note "about.jtl" and its body "about.jtl2" from the
// program's folder into the note folder, at most once per note:
//  - a writable program folder (build tree, portable copy) gives them up:
//    they are moved, unless the note folder already has either name, in
//    which case both stay and are tried again at the next start;
//  - a read-only one (an installation) keeps them: they are copied only at
//    the start that created the note folder, so a welcome note the user
//    closed for good never comes back.
// Nothing here fails the start: a move or copy that does not work is left.
void deliverWelcomeNote(const QString &programFolder, const QString &noteFolder,
                        bool noteFolderIsNew, bool programFolderWritable);

// The program's own icon, built in.
QIcon builtInIcon();

// The tray image: "jotletlight.ico" from the program's folder when it holds
// a readable image, else the built-in icon.
QIcon trayImage(const QString &programFolder);

} // namespace app
