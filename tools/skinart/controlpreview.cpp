// A mock dialog drawn from the skin objects the way the painting code uses them: buttons, boxes, a combo box,
// an edit with up-down buttons, a list with a scroll bar and header, progress, tabs, a track bar and a menu.
#include "controlpreview.h"

#include <QFont>
#include <QPainter>

#include "skin/draw/nineslice.h"

namespace {

class Preview
{
public:
    Preview(QPainter &painter, const SkinObjects &skin)
        : m_painter(painter)
        , m_skin(skin)
    { }

    // Frame `index` of object drawn nine-sliced over target.
    void object(const TDataSkinObject &object, int index, const QRect &target, const QImage *image = nullptr)
    {
        const QImage &pixels = image ? *image : object.image;
        drawNineSlice(m_painter, target, pixels,
            frameRect(pixels.size(), object.frameCount, index, FrameStacking::SideBySide), marginsOf(object),
            object.tile == 1, object.trans != 0);
    }

    // Frame `index` of an image of frameCount frames at its own size.
    void frame(const QImage &image, int frameCount, int index, QPoint at)
    {
        const QRect source = frameRect(image.size(), frameCount, index, FrameStacking::SideBySide);
        m_painter.drawImage(at, keyedOut(image.copy(source)));
    }

    void text(const QRect &rect, const QString &caption, const QColor &colour, int flags = Qt::AlignCenter)
    {
        m_painter.setPen(colour);
        m_painter.drawText(rect, flags, caption);
    }

    void buttons(QPoint at)
    {
        if (!m_skin.buttons) {
            return;
        }
        const QStringList captions {"Apply", "Pressed", "Disabled", "Hot", "Focused"};
        for (int k = 1; k <= 5; ++k) {
            const QRect rect(at.x() + (k - 1) * 84, at.y(), 76, 25);
            object(*m_skin.buttons, k, rect);
            text(rect, captions[k - 1], k == 3 ? m_skin.colours.buttonShadow : m_skin.colours.buttonText);
        }
    }

    void boxes(QPoint at)
    {
        if (!m_skin.buttons) {
            return;
        }
        const TDataSkinButton &b = *m_skin.buttons;
        const struct
        {
            const QImage *image;
            int frames;
            int index;
            const char *caption;
        } boxes[] = {{&b.checkImage, b.checkFrameCount, 1, "Regular expression"},
            {&b.checkImage, b.checkFrameCount, 5, "Maximized"}, {&b.radioImage, b.radioFrameCount, 1, "Pixels"},
            {&b.radioImage, b.radioFrameCount, 5, "Percent"}};
        int y = at.y();
        for (const auto &box : boxes) {
            frame(*box.image, box.frames, box.index, QPoint(at.x(), y));
            text(QRect(at.x() + 19, y - 3, 200, 19), QLatin1String(box.caption), m_skin.colours.buttonText,
                Qt::AlignLeft | Qt::AlignVCenter);
            y += 22;
        }
    }

    void combo(QPoint at, int state)
    {
        if (!m_skin.comboButton) {
            return;
        }
        const QRect rect(at, QSize(180, 23));
        object(*m_skin.comboButton, state, rect);
        text(rect.adjusted(6, 0, 0, 0), QStringLiteral("1 - Primary monitor"), m_skin.colours.windowText,
            Qt::AlignLeft | Qt::AlignVCenter);
    }

    void editWithUpDown(QPoint at)
    {
        const QRect edit(at, QSize(64, 23));
        m_painter.fillRect(edit, m_skin.colours.buttonShadow);
        m_painter.fillRect(edit.adjusted(1, 1, -1, -1), Qt::white);
        text(edit.adjusted(5, 0, 0, 0), QStringLiteral("50"), m_skin.colours.windowText,
            Qt::AlignLeft | Qt::AlignVCenter);
        if (!m_skin.upDownVert) {
            return;
        }
        const TDataSkinBorder &upDown = *m_skin.upDownVert;
        const QRect up(edit.right() + 2, edit.top(), 16, 12);
        const QRect down(up.left(), up.bottom() + 1, 16, 11);
        object(upDown, 4, up); // hot
        object(upDown, 5, down);
        object(upDown, 4, up, &upDown.secondImage);
        object(upDown, 5, down, &upDown.secondImage);
    }

