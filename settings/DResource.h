#pragma once

#include "platform/Errors.h"

#include <QString>

#include <array>
#include <memory>

namespace settings {

// The language file the program was started with is missing or unreadable;
// the program cannot show a single caption and must stop.
class EResourceFileMissing : public Error
{
public:
    using Error::Error;
};

} // namespace settings

// The table of numbered user-interface texts (captions, hints, messages),
// loaded once from a language file: an INI file with the texts under
// [Resource] by decimal id and a description of the translation under
// [General]. One table lives for the whole run (see current()). The ids are
// named in settings/TextIds.h.
class TReadRes
{
public:
    static constexpr int kLastLoadedId = 104;
    static constexpr int kLastId = 105;

    // Loads ids 0..104 from the language file at filePath. A text that is
    // missing or reads "!!!" is taken from "english.lng" in languageFolder
    // when that folder holds a file of the same name as the loaded one;
    // otherwise it becomes "Error load res [<id>]". Raises
    // settings::EResourceFileMissing ("Resource file <path>not founded. Program killed")
    // when the file does not exist or cannot be read.
    TReadRes(const QString &filePath, const QString &languageFolder);

    // The text with that id: ids up to 105 from the table (105 is always
    // empty), any other id "No resource <id>".
    QString GetText(int id) const;

    // The name of the file the table was created with.
    const QString &FileName() const { return m_fileName; }

    // From [General]; "Not defined" when absent.
    QString LangLanguage;
    QString LangAuthor;
    QString LangVersion;
    QString LangEmail;
    QString LangNote;

    // The table of this run, installed by the program entry before any
    // window exists. Until one is installed every text is empty.
    static const TReadRes &current();
    static void setCurrent(std::unique_ptr<TReadRes> table);

private:
    TReadRes() = default;

    QString m_fileName;
    std::array<QString, kLastId + 1> m_texts;
};

namespace settings {

// The current table's text with that id, or the built-in (English design)
// text where the table has none: no table installed, or an empty text in
// the language file.
QString uiText(int id, const QString &builtIn);

} // namespace settings
