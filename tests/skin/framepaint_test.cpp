// The painted frame of a real window (offscreen, shipped skin) against what the nine-slice code draws from the
// skin objects themselves: the edges and title bar active and inactive, the caption in its colours, and each
// title-bar button in each state (normal, hot and pressed from real pointer input, inactive).
#include <QPainter>
#include <QTest>

#include "frametestskin.h"
#include "skin/component/skindata.h"
#include "skin/frame/framepainter.h"
#include "skin/frame/skinmanage.h"
#include "skin/frame/titlebarlayout.h"
#include "skin/frame/winskinform.h"
#include "skin/load/shippedskin.h"

namespace {

// The ring as the skin objects draw it, edges only; magenta (transparent) pixels stay transparent.
QImage expectedEdges(const SkinObjects &skin, const FrameFacts &facts)
{
    QImage image(facts.size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paintEdge(painter, skin.left, edgeRect(facts, Qt::LeftEdge), FrameStacking::SideBySide, facts.active);
    paintEdge(painter, skin.right, edgeRect(facts, Qt::RightEdge), FrameStacking::SideBySide, facts.active);
    paintEdge(painter, skin.bottom, edgeRect(facts, Qt::BottomEdge), FrameStacking::Stacked, facts.active);
    paintEdge(painter, skin.top, edgeRect(facts, Qt::TopEdge), FrameStacking::Stacked, facts.active);
    return image;
}

// The pixels of `area` that differ between shot and expected, counting only opaque expected pixels.
int differences(const QImage &shot, const QImage &expected, const QRegion &area)
{
    int count = 0;
    for (const QRect &rect : area) {
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x) {
                const QRgb want = expected.pixel(x, y);
                if (qAlpha(want) == 255 && (shot.pixel(x, y) & 0xFFFFFF) != (want & 0xFFFFFF)) {
                    ++count;
                }
            }
        }
    }
    return count;
}

