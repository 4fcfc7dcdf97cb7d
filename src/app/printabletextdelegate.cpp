// Item text drawn in the printable form.
#include "printabletextdelegate.h"

#include "settings/settingstext.h"

QString PrintableTextDelegate::displayText(const QVariant &value, const QLocale &locale) const
{
    if (value.userType() == QMetaType::QString) {
        return printableSettingsText(value.toString());
    }
    return QStyledItemDelegate::displayText(value, locale);
}
