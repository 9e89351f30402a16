#include "app/NoteRowDelegate.h"

#include "app/NotesModel.h"

#include <QApplication>
#include <QPainter>
#include <QTextLayout>

namespace app {
namespace {

constexpr int kMargin = 6;
constexpr int kSwatchWidth = 26;
constexpr int kStripHeight = 6; // the title strip of the swatch
constexpr int kGap = 8;
// Text before a match that is far into its line: enough to read it in.
constexpr int kContextBefore = 12;
constexpr double kMarksScale = 0.9;
const QColor kMatchBackground(255, 226, 110);

// The text in one line of the rectangle, the span marked; a span that lies
// beyond the width is brought into view by leaving out the text before it.
void drawMarked(QPainter *painter, const QRect &rect, const QFont &font, const QColor &color,
                QString text, std::optional<ui::TextSpan> span)
{
    const QFontMetrics metrics(font);
    const QString ellipsis(QChar(0x2026));
    if (span && span->start > kContextBefore
        && metrics.horizontalAdvance(text.left(span->start + span->length)) > rect.width()) {
        const int cut = span->start - kContextBefore;
        text = ellipsis + text.mid(cut);
        span->start -= cut - int(ellipsis.size());
    }
    const QString shown = metrics.elidedText(text, Qt::ElideRight, rect.width());
    QTextLayout layout(shown, font);
    if (span && span->start < shown.size()) {
        QTextLayout::FormatRange marked;
        marked.start = span->start;
        marked.length = std::min<int>(span->length, int(shown.size()) - span->start);
        marked.format.setBackground(kMatchBackground);
        marked.format.setForeground(Qt::black);
        layout.setFormats({marked});
    }
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(rect.width());
    layout.endLayout();
    painter->setPen(color);
    layout.draw(painter, QPointF(rect.left(), rect.top()));
}

void drawSwatch(QPainter *painter, const QRect &rect, const NoteRow &row)
{
    painter->fillRect(rect, row.back);
    painter->fillRect(QRect(rect.topLeft(), QSize(rect.width(), kStripHeight)), row.titleBack);
    painter->setPen(row.back.darker(160));
    painter->drawRect(rect.adjusted(0, 0, -1, -1));
}

} // namespace

QSize NoteRowDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    const QFontMetrics metrics(option.font);
    return {320, 2 * metrics.lineSpacing() + 2 * kMargin + 2};
}

void NoteRowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                            const QModelIndex &index) const
{
    const auto *model = static_cast<const NotesModel *>(index.model());
    const NoteRow &row = model->rowAt(index.row());
    const ui::NoteMatch &match = model->matchAt(index.row());
    const QPalette &palette = option.palette;
    const bool selected = option.state & QStyle::State_Selected;

    painter->save();
    painter->fillRect(option.rect, selected ? palette.highlight() : palette.base());
    painter->setPen(palette.color(QPalette::Midlight));
    painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());

    const QRect inner = option.rect.adjusted(kMargin, kMargin, -kMargin, -kMargin - 1);
    drawSwatch(painter, QRect(inner.topLeft(), QSize(kSwatchWidth, inner.height())), row);

    // The marks on the right, as wide as they need up to a part of the row.
    QFont small = option.font;
    if (small.pointSizeF() > 0)
        small.setPointSizeF(small.pointSizeF() * kMarksScale);
    else
        small.setPixelSize(int(small.pixelSize() * kMarksScale));
    painter->setFont(small);
    const QFontMetrics smallMetrics = painter->fontMetrics();
    const QString marks[] = {NotesModel::stateMarks(row).join(QStringLiteral(", ")),
                             NotesModel::timeMarks(row).join(QStringLiteral(", "))};
    int marksWidth = 0;
    for (const QString &line : marks)
        marksWidth = std::max(marksWidth, smallMetrics.horizontalAdvance(line) + 1);
    marksWidth = std::min(marksWidth, inner.width() * 2 / 5);

    const QColor text = palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    const QColor quiet = selected ? text : palette.color(QPalette::PlaceholderText);
    const int lineHeight = QFontMetrics(option.font).lineSpacing();
    const int left = inner.left() + kSwatchWidth + kGap;
    const int textWidth = inner.right() - left - (marksWidth ? marksWidth + kGap : 0);

    painter->setPen(quiet);
    for (int i = 0; i < 2; ++i) {
        const QRect place(inner.right() - marksWidth, inner.top() + i * lineHeight, marksWidth,
                          lineHeight);
        painter->drawText(place, Qt::AlignRight | Qt::AlignVCenter,
                          smallMetrics.elidedText(marks[i], Qt::ElideRight, marksWidth));
    }

    QFont titleFont = option.font;
    titleFont.setBold(true);
    titleFont.setItalic(row.title.isEmpty());
    drawMarked(painter, QRect(left, inner.top(), textWidth, lineHeight), titleFont, text,
               index.data(Qt::DisplayRole).toString(), match.title);

    // The line without its indent, the match where it was.
    QString line = model->shownLine(index.row());
    int indent = 0;
    while (indent < line.size() && line[indent].isSpace())
        ++indent;
    std::optional<ui::TextSpan> inLine;
    if (match.line >= 0 && match.inLine.start >= indent)
        inLine = ui::TextSpan {match.inLine.start - indent, match.inLine.length};
    drawMarked(painter, QRect(left, inner.top() + lineHeight, textWidth, lineHeight), option.font,
               quiet, line.mid(indent), inLine);
    painter->restore();
}

} // namespace app
