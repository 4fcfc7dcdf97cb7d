// Title matching for saved entries.
#include "titlematch.h"

#include "regex/patternengine.h"

bool titleMatches(const QString &wanted, bool isRegex, const QString &windowTitle)
{
    if (!isRegex) {
        return windowTitle.toCaseFolded().contains(wanted.toCaseFolded());
    }
    const QByteArray pattern = wanted.toUtf8();
    const QByteArray text = windowTitle.toUtf8();
    try {
        return PatternMatches(
            std::string_view(pattern.constData(), pattern.size()), std::string_view(text.constData(), text.size()));
    } catch (const EPatternEngine &) {
        return false;
    }
}
