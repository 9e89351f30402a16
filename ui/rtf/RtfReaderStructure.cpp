// The reader's structure: paragraph spacing and tabs, lists, tables, links.
#include "ui/rtf/RtfReader.h"

#include <QRegularExpression>
#include <QTextOption>

#include <algorithm>

namespace rtf {
namespace {

constexpr int kMaxTwips = 100000;
constexpr int kMaxLinks = 65536;
constexpr int kMaxListNumber = 1 << 20;
// Lists of old files are told apart from \ls lists by their ids.
constexpr int kOldListIds = 1 << 28;

int twipsParam(const Token &token)
{
    return std::clamp(token.param, -kMaxTwips, kMaxTwips);
}

} // namespace

bool Reader::structureDestination(const KeywordInfo &info)
{
    Group &group = top();
    const auto opens = [&](Destination dest) {
        group.dest = dest;
        group.opened = info.keyword;
        m_collected.clear();
        return true;
    };
    switch (info.keyword) {
    case Keyword::ListTable:
    case Keyword::ListOverrideTable:
        return opens(Destination::ListTable);
    case Keyword::ListDefinition:
        m_lists.beginList();
        return opens(Destination::ListTable);
    case Keyword::ListLevel:
        m_lists.beginLevel();
        group.para = ParaState();
        return opens(Destination::ListTable);
    case Keyword::ListOverride:
        m_lists.beginOverride();
        return opens(Destination::ListTable);
    case Keyword::LevelText:
        return opens(Destination::LevelText);
    case Keyword::Numbering:
        m_numbering = OldNumbering();
        m_numbering.set = true;
        return opens(Destination::Numbering);
    case Keyword::NumberingBefore:
    case Keyword::NumberingAfter:
        return opens(Destination::NumberingText);
    case Keyword::MarkerText:
        // An object's own data shows nothing, its markers neither.
        if (group.dest == Destination::Ignore)
            return true;
        return opens(Destination::MarkerText);
    case Keyword::FieldInstruction:
        return opens(Destination::FieldInstruction);
    case Keyword::FieldResult:
        if (group.dest == Destination::Ignore)
            group.dest = Destination::Text;
        group.chr.link = group.fieldLink;
        return true;
    case Keyword::TableProperties:
        return true;
    default:
        return false;
    }
}

void Reader::closeStructureGroup(const Group &closing)
{
    switch (closing.opened) {
    case Keyword::ListDefinition:
        m_lists.endList();
        break;
    case Keyword::ListLevel:
        m_lists.endLevel();
        break;
    case Keyword::ListOverride:
        m_lists.endOverride();
        break;
    case Keyword::LevelText:
        m_lists.appendLevelText(m_collected);
        break;
    case Keyword::Numbering:
        if (!m_groups.empty())
            top().para.numbering = m_numbering;
        break;
    case Keyword::NumberingBefore:
        m_numbering.before = m_collected;
        break;
    case Keyword::NumberingAfter:
        m_numbering.after = m_collected;
        break;
    case Keyword::MarkerText:
        m_marker = m_collected;
        m_markerSeen = true;
        // A marker shown from an object's result is more than its picture.
        m_objectText = m_objectText || m_openObject;
        break;
    case Keyword::FieldInstruction:
        if (!m_groups.empty())
            top().fieldLink = linkOfInstruction(m_collected);
        break;
    default:
        break;
    }
}

bool Reader::collecting() const
{
    switch (m_groups.back().dest) {
    case Destination::LevelText:
    case Destination::NumberingText:
    case Destination::MarkerText:
    case Destination::FieldInstruction:
        return true;
    default:
        return false;
    }
}

void Reader::collectText(const QString &text)
{
    if (m_collected.size() < kMaxCollectedText)
        m_collected += text.left(kMaxCollectedText - m_collected.size());
}

// HYPERLINK "address" with an optional \l "place", as word processors write.
int Reader::linkOfInstruction(const QString &instruction)
{
    static const QRegularExpression hyperlink(
        QStringLiteral("^\\s*HYPERLINK\\s+(?:\"([^\"]*)\"|([^\\s\"\\\\]+))?(.*)$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression place(QStringLiteral("\\\\l\\s+\"([^\"]*)\""));
    const QRegularExpressionMatch match = hyperlink.match(instruction);
    if (!match.hasMatch())
        return 0;
    QString address = match.captured(1) + match.captured(2);
    const QRegularExpressionMatch placeMatch = place.match(match.captured(3));
    if (placeMatch.hasMatch())
        address += QLatin1Char('#') + placeMatch.captured(1);
    address = address.trimmed();
    if (address.isEmpty() || m_links.size() >= kMaxLinks)
        return 0;
    if (m_links.isEmpty() || m_links.last() != address)
        m_links.append(address);
    return int(m_links.size());
}

void Reader::paragraphWord(const KeywordInfo &info, const Token &token)
{
    ParaState &para = top().para;
    switch (info.keyword) {
    case Keyword::SpaceBefore:
        para.spaceBefore = std::clamp(token.param, 0, kMaxTwips);
        break;
    case Keyword::SpaceAfter:
        para.spaceAfter = std::clamp(token.param, 0, kMaxTwips);
        break;
    case Keyword::LineSpacing:
        para.lineSpacing = twipsParam(token);
        break;
    case Keyword::LineMultiple:
        para.lineMultiple = token.param == 1;
        break;
    case Keyword::TabKind:
        para.tabKind = info.value;
        break;
    case Keyword::TabStop:
        if (para.tabs.size() < kMaxTabStops)
            para.tabs.push_back({std::clamp(token.param, 0, kMaxTwips), para.tabKind});
        para.tabKind = 0;
        break;
    default:
        break;
    }
}

void Reader::listWord(const KeywordInfo &info, const Token &token)
{
    Group &group = top();
    if (group.dest == Destination::ListTable) {
        switch (info.keyword) {
        case Keyword::ListId:
            m_lists.setListId(token.param);
            m_lists.setOverrideList(token.param);
            break;
        case Keyword::NumberFormat:
            m_lists.setNumberFormat(token.param);
            break;
        case Keyword::LevelStart:
            m_lists.setLevelStart(token.param);
            break;
        case Keyword::ListOverrideNumber:
            m_lists.setOverrideNumber(token.param);
            break;
        case Keyword::LeftIndent:
        case Keyword::FirstIndent:
            m_lists.setLevelIndents(group.para.leftTwips, group.para.firstTwips);
            break;
        default:
            break;
        }
        return;
    }
    switch (info.keyword) {
    case Keyword::ListOverrideNumber:
        group.para.listOverride = std::clamp(token.param, 0, kMaxListNumber - 1);
        return;
    case Keyword::ListLevelNumber:
        group.para.listLevel = std::clamp(token.param, 0, kListLevels - 1);
        return;
    default:
        break;
    }
    if (group.dest != Destination::Numbering)
        return;
    switch (info.keyword) {
    case Keyword::NumberingBullet:
        m_numbering.body = false;
        break;
    case Keyword::NumberingBody:
        m_numbering.body = true;
        break;
    case Keyword::NumberingLevel:
        m_numbering.body = true;
        m_numbering.level = std::clamp(token.param - 1, 0, kListLevels - 1);
        break;
    case Keyword::NumberingStyle:
        m_numbering.style = QTextListFormat::Style(info.value);
        break;
    case Keyword::NumberingStart:
        m_numbering.start = token.param;
        break;
    default:
        break;
    }
}

void Reader::tableWord(const KeywordInfo &info, const Token &token)
{
    ParaState &para = top().para;
    switch (info.keyword) {
    case Keyword::InTable:
        para.tableDepth = std::max(para.tableDepth, 1);
        break;
    case Keyword::NestingLevel:
        para.tableDepth = std::clamp(token.param, 0, ContentSink::kMaxTableDepth);
        break;
    case Keyword::Paragraph:
        if (top().dest == Destination::Text)
            endParagraph();
        break;
    case Keyword::Cell:
    case Keyword::Row:
        if (top().dest == Destination::Text)
            endCellOrRow(info);
        break;
    default:
        break;
    }
}

Reader::RowDefinition &Reader::rowDefinition()
{
    const int depth = std::clamp(top().para.tableDepth, 1, ContentSink::kMaxTableDepth);
    return m_rows[size_t(depth - 1)];
}

void Reader::rowWord(const KeywordInfo &info, const Token &token)
{
    // The same words in a kept picture or another program's group define no row.
    if (top().dest != Destination::Text)
        return;
    switch (info.keyword) {
    case Keyword::RowDefaults:
        rowDefinition() = RowDefinition();
        break;
    case Keyword::CellRight: {
        RowDefinition &def = rowDefinition();
        TableRow::Cell cell = def.cell;
        const int right = std::clamp(token.param, -kMaxTwips, kMaxTwips);
        switch (def.widthType) {
        case 1:
            cell.width = QTextLength();
            break;
        case 2:
            cell.width
                = QTextLength(QTextLength::PercentageLength, std::clamp(def.width, 0, 5000) / 50.0);
            break;
        case 3:
            cell.width = QTextLength(QTextLength::FixedLength,
                                     std::clamp(def.width, 0, kMaxTwips) / kTwipsPerPixel);
            break;
        default:
            if (right > def.lastRight)
                cell.width = QTextLength(QTextLength::FixedLength,
                                         (right - def.lastRight) / kTwipsPerPixel);
            break;
        }
        def.lastRight = right;
        if (def.row.cells.size() < 64)
            def.row.cells.push_back(cell);
        def.cell = TableRow::Cell();
        def.widthType = 0;
        def.width = 0;
        def.cellBorder = false;
        break;
    }
    case Keyword::RowGap:
        rowDefinition().row.padding = std::clamp(token.param, 0, kMaxTwips) / kTwipsPerPixel;
        break;
    case Keyword::RowSpacing:
        rowDefinition().row.spacing = std::clamp(token.param, 0, kMaxTwips) / kTwipsPerPixel;
        break;
    case Keyword::CellWidthType:
        rowDefinition().widthType = token.param;
        break;
    case Keyword::CellWidth:
        rowDefinition().width = token.param;
        break;
    case Keyword::CellBorder:
        rowDefinition().cellBorder = true;
        break;
    case Keyword::BorderWidth:
        // A hairline still shows, as a pixel.
        if (RowDefinition &def = rowDefinition(); def.cellBorder && token.param > 0)
            def.row.border = std::max(
                {def.row.border, 1.0, std::clamp(token.param, 0, 1000) / kTwipsPerPixel});
        break;
    case Keyword::CellMergeFirst:
    case Keyword::CellVerticalMergeFirst:
        rowDefinition().cell.mergeFirst = true;
        break;
    case Keyword::CellMerged:
        rowDefinition().cell.mergedLeft = true;
        break;
    case Keyword::CellVerticalMerged:
        rowDefinition().cell.mergedUp = true;
        break;
    default:
        break;
    }
}

void Reader::tellTableDepth(int depth)
{
    if (depth == m_tableDepth)
        return;
    m_tableDepth = depth;
    m_builder.setTableDepth(depth);
}

void Reader::endCellOrRow(const KeywordInfo &info)
{
    // A cell outside any \intbl paragraph still belongs to a table.
    const int depth = std::max(top().para.tableDepth, 1);
    emitPendingSurrogate();
    flushBytes();
    flushText();
    tellTableDepth(depth);
    m_objectText = m_objectText || m_openObject;
    if (info.keyword == Keyword::Cell) {
        m_builder.endCell(paragraphEnd(top().para, top().chr));
        return;
    }
    m_builder.endRow(m_rows[size_t(std::min(depth, ContentSink::kMaxTableDepth) - 1)].row);
}

ParagraphEnd Reader::paragraphEnd(const ParaState &para, const CharState &chr)
{
    ParagraphEnd end;
    const ListLevel *level = nullptr;
    int levelIndex = 0;
    if (para.listOverride > 0) {
        level = m_lists.level(para.listOverride, para.listLevel);
        levelIndex = para.listLevel;
        end.listId = para.listOverride * 16 + levelIndex;
        // Lists here count from one: other numbers stay as the file wrote them.
        if (level && level->start != 1 && !isBullet(level->style))
            level = nullptr;
    }
    // Files of old writers: a {\*\pn ...} or only the marker text.
    ListLevel old;
    bool oldList = false;
    if (!level && para.numbering.set) {
        const OldNumbering &n = para.numbering;
        levelIndex = n.level;
        if (n.body) {
            old.style = n.style;
            old.prefix = n.before;
            old.suffix = n.after;
        } else if (!levelFromMarker(n.before, old) || !isBullet(old.style)) {
            old.style = QTextListFormat::ListDisc;
        }
        oldList = n.start == 1 || !n.body;
    } else if (!level && m_markerSeen) {
        oldList = levelFromMarker(m_marker, old);
    }
    if (oldList) {
        if (!m_lastWasOldList)
            m_oldListRun = (m_oldListRun + 1) % (1 << 16);
        old.leftTwips = kListIndentTwips * (levelIndex + 1);
        old.firstTwips = kListHangTwips;
        end.listId = kOldListIds + ((m_oldListRun * 16 + (-int(old.style) & 15)) * 16) + levelIndex;
        // A marker that does not count as this list would is kept as text.
        const int number = m_oldListItems.value(end.listId) + 1;
        const QString marker = m_marker.trimmed();
        oldList = !m_markerSeen || isBullet(old.style)
            || marker == listMarker(listFormat(old, levelIndex), number).trimmed();
        if (oldList) {
            m_oldListItems[end.listId] = number;
            level = &old;
        }
    }
    m_lastWasOldList = oldList;
    if (!level && m_markerSeen)
        end.markerText = lineText(m_marker);
    m_markerSeen = false;
    m_marker.clear();
    // Plain text shows the markers too, so even it needs the list's format.
    if (level)
        end.list = listFormat(*level, levelIndex);
    else
        end.listId = -1;
    end.block = blockFormat(para, level);
    end.chr = charFormat(chr);
    return end;
}

QTextBlockFormat Reader::blockFormat(const ParaState &para, const ListLevel *level) const
{
    QTextBlockFormat format;
    if (!m_builder.wantsFormats())
        return format;
    if (para.alignment != Qt::AlignLeft)
        format.setAlignment(para.alignment);
    // A list item's indents are its level's; only what goes beyond is its own.
    const int left = level ? std::max(0, para.leftTwips - level->leftTwips) : para.leftTwips;
    const int first = level ? para.firstTwips - level->firstTwips : para.firstTwips;
    if (left)
        format.setLeftMargin(left / kTwipsPerPixel);
    if (para.rightTwips)
        format.setRightMargin(para.rightTwips / kTwipsPerPixel);
    if (first)
        format.setTextIndent(first / kTwipsPerPixel);
    if (para.spaceBefore)
        format.setTopMargin(para.spaceBefore / kTwipsPerPixel);
    if (para.spaceAfter)
        format.setBottomMargin(para.spaceAfter / kTwipsPerPixel);
    if (para.lineSpacing && para.lineMultiple) {
        if (para.lineSpacing > 0)
            format.setLineHeight(para.lineSpacing * 100.0 / 240,
                                 QTextBlockFormat::ProportionalHeight);
    } else if (para.lineSpacing > 0) {
        format.setLineHeight(para.lineSpacing / kTwipsPerPixel, QTextBlockFormat::MinimumHeight);
    } else if (para.lineSpacing < 0) {
        format.setLineHeight(-para.lineSpacing / kTwipsPerPixel, QTextBlockFormat::FixedHeight);
    }
    if (!para.tabs.empty()) {
        QList<QTextOption::Tab> tabs;
        for (const TabStop &tab : para.tabs) {
            const auto type = QTextOption::TabType(tab.kind);
            tabs.append(
                QTextOption::Tab(tab.twips / kTwipsPerPixel, type,
                                 type == QTextOption::DelimiterTab ? QLatin1Char('.') : QChar()));
        }
        format.setTabPositions(tabs);
    }
    return format;
}

} // namespace rtf
