#include "ui/rtf/RtfLists.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextList>

#include <algorithm>

namespace rtf {
namespace {

QString alphabetic(int number, char first)
{
    QString text;
    for (; number > 0; number = (number - 1) / 26)
        text.prepend(QLatin1Char(char(first + (number - 1) % 26)));
    return text;
}

QString roman(int number, bool upper)
{
    if (number <= 0 || number >= 4000)
        return QString::number(number);
    static const std::pair<int, const char *> parts[]
        = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
           {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
    QString text;
    for (const auto &[value, letters] : parts) {
        for (; number >= value; number -= value)
            text += QLatin1String(letters);
    }
    return upper ? text.toUpper() : text;
}

bool isRoman(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^(?:[ivxlcdm]+|[IVXLCDM]+)$"));
    return pattern.match(text).hasMatch();
}

} // namespace

QString lineText(QStringView text)
{
    QString shown;
    for (const QChar c : text) {
        if (c == QLatin1Char('\t')
            || (c.unicode() >= 0x20 && !c.isNonCharacter() && c != QChar::LineSeparator
                && c != QChar::ParagraphSeparator && c != QChar::ObjectReplacementCharacter
                && !c.isSurrogate()))
            shown += c;
    }
    return shown;
}

QTextListFormat listFormat(const ListLevel &level, int levelIndex)
{
    QTextListFormat format;
    format.setStyle(level.style);
    format.setIndent(levelIndex + 1);
    if (!isBullet(level.style)) {
        // A level's text in a list table cannot hold control characters:
        // they stand for the levels' numbers there. Its length is one byte,
        // the number counted.
        constexpr qsizetype kMaxLevelText = 254;
        const QString prefix = lineText(level.prefix).left(kMaxLevelText);
        const QString suffix = lineText(level.suffix).left(kMaxLevelText - prefix.size());
        if (!prefix.isEmpty())
            format.setNumberPrefix(prefix);
        if (suffix != QLatin1String("."))
            format.setNumberSuffix(suffix);
    }
    return format;
}

ListLevel listLevelOf(const QTextListFormat &format, int levelIndex)
{
    ListLevel level;
    level.style = format.style();
    level.prefix = format.numberPrefix();
    if (format.hasProperty(QTextFormat::ListNumberSuffix))
        level.suffix = format.numberSuffix();
    level.leftTwips = kListIndentTwips * (levelIndex + 1);
    level.firstTwips = kListHangTwips;
    return level;
}

QTextListFormat::Style styleOfNumberFormat(int numberFormat, const QString &bulletText)
{
    switch (numberFormat) {
    case 0:
    case 22:
        return QTextListFormat::ListDecimal;
    case 1:
        return QTextListFormat::ListUpperRoman;
    case 2:
        return QTextListFormat::ListLowerRoman;
    case 3:
        return QTextListFormat::ListUpperAlpha;
    case 4:
        return QTextListFormat::ListLowerAlpha;
    default: {
        ListLevel level;
        if (levelFromMarker(bulletText, level) && isBullet(level.style))
            return level.style;
        return QTextListFormat::ListDisc;
    }
    }
}

int numberFormatOf(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListDecimal:
        return 0;
    case QTextListFormat::ListUpperRoman:
        return 1;
    case QTextListFormat::ListLowerRoman:
        return 2;
    case QTextListFormat::ListUpperAlpha:
        return 3;
    case QTextListFormat::ListLowerAlpha:
        return 4;
    default:
        return 23;
    }
}

bool isBullet(QTextListFormat::Style style)
{
    return style >= QTextListFormat::ListSquare && style <= QTextListFormat::ListDisc;
}

QChar bulletCharacter(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListCircle:
        return QChar(0x25E6);
    case QTextListFormat::ListSquare:
        return QChar(0x25AA);
    default:
        return QChar(0x2022);
    }
}

QString listMarker(const QTextListFormat &format, int number)
{
    const QTextListFormat::Style style = format.style();
    if (isBullet(style))
        return QString(bulletCharacter(style));
    QString text;
    switch (style) {
    case QTextListFormat::ListLowerAlpha:
        text = alphabetic(number, 'a');
        break;
    case QTextListFormat::ListUpperAlpha:
        text = alphabetic(number, 'A');
        break;
    case QTextListFormat::ListLowerRoman:
        text = roman(number, false);
        break;
    case QTextListFormat::ListUpperRoman:
        text = roman(number, true);
        break;
    default:
        text = QString::number(number);
        break;
    }
    const QString suffix = format.hasProperty(QTextFormat::ListNumberSuffix) ? format.numberSuffix()
                                                                             : QStringLiteral(".");
    return format.numberPrefix() + text + suffix;
}

