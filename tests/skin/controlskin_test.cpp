// Edits, combo boxes (ComboButton style 1, the composed strip, the SunkEdge form), group boxes, the up-down
// halves, the list view's header and the frame of lists painted by the skin style, offscreen, against the test
// skin's solid frames and named colours.
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QHoverEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "skin/controls/controlskins.h"
#include "skin/style/skinregistry.h"
#include "testskin.h"

// Stands for the program's up-down control, matched by its class name.
class UpDown : public QWidget
{
    Q_OBJECT

public:
    explicit UpDown(QWidget *parent)
        : QWidget(parent)
        , up(new QToolButton(this))
        , down(new QToolButton(this))
    {
        up->setArrowType(Qt::UpArrow);
        down->setArrowType(Qt::DownArrow);
        up->setGeometry(0, 0, 16, 11);
        down->setGeometry(0, 11, 16, 10);
    }

    QToolButton *up;
    QToolButton *down;
};

namespace {

QColor pixelAt(QWidget *widget, QPoint point)
{
    return QColor(widget->grab().toImage().pixel(point));
}

QColor colourOf(testskin::Object object, int frame)
{
    return QColor(testskin::frameColour(object, frame));
}

void hover(QWidget *widget, QPoint point)
{
    QHoverEvent enter(QEvent::HoverEnter, point, widget->mapToGlobal(point), QPointF(-1, -1));
    QCoreApplication::sendEvent(widget, &enter);
    QHoverEvent move(QEvent::HoverMove, point, widget->mapToGlobal(point), point);
    QCoreApplication::sendEvent(widget, &move);
}

} // namespace

class ControlSkinTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void editBorder();
    void comboStyles_data();
    void comboStyles();
    void comboWithoutButtonImageKeepsFusion();
    void groupBox();
    void upDownHalves_data();
    void upDownHalves();
    void listFrameAndHeader();

private:
    void skin(const testskin::Options &options = {});
    void activate(QWidget *focus);

    std::unique_ptr<QWidget> m_host;
    std::unique_ptr<TSkinData> m_data;
};

void ControlSkinTest::init()
{
    m_host = std::make_unique<QWidget>();
    m_host->resize(480, 260);
    m_data = std::make_unique<TSkinData>();
}

void ControlSkinTest::cleanup()
{
    m_host.reset();
    m_data.reset();
}

void ControlSkinTest::skin(const testskin::Options &options)
{
    testskin::load(*m_data, options);
    QVERIFY(m_data->skin());
    m_host->show();
    skinWindowControls(m_host.get(), m_data.get());
}

void ControlSkinTest::activate(QWidget *focus)
{
    m_host->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_host.get()));
    focus->setFocus();
    QTRY_VERIFY(focus->hasFocus());
}

void ControlSkinTest::editBorder()
{
    auto *edit = new QLineEdit(QStringLiteral("50"), m_host.get());
    edit->setGeometry(10, 10, 41, 21);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, QColor(255, 255, 0));
    edit->setPalette(palette);
    auto *frameless = new QLineEdit(m_host.get());
    frameless->setGeometry(10, 40, 41, 21);
    frameless->setFrame(false);
    frameless->setPalette(palette);
    skin();
    QCOMPARE(pixelAt(edit, {0, 0}), testskin::kButtonShadow);
    QCOMPARE(pixelAt(edit, {40, 20}), testskin::kButtonShadow);
    QCOMPARE(pixelAt(edit, {1, 10}), QColor(Qt::white));
    QCOMPARE(pixelAt(edit, {2, 10}), QColor(Qt::white));
    QCOMPARE(pixelAt(edit, {3, 3}), QColor(255, 255, 0));
    QVERIFY(pixelAt(frameless, {0, 0}) != testskin::kButtonShadow);
}

void ControlSkinTest::comboStyles_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("state");
    QTest::addColumn<int>("frame");
    for (const char *form : {"style 1", "composed strip", "sunk edge"}) {
        QTest::addRow("%s, normal", form) << form << "normal" << 1;
        QTest::addRow("%s, focused", form) << form << "focused" << 4;
        QTest::addRow("%s, hot", form) << form << "hot" << 4;
        QTest::addRow("%s, dropped down", form) << form << "pressed" << 2;
        QTest::addRow("%s, disabled", form) << form << "disabled" << 3;
    }
}

void ControlSkinTest::comboStyles()
{
    QFETCH(QString, form);
    QFETCH(QString, state);
    QFETCH(int, frame);
    auto *combo = new QComboBox(m_host.get());
    combo->addItems({QStringLiteral("Left"), QStringLiteral("Center")});
    combo->setGeometry(10, 10, 214, 21);
    auto *other = new QLineEdit(m_host.get());
    other->setGeometry(10, 60, 40, 21);
    testskin::Options options;
    if (form != QLatin1String("composed strip")) {
        options.leftOut = {QStringLiteral("SunkEdge")};
    }
    options.comboStyle = form == QLatin1String("sunk edge") ? 0 : 1;
    skin(options);
    activate(state == QLatin1String("focused") ? static_cast<QWidget *>(combo) : other);
    combo->setEnabled(state != QLatin1String("disabled"));
    combo->setAttribute(Qt::WA_UnderMouse, state == QLatin1String("hot"));
    if (state == QLatin1String("pressed")) {
        combo->showPopup();
        QTRY_VERIFY(combo->view()->isVisible());
    }
    const QColor button = colourOf(testskin::ComboButton, frame);
    if (form == QLatin1String("style 1")) {
        QCOMPARE(pixelAt(combo, {0, 0}), testskin::kButtonShadow);
        QCOMPARE(pixelAt(combo, {1, 1}), QColor(combo->palette().color(QPalette::Base)));
        // One ComboButton frame (18 wide) at the right end inside the border.
        QCOMPARE(pixelAt(combo, {214 - 2 - 18, 10}), button);
        QCOMPARE(pixelAt(combo, {214 - 3, 10}), button);
    } else if (form == QLatin1String("composed strip")) {
        QCOMPARE(m_data->skin()->comboButton->style, 2);
        QCOMPARE(pixelAt(combo, {1, 10}), colourOf(testskin::SunkEdge, frame));
        QCOMPARE(pixelAt(combo, {212, 1}), button);
    } else {
        const int arrow = QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        const QRect area(214 - 2 - (arrow + 2), 2, arrow + 2, 17);
        QCOMPARE(pixelAt(combo, area.topLeft() + QPoint(1, 1)), button);
        QCOMPARE(pixelAt(combo, area.center()), colourOf(testskin::ExtraImages, frame));
    }
    if (state == QLatin1String("pressed")) {
        combo->hidePopup();
    }
}

