// Draws light grid lines between the rows and columns of a report-style list.
#pragma once

#include <QStyledItemDelegate>

class GridLineDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
