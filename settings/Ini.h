#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace settings {

// INI files with the rules of the Windows profile functions: section and key
// names ignore case, blanks around a value are not part of it, one pair of
// enclosing quotes (double or single) is dropped, and a missing key gives
// the caller's default. Comments, blank lines and anything unrecognised are
// kept exactly when the file is rewritten.
class IniDocument
{
public:
    static IniDocument parse(const QString &text);
    QString toText() const;

    // The first definition of the key in a section of that name.
    std::optional<QString> value(const QString &section, const QString &key) const;
    // Replaces the key's value or adds the key (and the section). Returns
    // false, changing nothing, for a section or key name that cannot be
    // written as one (brackets, '=', line breaks, surrounding blanks). Line
    // breaks in the value become blanks; a value that would lose blanks or
    // quotes when read back is written in quotes.
    bool setValue(const QString &section, const QString &key, const QString &value);

private:
    enum class Kind { Other, Section, Key };
    struct Line
    {
        Kind kind = Kind::Other;
        QString raw;
        QString name; // section or key name as written, trimmed
        QString value; // Key: the value as written, trimmed
    };
    static Line parseLine(const QString &raw);
    // Index of the first line defining the key; -1 when absent.
    int indexOfKey(const QString &section, const QString &key) const;
    // Index after the last non-blank line of the first section of that name; -1 when absent.
    int endOfSection(const QString &section) const;

    std::vector<Line> m_lines;
};

// One INI file on disk. The text is read once, at construction, in the
// program's text rule (UTF-8 or Windows-1252; UTF-16 and UTF-8 with a
// byte-order mark too). A missing or unreadable file reads as empty.
class IniFile
{
public:
    explicit IniFile(const QString &path);

    const QString &path() const { return m_path; }
    QString readString(const QString &section, const QString &key,
                       const QString &defaultValue) const;
    // A decimal number (optional sign); the default for any other text.
    int readInteger(const QString &section, const QString &key, int defaultValue) const;

    // Writes one value into the file, keeping the rest of it and its
    // encoding: under a lock, written to a temporary file and renamed, private
    // to the user. False when the file could not be written or is not
    // readable text (it is then left alone), or for an invalid name.
    bool writeString(const QString &section, const QString &key, const QString &value);

private:
    QString m_path;
    IniDocument m_document;
};

} // namespace settings
