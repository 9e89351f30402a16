#pragma once

#include <QString>

#include <vector>

namespace settings {

// The language files offered in the options dialog, and installing the one
// the user picks as the language of the next start.

// What a language file says of itself in its [General] section.
struct LanguageFileInfo
{
    QString fileName; // without folder
    QString language;
    QString author; // "not defined" when absent
    QString version; // empty when absent
    QString email; // empty when absent
};

// Reads the description of one language file; `language` is
// languageDefault when the file does not name its language. A missing or
// unreadable file gives the defaults.
LanguageFileInfo readLanguageInfo(const QString &path, const QString &languageDefault);

// Every "*.lng" file of the folder (any letter case), sorted by name, leaving
// out any whose lower-case name contains "default.lng": those are copies of
// an installed language, not languages of their own. Each file's language
// defaults to its file name. A missing folder gives an empty list.
std::vector<LanguageFileInfo> listLanguageFiles(const QString &languageFolder);

// Copies the language file at source over target in one step (temporary
// file, then rename), so the next start reads either the old or the new
// language, never a torn file. Raises EInOutError when the source is missing,
// unreadable or not text, or the target cannot be written; the old target
// is then left as it was.
void installLanguageFile(const QString &source, const QString &target);

} // namespace settings
