// Popup menus painted by the skin style, offscreen: the background from MenuBackground (and never erased with
// xoMenuBG), items from MenuItem with or without the background, the plain look without either object, and
// which menus a skin serves.
#include <QLineEdit>
#include <QMenu>
#include <QStyleFactory>
#include <QTest>

#include "skin/controls/controlskins.h"
#include "testskin.h"

namespace {

QColor colourOf(testskin::Object object, int frame)
{
    return QColor(testskin::frameColour(object, frame));
}

QImage grabbed(QWidget *widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void fill(QMenu &menu)
{
    menu.addAction(QStringLiteral("&Undo\tCtrl+Z"));
    menu.addAction(QStringLiteral("&Redo\tCtrl+Y"))->setEnabled(false);
    menu.addSeparator();
    menu.addAction(QStringLiteral("Select All"));
}

void open(QMenu &menu, int selected)
{
    menu.popup(QPoint(20, 20));
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    menu.setActiveAction(menu.actions().at(selected));
}

} // namespace

class MenuSkinTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void backgroundAndItems();
    void menuBackgroundNeverErased_data();
    void menuBackgroundNeverErased();
    void itemsWithoutBackground();
    void plainWithoutMenuObjects();
    void kindsOfMenus();
    void itemLayout();

private:
    void skin(const testskin::Options &options = {});

    std::unique_ptr<QWidget> m_host;
    QLineEdit *m_edit = nullptr;
    std::unique_ptr<TSkinData> m_data;
};

void MenuSkinTest::init()
{
    m_host = std::make_unique<QWidget>();
    m_host->resize(200, 100);
    m_edit = new QLineEdit(m_host.get());
    m_data = std::make_unique<TSkinData>();
}

void MenuSkinTest::cleanup()
{
    m_host.reset();
    m_data.reset();
}

void MenuSkinTest::skin(const testskin::Options &options)
{
    testskin::load(*m_data, options);
    QVERIFY(m_data->skin());
    m_host->show();
    skinWindowControls(m_host.get(), m_data.get());
}

void MenuSkinTest::backgroundAndItems()
{
    skin();
    QMenu menu(m_edit);
    fill(menu);
    open(menu, 0);
    const QImage image = grabbed(&menu);
    QCOMPARE(QColor(image.pixel(0, 0)), colourOf(testskin::MenuBackground, 1));
    QCOMPARE(QColor(image.pixel(image.width() - 1, image.height() - 1)), colourOf(testskin::MenuBackground, 1));
    const QRect selected = menu.actionGeometry(menu.actions().at(0));
    const QRect other = menu.actionGeometry(menu.actions().at(3));
    QCOMPARE(QColor(image.pixel(selected.topLeft() + QPoint(1, 1))), colourOf(testskin::MenuItem, 4));
    QCOMPARE(QColor(image.pixel(other.topLeft() + QPoint(1, 1))), colourOf(testskin::MenuItem, 1));
    QCOMPARE(QColor(image.pixel(other.right() - 1, other.center().y())), colourOf(testskin::MenuItem, 1));
    // The separator's etched line, 4 pixels below its top.
    const QRect separator = menu.actionGeometry(menu.actions().at(2));
    QCOMPARE(QColor(image.pixel(separator.center().x(), separator.top() + 4)), testskin::kButtonShadow);
    QCOMPARE(QColor(image.pixel(separator.center().x(), separator.top() + 5)), testskin::kButtonHilight);
    QCOMPARE(QColor(image.pixel(separator.center().x(), separator.top() + 2)), colourOf(testskin::MenuBackground, 1));
}

void MenuSkinTest::menuBackgroundNeverErased_data()
{
    QTest::addColumn<bool>("menuBG");
    QTest::newRow("xoMenuBG") << true;
    QTest::newRow("without xoMenuBG") << false;
}

