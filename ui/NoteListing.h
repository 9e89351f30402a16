#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// What a listing of the notes shows and finds, without any widget: the
// notes window and jotletctl list and search use the same.
namespace ui {

// The text as a search compares it, ignoring case and accents: every
// character decomposed (compatibility decomposition, so "ﬁ" is "fi"), its
// combining accents dropped, its case folded; letters with a stroke ("ø",
// "ł", "đ") become their plain letters, "ß" becomes "ss", and every blank (a
// tab between table cells too) a space.
QString foldForSearch(QStringView text);

// A span of characters of a text.
struct TextSpan
{
    int start = 0;
    int length = 0;

    friend bool operator==(const TextSpan &a, const TextSpan &b)
    {
        return a.start == b.start && a.length == b.length;
    }
};

// A text folded once, for finding many queries in it and showing where.
class SearchText
{
public:
    SearchText() = default;
    explicit SearchText(QStringView text);

    // Where the folded query first occurs, as a span of the original text
    // (a folded "ss" found in "ß" covers the "ß"); nothing for an empty query.
    std::optional<TextSpan> find(const QString &foldedQuery) const;

private:
    int originalStart(int foldedIndex) const;
    int originalEnd(int foldedIndex) const;

    QString m_folded;
    // The original index of each folded character's source; empty while
    // folding kept every character in its place (most text).
    std::vector<int> m_origin;
    int m_originalLength = 0;
};

// Where a note matches a query: in its title, in a line of its text, or both.
struct NoteMatch
{
    std::optional<TextSpan> title;
    int line = -1; // the first line that holds the query, or -1
    TextSpan inLine;

    bool found() const { return title || line >= 0; }
};

// A note's title and text, folded once for searching as the user types.
class NoteSearchText
{
public:
    NoteSearchText() = default;
    NoteSearchText(const QString &title, const QStringList &lines);

    NoteMatch find(const QString &foldedQuery) const;

private:
    SearchText m_title;
    SearchText m_text; // the lines joined by line ends, which no query holds
    std::vector<int> m_lineStarts;
};

// The first line that holds more than blanks, trimmed; empty when none does.
QString firstTextLine(const QStringList &lines);

// The local moment an alarm or an expiration stands for: the day of one
// field with the hour and minute of the other. Nothing when either field
// holds no valid date-time.
std::optional<QDateTime> momentOf(double dateField, double timeField);

} // namespace ui
