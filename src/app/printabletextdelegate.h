// Shows the text of a list's items in the printable form (settings/settingstext.h): a window title or a description
// is any program's text, and a newline, tab, escape or bidirectional control in it must not break the row, push
// columns or reorder what stands beside it. Only the drawing changes; the items keep the text as it is.
#pragma once

#include <QStyledItemDelegate>

class PrintableTextDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QString displayText(const QVariant &value, const QLocale &locale) const override;
};
