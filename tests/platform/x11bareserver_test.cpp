// The window operations on an X server without a window manager (a private Xvfb beside the harness's): listing
// walks the root window's children, resolving frames to clients through WM_STATE, and setting a placement
// configures the client directly. Last, a window manager without EWMH, which is waited for through the window's
// own events.
#include "minimalwm.h"
#include "platform/x11/x11windowsystem.h"
#include "privatexserver.h"
#include "rawx.h"
#include "testclient.h"

#include <QScopeGuard>
#include <QTest>

#include <algorithm>

using platform::ShowState;
using platform::TopLevelWindow;
using platform::WindowPlacement;

namespace {

QByteArray hexId(quint32 window)
{
    return "0x" + QByteArray::number(window, 16);
}

} // namespace

class X11BareServerTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void listsRootChildren_data();
    void listsRootChildren();
    void listsTopmostFirst();
    void setsAndReads_data();
    void setsAndReads();
    void vanishedWindowFails();
    void windowManagerWithoutEwmh();
    void propertiesOfAnEndedWindowManager();

private:
    quint32 open(const QByteArray &options);
    // A window made here: a root child, optionally override-redirect.
    xcb_window_t createWindow(xcb_window_t parent, bool overrideRedirect, bool mapped);
    // A frame as a window manager without EWMH makes it: a root child holding the client, WM_STATE on the client.
    xcb_window_t frameClient(quint32 client, quint32 state, bool mapped);
    std::optional<TopLevelWindow> listed(quint32 window);

    std::unique_ptr<PrivateXServer> m_server;
    std::unique_ptr<RawX> m_raw;
    std::unique_ptr<platform::x11::X11WindowSystem> m_system;
    std::unique_ptr<TestClient> m_client;
    std::vector<quint32> m_windows;
    std::vector<xcb_window_t> m_ownWindows;
    QByteArray m_harnessDisplay;
};

void X11BareServerTest::initTestCase()
{
    m_server = std::make_unique<PrivateXServer>();
    QVERIFY2(!m_server->display().isEmpty(), "Xvfb did not start");
    m_raw = std::make_unique<RawX>(m_server->display().constData());
    m_system = platform::x11::X11WindowSystem::open(m_server->display().constData());
    QVERIFY(m_raw->connected() && m_system);
    // The test client connects to $DISPLAY.
    m_harnessDisplay = qgetenv("DISPLAY");
    qputenv("DISPLAY", m_server->display());
    m_client = std::make_unique<TestClient>();
    QVERIFY2(m_client->start(), qPrintable(m_client->lastError()));
}

void X11BareServerTest::cleanupTestCase()
{
    m_client.reset();
    m_system.reset();
    m_raw.reset();
    m_server.reset();
    qputenv("DISPLAY", m_harnessDisplay);
}

void X11BareServerTest::cleanup()
{
    for (const quint32 window : m_windows) {
        m_client->command("destroy " + hexId(window));
    }
    m_windows.clear();
    for (const xcb_window_t window : m_ownWindows) {
        xcb_destroy_window(m_raw->connection(), window);
    }
    m_ownWindows.clear();
    xcb_flush(m_raw->connection());
}

quint32 X11BareServerTest::open(const QByteArray &options)
{
    const quint32 window = m_client->openWindow(options);
    if (window != 0) {
        m_windows.push_back(window);
    }
    return window;
}

xcb_window_t X11BareServerTest::createWindow(xcb_window_t parent, bool overrideRedirect, bool mapped)
{
    xcb_connection_t *c = m_raw->connection();
    const xcb_window_t window = xcb_generate_id(c);
    const uint32_t values[] = {overrideRedirect ? 1u : 0u};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, parent, 10, 10, 300, 200, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
        XCB_COPY_FROM_PARENT, XCB_CW_OVERRIDE_REDIRECT, values);
    static constexpr char kTitle[] = "Own window";
    xcb_change_property(
        c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, sizeof kTitle - 1, kTitle);
    if (mapped) {
        xcb_map_window(c, window);
    }
    if (parent == m_raw->root()) {
        m_ownWindows.push_back(window);
    }
    return window;
}

xcb_window_t X11BareServerTest::frameClient(quint32 client, quint32 state, bool mapped)
{
    xcb_connection_t *c = m_raw->connection();
    const xcb_window_t frame = createWindow(m_raw->root(), false, mapped);
    xcb_delete_property(c, frame, XCB_ATOM_WM_NAME);
    xcb_reparent_window(c, client, frame, 4, 20);
    const quint32 wmState[] = {state, XCB_NONE};
    xcb_change_property(
        c, XCB_PROP_MODE_REPLACE, client, m_raw->atom("WM_STATE"), m_raw->atom("WM_STATE"), 32, 2, wmState);
    xcb_flush(c);
    return frame;
}

