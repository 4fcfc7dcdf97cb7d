// Locale-aware, case-blind comparison through QCollator.
#include "collation.h"

#include <QCollator>

namespace {

const QCollator &caseBlindCollator()
{
    static const QCollator collator = [] {
        QCollator c;
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator;
}

} // namespace

int compareIgnoringCase(const QString &a, const QString &b)
{
    return caseBlindCollator().compare(a, b);
}

bool sameIgnoringCase(const QString &a, const QString &b)
{
    return compareIgnoringCase(a, b) == 0;
}
