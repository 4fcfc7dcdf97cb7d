// Skinned scroll bars: the geometry along the bar (thumb size and place, the hit zones in their order, the thumb
// while it is dragged) as tables, and the painted arrows, track, thumb and grip of a list's scroll bar in each
// state, offscreen, against the test skin's solid frames.
#include <QApplication>
#include <QHoverEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTest>

#include "skin/controls/controlskins.h"
#include "skin/style/scrollbargeometry.h"
#include "skin/style/skinpainters.h"
#include "testskin.h"

Q_DECLARE_METATYPE(ScrollZone)

namespace {

QColor colourOf(testskin::Object object, int frame)
{
    return QColor(testskin::frameColour(object, frame));
}

QRect thumbOf(const QScrollBar &bar)
{
    const QStyleOptionSlider option = ScrollBarSkin::optionOf(bar);
    return bar.style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, &bar);
}

void send(QWidget *widget, QEvent::Type type, QPoint point, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, point, widget->mapToGlobal(point), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

void hover(QWidget *widget, QPoint point)
{
    QHoverEvent move(QEvent::HoverMove, point, widget->mapToGlobal(point), QPoint(-1, -1));
    QCoreApplication::sendEvent(widget, &move);
}

// The arrow length: the base style's scroll-bar extent.
int fusionArrowPx()
{
    const auto *style = qobject_cast<QProxyStyle *>(QApplication::style());
    return style ? style->baseStyle()->pixelMetric(QStyle::PM_ScrollBarExtent) : -1;
}

} // namespace

class ScrollBarSkinTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void thumb_data();
    void thumb();
    void hitZones_data();
    void hitZones();
    void dragging_data();
    void dragging();
    void thickness();
    void paintedParts();
    void hotAndPressedArrow();
    void hotAndPressedThumb();
    void unavailableBar();
    void thumbFollowsTheCursor_data();
    void thumbFollowsTheCursor();
    void styleHitTestAgreesWithTheZones();

private:
    QScrollBar *skinnedList(int items);

    std::unique_ptr<QWidget> m_host;
    std::unique_ptr<TSkinData> m_data;
    QListWidget *m_list = nullptr;
};

void ScrollBarSkinTest::init()
{
    m_host = std::make_unique<QWidget>();
    m_host->resize(300, 200);
    m_data = std::make_unique<TSkinData>();
}

void ScrollBarSkinTest::cleanup()
{
    m_host.reset();
    m_data.reset();
}

QScrollBar *ScrollBarSkinTest::skinnedList(int items)
{
    m_list = new QListWidget(m_host.get());
    m_list->setGeometry(10, 10, 200, 150);
    for (int i = 0; i < items; ++i) {
        m_list->addItem(QStringLiteral("Item %1").arg(i));
    }
    testskin::load(*m_data);
    m_host->show();
    skinWindowControls(m_host.get(), m_data.get());
    return m_list->verticalScrollBar();
}

void ScrollBarSkinTest::thumb_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("pageStep");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    // A bar of 100 with arrows of 16: a track of 68.
    QTest::newRow("half a page at the top") << 100 << 10 << 10 << 0 << 16 << 50;
    QTest::newRow("half a page at the bottom") << 100 << 10 << 10 << 10 << 50 << 84;
    QTest::newRow("tiny page: minimum thumb") << 100 << 1000 << 1 << 0 << 16 << 24;
    QTest::newRow("empty range fills the track") << 100 << 0 << 10 << 0 << 16 << 84;
    QTest::newRow("bar shorter than its arrows") << 20 << 10 << 10 << 5 << 16 << 16;
}

void ScrollBarSkinTest::thumb()
{
    QFETCH(int, length);
    QFETCH(int, maximum);
    QFETCH(int, pageStep);
    QFETCH(int, position);
    QFETCH(int, start);
    QFETCH(int, end);
    const ScrollBarLayout layout = scrollBarLayout(length, 16, {0, maximum, pageStep, position, false}, 8);
    QCOMPARE(layout.thumbStartPx, start);
    QCOMPARE(layout.thumbEndPx, end);
}

void ScrollBarSkinTest::hitZones_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<ScrollZone>("zone");
    // Bar 100, arrows 16, thumb 40 .. 60.
    QTest::newRow("first pixel") << 0 << ScrollZone::FirstArrow;
    QTest::newRow("end of the first arrow") << 15 << ScrollZone::FirstArrow;
    QTest::newRow("track before the thumb") << 16 << ScrollZone::TrackBefore;
    QTest::newRow("just before the thumb") << 39 << ScrollZone::TrackBefore;
    QTest::newRow("thumb start") << 40 << ScrollZone::Thumb;
    QTest::newRow("thumb end") << 59 << ScrollZone::Thumb;
    QTest::newRow("track after the thumb") << 60 << ScrollZone::TrackAfter;
    QTest::newRow("end of the track") << 83 << ScrollZone::TrackAfter;
    QTest::newRow("second arrow") << 84 << ScrollZone::SecondArrow;
    QTest::newRow("last pixel") << 99 << ScrollZone::SecondArrow;
}