std::optional<TopLevelWindow> X11BareServerTest::listed(quint32 window)
{
    m_raw->sync();
    const std::vector<TopLevelWindow> windows = m_system->topLevelWindows();
    const auto it = std::find_if(windows.begin(), windows.end(), [&](const auto &w) { return w.id == window; });
    return it == windows.end() ? std::nullopt : std::optional<TopLevelWindow>(*it);
}

void X11BareServerTest::listsRootChildren_data()
{
    QTest::addColumn<QByteArray>("options");
    QTest::addColumn<QByteArray>("setup"); // "", "override-redirect", "framed", "framed-iconic", "dock"
    QTest::addColumn<bool>("isListed");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("owned");
    QTest::addColumn<QString>("title");

    QTest::newRow("mapped window is visible")
        << QByteArray("-- Bare") << QByteArray() << true << true << false << QStringLiteral("Bare");
    QTest::newRow("unmapped window is not visible")
        << QByteArray("unmapped -- Hidden") << QByteArray() << true << false << false << QStringLiteral("Hidden");
    QTest::newRow("window without a title") << QByteArray() << QByteArray() << true << true << false << QString();
    QTest::newRow("transient window is owned")
        << QByteArray("transient=root -- Dialog") << QByteArray() << true << true << true << QStringLiteral("Dialog");
    QTest::newRow("Latin-1 title") << QByteArray("enc=latin1 -- Café") << QByteArray() << true << true << false
                                   << QStringLiteral("Café");
    QTest::newRow("override-redirect window is left out")
        << QByteArray() << QByteArray("override-redirect") << false << false << false << QString();
    QTest::newRow("framed client is listed, not its frame") << QByteArray("unmapped -- Framed") << QByteArray("framed")
                                                            << true << true << false << QStringLiteral("Framed");
    QTest::newRow("framed iconic client is visible") << QByteArray("unmapped -- Iconic") << QByteArray("framed-iconic")
                                                     << true << true << false << QStringLiteral("Iconic");
    QTest::newRow("dock is left out") << QByteArray("unmapped -- Dock") << QByteArray("dock") << false << false << false
                                      << QString();
}

void X11BareServerTest::listsRootChildren()
{
    QFETCH(QByteArray, options);
    QFETCH(QByteArray, setup);
    QFETCH(bool, isListed);
    QFETCH(bool, visible);
    QFETCH(bool, owned);
    QFETCH(QString, title);

    quint32 window = 0;
    if (setup == "override-redirect") {
        window = createWindow(m_raw->root(), true, true);
    } else {
        window = open(options);
        QVERIFY2(window, qPrintable(m_client->lastError()));
    }
    if (setup.startsWith("framed")) {
        const xcb_window_t frame = frameClient(window, setup == "framed" ? 1 : 3, setup == "framed");
        QVERIFY(!listed(frame));
    } else if (setup == "dock") {
        QVERIFY(m_client->command("prop " + hexId(window) + " _NET_WM_WINDOW_TYPE ATOM 32 _NET_WM_WINDOW_TYPE_DOCK"));
        QVERIFY(m_client->command("map " + hexId(window)));
    }
    const std::optional<TopLevelWindow> found = listed(window);
    QCOMPARE(bool(found), isListed);
    if (found) {
        QCOMPARE(*found, (TopLevelWindow {window, title, visible, owned}));
    }
}

