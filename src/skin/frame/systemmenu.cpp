// System menu items and the menu.
#include "systemmenu.h"

#include <QIcon>
#include <QMenu>
#include <QPixmap>

#include "skin/draw/builtinimages.h"
#include "skin/style/skintarget.h"

namespace {

SystemMenuItem item(SystemCommand command, const char *text, int glyph, bool enabled)
{
    return {command, QString::fromLatin1(text), glyph, enabled};
}

QIcon glyphIcon(const QImage &glyphs, int glyph)
{
    if (glyph < 0 || glyphs.isNull()) {
        return {};
    }
    return QIcon(QPixmap::fromImage(glyphs.copy(glyph * kMenuGlyphSizePx, 0, kMenuGlyphSizePx, kMenuGlyphSizePx)));
}

} // namespace

std::vector<SystemMenuItem> systemMenuItems(const FrameFacts &facts)
{
    const bool notMaximized = !facts.maximized;
    const SystemMenuItem move = item(SystemCommand::Move, "&Move", -1, notMaximized);
    const SystemMenuItem separator;
    const SystemMenuItem close = item(SystemCommand::Close, "&Close", int(MenuGlyph::Close), true);
    if (facts.border == BorderKind::Dialog && !facts.hasMinimizeBox && !facts.hasMaximizeBox) {
        return {move, separator, close};
    }
    return {
        item(SystemCommand::Restore, "&Restore", int(MenuGlyph::Restore), facts.maximized || facts.minimized),
        move,
        item(SystemCommand::Size, "&Size", -1, notMaximized && facts.resizable),
        item(SystemCommand::Minimize, "Mi&nimize", int(MenuGlyph::Minimize), !facts.minimized && facts.hasMinimizeBox),
        item(SystemCommand::Maximize, "Ma&ximize", int(MenuGlyph::Maximize), notMaximized && facts.hasMaximizeBox),
        separator,
        close,
    };
}

QMenu *buildSystemMenu(QWidget *parent, const std::vector<SystemMenuItem> &items, const QImage &glyphs)
{
    auto *menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("SystemMenu"));
    menu->setProperty(kTagProperty, kEngineMenuTag);
    for (const SystemMenuItem &entry : items) {
        if (!entry.command) {
            menu->addSeparator();
            continue;
        }
        QAction *action = menu->addAction(glyphIcon(glyphs, entry.glyph), entry.text);
        action->setData(int(*entry.command));
        action->setEnabled(entry.enabled);
        if (*entry.command == SystemCommand::Close) {
            action->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
            menu->setDefaultAction(action);
        }
    }
    return menu;
}