bool hasPixelNear(const QImage &shot, const QRect &rect, QColor colour)
{
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor pixel = shot.pixelColor(x, y);
            if (std::abs(pixel.red() - colour.red()) + std::abs(pixel.green() - colour.green())
                    + std::abs(pixel.blue() - colour.blue())
                < 24) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

class FramePaintTest : public QObject
{
    Q_OBJECT

private:
    QImage shotOf(QWidget &window) { return window.grab().toImage().convertToFormat(QImage::Format_ARGB32); }

    // Compares the window's title bar and edges with the skin, leaving out the caption and the buttons.
    void compareRing(QWidget &window, TWinSkinForm *frame)
    {
        const FrameFacts facts = frame->facts();
        const TitleBarLayout layout = frame->titleBarLayout();
        QRegion ring = QRegion(facts.outerRect()) - QRegion(facts.clientRect());
        ring -= layout.captionRect.intersected(layout.captionClip);
        for (const TitleButtonPlace &place : layout.buttons) {
            ring -= place.rect;
        }
        const QImage shot = shotOf(window);
        QCOMPARE(differences(shot, expectedEdges(*frame->skin(), facts), ring), 0);
        const QColor text
            = facts.active ? frame->skin()->colours.titleTextActive : frame->skin()->colours.titleTextNoActive;
        QVERIFY(hasPixelNear(shot, layout.textRect.intersected(layout.captionClip), text));
    }

    // Compares one title-bar button with frame `index` of its image over the edges.
    void compareButton(QWidget &window, TWinSkinForm *frame, int button, int index)
    {
        const SkinObjects &skin = *frame->skin();
        const FrameFacts facts = frame->facts();
        const QRect rect = frame->titleBarLayout().rectOf(button);
        QVERIFY(!rect.isEmpty());
        const TDataSkinSysButton &data = skin.sysButtons[size_t(button)];
        QImage expected = expectedEdges(skin, facts);
        {
            QPainter painter(&expected);
            painter.drawImage(rect.topLeft(),
                keyedOut(
                    data.image.copy(frameRect(data.image.size(), data.frameCount, index, FrameStacking::SideBySide))));
        }
        QCOMPARE(differences(shotOf(window), expected, QRegion(rect)), 0);
    }

private slots:
    void initTestCase()
    {
        m_skinData = new TSkinData(&m_host);
        m_skinData->setActive(true);
        m_skinData->setSkinStream(TSkinData::framedSkinStream(shippedSkinPackage()));
        m_skinData->loaded();
        QVERIFY(m_skinData->isSkinLoaded());
    }

    void titleBarActiveAndInactive()
    {
        QWidget window;
        window.setWindowTitle(QStringLiteral("Framewright"));
        window.resize(400, 240);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        TWinSkinForm *frame = TSkinManage::instance()->findFrame(&window);
        QVERIFY(frame);
        QVERIFY(frame->facts().active);
        compareRing(window, frame);

        QWidget other;
        other.resize(100, 100);
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QTRY_VERIFY(!frame->facts().active);
        compareRing(window, frame);
    }

    void buttonStates_data()
    {
        QTest::addColumn<int>("action");
        QTest::newRow("close") << 0;
        QTest::newRow("maximize") << 1;
        QTest::newRow("minimize") << 2;
    }

    void buttonStates()
    {
        QFETCH(int, action);
        QWidget window;
        window.resize(400, 240);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        TWinSkinForm *frame = TSkinManage::instance()->findFrame(&window);
        QVERIFY(frame);
        int button = -1;
        for (const TitleButtonPlace &place : frame->titleBarLayout().buttons) {
            if (frame->skin()->sysButtons[size_t(place.button)].action == action) {
                button = place.button;
            }
        }
        QVERIFY(button >= 0);
        QWidget *overlay = window.findChild<QWidget *>(QStringLiteral("FrameOverlay"));
        const QPoint centre = frame->titleBarLayout().rectOf(button).center();

        compareButton(window, frame, button, 1);
        QTest::mouseMove(overlay, centre);
        QTRY_COMPARE(frame->buttonState(button), 3);
        compareButton(window, frame, button, 3);
        QTest::mousePress(overlay, Qt::LeftButton, {}, centre);
        compareButton(window, frame, button, 2);
        QTest::mouseMove(overlay, QPoint(150, 15));
        QTest::mouseRelease(overlay, Qt::LeftButton, {}, QPoint(150, 15));
        compareButton(window, frame, button, 1);

        QWidget other;
        other.resize(100, 100);
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QTRY_VERIFY(!frame->facts().active);
        compareButton(window, frame, button, 4);
    }

    // The caption's text background: a three-slice strip behind the caption, frame 1 active and 2 inactive.
    void textBackground_data()
    {
        QTest::addColumn<bool>("active");
        QTest::newRow("active") << true;
        QTest::newRow("inactive") << false;
    }

    void textBackground()
    {
        QFETCH(bool, active);
        SkinObjects skin = frametest::skin();
        skin.title.image
            = frametest::framedImage({12, frametest::kTopPx}, {QColor(200, 10, 10), QColor(10, 200, 10)}, true);
        skin.title.frameCount = 2;
        skin.title.txtBackLeft = 3;
        skin.title.txtBackRight = 3;
        FrameFacts facts;
        facts.size = QSize(300, 200);
        facts.thickness = QMargins(frametest::kLeftPx, frametest::kTopPx, frametest::kRightPx, frametest::kBottomPx);
        facts.active = active;
        const QFont font = captionFontFor(skin, QFont(QStringLiteral("Liberation Sans")));
        const TitleBarLayout layout = layoutTitleBar(skin, facts, QString(), QFontMetrics(font), {16, 16}, {});
        QImage image(facts.size, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            paintFrame(painter, skin, facts, layout, {}, {}, font);
        }
        QImage expected = image;
        {
            QPainter painter(&expected);
            paintEdge(painter, skin.top, edgeRect(facts, Qt::TopEdge), FrameStacking::Stacked, active);
            drawNineSlice(painter, layout.captionRect, skin.title.image,
                frameRect(skin.title.image.size(), 2, active ? 1 : 2, FrameStacking::Stacked), {3, 0, 3, 0}, false,
                true);
        }
        QVERIFY(layout.captionRect.width() > 6);
        QCOMPARE(differences(image, expected, QRegion(layout.captionRect)), 0);
        QCOMPARE(image.pixelColor(layout.captionRect.center()), active ? QColor(200, 10, 10) : QColor(10, 200, 10));
    }

private:
    QObject m_host;
    TSkinData *m_skinData = nullptr;
};

QTEST_MAIN(FramePaintTest)
#include "framepaint_test.moc"