void ScrollBarSkinTest::hitZones()
{
    QFETCH(int, position);
    QFETCH(ScrollZone, zone);
    ScrollBarLayout layout;
    layout.lengthPx = 100;
    layout.arrowPx = 16;
    layout.thumbStartPx = 40;
    layout.thumbEndPx = 60;
    QCOMPARE(scrollZoneAt(layout, position), zone);
    QCOMPARE(int(zone), int(scrollZoneAt(layout, position))); // the request codes 0, 1, 2, 3, 5
}

void ScrollBarSkinTest::dragging_data()
{
    QTest::addColumn<int>("moved");
    QTest::addColumn<int>("start");
    // Bar 100, arrows 16, thumb of 34 pressed at 30: it may start anywhere from 16 to 50.
    QTest::newRow("not moved") << 0 << 30;
    QTest::newRow("down by 7") << 7 << 37;
    QTest::newRow("up by 5") << -5 << 25;
    QTest::newRow("to the end") << 20 << 50;
    QTest::newRow("past the end") << 200 << 50;
    QTest::newRow("past the start") << -200 << 16;
}

void ScrollBarSkinTest::dragging()
{
    QFETCH(int, moved);
    QFETCH(int, start);
    const ScrollBarLayout layout = scrollBarLayout(100, 16, {0, 10, 10, 0, false}, 8, 30, moved);
    QCOMPARE(layout.thumbStartPx, start);
    QCOMPARE(layout.thumbLengthPx(), 34);
}

void ScrollBarSkinTest::thickness()
{
    QCOMPARE(scrollBarThickness(16, 16), 16);
    QCOMPARE(scrollBarThickness(18, 16), 18);
    QCOMPARE(scrollBarThickness(19, 16), 16);
    QCOMPARE(scrollBarThickness(13, 16), 16);
}

void ScrollBarSkinTest::paintedParts()
{
    QScrollBar *bar = skinnedList(100);
    QTRY_VERIFY(bar->isVisible());
    QCOMPARE(bar->width(), 16); // the Scrollbar image's height
    const int arrow = fusionArrowPx();
    const QImage image = bar->grab().toImage();
    QCOMPARE(QColor(image.pixel(8, 2)), colourOf(testskin::Scrollbar, 9));                  // up
    QCOMPARE(QColor(image.pixel(8, bar->height() - 3)), colourOf(testskin::Scrollbar, 13)); // down
    const QRect thumb = thumbOf(*bar);
    QCOMPARE(thumb.top(), arrow);
    QCOMPARE(QColor(image.pixel(8, thumb.top() + 1)), colourOf(testskin::VertThumb, 1));
    QCOMPARE(QColor(image.pixel(8, thumb.bottom() + 2)), colourOf(testskin::VertScroll, 1)); // track
    // The grip, a square of the image's height, centred on the thumb.
    const int grip = thumb.top() + (thumb.height() - 16) / 2;
    QCOMPARE(QColor(image.pixel(8, grip + 8)), colourOf(testskin::Scrollbar, 20));
}

void ScrollBarSkinTest::hotAndPressedArrow()
{
    QScrollBar *bar = skinnedList(100);
    hover(bar, {8, bar->height() - 3});
    QCOMPARE(QColor(bar->grab().toImage().pixel(8, bar->height() - 3)), colourOf(testskin::Scrollbar, 13 + 3));
    QCOMPARE(QColor(bar->grab().toImage().pixel(8, 2)), colourOf(testskin::Scrollbar, 9));
    send(bar, QEvent::MouseButtonPress, {8, bar->height() - 3}, Qt::LeftButton);
    QCOMPARE(QColor(bar->grab().toImage().pixel(8, bar->height() - 3)), colourOf(testskin::Scrollbar, 13 + 1));
    send(bar, QEvent::MouseButtonRelease, {8, bar->height() - 3}, Qt::NoButton);
    QCOMPARE(bar->value(), bar->singleStep());
}

