#include "ui/BodyText.h"

#include "platform/AnsiText.h"
#include "platform/Errors.h"
#include "platform/FileUpdate.h"
#include "ui/rtf/Rtf.h"
#include "ui/rtf/RtfLists.h"
#include "ui/rtf/RtfPlainText.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>

namespace ui {
namespace {

// Bodies hold pictures as hex text, so they may be far larger than settings
// files; anything beyond this is not a note body.
constexpr qint64 kMaxBodyFileBytes = 512LL * 1024 * 1024;

} // namespace

namespace {

QStringList frameLines(QTextFrame::iterator it, rtf::ListItemCounter &items);

QStringList tableLines(const QTextTable &table, rtf::ListItemCounter &items)
{
    std::vector<std::vector<QString>> rows(size_t(table.rows()));
    for (int row = 0; row < table.rows(); ++row) {
        for (int column = 0; column < table.columns(); ++column) {
            const QTextTableCell cell = table.cellAt(row, column);
            // A merged cell shows its text once, where it starts.
            const bool starts = cell.row() == row && cell.column() == column;
            rows[size_t(row)].push_back(
                starts ? frameLines(cell.begin(), items).join(QLatin1Char('\n')) : QString());
        }
    }
    return rtf::tableLines(rows);
}

QStringList frameLines(QTextFrame::iterator it, rtf::ListItemCounter &items)
{
    QStringList lines;
    for (; !it.atEnd(); ++it) {
        if (const QTextTable *table = qobject_cast<const QTextTable *>(it.currentFrame())) {
            lines += tableLines(*table, items);
        } else if (QTextFrame *frame = it.currentFrame()) {
            lines += frameLines(frame->begin(), items);
        } else {
            const QTextBlock block = it.currentBlock();
            QString text = block.text();
            if (const int number = items.next(block))
                text.prepend(rtf::listItemPrefix(block.textList()->format(), number));
            text.remove(QChar::ObjectReplacementCharacter);
            lines += text.split(QChar::LineSeparator);
        }
    }
    return lines;
}

} // namespace

QStringList plainLines(const QTextDocument &document)
{
    if (document.isEmpty())
        return {};
    rtf::ListItemCounter items;
    return frameLines(document.rootFrame()->begin(), items);
}

void setPlainLines(QTextDocument &document, const QStringList &lines)
{
    // Also lets go of the pictures the old body held.
    document.clear();
    document.setPlainText(lines.join(QLatin1Char('\n')));
}

QStringList splitPlainText(const QString &text)
{
    QString body = text;
    if (body.startsWith(QChar::ByteOrderMark))
        body.remove(0, 1);
    if (body.isEmpty())
        return {};
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = body.split(lineEnd);
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

void loadBody(QTextDocument &document, const QByteArray &bytes, const QTextCharFormat &implicit)
{
    if (!rtf::read(bytes, &document, implicit))
        setPlainLines(document, splitPlainText(platform::decodeAnsi(bytes)));
}

QStringList bodyLines(const QByteArray &bytes)
{
    if (std::optional<QStringList> lines = rtf::readPlainLines(bytes))
        return *std::move(lines);
    return splitPlainText(platform::decodeAnsi(bytes));
}

QByteArray readBodyFile(const QString &path)
{
    const std::optional<QByteArray> bytes
        = platform::readExistingFile(path, kMaxBodyFileBytes, platform::LinkPolicy::Refuse);
    if (!bytes)
        throw EInOutError(QStringLiteral("File not found"));
    return *bytes;
}

} // namespace ui
