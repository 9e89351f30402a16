#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <QTextCharFormat>

#include <unordered_map>
#include <vector>

namespace rtf {

// The character format in force in a group, as the RTF states it: only what
// the file sets becomes a property of the text, the rest follows the body font.
struct CharState
{
    int font = -1; // font table number; -1: none given
    int halfPoints = 0; // 0: none given
    bool bold = false;
    bool italic = false;
    int underline = 0; // QTextCharFormat::UnderlineStyle
    bool strike = false;
    bool hidden = false;
    int vertical = 0; // QTextCharFormat::VerticalAlignment: normal, super or sub
    bool smallCaps = false;
    bool allCaps = false;
    int foreground = 0; // colour table index; 0: automatic
    int background = 0;
    int link = 0; // 1 + the index of its address in the reader's links; 0: none

    bool operator==(const CharState &other) const;
    bool operator!=(const CharState &other) const { return !(*this == other); }
};

struct FontEntry
{
    QString name;
    int codePage = 0; // 0: the document's
};

// The font table: entries are built up while the reader walks \fonttbl.
class FontTable
{
public:
    static constexpr size_t kMaxEntries = 65536;

    void beginEntry(int number);
    void setCharset(int charset);
    void setCodePage(int codePage);
    void appendName(const QString &text);
    // The entry being read ends (';' or the end of its group).
    void commitEntry();
    // The code page that names of the entry being read are written in.
    int pendingCodePage() const { return m_pending.codePage; }

    const FontEntry *find(int number) const;

private:
    std::unordered_map<int, FontEntry> m_entries;
    FontEntry m_pending;
    int m_pendingNumber = -1;
};

class ColorTable
{
public:
    static constexpr size_t kMaxEntries = 65536;

    void setRed(int value) { setComponent(m_red, value); }
    void setGreen(int value) { setComponent(m_green, value); }
    void setBlue(int value) { setComponent(m_blue, value); }
    // A ';' ends an entry; one without components is the automatic colour.
    void commitEntry();

    // Invalid for the automatic colour and for indexes past the table.
    QColor color(int index) const;

private:
    void setComponent(int &component, int value);

    std::vector<QColor> m_colors;
    int m_red = 0;
    int m_green = 0;
    int m_blue = 0;
    bool m_hasComponent = false;
};

struct CharStateHash
{
    size_t operator()(const CharState &state) const;
};

// Turns group character states into document formats. A document uses few
// distinct formats, and handing the same format object over again spares
// the document from hashing a new one for every run.
class CharFormatCache
{
public:
    static constexpr size_t kMaxEntries = 4096;

    // Formats leave out what `implicit` gives with the same value.
    CharFormatCache(const FontTable &fonts, const ColorTable &colors, const QStringList &links,
                    const QTextCharFormat &implicit);
    const QTextCharFormat &format(const CharState &state);

private:
    QTextCharFormat build(const CharState &state) const;

    const FontTable &m_fonts;
    const ColorTable &m_colors;
    const QStringList &m_links;
    QTextCharFormat m_implicit;
    std::unordered_map<CharState, QTextCharFormat, CharStateHash> m_formats;
};

} // namespace rtf