void X11BareServerTest::listsTopmostFirst()
{
    const quint32 first = open("-- First");
    const quint32 second = open("-- Second");
    const quint32 third = open("-- Third");
    QVERIFY(first && second && third);
    const auto order = [this] {
        std::vector<quint32> ids;
        for (const TopLevelWindow &window : m_system->topLevelWindows()) {
            ids.push_back(window.id);
        }
        return ids;
    };
    QCOMPARE(order(), (std::vector<quint32> {third, second, first}));
    const uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(m_raw->connection(), first, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    xcb_flush(m_raw->connection());
    QTRY_COMPARE(order(), (std::vector<quint32> {first, third, second}));
}

void X11BareServerTest::setsAndReads_data()
{
    QTest::addColumn<QByteArray>("options");
    QTest::addColumn<int>("state");
    QTest::addColumn<QRect>("target");
    QTest::addColumn<QRect>("client"); // where the client window must end

    const int normal = int(ShowState::Normal);
    QTest::newRow("plain") << QByteArray("pos=10,10") << normal << QRect(100, 50, 640, 480) << QRect(100, 50, 640, 480);
    QTest::newRow("maximized gets the normal rectangle") << QByteArray("pos=10,10") << int(ShowState::Maximized)
                                                         << QRect(200, 100, 300, 200) << QRect(200, 100, 300, 200);
    QTest::newRow("client-side decoration")
        << QByteArray("pos=10,10 csd=10,20,30,40") << normal << QRect(100, 100, 400, 300) << QRect(90, 70, 430, 370);
    QTest::newRow("gravity makes no difference") << QByteArray("pos=10,10 gravity=SouthEast") << normal
                                                 << QRect(300, 300, 500, 400) << QRect(300, 300, 500, 400);
    // Nobody enforces size hints here, but the client asked for them.
    QTest::newRow("size hints still apply")
        << QByteArray("pos=10,10 inc=10x10 base=5x5") << normal << QRect(0, 0, 333, 222) << QRect(0, 0, 325, 215);
}

void X11BareServerTest::setsAndReads()
{
    QFETCH(QByteArray, options);
    QFETCH(int, state);
    QFETCH(QRect, target);
    QFETCH(QRect, client);

    const quint32 window = open(options + " -- Placed");
    QVERIFY2(window, qPrintable(m_client->lastError()));
    QVERIFY(m_system->setWindowPlacement(window, {ShowState(state), target}));
    QCOMPARE(m_raw->clientRect(window).value_or(QRect()), client);
    QVERIFY(m_raw->values(window, "_NET_WM_STATE").empty());
    const QRect outer = *m_raw->outerFromFrame(window);
    QCOMPARE(m_system->windowPlacement(window), (WindowPlacement {ShowState::Normal, outer}));
}

void X11BareServerTest::vanishedWindowFails()
{
    const quint32 window = open("-- Gone");
    QVERIFY(window);
    QVERIFY(listed(window));
    QVERIFY(m_client->command("destroy " + hexId(window)));
    QVERIFY(!m_system->setWindowPlacement(window, {ShowState::Normal, QRect(0, 0, 100, 100)}));
    QCOMPARE(m_system->windowPlacement(window), std::nullopt);
    QVERIFY(!listed(window));

    const quint32 next = open("-- Next");
    QVERIFY(m_system->setWindowPlacement(next, {ShowState::Normal, QRect(5, 6, 70, 80)}));
    QCOMPARE(m_raw->clientRect(next).value_or(QRect()), QRect(5, 6, 70, 80));
}

void X11BareServerTest::windowManagerWithoutEwmh()
{
    const auto windowManager = std::make_unique<MinimalWindowManager>(m_server->display().constData());
    QVERIFY(windowManager->running());
    const quint32 window = open("pos=10,10 -- Managed");
    QVERIFY(window);
    QTRY_COMPARE(m_raw->wmState(window), 1u);
    QCOMPARE(listed(window), (TopLevelWindow {window, QStringLiteral("Managed"), true, false}));

    const QRect target(150, 120, 500, 400);
    QVERIFY(m_system->setWindowPlacement(window, {ShowState::Normal, target}));
    QCOMPARE(m_raw->clientRect(window).value_or(QRect()), target);
    QVERIFY(windowManager->configureRequests() >= 1); // it went through the window manager
    QCOMPARE(m_system->windowPlacement(window), (WindowPlacement {ShowState::Normal, target}));
}

// A window manager that has ended leaves its root properties behind: the check window they name is gone, so the
// client list they name is not used (its windows, described in the same batch as the check, are passed over) and
// the root window's children are listed.
void X11BareServerTest::propertiesOfAnEndedWindowManager()
{
    xcb_connection_t *c = m_raw->connection();
    const xcb_window_t root = m_raw->root();
    const char *const names[] = {"_NET_SUPPORTING_WM_CHECK", "_NET_SUPPORTED", "_NET_CLIENT_LIST_STACKING"};
    const auto restoreRoot = qScopeGuard([&] {
        for (const char *name : names) {
            xcb_delete_property(c, root, m_raw->atom(name));
        }
        xcb_flush(c);
    });
    const quint32 window = open("pos=10,10 -- Left behind");
    QVERIFY(window);
    const xcb_window_t gone = xcb_generate_id(c); // an id never created
    const xcb_atom_t stacking = m_raw->atom(names[2]);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, root, m_raw->atom(names[0]), XCB_ATOM_WINDOW, 32, 1, &gone);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, root, m_raw->atom(names[1]), XCB_ATOM_ATOM, 32, 1, &stacking);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, root, stacking, XCB_ATOM_WINDOW, 32, 1, &gone);
    for (int listing = 0; listing < 2; ++listing) {
        QCOMPARE(listed(window), (TopLevelWindow {window, QStringLiteral("Left behind"), true, false}));
    }
    QVERIFY(m_system->windowPlacement(window));
}

QTEST_GUILESS_MAIN(X11BareServerTest)
#include "x11bareserver_test.moc"
