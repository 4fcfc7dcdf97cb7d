// Title-bar button visibility and layout, caption placement.
#include "titlebarlayout.h"

#include <QFontMetrics>

#include "framemetrics.h"
#include "skin/model/skinobjects.h"

namespace {

using FrameMetrics::kNoIconShiftPx;

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
    const int alignment = facts.rightToLeft ? CaptionAlign::kRight : title.textAlignment;
    if (alignment == CaptionAlign::kCentre) {
        return (areaWidth - width) / 2;
    }
    if (alignment == CaptionAlign::kRight) {
        return areaWidth - title.textRightClip() - width;
    }
    return title.textShift() - (facts.border == BorderKind::Dialog ? kNoIconShiftPx : 0);
}

} // namespace

bool visibilityHolds(int code, bool first, const FrameFacts &facts, int action, const ButtonVisibilityQuery &query)
{
    using namespace ButtonVisibility;
    switch (code) {
    case kAlways:
        return true;
    case kMaximized:
        return facts.maximized;
    case kNotMaximized:
        return !facts.maximized;
    case kActive:
        return facts.active;
    case kInactive:
        return !facts.active;
    case kMaximizeBox:
        return facts.hasMaximizeBox && (!first || facts.hasSystemMenu);
    case kNoMaximizeBox:
        return !facts.hasMaximizeBox;
    case kMinimizeBox:
        return facts.hasMinimizeBox && (!first || facts.hasSystemMenu);
    case kNoMinimizeBox:
        return !facts.hasMinimizeBox;
    case kMdiMaximized: // these windows have no MDI children
        return false;
    case kDialog:
        return facts.border == BorderKind::Dialog && !facts.messageBox;
    default:
        break;
    }
    if (code >= kAlwaysFirst && code <= kAlwaysLast) {
        return true;
    }
    if (code >= kAskWindowFirst && code <= kAskWindowLast) {
        return !first || (query && query(code, action));
    }
    return false;
}

bool actionAllowed(int action, const FrameFacts &facts)
{
    switch (action) {
    case ButtonAction::kClose:
        return facts.hasSystemMenu;
    case ButtonAction::kMaximize:
        return facts.hasMaximizeBox;
    case ButtonAction::kMinimize:
        return facts.hasMinimizeBox;
    case ButtonAction::kIconMenu:
    case ButtonAction::kIconMenuAlt:
    case ButtonAction::kSystemMenu:
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
        if (button.align == ButtonAlign::kMdi || !buttonVisible(button, facts, query)) {
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
        case ButtonAlign::kRight:
            x = facts.size.width() - button.xcoord;
            break;
        case ButtonAlign::kBeforeCaption:
        case ButtonAlign::kBeforeCaptionAlt:
            x = layout.captionRect.left() - button.xcoord - size.width();
            break;
        case ButtonAlign::kAfterCaption:
        case ButtonAlign::kAfterCaptionAlt:
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
