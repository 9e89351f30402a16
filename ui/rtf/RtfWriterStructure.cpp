// The writer's structure: the list table, tables, links, and kept groups
// given a new size.
#include "ui/rtf/RtfWriter.h"

#include "ui/rtf/RtfLists.h"
#include "ui/rtf/RtfPicture.h"
#include "ui/rtf/RtfTokenizer.h"

#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

#include <algorithm>

namespace rtf {
namespace {

constexpr char kLineEnd[] = "\r\n";
// The width a table of variable or percentage columns is written for: the
// text width of a letter page with one-inch margins.
constexpr int kTableTwips = 9360;

const char *cellEndWord(int tableDepth)
{
    return tableDepth > 1 ? "nestcell" : "cell";
}

} // namespace

void Writer::writeListTable()
{
    if (m_lists.empty())
        return;
    m_out += "{\\*\\listtable";
    for (size_t i = 0; i < m_lists.size(); ++i) {
        const int id = int(i) + 1;
        const QTextListFormat format = m_lists[i]->format();
        m_out += kLineEnd;
        m_out += "{\\list\\listtemplateid" + QByteArray::number(id) + "\\listsimple0";
        for (int level = 0; level < kListLevels; ++level) {
            const ListLevel shown = listLevelOf(format, level);
            const QByteArray nfc = QByteArray::number(numberFormatOf(shown.style));
            m_out += kLineEnd;
            m_out += "{\\listlevel\\levelnfc" + nfc + "\\levelnfcn" + nfc
                + "\\leveljc0\\leveljcn0\\levelfollow0\\levelstartat1{\\leveltext";
            if (isBullet(shown.style)) {
                m_out += "\\'01\\u" + QByteArray::number(bulletCharacter(shown.style).unicode())
                    + "?;}{\\levelnumbers;}";
            } else {
                // The length, the text before the number, the level's
                // number, the text after it.
                const int length = int(shown.prefix.size() + shown.suffix.size()) + 1;
                m_out += "\\'"
                    + QByteArray::number(std::clamp(length, 0, 255), 16).rightJustified(2, '0');
                m_out += encodedText(shown.prefix);
                m_out += "\\'0" + QByteArray::number(level);
                m_out += encodedText(shown.suffix);
                m_out += ";}{\\levelnumbers\\'"
                    + QByteArray::number(int(shown.prefix.size()) + 1, 16).rightJustified(2, '0')
                    + ";}";
            }
            m_out += "\\fi" + QByteArray::number(shown.firstTwips) + "\\li"
                + QByteArray::number(shown.leftTwips) + "\\jclisttab\\tx"
                + QByteArray::number(shown.leftTwips) + '}';
        }
        m_out += "\\listid" + QByteArray::number(id) + '}';
    }
    m_out += '}';
    m_out += kLineEnd;
    m_out += "{\\*\\listoverridetable";
    for (size_t i = 0; i < m_lists.size(); ++i) {
        const QByteArray id = QByteArray::number(int(i) + 1);
        m_out += "{\\listoverride\\listid" + id + "\\listoverridecount0\\ls" + id + '}';
    }
    m_out += '}';
    m_out += kLineEnd;
}

void Writer::writeFrame(QTextFrame::iterator it, int tableDepth)
{
    for (; !it.atEnd(); ++it) {
        if (const QTextTable *table = qobject_cast<const QTextTable *>(it.currentFrame()))
            writeTable(*table, tableDepth + 1);
        else if (const QTextFrame *frame = it.currentFrame())
            writeFrame(frame->begin(), tableDepth);
        else
            writeBlock(it.currentBlock(), tableDepth, "par");
    }
}

// Word's form: a row's definition, its cells, \row; a nested table's rows
// end with their definition in {\*\nesttableprops ...}.
void Writer::writeTable(const QTextTable &table, int tableDepth)
{
    for (int row = 0; row < table.rows(); ++row) {
        if (tableDepth == 1)
            writeRowDefinition(table, row);
        for (int column = 0; column < table.columns(); ++column)
            writeCell(table, row, column, tableDepth);
        if (tableDepth == 1) {
            writeWord("row");
        } else {
            m_out += "{\\*\\nesttableprops";
            writeRowDefinition(table, row);
            writeWord("nestrow");
            m_out += "}{\\nonesttables\\par}";
            m_needDelimiter = false;
        }
        m_out += kLineEnd;
        m_needDelimiter = false;
    }
}

void Writer::writeRowDefinition(const QTextTable &table, int row)
{
    const QTextTableFormat format = table.format();
    writeWord("trowd");
    if (const int padding = twips(format.cellPadding()))
        writeWord("trgaph", padding);
    if (const int spacing = twips(format.cellSpacing())) {
        writeWord("trspdl", spacing);
        writeWord("trspdfl", 3);
    }
    const QList<QTextLength> widths = format.columnWidthConstraints();
    const int border = format.border() > 0 ? std::max(1, twips(format.border())) : 0;
    int right = 0;
    for (int column = 0; column < table.columns(); ++column) {
        const QTextTableCell cell = table.cellAt(row, column);
        const bool top = cell.row() == row;
        const bool left = cell.column() == column;
        if (!top)
            writeWord("clvmrg");
        else if (cell.rowSpan() > 1)
            writeWord("clvmgf");
        if (!left)
            writeWord("clmrg");
        else if (cell.columnSpan() > 1)
            writeWord("clmgf");
        if (border) {
            for (const char *side : {"clbrdrt", "clbrdrl", "clbrdrb", "clbrdrr"}) {
                writeWord(side);
                writeWord("brdrs");
                writeWord("brdrw", border);
            }
        }
        const QTextLength width = column < widths.size() ? widths.at(column) : QTextLength();
        switch (width.type()) {
        case QTextLength::FixedLength:
            writeWord("clftsWidth", 3);
            writeWord("clwWidth", twips(width.rawValue()));
            right += twips(width.rawValue());
            break;
        case QTextLength::PercentageLength:
            writeWord("clftsWidth", 2);
            writeWord("clwWidth", qRound(width.rawValue() * 50));
            right += qRound(width.rawValue() * kTableTwips / 100);
            break;
        default:
            writeWord("clftsWidth", 1);
            right += kTableTwips / std::max(1, table.columns());
            break;
        }
        writeWord("cellx", right);
    }
}

void Writer::writeCell(const QTextTable &table, int row, int column, int tableDepth)
{
    const QTextTableCell cell = table.cellAt(row, column);
    if (cell.row() != row || cell.column() != column) {
        // Covered by a merged cell: an empty cell keeps the grid.
        ParaFormat covered;
        covered.tableDepth = tableDepth;
        writeParaFormat(covered);
        writeWord(cellEndWord(tableDepth));
        m_out += kLineEnd;
        m_needDelimiter = false;
        return;
    }
    for (QTextFrame::iterator it = cell.begin(); !it.atEnd(); ++it) {
        QTextFrame::iterator next = it;
        ++next;
        if (const QTextTable *nested = qobject_cast<const QTextTable *>(it.currentFrame()))
            writeTable(*nested, tableDepth + 1);
        else if (const QTextFrame *frame = it.currentFrame())
            writeFrame(frame->begin(), tableDepth);
        else
            writeBlock(it.currentBlock(), tableDepth,
                       next.atEnd() ? cellEndWord(tableDepth) : "par");
    }
}

void Writer::openLink(const QString &link)
{
    if (link.isEmpty())
        return;
    // A field's result is a group: what it sets ends with it.
    m_runBeforeLink = m_run;
    m_openLink = link;
    QString address = link;
    address.replace(QLatin1Char('"'), QLatin1String("%22"))
        .replace(QLatin1Char('\\'), QLatin1String("%5C"));
    m_out += "{\\field{\\*\\fldinst HYPERLINK \"";
    m_needDelimiter = false;
    writeText(address);
    m_out += "\"}{\\fldrslt";
    m_needDelimiter = true;
}

void Writer::closeLink()
{
    if (m_openLink.isEmpty())
        return;
    m_out += "}}";
    m_needDelimiter = false;
    m_run = m_runBeforeLink;
    m_openLink.clear();
}

QByteArray withShownSize(const QByteArray &group, QSizeF shown)
{
    const QByteArray goal = "\\picwgoal" + QByteArray::number(twips(shown.width())) + "\\pichgoal"
        + QByteArray::number(twips(shown.height()));
    QByteArray out;
    Tokenizer tokens(group);
    for (;;) {
        const qsizetype start = tokens.position();
        const Token token = tokens.next();
        if (token.type == Token::End)
            break;
        const qsizetype end = tokens.position();
        if (token.type == Token::ControlWord) {
            const std::string_view word = token.bytes;
            if (word == "picwgoal" || word == "pichgoal" || word == "picscalex"
                || word == "picscaley" || word == "objscalex" || word == "objscaley")
                continue;
            if (word == "objw" || word == "objh") {
                out += '\\';
                out += QByteArray(word.data(), qsizetype(word.size()));
                out += QByteArray::number(twips(word == "objw" ? shown.width() : shown.height()));
                out += ' ';
                continue;
            }
            if (word == "pict") {
                out += "\\pict" + goal + ' ';
                continue;
            }
        }
        out += group.mid(start, end - start);
    }
    return out;
}

} // namespace rtf