void MenuSkinTest::menuBackgroundNeverErased()
{
    QFETCH(bool, menuBG);
    skin();
    if (menuBG) {
        m_data->setOptions(m_data->options() | TSkinData::xoMenuBG);
    }
    QMenu menu(m_edit);
    fill(menu);
    open(menu, 0);
    // The platform erases a window before its painting unless the painting is declared opaque.
    QCOMPARE(menu.testAttribute(Qt::WA_OpaquePaintEvent), menuBG);
    QCOMPARE(QColor(grabbed(&menu).pixel(1, 1)), colourOf(testskin::MenuBackground, 1));
}

void MenuSkinTest::itemsWithoutBackground()
{
    testskin::Options options;
    options.leftOut = {QStringLiteral("MenuBackground")};
    skin(options);
    QMenu menu(m_edit);
    fill(menu);
    open(menu, 0);
    QMenu plain;
    fill(plain);
    plain.popup(QPoint(20, 20));
    QVERIFY(QTest::qWaitForWindowExposed(&plain));
    const QImage image = grabbed(&menu);
    QCOMPARE(image.pixel(0, 0), grabbed(&plain).pixel(0, 0)); // the plain background and border
    const QRect selected = menu.actionGeometry(menu.actions().at(0));
    const QRect other = menu.actionGeometry(menu.actions().at(3));
    QCOMPARE(QColor(image.pixel(selected.topLeft() + QPoint(1, 1))), colourOf(testskin::MenuItem, 4));
    QCOMPARE(QColor(image.pixel(other.topLeft() + QPoint(1, 1))), colourOf(testskin::MenuItem, 1));
}

void MenuSkinTest::plainWithoutMenuObjects()
{
    testskin::Options options;
    options.leftOut = {QStringLiteral("MenuBackground"), QStringLiteral("MenuItem")};
    skin(options);
    QMenu menu(m_edit);
    fill(menu);
    open(menu, 3);
    QMenu plain;
    fill(plain);
    open(plain, 3);
    QCOMPARE(grabbed(&menu), grabbed(&plain));
}

void MenuSkinTest::kindsOfMenus()
{
    m_data->setSkinControls(TSkinData::kDefaultSkinControls & ~TSkinData::xcSystemMenu);
    skin();
    QMenu popup(m_edit);
    fill(popup);
    open(popup, 0);
    QCOMPARE(QColor(grabbed(&popup).pixel(0, 0)), colourOf(testskin::MenuBackground, 1));
    QMenu systemMenu(m_host.get());
    systemMenu.setProperty("Tag", 33333);
    fill(systemMenu);
    open(systemMenu, 0);
    QVERIFY(QColor(grabbed(&systemMenu).pixel(0, 0)) != colourOf(testskin::MenuBackground, 1));
    // A menu of no window is served by the first skinned window's skin.
    QMenu orphan;
    fill(orphan);
    open(orphan, 0);
    QCOMPARE(QColor(grabbed(&orphan).pixel(0, 0)), colourOf(testskin::MenuBackground, 1));
    unskinWindowControls(m_host.get());
    orphan.update();
    QVERIFY(QColor(grabbed(&orphan).pixel(0, 0)) != colourOf(testskin::MenuBackground, 1));
}

void MenuSkinTest::itemLayout()
{
    skin();
    QMenu menu(m_edit);
    fill(menu);
    open(menu, 0);
    const QRect first = menu.actionGeometry(menu.actions().at(0));
    QCOMPARE(first.topLeft(), QPoint(3, 3)); // inside the 3-pixel border of the background
    QVERIFY(first.height() >= 20);
    QCOMPARE(menu.actionGeometry(menu.actions().at(2)).height(), 8); // the separator
    QMenu plain;
    fill(plain);
    // The text and the shortcut fit, with the MenuItem's LeftWidth, 12 and 23 pixels (no images) more.
    const int textWidth = menu.fontMetrics().horizontalAdvance(QStringLiteral("Select All"));
    QVERIFY(first.width() >= textWidth + 4 + 12 + 23);
}

QTEST_MAIN(MenuSkinTest)
#include "menuskin_test.moc"