QString listItemPrefix(const QTextListFormat &format, int number)
{
    return QString(4 * std::clamp(format.indent() - 1, 0, kListLevels), QLatin1Char(' '))
        + listMarker(format, number) + QLatin1Char(' ');
}

int ListItemCounter::next(const QTextBlock &block)
{
    const QTextList *list = block.textList();
    return list ? ++m_items[list] : 0;
}

bool levelFromMarker(const QString &marker, ListLevel &level)
{
    const QString text = marker.trimmed();
    if (text.size() == 1) {
        const char16_t c = text.at(0).unicode();
        if (c == 0x25E6 || c == 0x25CB || c == u'o') {
            level.style = QTextListFormat::ListCircle;
            return true;
        }
        if (c == 0x25AA || c == 0x25A0 || c == 0x25A1 || c == 0x00A7 || c == 0xF0A7) {
            level.style = QTextListFormat::ListSquare;
            return true;
        }
        if (c == 0x2022 || c == 0x00B7 || c == 0x2013 || c == u'-' || c == u'*' || c == 0x25CF
            || (c >= 0xF000 && c <= 0xF0FF)) {
            level.style = QTextListFormat::ListDisc;
            return true;
        }
    }
    static const QRegularExpression numbered(
        QStringLiteral("^([^\\w\\s]{0,2})([0-9]{1,6}|[a-zA-Z]{1,8})([^\\w\\s]{0,2})$"));
    const QRegularExpressionMatch match = numbered.match(text);
    if (!match.hasMatch())
        return false;
    const QString number = match.captured(2);
    if (number.at(0).isDigit())
        level.style = QTextListFormat::ListDecimal;
    else if (isRoman(number) && (number.size() > 1 || number.at(0).toLower() == u'i'))
        level.style = number.at(0).isUpper() ? QTextListFormat::ListUpperRoman
                                             : QTextListFormat::ListLowerRoman;
    else if (number.size() == 1)
        level.style = number.at(0).isUpper() ? QTextListFormat::ListUpperAlpha
                                             : QTextListFormat::ListLowerAlpha;
    else
        return false;
    level.prefix = match.captured(1);
    level.suffix = match.captured(3);
    return true;
}

void ListTable::beginList()
{
    m_list = PendingList();
}

void ListTable::beginLevel()
{
    m_level = PendingLevel();
}

void ListTable::setLevelIndents(int leftTwips, int firstTwips)
{
    m_level.leftTwips = leftTwips;
    m_level.firstTwips = firstTwips;
}

void ListTable::endLevel()
{
    if (m_list.count >= kListLevels)
        return;
    ListLevel &level = m_list.levels[size_t(m_list.count++)];
    // \leveltext: its length, then the text, with \'00 to \'08 standing for
    // the numbers of the levels.
    const QString text
        = m_level.text.mid(1, m_level.text.isEmpty() ? 0 : m_level.text.at(0).unicode());
    qsizetype first = -1;
    qsizetype last = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).unicode() < kListLevels) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    level.style = styleOfNumberFormat(m_level.numberFormat, text);
    if (first >= 0) {
        level.prefix = text.left(first);
        level.suffix = text.mid(last + 1);
    }
    level.leftTwips = m_level.leftTwips;
    level.firstTwips = m_level.firstTwips;
    level.start = m_level.start;
}

void ListTable::endList()
{
    if (m_lists.size() < kMaxLists)
        m_lists[m_list.id] = m_list.levels;
}

void ListTable::beginOverride()
{
    m_override = PendingOverride();
}

void ListTable::endOverride()
{
    if (m_overrides.size() < kMaxLists)
        m_overrides[m_override.number] = m_override.listId;
}

const ListLevel *ListTable::level(int override, int levelIndex) const
{
    const auto found = m_overrides.find(override);
    // Some writers name the list itself.
    const int id = found == m_overrides.end() ? override : found->second;
    const auto list = m_lists.find(id);
    if (list == m_lists.end())
        return nullptr;
    return &list->second[size_t(std::clamp(levelIndex, 0, kListLevels - 1))];
}

} // namespace rtf
