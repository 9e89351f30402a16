#pragma once

#include <QHash>
#include <QString>
#include <QTextListFormat>

#include <array>
#include <unordered_map>

class QTextBlock;
class QTextList;

namespace rtf {

// Lists as RTF keeps them: \listtable defines lists of nine levels each,
// \listoverridetable maps the \lsN that paragraphs name to those lists.
// Old writers give each paragraph a {\*\pn ...} instead, and the oldest only
// a {\pntext ...} or {\listtext ...} marker in front of the text.

constexpr int kListLevels = 9;
// The indent of list level N is (N + 1) of these, with the marker hanging
// in front of the text.
constexpr int kListIndentTwips = 600;
constexpr int kListHangTwips = -360;

struct ListLevel
{
    QTextListFormat::Style style = QTextListFormat::ListDisc;
    QString prefix;
    QString suffix = QStringLiteral(".");
    int leftTwips = 0;
    int firstTwips = 0;
    int start = 1; // the number of the first item
};

// Only what a line of text can show: no control character but the tab, no
// line, paragraph or object character, noncharacter or surrogate.
QString lineText(QStringView text);
// The format of a list at a level (0-based).
QTextListFormat listFormat(const ListLevel &level, int levelIndex);
// The level a list format stands for at a level index.
ListLevel listLevelOf(const QTextListFormat &format, int levelIndex);

// The list level that an RTF \levelnfcN or \pn style word names; the style
// for bullets (23) depends on the bullet character.
QTextListFormat::Style styleOfNumberFormat(int numberFormat, const QString &bulletText);
// The \levelnfcN that stands for a style.
int numberFormatOf(QTextListFormat::Style style);
bool isBullet(QTextListFormat::Style style);
// The character a bullet style shows.
QChar bulletCharacter(QTextListFormat::Style style);

// What a numbered or bulleted item shows in front of its text, for item
// `number` (1-based).
QString listMarker(const QTextListFormat &format, int number);
// What a list item's line starts with as plain text: its marker and a
// blank, indented by its level.
QString listItemPrefix(const QTextListFormat &format, int number);
// Numbers the items of a document's lists as they come in document order,
// which asking a list for an item's place would do at a cost that grows
// with the list.
class ListItemCounter
{
public:
    // The item's number (from 1), or 0 for a block in no list.
    int next(const QTextBlock &block);

private:
    QHash<const QTextList *, int> m_items;
};

// The style a marker written as text suggests ("•", "1.", "a)", "iv."), with
// the text around the number; false when it looks like no marker.
bool levelFromMarker(const QString &marker, ListLevel &level);

// \listtable and \listoverridetable, as the reader finds them.
class ListTable
{
public:
    static constexpr size_t kMaxLists = 4096;

    // A {\list ...} group.
    void beginList();
    void setListId(int id) { m_list.id = id; }
    // A {\listlevel ...} group inside it.
    void beginLevel();
    void setNumberFormat(int format) { m_level.numberFormat = format; }
    void setLevelStart(int start) { m_level.start = start; }
    void setLevelIndents(int leftTwips, int firstTwips);
    void appendLevelText(const QString &text) { m_level.text += text; }
    void endLevel();
    void endList();

    // A {\listoverride ...} group.
    void beginOverride();
    void setOverrideList(int id) { m_override.listId = id; }
    void setOverrideNumber(int number) { m_override.number = number; }
    void endOverride();

    // The level that paragraphs with \lsN\ilvlM show; nullptr when unknown.
    const ListLevel *level(int override, int levelIndex) const;

private:
    struct PendingLevel
    {
        int numberFormat = 0;
        QString text; // \leveltext: a length, then text with level placeholders
        int leftTwips = 0;
        int firstTwips = 0;
        int start = 1;
    };
    struct PendingList
    {
        int id = 0;
        std::array<ListLevel, kListLevels> levels {};
        int count = 0;
    };
    struct PendingOverride
    {
        int listId = 0;
        int number = 0;
    };

    PendingList m_list;
    PendingLevel m_level;
    PendingOverride m_override;
    std::unordered_map<int, std::array<ListLevel, kListLevels>> m_lists;
    std::unordered_map<int, int> m_overrides;
};

} // namespace rtf
