// Smoke test of the X11 harness, read back as raw X data: the session x11-session sets up (openbox, two
// RandR outputs, the EDID on the primary one) and the windows framewright-testclient opens.
#include "testclient.h"

#include <QRect>
#include <QSize>
#include <QTest>

#include <memory>
#include <optional>

#include <xcb/randr.h>
#include <xcb/xcb.h>

namespace {

// The session that tests/support/x11-session sets up.
constexpr char kPrimaryMonitor[] = "DUMMY0";
constexpr char kPrimaryEdidName[] = "FW Test 1920";
constexpr char kSideMonitor[] = "DUMMY1";

// Longest property read, in 32-bit units.
constexpr quint32 kMaxPropertyWords = 1 << 16;

// ICCCM WM_STATE values.
constexpr quint32 kWithdrawnState = 0;
constexpr quint32 kNormalState = 1;
constexpr quint32 kIconicState = 3;

template<typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

template<typename T> Reply<T> owned(T *reply)
{
    return Reply<T>(reply, &std::free);
}

struct Property
{
    QByteArray type; // atom name
    int format = 0;
    QByteArray bytes;
};

// 32-bit property items as the server hands them to us (our byte order).
QByteArray words(std::initializer_list<quint32> values)
{
    QByteArray bytes;
    for (const quint32 value : values) {
        bytes.append(reinterpret_cast<const char *>(&value), sizeof value);
    }
    return bytes;
}

} // namespace

class X11SessionTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void windowManagerIsUp();
    void monitors_data();
    void monitors();
    void primaryOutputCarriesEdid();
    void windowProperties_data();
    void windowProperties();
    void mappedWindowIsManaged_data();
    void mappedWindowIsManaged();
    void windowLifecycle();
    void badCommandsAreRefused_data();
    void badCommandsAreRefused();
    void driverReportsMissingAnswers_data();
    void driverReportsMissingAnswers();

private:
    xcb_atom_t atom(const char *name);
    QByteArray atomName(xcb_atom_t atom);
    std::optional<Property> property(xcb_window_t window, const char *name);
    quint32 wmState(xcb_window_t window);
    bool isFramed(xcb_window_t window);
    bool exists(xcb_window_t window);
    Reply<xcb_randr_get_monitors_reply_t> monitorList();
    // Sends `command` with "%w" replaced by `window`; fails the test on an error answer.
    void send(QByteArray command, quint32 window);

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = XCB_NONE;
    TestClient m_client;
    quint32 m_parent = 0;
};

