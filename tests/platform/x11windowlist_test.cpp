// Listing top-level windows on a real X server with openbox: which windows come with which flags, titles in every
// encoding and cut on a character boundary, and the stacking order checked against the raw client list.
#include "platform/x11/x11windowsystem.h"
#include "rawx.h"
#include "testclient.h"

#include <QTest>

#include <algorithm>

using platform::TopLevelWindow;

namespace {

constexpr quint32 kNormalState = 1;

QByteArray hexId(quint32 window)
{
    return "0x" + QByteArray::number(window, 16);
}

} // namespace

class X11WindowListTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void reportsFlags_data();
    void reportsFlags();
    void readsTitles_data();
    void readsTitles();
    void listsTopmostFirst();
    void followsTheFramesWithoutAStackingList_data();
    void followsTheFramesWithoutAStackingList();

private:
    // Opens a window with `open` ("%p": a parent window), waits until openbox has taken it unless it is unmapped,
    // then runs each of `then` ("%w": the window), waiting again after a "map %w".
    quint32 openWindow(const QByteArray &open, const QList<QByteArray> &then = {});
    std::optional<TopLevelWindow> listed(quint32 window);

    std::unique_ptr<platform::x11::X11WindowSystem> m_system;
    RawX m_raw;
    TestClient m_client;
    std::vector<quint32> m_windows;
    quint32 m_parent = 0;
};

quint32 X11WindowListTest::openWindow(const QByteArray &open, const QList<QByteArray> &then)
{
    QByteArray options = open;
    options.replace("%p", hexId(m_parent));
    const quint32 window = m_client.openWindow(options);
    if (window == 0) {
        qWarning() << m_client.lastError();
        return 0;
    }
    m_windows.push_back(window);
    // Managed and, unless minimized, shown: metacity shows a window after it has set WM_STATE and listed it, and
    // a window withdrawn before that stayed managed in one run.
    const auto managed = [&] {
        return QTest::qWaitFor([&] {
            const quint32 state = m_raw.wmState(window);
            return state != 0 && m_raw.listed(window) && (state != kNormalState || m_raw.viewable(window));
        });
    };
    if (!options.contains("unmapped") && !managed()) {
        return 0;
    }
    for (QByteArray command : then) {
        if (!m_client.command(command.replace("%w", hexId(window)))) {
            qWarning() << m_client.lastError();
            return 0;
        }
    }
    return !then.contains("map %w") || managed() ? window : 0;
}

std::optional<TopLevelWindow> X11WindowListTest::listed(quint32 window)
{
    const std::vector<TopLevelWindow> windows = m_system->topLevelWindows();
    const auto it = std::find_if(windows.begin(), windows.end(), [&](const auto &w) { return w.id == window; });
    return it == windows.end() ? std::nullopt : std::optional<TopLevelWindow>(*it);
}

void X11WindowListTest::initTestCase()
{
    m_system = platform::x11::X11WindowSystem::open();
    QVERIFY2(m_system && m_raw.connected(), "no X server: run through tests/support/x11-session");
    QVERIFY2(m_client.start(), qPrintable(m_client.lastError()));
    m_parent = m_client.openWindow("-- Parent");
    QVERIFY(m_parent);
}

void X11WindowListTest::cleanup()
{
    for (const quint32 window : m_windows) {
        m_client.command("destroy " + hexId(window));
    }
    m_windows.clear();
}

