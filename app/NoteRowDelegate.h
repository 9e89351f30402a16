#pragma once

#include <QStyledItemDelegate>

namespace app {

// Draws a row of the notes window: a swatch in the note's colours, its title
// and the line that matches the search (or its first line) with the matching
// text marked, and on the right its marks (hidden, rolled up, on top, alarm,
// expiration).
class NoteRowDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

} // namespace app