    void list(const QRect &rect)
    {
        m_painter.fillRect(rect, m_skin.colours.buttonShadow);
        const QRect inside = rect.adjusted(1, 1, -1, -1);
        m_painter.fillRect(inside, Qt::white);
        const int bar = m_skin.scrollbar ? m_skin.scrollbar->image.height() : 16;
        if (m_skin.headerbar) {
            object(*m_skin.headerbar, 1, QRect(inside.left(), inside.top(), 110, 22));
            object(*m_skin.headerbar, 2, QRect(inside.left() + 110, inside.top(), inside.width() - 110 - bar, 22));
            text(QRect(inside.left() + 6, inside.top(), 100, 22), QStringLiteral("Description"),
                m_skin.colours.windowText, Qt::AlignLeft | Qt::AlignVCenter);
            text(QRect(inside.left() + 116, inside.top(), 100, 22), QStringLiteral("Title"), m_skin.colours.windowText,
                Qt::AlignLeft | Qt::AlignVCenter);
        }
        const QStringList rows {"Editor left half", "Terminal", "Mail, right third", "Browser"};
        for (int i = 0; i < rows.size(); ++i) {
            const QRect row(inside.left(), inside.top() + 24 + i * 20, inside.width() - bar, 20);
            if (i == 1) {
                m_painter.fillRect(row, m_skin.colours.hilight);
            }
            text(row.adjusted(6, 0, 0, 0), rows[i], i == 1 ? m_skin.colours.hilightText : m_skin.colours.windowText,
                Qt::AlignLeft | Qt::AlignVCenter);
        }
        if (!m_skin.scrollbar || !m_skin.vertScroll || !m_skin.vertScrollThumb) {
            return;
        }
        const QRect track(inside.right() + 1 - bar, inside.top(), bar, inside.height());
        m_painter.fillRect(track, m_skin.colours.buttonFace);
        object(*m_skin.vertScroll, 1, track.adjusted(0, bar, 0, -bar));
        const TDataSkinObject &arrows = *m_skin.scrollbar;
        object(arrows, 9, QRect(track.topLeft(), QSize(bar, bar)));
        object(arrows, 16, QRect(track.left(), track.bottom() + 1 - bar, bar, bar)); // hot down arrow
        const QRect thumb(track.left(), track.top() + bar + 10, bar, 40);
        object(*m_skin.vertScrollThumb, 1, thumb);
        object(arrows, 20, QRect(thumb.left(), thumb.center().y() - bar / 2, bar, bar));
    }

    void progress(QPoint at)
    {
        if (!m_skin.progress) {
            return;
        }
        const QRect rect(at, QSize(180, 14));
        object(*m_skin.progress, 1, rect);
        object(*m_skin.progress, 2, QRect(rect.topLeft(), QSize(rect.width() * 3 / 5, rect.height())));
    }

    void tabs(QPoint at)
    {
        if (!m_skin.tabs || !m_skin.tabPane) {
            return;
        }
        const QRect pane(at.x(), at.y() + 24, 250, 60);
        object(*m_skin.tabPane, 1, pane);
        const QStringList captions {"Direct", "Saved", "Presets"};
        const int frames[] = {1, 5, 2};
        int x = at.x() + 2;
        for (int i = 0; i < 3; ++i) {
            const QRect tab(x, at.y(), 72, 25);
            object(*m_skin.tabs, frames[i], tab);
            text(tab, captions[i], m_skin.colours.buttonText);
            x += 74;
        }
    }

    void trackBar(QPoint at)
    {
        if (!m_skin.track || !m_skin.trackThumbDown) {
            return;
        }
        object(*m_skin.track, 1, QRect(at.x(), at.y() + 6, 180, 6));
        frame(m_skin.trackThumbDown->image, m_skin.trackThumbDown->frameCount, 1, QPoint(at.x() + 60, at.y()));
        frame(m_skin.trackThumbDown->image, m_skin.trackThumbDown->frameCount, 2, QPoint(at.x() + 120, at.y()));
    }

    void menu(QPoint at)
    {
        if (!m_skin.menuBackground || !m_skin.menuItem) {
            return;
        }
        const QRect menu(at, QSize(150, 3 * 22 + 6 + 8));
        object(*m_skin.menuBackground, 1, menu);
        const QStringList items {"Restore", "Minimize", "-", "Close"};
        int y = menu.top() + 3;
        for (int i = 0; i < items.size(); ++i) {
            if (items[i] == QLatin1String("-")) {
                m_painter.fillRect(QRect(menu.left() + 6, y + 4, menu.width() - 12, 1), m_skin.colours.buttonShadow);
                y += 8;
                continue;
            }
            const QRect item(menu.left() + 3, y, menu.width() - 6, 22);
            const bool selected = i == 1;
            object(*m_skin.menuItem, selected ? 4 : 1, item);
            text(item.adjusted(m_skin.menuItem->leftWidth + 21, 0, 0, 0), items[i],
                selected ? m_skin.colours.hilightText : m_skin.colours.menuText, Qt::AlignLeft | Qt::AlignVCenter);
            y += 22;
        }
    }

private:
    QPainter &m_painter;
    const SkinObjects &m_skin;
};

} // namespace

QImage drawControlPreview(const SkinObjects &skin, const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(skin.colours.buttonFace);
    QPainter painter(&image);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(12);
    painter.setFont(font);
    Preview preview(painter, skin);
    preview.buttons(QPoint(12, 12));
    preview.boxes(QPoint(14, 52));
    preview.combo(QPoint(190, 52), 1);
    preview.combo(QPoint(190, 82), 4);
    preview.editWithUpDown(QPoint(380, 52));
    preview.progress(QPoint(190, 118));
    preview.trackBar(QPoint(190, 140));
    preview.list(QRect(12, 170, 270, 122));
    preview.tabs(QPoint(296, 170));
    preview.menu(QPoint(560, 40));
    return image;
}