void X11WindowListTest::reportsFlags_data()
{
    QTest::addColumn<QByteArray>("open");
    QTest::addColumn<QList<QByteArray>>("then");
    QTest::addColumn<bool>("isListed");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("owned");
    QTest::addColumn<QString>("title");

    const auto row = [](const char *name, const char *open, QList<QByteArray> then, bool isListed, bool visible,
                         bool owned, const QString &title) {
        QTest::newRow(name) << QByteArray(open) << then << isListed << visible << owned << title;
    };
    const QList<QByteArray> none;
    const auto typed = [](const char *types) {
        return QList<QByteArray> {"prop %w _NET_WM_WINDOW_TYPE ATOM 32 " + QByteArray(types), "map %w"};
    };
    row("titled window", "-- Titled", none, true, true, false, "Titled");
    row("window without a title", "", none, true, true, false, "");
    row("window with an empty title", "--", none, true, true, false, "");
    row("blanks are kept", "--   two  blanks ", none, true, true, false, "  two  blanks ");
    row("minimized window is visible", "iconic -- Minimized", none, true, true, false, "Minimized");
    row("unmapped window is not managed", "unmapped -- Unmapped", none, false, false, false, "");
    row("withdrawn window is not managed", "-- Withdrawn", {"unmap %w"}, false, false, false, "");
    row("transient for a window", "transient=%p -- Dialog", none, true, true, true, "Dialog");
    row("transient for the root", "transient=root -- Group dialog", none, true, true, true, "Group dialog");
    row("transient for None", "transient=0 -- Group dialog", none, true, true, true, "Group dialog");
    row("dock is left out", "unmapped -- Panel", typed("_NET_WM_WINDOW_TYPE_DOCK"), false, false, false, "");
    row("desktop is left out", "unmapped -- Desktop", typed("_NET_WM_WINDOW_TYPE_DESKTOP"), false, false, false, "");
    row("dialog type is listed", "unmapped -- Typed dialog", typed("_NET_WM_WINDOW_TYPE_DIALOG"), true, true, false,
        "Typed dialog");
    row("first basic type decides: dock", "unmapped -- Extended dock",
        typed("_KDE_NET_WM_WINDOW_TYPE_OVERRIDE _NET_WM_WINDOW_TYPE_DOCK"), false, false, false, "");
    row("first basic type decides: normal", "unmapped -- Normal first",
        typed("_NET_WM_WINDOW_TYPE_NORMAL _NET_WM_WINDOW_TYPE_DOCK"), true, true, false, "Normal first");
}

void X11WindowListTest::reportsFlags()
{
    QFETCH(QByteArray, open);
    QFETCH(QList<QByteArray>, then);
    QFETCH(bool, isListed);
    QFETCH(bool, visible);
    QFETCH(bool, owned);
    QFETCH(QString, title);

    const quint32 window = openWindow(open, then);
    QVERIFY(window);
    if (then.contains("unmap %w")) {
        QTRY_COMPARE(m_raw.wmState(window), 0u);
        QTRY_VERIFY(!m_raw.listed(window));
    }
    const std::optional<TopLevelWindow> found = listed(window);
    QCOMPARE(bool(found), isListed);
    if (found) {
        QCOMPARE(*found, (TopLevelWindow {window, title, visible, owned}));
    }
}

void X11WindowListTest::readsTitles_data()
{
    QTest::addColumn<QByteArray>("open");
    QTest::addColumn<QList<QByteArray>>("then");
    QTest::addColumn<QString>("title");

    const QString long300 = QString(300, QLatin1Char('x'));
    const QString twoByte = QString(150, QChar(0xE9));                           // é: 300 bytes of UTF-8
    const QString threeByte = QStringLiteral("a") + QString(100, QChar(0x20AC)); // €: 1 + 300 bytes
    QString fourByte;
    for (int i = 0; i < 70; ++i) {
        fourByte += QStringLiteral("\U0001F600"); // 280 bytes
    }
    const auto row = [](const char *name, const QByteArray &open, QList<QByteArray> then, const QString &title) {
        QTest::newRow(name) << open << then << title;
    };
    const auto raw = [](const char *property, const char *type, const QByteArray &bytes) {
        return QList<QByteArray> {
            "prop %w " + QByteArray(property) + " " + QByteArray(type) + " 8 " + bytes.toHex(), "map %w"};
    };
    row("UTF-8", "-- Grüße, 世界", {}, QStringLiteral("Grüße, 世界"));
    row("Latin-1 WM_NAME", "enc=latin1 -- Café crème", {}, QStringLiteral("Café crème"));
    row("COMPOUND_TEXT WM_NAME, Greek", "enc=compound -- Ωμέγα", {}, QStringLiteral("Ωμέγα"));
    row("COMPOUND_TEXT WM_NAME, Latin-1 and Cyrillic", "enc=compound -- Åse и Пётр", {}, QStringLiteral("Åse и Пётр"));
    row("WM_NAME as UTF8_STRING", "unmapped",
        raw("WM_NAME", "UTF8_STRING",
            "Stra\xc3\x9f"
            "e"),
        QStringLiteral("Straße"));
    row("empty _NET_WM_NAME falls back to WM_NAME", "unmapped enc=latin1 -- Fallback",
        raw("_NET_WM_NAME", "UTF8_STRING", ""), QStringLiteral("Fallback"));
    row("300 characters are cut to 255 bytes", "-- " + long300.toUtf8(), {}, long300.left(255));
    row("two-byte characters at the cut", "-- " + twoByte.toUtf8(), {}, twoByte.left(127));
    row("three-byte characters at the cut", "-- " + threeByte.toUtf8(), {}, threeByte.left(85));
    row("four-byte characters at the cut", "-- " + fourByte.toUtf8(), {}, fourByte.left(2 * 63));
    row("Latin-1 grows past the cut", "enc=latin1 -- " + QString(300, QChar(0xE9)).toUtf8(), {},
        QString(127, QChar(0xE9)));
    row("invalid UTF-8 becomes U+FFFD", "unmapped",
        raw("_NET_WM_NAME", "UTF8_STRING",
            "A\xc3(\xff"
            "B"),
        QStringLiteral("A\uFFFD(\uFFFDB"));
    row("truncated sequence at the end", "unmapped", raw("_NET_WM_NAME", "UTF8_STRING", "ok\xe2\x82"),
        QStringLiteral("ok\uFFFD"));
    row("text ends at NUL", "unmapped", raw("_NET_WM_NAME", "UTF8_STRING", QByteArray("A\0B", 3)), QStringLiteral("A"));
    row("WM_NAME of unknown type is no title", "unmapped", raw("WM_NAME", "INTEGER", "abc"), QString());
}

