// skinWindowControls, unskinWindowControls: matching a window's controls and handing them to the skin style.
#include "controlskins.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QToolButton>
#include <QTreeView>

#include "controlmatcher.h"
#include "skin/component/skindata.h"
#include "skin/style/skinpainters.h"
#include "skin/style/skinregistry.h"
#include "skin/style/skinstyle.h"

namespace {

class WindowMatcher
{
public:
    WindowMatcher(QWidget *window, TSkinData *skinData)
        : m_window(window)
        , m_skinData(skinData)
        , m_registry(SkinRegistry::instance())
    { }

    void matchChildren(QWidget *container)
    {
        for (QWidget *child : container->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (!child->isWindow()) {
                offer(child);
            }
        }
    }

    // The widgets registered in this run, to be repolished.
    QList<QWidget *> registered;

private:
    void offer(QWidget *control)
    {
        if (m_registry.isMatched(control)) {
            return;
        }
        if (m_skinData->OnSkinControl) {
            const QString controlClass = QString::fromLatin1(control->metaObject()->className()).toUpper();
            if (m_skinData->OnSkinControl(m_window, m_skinData, control->parentWidget(), control, controlClass)) {
                add(control, SkinKind::None);
                return;
            }
        }
        const ControlMatch match = matchControl(*control, *m_skinData);
        if (controlTag(*control) == m_skinData->disableTag()) {
            m_registry.keepPlatformPalette(control, m_window);
        }
        add(control, match.kind);
        addParts(control, match.kind);
        if (match.childKind) {
            for (QWidget *child : control->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
                if (!m_registry.isMatched(child) && controlTag(*child) != m_skinData->disableTag()) {
                    add(child, *match.childKind);
                }
            }
        } else if (match.matchChildren) {
            matchChildren(control);
        }
    }

    void add(QWidget *widget, SkinKind kind)
    {
        m_registry.addControl(widget, kind, m_skinData->source(), m_window);
        if (kind != SkinKind::None) {
            registered.append(widget);
        }
    }

    void addScrollBars(QAbstractScrollArea *area)
    {
        for (QScrollBar *bar : {area->horizontalScrollBar(), area->verticalScrollBar()}) {
            add(bar, SkinKind::ScrollBar);
            ScrollBarSkin::trackThumbDrags(bar);
        }
    }

    void addParts(QWidget *control, SkinKind kind)
    {
        switch (kind) {
        case SkinKind::ListView:
            if (auto *tree = qobject_cast<QTreeView *>(control)) {
                QHeaderView *header = tree->header();
                add(header, SkinKind::Header);
                header->setAttribute(Qt::WA_Hover, true);
                header->viewport()->setAttribute(Qt::WA_Hover, true);
            }
            [[fallthrough]];
        case SkinKind::ScrollArea:
            if (auto *area = qobject_cast<QAbstractScrollArea *>(control)) {
                addScrollBars(area);
            }
            break;
        case SkinKind::Combo:
            if (auto *combo = qobject_cast<QComboBox *>(control)) {
                // The list was set up for Fusion's menu-like popup, which scrolls without a bar.
                combo->view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
                addScrollBars(combo->view());
            }
            break;
        case SkinKind::UpDown:
            for (QToolButton *arrow : control->findChildren<QToolButton *>(Qt::FindDirectChildrenOnly)) {
                add(arrow, SkinKind::UpDownArrow);
            }
            break;
        default:
            break;
        }
    }

    QWidget *m_window;
    TSkinData *m_skinData;
    SkinRegistry &m_registry;
};

QPalette skinPalette(QPalette palette, const SkinColours &colours)
{
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool disabled = group == QPalette::Disabled;
        palette.setColor(group, QPalette::Window, colours.buttonFace);
        palette.setColor(group, QPalette::WindowText, disabled ? colours.buttonShadow : colours.windowText);
        palette.setColor(group, QPalette::Text, disabled ? colours.buttonShadow : colours.windowText);
        palette.setColor(group, QPalette::ButtonText, disabled ? colours.buttonShadow : colours.buttonText);
        palette.setColor(group, QPalette::Highlight, colours.hilight);
        palette.setColor(group, QPalette::HighlightedText, colours.hilightText);
    }
    return palette;
}

// Lets a widget take the style's metrics again (frame widths, scroll-bar extents) and repaint.
void restyle(QWidget *widget)
{
    QEvent change(QEvent::StyleChange);
    QApplication::sendEvent(widget, &change);
    widget->update();
}

} // namespace

void skinWindowControls(QWidget *window, TSkinData *skinData)
{
    if (!window || !skinData || !skinData->skin() || !qobject_cast<QApplication *>(QCoreApplication::instance())) {
        return;
    }
    SkinStyle::install();
    SkinRegistry &registry = SkinRegistry::instance();
    if (!registry.isSkinned(window)) {
        registry.addWindow(window, skinData->source());
        window->setPalette(skinPalette(window->palette(), skinData->skin()->colours));
    }
    WindowMatcher matcher(window, skinData);
    matcher.matchChildren(window);
    for (QWidget *widget : std::as_const(matcher.registered)) {
        restyle(widget);
    }
}

void unskinWindowControls(QWidget *window)
{
    if (!window || !SkinRegistry::instance().isSkinned(window)) {
        return;
    }
    SkinRegistry::instance().removeWindow(window);
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        restyle(widget);
    }
    for (QComboBox *combo : window->findChildren<QComboBox *>()) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        const bool menuPopup = combo->style()->styleHint(QStyle::SH_ComboBox_Popup, &option, combo);
        combo->view()->setVerticalScrollBarPolicy(menuPopup ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    }
}
