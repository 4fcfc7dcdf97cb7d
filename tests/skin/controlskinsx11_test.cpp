// Skinned controls under real pointer input on the X11 harness: the server moves the pointer and presses the
// button (XTEST), and the frames follow: hot and pressed buttons, a hot header section, the scroll bar's hot
// arrow and a dragged thumb.
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include "skin/controls/controlskins.h"
#include "testskin.h"
#include "xpointer.h"

namespace {

QColor colourOf(testskin::Object object, int frame)
{
    return QColor(testskin::frameColour(object, frame));
}

QColor pixelAt(QWidget *widget, QPoint point)
{
    return QColor(widget->grab().toImage().pixel(point));
}

} // namespace

class ControlSkinsX11Test : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void hotAndPressedButton();
    void hotHeaderSection();
    void scrollBarArrowAndThumb();

private:
    void showSkinned();

    std::unique_ptr<XPointer> m_pointer;
    std::unique_ptr<QWidget> m_host;
    std::unique_ptr<TSkinData> m_data;
};

void ControlSkinsX11Test::initTestCase()
{
    m_pointer = std::make_unique<XPointer>();
    QVERIFY2(m_pointer->available(), "the X server has no XTEST extension");
}

void ControlSkinsX11Test::init()
{
    m_host = std::make_unique<QWidget>();
    m_host->setGeometry(100, 100, 480, 300);
    m_data = std::make_unique<TSkinData>();
    m_pointer->moveTo(QPoint(5, 5));
}

void ControlSkinsX11Test::cleanup()
{
    m_host.reset();
    m_data.reset();
}

void ControlSkinsX11Test::showSkinned()
{
    testskin::load(*m_data);
    m_host->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_host.get()));
    skinWindowControls(m_host.get(), m_data.get());
}

void ControlSkinsX11Test::hotAndPressedButton()
{
    auto *button = new QPushButton(QStringLiteral("Apply"), m_host.get());
    button->setGeometry(20, 20, 96, 25);
    QSignalSpy clicked(button, &QPushButton::clicked);
    showSkinned();
    const QPoint inside = button->mapToGlobal(QPoint(48, 12));
    // The window's only control takes the focus: frame 5.
    QTRY_COMPARE(pixelAt(button, {1, 12}), colourOf(testskin::Buttons, 5));
    m_pointer->moveTo(inside);
    QTRY_COMPARE(pixelAt(button, {1, 12}), colourOf(testskin::Buttons, 4));
    m_pointer->press();
    QTRY_COMPARE(pixelAt(button, {1, 12}), colourOf(testskin::Buttons, 2));
    m_pointer->release();
    QTRY_COMPARE(clicked.count(), 1);
    QTRY_COMPARE(pixelAt(button, {1, 12}), colourOf(testskin::Buttons, 4));
    m_pointer->moveTo(button->mapToGlobal(QPoint(48, 200)));
    QTRY_COMPARE(pixelAt(button, {1, 12}), colourOf(testskin::Buttons, 5));
}

void ControlSkinsX11Test::hotHeaderSection()
{
    auto *view = new QTreeWidget(m_host.get());
    view->setGeometry(20, 20, 300, 150);
    view->setHeaderLabels({QStringLiteral("Description"), QStringLiteral("Window Title")});
    view->setColumnWidth(0, 120);
    view->header()->setSectionsClickable(true);
    showSkinned();
    QHeaderView *header = view->header();
    m_pointer->moveTo(header->mapToGlobal(QPoint(60, header->height() / 2)));
    QTRY_COMPARE(pixelAt(header, {2, 2}), colourOf(testskin::Headerbar, 2));
    QCOMPARE(pixelAt(header, {122, 2}), colourOf(testskin::Headerbar, 1));
    m_pointer->moveTo(header->mapToGlobal(QPoint(180, header->height() / 2)));
    QTRY_COMPARE(pixelAt(header, {122, 2}), colourOf(testskin::Headerbar, 2));
    QTRY_COMPARE(pixelAt(header, {2, 2}), colourOf(testskin::Headerbar, 1));
}

void ControlSkinsX11Test::scrollBarArrowAndThumb()
{
    auto *list = new QListWidget(m_host.get());
    list->setGeometry(20, 20, 200, 200);
    for (int i = 0; i < 100; ++i) {
        list->addItem(QStringLiteral("Item %1").arg(i));
    }
    showSkinned();
    QScrollBar *bar = list->verticalScrollBar();
    QTRY_VERIFY(bar->isVisible());
    const QPoint downArrow(8, bar->height() - 4);
    m_pointer->moveTo(bar->mapToGlobal(downArrow));
    QTRY_COMPARE(pixelAt(bar, downArrow), colourOf(testskin::Scrollbar, 13 + 3));
    m_pointer->moveTo(bar->mapToGlobal(QPoint(8, bar->height() / 2)));
    QTRY_COMPARE(pixelAt(bar, downArrow), colourOf(testskin::Scrollbar, 13));

    // Dragging the thumb down by 40 pixels moves it, and the list, by as much. The value changes with the first
    // motion the bar handles, so the thumb's place is awaited, not read as soon as the value has moved.
    const auto thumbRect = [bar] {
        QStyleOptionSlider option;
        option.initFrom(bar);
        option.orientation = Qt::Vertical;
        option.maximum = bar->maximum();
        option.pageStep = bar->pageStep();
        option.sliderPosition = bar->sliderPosition();
        return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar);
    };
    const QRect thumb = thumbRect();
    const QPoint from = bar->mapToGlobal(thumb.center());
    m_pointer->moveTo(from);
    m_pointer->press();
    for (int step = 1; step <= 8; ++step) {
        m_pointer->moveTo(from + QPoint(0, 5 * step));
    }
    m_pointer->release();
    QTRY_VERIFY(bar->value() > 0);
    QTRY_VERIFY2(std::abs(thumbRect().top() - (thumb.top() + 40)) <= 1,
        qPrintable(QStringLiteral("thumb at %1, expected %2").arg(thumbRect().top()).arg(thumb.top() + 40)));
    QTRY_VERIFY(!bar->isSliderDown());
}

QTEST_MAIN(ControlSkinsX11Test)
#include "controlskinsx11_test.moc"