void X11WindowListTest::readsTitles()
{
    QFETCH(QByteArray, open);
    QFETCH(QList<QByteArray>, then);
    QFETCH(QString, title);

    const quint32 window = openWindow(open, then);
    QVERIFY(window);
    const std::optional<TopLevelWindow> found = listed(window);
    QVERIFY(found);
    QCOMPARE(found->title, title);
    QVERIFY(found->title.toUtf8().size() <= platform::kMaxTitleBytes);
}

void X11WindowListTest::listsTopmostFirst()
{
    // On one spot: icewm raises an activated window only when another one covers it.
    const quint32 first = openWindow("pos=100,100 -- First");
    const quint32 second = openWindow("pos=100,100 -- Second");
    const quint32 third = openWindow("pos=100,100 -- Third");
    QVERIFY(first && second && third);
    QTRY_COMPARE(m_raw.stackingTopmostFirst().front(), third);

    // Raising the first one (as a taskbar click does) brings it to the top of the list.
    m_raw.activate(first);
    QTRY_COMPARE(m_raw.stackingTopmostFirst().front(), first);
    std::vector<quint32> ids;
    for (const TopLevelWindow &window : m_system->topLevelWindows()) {
        ids.push_back(window.id);
    }
    // Every managed window, in the window manager's order (nothing else is open but the test's own windows).
    QCOMPARE(ids, m_raw.stackingTopmostFirst());
    const auto position = [&ids](quint32 window) { return std::find(ids.begin(), ids.end(), window) - ids.begin(); };
    QVERIFY(position(first) < position(third));
    QVERIFY(position(third) < position(second));
}

// xfwm4 publishes _NET_CLIENT_LIST_STACKING only after its first restack, and fluxbox publishes the mapping order
// under that name: the windows of _NET_CLIENT_LIST are then listed in their frames' stacking order.
void X11WindowListTest::followsTheFramesWithoutAStackingList_data()
{
    QTest::addColumn<bool>("missing");
    QTest::newRow("stacking list missing") << true;
    QTest::newRow("stacking list in the mapping order") << false;
}

void X11WindowListTest::followsTheFramesWithoutAStackingList()
{
    QFETCH(bool, missing);

    const quint32 first = openWindow("pos=100,100 -- Mapped first");
    const quint32 second = openWindow("pos=100,100 -- Mapped second");
    QVERIFY(first && second);
    m_raw.activate(first);
    QTRY_COMPARE(m_raw.stackingTopmostFirst().front(), first);
    const xcb_atom_t stacking = m_raw.atom("_NET_CLIENT_LIST_STACKING");
    if (missing) {
        xcb_delete_property(m_raw.connection(), m_raw.root(), stacking);
    } else {
        const std::vector<quint32> mapped = m_raw.values(m_raw.root(), "_NET_CLIENT_LIST");
        xcb_change_property(m_raw.connection(), XCB_PROP_MODE_REPLACE, m_raw.root(), stacking, XCB_ATOM_WINDOW, 32,
            uint32_t(mapped.size()), mapped.data());
    }
    m_raw.sync();
    std::vector<quint32> ids;
    for (const TopLevelWindow &window : m_system->topLevelWindows()) {
        ids.push_back(window.id);
    }
    QCOMPARE(ids, m_raw.stackingTopmostFirst());
    QCOMPARE(ids.front(), first);
}

QTEST_GUILESS_MAIN(X11WindowListTest)
#include "x11windowlist_test.moc"