xcb_atom_t X11SessionTest::atom(const char *name)
{
    const auto reply = owned(
        xcb_intern_atom_reply(m_connection, xcb_intern_atom(m_connection, 0, quint16(qstrlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

QByteArray X11SessionTest::atomName(xcb_atom_t atom)
{
    const auto reply = owned(xcb_get_atom_name_reply(m_connection, xcb_get_atom_name(m_connection, atom), nullptr));
    return reply ? QByteArray(xcb_get_atom_name_name(reply.get()), xcb_get_atom_name_name_length(reply.get()))
                 : QByteArray();
}

std::optional<Property> X11SessionTest::property(xcb_window_t window, const char *name)
{
    const auto reply = owned(xcb_get_property_reply(m_connection,
        xcb_get_property(m_connection, 0, window, atom(name), XCB_ATOM_ANY, 0, kMaxPropertyWords), nullptr));
    if (!reply || reply->type == XCB_ATOM_NONE || reply->bytes_after != 0) {
        return std::nullopt;
    }
    return Property {atomName(reply->type), reply->format,
        QByteArray(static_cast<const char *>(xcb_get_property_value(reply.get())),
            xcb_get_property_value_length(reply.get()))};
}

// The ICCCM state; no WM_STATE (or a malformed one) counts as withdrawn.
quint32 X11SessionTest::wmState(xcb_window_t window)
{
    const auto state = property(window, "WM_STATE");
    if (!state || state->type != "WM_STATE" || state->format != 32 || state->bytes.size() < 4) {
        return kWithdrawnState;
    }
    return *reinterpret_cast<const quint32 *>(state->bytes.constData());
}

// Reparented into a frame, with the frame's extents published.
bool X11SessionTest::isFramed(xcb_window_t window)
{
    const auto tree = owned(xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, window), nullptr));
    const auto extents = property(window, "_NET_FRAME_EXTENTS");
    return tree && tree->parent != m_root && extents && extents->type == "CARDINAL" && extents->format == 32
        && extents->bytes.size() == 16;
}

bool X11SessionTest::exists(xcb_window_t window)
{
    return bool(
        owned(xcb_get_window_attributes_reply(m_connection, xcb_get_window_attributes(m_connection, window), nullptr)));
}

Reply<xcb_randr_get_monitors_reply_t> X11SessionTest::monitorList()
{
    return owned(xcb_randr_get_monitors_reply(m_connection, xcb_randr_get_monitors(m_connection, m_root, 1), nullptr));
}

void X11SessionTest::send(QByteArray command, quint32 window)
{
    command.replace("%w", "0x" + QByteArray::number(window, 16));
    QVERIFY2(m_client.command(command), qPrintable(m_client.lastError()));
}

void X11SessionTest::initTestCase()
{
    m_connection = xcb_connect(nullptr, nullptr);
    QVERIFY2(!xcb_connection_has_error(m_connection), "no X server: run this test through tests/support/x11-session");
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    QVERIFY2(m_client.start(), qPrintable(m_client.lastError()));
    m_parent = m_client.openWindow("unmapped -- Parent");
    QVERIFY2(m_parent, qPrintable(m_client.lastError()));
}

void X11SessionTest::cleanupTestCase()
{
    if (m_connection) {
        xcb_disconnect(m_connection);
    }
}

void X11SessionTest::windowManagerIsUp()
{
    const auto check = property(m_root, "_NET_SUPPORTING_WM_CHECK");
    QVERIFY(check);
    QCOMPARE(check->type, QByteArray("WINDOW"));
    QCOMPARE(check->bytes.size(), 4);
    const quint32 checkWindow = *reinterpret_cast<const quint32 *>(check->bytes.constData());
    QCOMPARE(property(checkWindow, "_NET_SUPPORTING_WM_CHECK").value_or(Property {}).bytes, check->bytes);
    QCOMPARE(property(checkWindow, "_NET_WM_NAME").value_or(Property {}).bytes, QByteArray("Openbox"));

    // What the window operations rely on.
    const auto supported = property(m_root, "_NET_SUPPORTED");
    QVERIFY(supported && supported->format == 32);
    for (const char *name :
        {"_NET_CLIENT_LIST_STACKING", "_NET_MOVERESIZE_WINDOW", "_NET_FRAME_EXTENTS", "_NET_REQUEST_FRAME_EXTENTS",
            "_NET_ACTIVE_WINDOW", "_NET_WM_STATE_HIDDEN", "_NET_WM_STATE_MAXIMIZED_VERT"}) {
        QVERIFY2(supported->bytes.contains(words({atom(name)})), name);
    }
}

void X11SessionTest::monitors_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<QSize>("sizeMm");
    QTest::addColumn<bool>("primary");
    QTest::addColumn<int>("outputs");

    QTest::newRow("primary first, on the output")
        << 0 << QByteArray(kPrimaryMonitor) << QRect(0, 0, 1920, 1080) << QSize(508, 286) << true << 1;
    QTest::newRow("side monitor on the second output")
        << 1 << QByteArray(kSideMonitor) << QRect(1920, 0, 1280, 1024) << QSize(338, 270) << false << 1;
}

void X11SessionTest::monitors()
{
    QFETCH(int, index);
    QFETCH(QByteArray, name);
    QFETCH(QRect, rect);
    QFETCH(QSize, sizeMm);
    QFETCH(bool, primary);
    QFETCH(int, outputs);

    const auto list = monitorList();
    QVERIFY(list);
    QCOMPARE(list->nMonitors, 2u);
    auto it = xcb_randr_get_monitors_monitors_iterator(list.get());
    for (int i = 0; i < index; ++i) {
        xcb_randr_monitor_info_next(&it);
    }
    const xcb_randr_monitor_info_t *monitor = it.data;
    QCOMPARE(atomName(monitor->name), name);
    QCOMPARE(QRect(monitor->x, monitor->y, monitor->width, monitor->height), rect);
    QCOMPARE(QSize(int(monitor->width_in_millimeters), int(monitor->height_in_millimeters)), sizeMm);
    QCOMPARE(bool(monitor->primary), primary);
    QCOMPARE(xcb_randr_monitor_info_outputs_length(monitor), outputs);
}

void X11SessionTest::primaryOutputCarriesEdid()
{
    const auto list = monitorList();
    QVERIFY(list && list->nMonitors >= 1);
    const xcb_randr_monitor_info_t *primary = xcb_randr_get_monitors_monitors_iterator(list.get()).data;
    QCOMPARE(xcb_randr_monitor_info_outputs_length(primary), 1);
    const xcb_randr_output_t output = xcb_randr_monitor_info_outputs(primary)[0];
    const auto primaryOutput = owned(
        xcb_randr_get_output_primary_reply(m_connection, xcb_randr_get_output_primary(m_connection, m_root), nullptr));
    QVERIFY(primaryOutput);
    QCOMPARE(primaryOutput->output, output);

    const auto reply = owned(xcb_randr_get_output_property_reply(m_connection,
        xcb_randr_get_output_property(m_connection, output, atom("EDID"), XCB_ATOM_ANY, 0, 64, 0, 0), nullptr));
    QVERIFY(reply);
    QCOMPARE(atomName(reply->type), QByteArray("INTEGER"));
    QCOMPARE(int(reply->format), 8);
    QCOMPARE(reply->bytes_after, 0u);
    const QByteArray edid(reinterpret_cast<const char *>(xcb_randr_get_output_property_data(reply.get())),
        xcb_randr_get_output_property_data_length(reply.get()));
    QCOMPARE(edid.size(), 128);
    QCOMPARE(edid.left(8), QByteArray::fromHex("00ffffffffffff00"));
    quint8 sum = 0;
    for (const char byte : edid) {
        sum += quint8(byte);
    }
    QCOMPARE(sum, quint8(0));

    // Four 18-byte descriptors from byte 54; a display descriptor starts 00 00 00 <tag> 00.
    QByteArray name;
    for (int offset = 54; offset < 126; offset += 18) {
        if (edid.mid(offset, 3) == QByteArray(3, '\0') && quint8(edid[offset + 3]) == 0xFC) {
            const QByteArray text = edid.mid(offset + 5, 13);
            name = text.left(text.indexOf('\n'));
        }
    }
    QCOMPARE(name, QByteArray(kPrimaryEdidName));
}

void X11SessionTest::windowProperties_data()
{
    QTest::addColumn<QByteArray>("open"); // "%p": the unmapped parent window
    QTest::addColumn<QByteArray>("then"); // a further command; "%w": the new window
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("type"); // empty: the property must be absent
    QTest::addColumn<int>("format");
    QTest::addColumn<QByteArray>("value");

    const QByteArray greekCompound = QByteArray::fromHex("1b2d46d9ecdde3e1"); // ESC - F: ISO 8859-7 into GR
    const auto row = [](const char *name, const char *open, const char *then, const char *property, const char *type,
                         int format, const QByteArray &value) {
        QTest::newRow(name) << QByteArray(open) << QByteArray(then) << QByteArray(property) << QByteArray(type)
                            << format << value;
    };
    row("utf8 title: _NET_WM_NAME", "-- Grüße, 世界", "", "_NET_WM_NAME", "UTF8_STRING", 8, "Grüße, 世界");
    row("utf8 title: Latin-1 WM_NAME is STRING", "-- Grüße", "", "WM_NAME", "STRING", 8,
        "Gr\xfc\xdf"
        "e");
    row("utf8 title: other WM_NAME is COMPOUND_TEXT", "-- Ωμέγα", "", "WM_NAME", "COMPOUND_TEXT", 8, greekCompound);
    row("utf8 title with blanks kept", "--   two  blanks ", "", "_NET_WM_NAME", "UTF8_STRING", 8, "  two  blanks ");
    row("empty title", "--", "", "_NET_WM_NAME", "UTF8_STRING", 8, "");
    row("latin1 title: WM_NAME", "enc=latin1 -- Café crème", "", "WM_NAME", "STRING", 8, "Caf\xe9 cr\xe8me");
    row("latin1 title: no _NET_WM_NAME", "enc=latin1 -- Café", "", "_NET_WM_NAME", "", 0, "");
    row("compound title: WM_NAME", "enc=compound -- Ωμέγα", "", "WM_NAME", "COMPOUND_TEXT", 8, greekCompound);
    row("compound title: no _NET_WM_NAME", "enc=compound -- Ωμέγα", "", "_NET_WM_NAME", "", 0, "");
    row("no title: no WM_NAME", "", "", "WM_NAME", "", 0, "");
    row("no title: no _NET_WM_NAME", "", "", "_NET_WM_NAME", "", 0, "");
    row("retitled as latin1", "-- Old", "title %w enc=latin1 -- Né", "WM_NAME", "STRING", 8, "N\xe9");
    row("retitled as latin1 drops _NET_WM_NAME", "-- Old", "title %w enc=latin1 -- Né", "_NET_WM_NAME", "", 0, "");
    row("title removed", "-- Old", "title %w", "WM_NAME", "", 0, "");
    row("transient for a window", "transient=%p", "", "WM_TRANSIENT_FOR", "WINDOW", 32, words({m_parent}));
    row("transient for the root", "transient=root", "", "WM_TRANSIENT_FOR", "WINDOW", 32, words({m_root}));
    row("transient for None", "transient=0", "", "WM_TRANSIENT_FOR", "WINDOW", 32, words({0}));
    row("not transient", "", "", "WM_TRANSIENT_FOR", "", 0, "");
    // WM_SIZE_HINTS: flags, x, y, width, height, min, max, increments, min and max aspect, base, gravity.
    row("size hints", "pos=100,200 size=300x200 min=100x80 max=800x600 inc=10x20 base=4x6", "", "WM_NORMAL_HINTS",
        "WM_SIZE_HINTS", 32, words({0x173, 100, 200, 300, 200, 100, 80, 800, 600, 10, 20, 0, 0, 0, 0, 4, 6, 0}));
    row("negative position", "pos=-50,-20", "", "WM_NORMAL_HINTS", "WM_SIZE_HINTS", 32,
        words({0x1, quint32(-50), quint32(-20), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    row("gravity by name", "gravity=SouthEast", "", "WM_NORMAL_HINTS", "WM_SIZE_HINTS", 32,
        words({0x200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, XCB_GRAVITY_SOUTH_EAST}));
    row("gravity by number", "gravity=10", "", "WM_NORMAL_HINTS", "WM_SIZE_HINTS", 32,
        words({0x200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, XCB_GRAVITY_STATIC}));
    row("no hints given", "", "", "WM_NORMAL_HINTS", "WM_SIZE_HINTS", 32, QByteArray(18 * 4, '\0'));
    row("client-side decoration", "csd=10,20,30,40", "", "_GTK_FRAME_EXTENTS", "CARDINAL", 32, words({10, 20, 30, 40}));
    // WM_HINTS: flags (input, state), input, initial_state, icon pixmap, window, x, y, mask, group.
    row("normal start", "", "", "WM_HINTS", "WM_HINTS", 32, words({3, 1, kNormalState, 0, 0, 0, 0, 0, 0}));
    row("iconic start", "iconic unmapped", "", "WM_HINTS", "WM_HINTS", 32,
        words({3, 1, kIconicState, 0, 0, 0, 0, 0, 0}));
    row("WM_CLASS", "", "", "WM_CLASS", "STRING", 8,
        QByteArray("framewright-testclient\0Framewright-testclient\0", 46));
    row("WM_PROTOCOLS", "", "", "WM_PROTOCOLS", "ATOM", 32, words({atom("WM_DELETE_WINDOW")}));
    row("_NET_WM_PID", "", "", "_NET_WM_PID", "CARDINAL", 32, words({quint32(m_client.processId())}));
    row("raw bytes", "unmapped", "prop %w _NET_WM_NAME UTF8_STRING 8 c328", "_NET_WM_NAME", "UTF8_STRING", 8,
        "\xc3\x28");
    row("raw atoms", "unmapped", "prop %w _NET_WM_WINDOW_TYPE ATOM 32 _NET_WM_WINDOW_TYPE_DOCK", "_NET_WM_WINDOW_TYPE",
        "ATOM", 32, words({atom("_NET_WM_WINDOW_TYPE_DOCK")}));
    row("raw 16-bit", "unmapped", "prop %w _FW_TEST CARDINAL 16 1 0xffff", "_FW_TEST", "CARDINAL", 16,
        QByteArray::fromRawData("\x01\x00\xff\xff", 4));
    row("property deleted", "", "delprop %w WM_HINTS", "WM_HINTS", "", 0, "");
}

void X11SessionTest::windowProperties()
{
    QFETCH(QByteArray, open);
    QFETCH(QByteArray, then);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, type);
    QFETCH(int, format);
    QFETCH(QByteArray, value);

    open.replace("%p", "0x" + QByteArray::number(m_parent, 16));
    const quint32 window = m_client.openWindow(open);
    QVERIFY2(window, qPrintable(m_client.lastError()));
    if (!then.isEmpty()) {
        send(then, window);
    }
    // The client answers once the server has carried its requests out, so no polling here.
    const auto actual = property(window, name.constData());
    if (type.isEmpty()) {
        QVERIFY2(!actual, actual ? actual->type.constData() : "");
        return;
    }
    QVERIFY(actual);
    QCOMPARE(actual->type, type);
    QCOMPARE(actual->format, format);
    QCOMPARE(actual->bytes.toHex(' '), value.toHex(' '));
}

void X11SessionTest::mappedWindowIsManaged_data()
{
    QTest::addColumn<QByteArray>("open");
    QTest::addColumn<quint32>("state");

    QTest::newRow("normal window") << QByteArray("size=300x200 -- Managed") << kNormalState;
    QTest::newRow("transient window") << QByteArray("transient=%p -- Dialog") << kNormalState;
    QTest::newRow("window started minimized") << QByteArray("iconic -- Minimized") << kIconicState;
}

void X11SessionTest::mappedWindowIsManaged()
{
    QFETCH(QByteArray, open);
    QFETCH(quint32, state);

    open.replace("%p", "0x" + QByteArray::number(m_parent, 16));
    const quint32 window = m_client.openWindow(open);
    QVERIFY2(window, qPrintable(m_client.lastError()));
    QTRY_COMPARE(wmState(window), state);
    QTRY_VERIFY(isFramed(window));
    QTRY_VERIFY(property(m_root, "_NET_CLIENT_LIST").value_or(Property {}).bytes.contains(words({window})));
}

void X11SessionTest::windowLifecycle()
{
    const quint32 window = m_client.openWindow("-- Lifecycle");
    QVERIFY2(window, qPrintable(m_client.lastError()));
    QTRY_COMPARE(wmState(window), kNormalState);

    send("unmap %w", window);
    QTRY_COMPARE(wmState(window), kWithdrawnState);
    QTRY_VERIFY(!isFramed(window));
    send("map %w", window);
    QTRY_COMPARE(wmState(window), kNormalState);
    send("iconify %w", window);
    QTRY_COMPARE(wmState(window), kIconicState);
    send("map %w", window);
    QTRY_COMPARE(wmState(window), kNormalState);

    // WM_DELETE_WINDOW, as a window manager's close button sends it.
    xcb_client_message_event_t message {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atom("WM_PROTOCOLS");
    message.data.data32[0] = atom("WM_DELETE_WINDOW");
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(m_connection, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&message));
    xcb_flush(m_connection);
    QTRY_VERIFY(!exists(window));
    QVERIFY(!m_client.command("map 0x" + QByteArray::number(window, 16)));

    const quint32 other = m_client.openWindow("unmapped");
    QVERIFY2(other, qPrintable(m_client.lastError()));
    send("destroy %w", other);
    QVERIFY(!exists(other));
}

void X11SessionTest::badCommandsAreRefused_data()
{
    QTest::addColumn<QByteArray>("command");

    QTest::newRow("unknown command") << QByteArray("frobnicate");
    QTest::newRow("unknown option") << QByteArray("open colour=red");
    QTest::newRow("zero width") << QByteArray("open size=0x100");
    QTest::newRow("position out of range") << QByteArray("open pos=40000,0");
    QTest::newRow("octal-looking number is decimal, bad gravity") << QByteArray("open gravity=011");
    QTest::newRow("frame extents short") << QByteArray("open csd=1,2,3");
    QTest::newRow("latin1 title outside Latin-1") << QByteArray("open enc=latin1 -- 世界");
    QTest::newRow("title option in title command") << QByteArray("title %p size=1x1 -- x");
    QTest::newRow("window of another client") << QByteArray("map 0x%r");
    QTest::newRow("odd hex string") << QByteArray("prop %p _FW_TEST STRING 8 abc");
    QTest::newRow("value beyond 16 bits") << QByteArray("prop %p _FW_TEST CARDINAL 16 65536");
    QTest::newRow("format 24") << QByteArray("prop %p _FW_TEST CARDINAL 24 1");
}

void X11SessionTest::badCommandsAreRefused()
{
    QFETCH(QByteArray, command);

    command.replace("%p", "0x" + QByteArray::number(m_parent, 16)).replace("%r", QByteArray::number(m_root, 16));
    QVERIFY(!m_client.command(command));
    QVERIFY2(m_client.lastError().contains("answered \"error "), qPrintable(m_client.lastError()));
    // The client is still in step: the next command gets its own answer.
    QVERIFY2(m_client.command("delprop 0x" + QByteArray::number(m_parent, 16) + " _FW_TEST"),
        qPrintable(m_client.lastError()));
}

void X11SessionTest::driverReportsMissingAnswers_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<bool>("starts");
    QTest::addColumn<QString>("error");

    QTest::newRow("program missing") << "/nonexistent/framewright-testclient" << false << "cannot start";
    QTest::newRow("client exits at once") << "/bin/true" << true << "";
    QTest::newRow("client never answers") << "/usr/bin/tail" << true << "timed out";
}

void X11SessionTest::driverReportsMissingAnswers()
{
    QFETCH(QString, program);
    QFETCH(bool, starts);
    QFETCH(QString, error);

    TestClient client(program);
    QCOMPARE(client.start(), starts);
    if (!starts) {
        QVERIFY2(client.lastError().contains(error), qPrintable(client.lastError()));
        return;
    }
    QVERIFY(!client.command("open", 300));
    QVERIFY2(client.lastError().contains(error), qPrintable(client.lastError()));
    // A client that missed an answer is stopped, so a later answer can never be taken for the next command's.
    QVERIFY(!client.command("open", 300));
    QCOMPARE(client.lastError(), QStringLiteral("the test client is not running"));
}

QTEST_GUILESS_MAIN(X11SessionTest)
#include "x11session_test.moc"