void ControlSkinTest::comboWithoutButtonImageKeepsFusion()
{
    auto *combo = new QComboBox(m_host.get());
    combo->setGeometry(10, 10, 214, 21);
    testskin::Options options;
    options.leftOut = {QStringLiteral("ComboButton")};
    skin(options);
    QWidget plainWindow;
    plainWindow.setPalette(m_host->palette());
    auto *plain = new QComboBox(&plainWindow);
    plain->setGeometry(combo->geometry());
    plainWindow.show();
    QCOMPARE(combo->grab().toImage().convertToFormat(QImage::Format_RGB32),
        plain->grab().toImage().convertToFormat(QImage::Format_RGB32));
}

void ControlSkinTest::groupBox()
{
    auto *box = new QGroupBox(QStringLiteral(" Position "), m_host.get());
    box->setGeometry(10, 10, 362, 102);
    skin();
    const int captionHeight = box->fontMetrics().height();
    const int lineY = captionHeight / 2;
    QCOMPARE(pixelAt(box, {0, 60}), testskin::kButtonShadow);
    QCOMPARE(pixelAt(box, {361, 60}), testskin::kButtonShadow);
    QCOMPARE(pixelAt(box, {200, 101}), testskin::kButtonShadow);
    QCOMPARE(pixelAt(box, {200, 60}), testskin::kButtonFace);
    QCOMPARE(pixelAt(box, {6, lineY}), testskin::kButtonShadow);
    // The caption starts 8 pixels from the left, on the button face (its first character is a blank).
    QCOMPARE(pixelAt(box, {9, lineY}), testskin::kButtonFace);
    const int captionEnd = 8 + box->fontMetrics().horizontalAdvance(box->title()) + 1;
    QCOMPARE(pixelAt(box, {captionEnd + 2, lineY}), testskin::kButtonShadow);
}

void ControlSkinTest::upDownHalves_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<int>("upFrame");
    QTest::addColumn<int>("downFrame");
    QTest::newRow("normal") << "normal" << 1 << 5;
    QTest::newRow("up pressed") << "pressed" << 2 << 5;
    QTest::newRow("up hot") << "hot" << 4 << 5;
    QTest::newRow("disabled") << "disabled" << 3 << 7;
}

void ControlSkinTest::upDownHalves()
{
    QFETCH(QString, state);
    QFETCH(int, upFrame);
    QFETCH(int, downFrame);
    auto *upDown = new UpDown(m_host.get());
    upDown->setGeometry(10, 10, 16, 21);
    skin();
    upDown->setEnabled(state != QLatin1String("disabled"));
    upDown->up->setDown(state == QLatin1String("pressed"));
    upDown->up->setAttribute(Qt::WA_UnderMouse, state == QLatin1String("hot"));
    QCOMPARE(pixelAt(upDown, {8, 5}), colourOf(testskin::UpDownVert, upFrame));
    QCOMPARE(pixelAt(upDown, {8, 16}), colourOf(testskin::UpDownVert, downFrame));
}

void ControlSkinTest::listFrameAndHeader()
{
    auto *list = new QListWidget(m_host.get());
    list->setGeometry(10, 10, 200, 85);
    auto *view = new QTreeWidget(m_host.get());
    view->setGeometry(220, 10, 250, 120);
    view->setHeaderLabels({QStringLiteral("Description"), QStringLiteral("Window Title")});
    view->setColumnWidth(0, 100);
    view->setColumnWidth(1, 80);
    view->header()->setStretchLastSection(false);
    view->header()->setSectionsClickable(true); // as in the program; Qt tracks hover only then
    skin();
    QCOMPARE(pixelAt(list, {0, 0}), testskin::kButtonShadow);
    QCOMPARE(pixelAt(list, {1, 40}), testskin::kButtonFace);
    QHeaderView *header = view->header();
    QCOMPARE(pixelAt(header, {1, 1}), colourOf(testskin::Headerbar, 1));
    QCOMPARE(pixelAt(header, {101, 1}), colourOf(testskin::Headerbar, 1));
    QCOMPARE(pixelAt(header, {200, 1}), colourOf(testskin::Headerbar, 1)); // right of the last section
    hover(header, {120, 5});
    QCOMPARE(pixelAt(header, {101, 1}), colourOf(testskin::Headerbar, 2));
    QCOMPARE(pixelAt(header, {1, 1}), colourOf(testskin::Headerbar, 1));
}

QTEST_MAIN(ControlSkinTest)
#include "controlskin_test.moc"
