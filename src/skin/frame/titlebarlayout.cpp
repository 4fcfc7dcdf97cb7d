// Title-bar button visibility and layout, caption placement.
#include "titlebarlayout.h"

#include <QFontMetrics>

#include "skin/model/skinobjects.h"

namespace {

constexpr int kMdiAlign = 100;
// Dialog borders show no icon, so left-aligned captions start this much further left.
constexpr int kNoIconShiftPx = 16;

QString padded(const QString &title)
{
    return QLatin1Char(' ') + title + QLatin1Char(' ');
}

int captionWidth(const TDataSkinTitle &title, const QString &text, const QFontMetrics &metrics)
{
    return metrics.horizontalAdvance(text) + title.txtBackLeft + title.txtBackRight;
}

// Offset of the caption from the title area's left end.
int captionOffset(const TDataSkinTitle &title, const FrameFacts &facts, int areaWidth, int width)
{
    const int alignment = facts.rightToLeft ? 2 : title.textAlignment;
    if (alignment == 1) {
        return (areaWidth - width) / 2;
    }
    if (alignment == 2) {
        return areaWidth - title.textRightClip() - width;
    }
    return title.textShift() - (facts.border == BorderKind::Dialog ? kNoIconShiftPx : 0);
}

} // namespace

bool visibilityHolds(int code, bool first, const FrameFacts &facts, int action, const ButtonVisibilityQuery &query)
{
    switch (code) {
    case 0:
        return true;
    case 1:
        return facts.maximized;
    case 2:
        return !facts.maximized;
    case 3:
        return facts.active;
    case 4:
        return !facts.active;
    case 6:
        return facts.hasMaximizeBox && (!first || facts.hasSystemMenu);
    case 7:
        return !facts.hasMaximizeBox;
    case 8:
        return facts.hasMinimizeBox && (!first || facts.hasSystemMenu);
    case 9:
        return !facts.hasMinimizeBox;
    case kMdiAlign: // a maximized MDI child in this frame; these windows have none
        return false;
    case 200:
        return facts.border == BorderKind::Dialog && !facts.messageBox;
    default:
        break;
    }
    if (code >= 201 && code <= 999) {
        return true;
    }
    if (code >= 1000 && code <= 2000) {
        return !first || (query && query(code, action));
    }
    return false;
}

bool actionAllowed(int action, const FrameFacts &facts)
{
    switch (action) {
    case 0:
        return facts.hasSystemMenu;
    case 1:
        return facts.hasMaximizeBox;
    case 2:
        return facts.hasMinimizeBox;
    case 3:
    case 11:
    case 12:
        return facts.border != BorderKind::Dialog;
    default:
        return true;
    }
}

bool buttonVisible(const TDataSkinSysButton &button, const FrameFacts &facts, const ButtonVisibilityQuery &query)
{
    return visibilityHolds(button.visibility, true, facts, button.action, query)
        && visibilityHolds(button.visibility1, false, facts, button.action, query)
        && actionAllowed(button.action, facts);
}

int TitleBarLayout::buttonAt(QPoint point) const
{
    for (const TitleButtonPlace &place : buttons) {
        if (place.rect.contains(point)) {
            return place.button;
        }
    }
    return -1;
}

QRect TitleBarLayout::rectOf(int button) const
{
    for (const TitleButtonPlace &place : buttons) {
        if (place.button == button) {
            return place.rect;
        }
    }
    return {};
}

TitleBarLayout layoutTitleBar(const SkinObjects &skin, const FrameFacts &facts, const QString &title,
    const QFontMetrics &metrics, QSize iconSize, const ButtonVisibilityQuery &query)
{
    TitleBarLayout layout;
    const TDataSkinTitle &look = skin.title;
    const QRect area = facts.titleArea();
    const QString text = padded(title);
    const int width = captionWidth(look, text, metrics);
    const int offset = captionOffset(look, facts, area.width(), width);
    layout.captionRect = QRect(area.left() + offset, area.top(), width, area.height());
    layout.captionClip
        = QRect(area.left(), area.top(), std::max(0, area.width() - look.textRightClip()), area.height());
    const QRect shown = layout.captionRect.intersected(layout.captionClip);
    layout.textRect
        = shown.adjusted(look.txtBackLeft, 0, -look.txtBackRight, 0).translated(0, look.textShiftVert() / 2);
    layout.text = text;
    if (metrics.horizontalAdvance(text) > layout.textRect.width()) {
        const int padding = metrics.horizontalAdvance(QStringLiteral("  "));
        layout.text = padded(metrics.elidedText(
            title, facts.rightToLeft ? Qt::ElideLeft : Qt::ElideRight, std::max(0, layout.textRect.width() - padding)));
    }

    for (int i = 0; i < int(skin.sysButtons.size()); ++i) {
        const TDataSkinSysButton &button = skin.sysButtons[size_t(i)];
        if (button.align == kMdiAlign || !buttonVisible(button, facts, query)) {
            continue;
        }
        QSize size = iconSize;
        if (!isIconAction(button.action)) {
            if (button.image.isNull()) {
                continue;
            }
            size = QSize(button.image.width() / std::max(1, button.frameCount), button.image.height());
        }
        int x = button.xcoord;
        switch (button.align) {
        case 1:
            x = facts.size.width() - button.xcoord;
            break;
        case 2:
        case 8:
            x = layout.captionRect.left() - button.xcoord - size.width();
            break;
        case 3:
        case 9:
            x = layout.captionRect.left() + layout.captionRect.width() + button.xcoord;
            break;
        default:
            break;
        }
        layout.buttons.push_back({i, QRect(QPoint(x, button.ycoord), size)});
    }
    return layout;
}

int captionFitWidth(const SkinObjects &skin, const FrameFacts &facts, const QString &title, const QFontMetrics &metrics)
{
    const TDataSkinTitle &look = skin.title;
    const int shift = look.textShift() - (facts.border == BorderKind::Dialog ? kNoIconShiftPx : 0);
    return facts.thickness.left() + facts.thickness.right() + std::max(0, shift) + look.textRightClip()
        + captionWidth(look, padded(title), metrics);
}
