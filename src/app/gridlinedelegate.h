// Draws light grid lines between the rows and columns of a report-style list.
#pragma once

#include "printabletextdelegate.h"

// The text is shown in the printable form (see PrintableTextDelegate).
class GridLineDelegate : public PrintableTextDelegate
{
public:
    using PrintableTextDelegate::PrintableTextDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