void ScrollBarSkinTest::hotAndPressedThumb()
{
    QScrollBar *bar = skinnedList(100);
    const QRect thumb = thumbOf(*bar);
    const int grip = thumb.top() + (thumb.height() - 16) / 2 + 8;
    hover(bar, {8, thumb.top() + 2});
    QImage image = bar->grab().toImage();
    QCOMPARE(QColor(image.pixel(8, thumb.top() + 1)), colourOf(testskin::VertThumb, 3));
    QCOMPARE(QColor(image.pixel(8, grip)), colourOf(testskin::Scrollbar, 20 + 2));
    send(bar, QEvent::MouseButtonPress, {8, thumb.top() + 2}, Qt::LeftButton);
    image = bar->grab().toImage();
    QCOMPARE(QColor(image.pixel(8, thumb.top() + 1)), colourOf(testskin::VertThumb, 2));
    QCOMPARE(QColor(image.pixel(8, grip)), colourOf(testskin::Scrollbar, 20 + 1));
    send(bar, QEvent::MouseButtonRelease, {8, thumb.top() + 2}, Qt::NoButton);
}

void ScrollBarSkinTest::unavailableBar()
{
    QScrollBar *bar = skinnedList(100);
    m_list->setEnabled(false);
    const QImage image = bar->grab().toImage();
    const int middle = bar->height() / 2;
    QCOMPARE(QColor(image.pixel(8, middle)), colourOf(testskin::VertScroll, 3)); // no thumb, track frame 3
}

void ScrollBarSkinTest::thumbFollowsTheCursor_data()
{
    QTest::addColumn<int>("moved");
    QTest::newRow("down by 1") << 1;
    QTest::newRow("down by 13") << 13;
    QTest::newRow("up past the start") << -300;
    QTest::newRow("down past the end") << 300;
}

void ScrollBarSkinTest::thumbFollowsTheCursor()
{
    QFETCH(int, moved);
    // Few items: the range has fewer steps than the track has pixels, yet the thumb moves pixel by pixel.
    QScrollBar *bar = skinnedList(12);
    QTRY_VERIFY(bar->isVisible());
    QVERIFY(bar->maximum() > 0);
    QVERIFY(bar->maximum() < bar->height());
    const int arrow = fusionArrowPx();
    const QRect start = thumbOf(*bar);
    const QPoint press(8, start.top() + 3);
    send(bar, QEvent::MouseButtonPress, press, Qt::LeftButton);
    send(bar, QEvent::MouseMove, press + QPoint(0, moved), Qt::LeftButton);
    const QRect dragged = thumbOf(*bar);
    const int expected = std::clamp(start.top() + moved, arrow, bar->height() - arrow - start.height());
    QCOMPARE(dragged.top(), expected);
    QCOMPARE(dragged.height(), start.height());
    QCOMPARE(QColor(bar->grab().toImage().pixel(8, expected + 1)), colourOf(testskin::VertThumb, 2));
    send(bar, QEvent::MouseButtonRelease, press + QPoint(0, moved), Qt::NoButton);
    // After the release the thumb shows the position the list took.
    const QRect settled = thumbOf(*bar);
    QVERIFY(std::abs(settled.top() - expected) <= start.height());
    if (moved > 10) {
        QVERIFY(bar->value() > 0);
    }
}

void ScrollBarSkinTest::styleHitTestAgreesWithTheZones()
{
    QScrollBar *bar = skinnedList(100);
    bar->setValue(bar->maximum() / 2);
    const QStyleOptionSlider option = ScrollBarSkin::optionOf(*bar);
    const QRect thumb = thumbOf(*bar);
    const int arrow = fusionArrowPx();
    const struct
    {
        int y;
        QStyle::SubControl part;
    } rows[] = {{0, QStyle::SC_ScrollBarSubLine}, {arrow - 1, QStyle::SC_ScrollBarSubLine},
        {arrow, QStyle::SC_ScrollBarSubPage}, {thumb.top() - 1, QStyle::SC_ScrollBarSubPage},
        {thumb.top(), QStyle::SC_ScrollBarSlider}, {thumb.bottom(), QStyle::SC_ScrollBarSlider},
        {thumb.bottom() + 1, QStyle::SC_ScrollBarAddPage}, {bar->height() - arrow - 1, QStyle::SC_ScrollBarAddPage},
        {bar->height() - arrow, QStyle::SC_ScrollBarAddLine}, {bar->height() - 1, QStyle::SC_ScrollBarAddLine}};
    for (const auto &row : rows) {
        QCOMPARE(bar->style()->hitTestComplexControl(QStyle::CC_ScrollBar, &option, QPoint(8, row.y), bar), row.part);
    }
}

QTEST_MAIN(ScrollBarSkinTest)
#include "scrollbarskin_test.moc"
