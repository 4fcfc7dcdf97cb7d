// Start-up clock: QProcess for the program, an xcb connection of its own polling the window tree.
#include "startupclock.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <memory>
#include <xcb/xcb.h>

namespace {

constexpr std::chrono::seconds kStartBudget {20};

template<typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

class Display
{
public:
    Display()
        : m_connection(xcb_connect(nullptr, nullptr))
    { }
    ~Display() { xcb_disconnect(m_connection); }
    Display(const Display &) = delete;
    Display &operator=(const Display &) = delete;

    bool ok() const { return xcb_connection_has_error(m_connection) == 0; }
    xcb_window_t root() const { return xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root; }

    // Whether a viewable window below `window` has a name (_NET_WM_NAME or WM_NAME) containing `name`.
    bool hasViewableWindow(xcb_window_t window, const QByteArray &name)
    {
        Reply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, window), nullptr), &std::free);
        if (!tree) {
            return false;
        }
        const xcb_window_t *children = xcb_query_tree_children(tree.get());
        const int count = xcb_query_tree_children_length(tree.get());
        for (int i = 0; i < count; ++i) {
            if ((isViewable(children[i]) && nameContains(children[i], name)) || hasViewableWindow(children[i], name)) {
                return true;
            }
        }
        return false;
    }

private:
    bool isViewable(xcb_window_t window)
    {
        Reply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(m_connection, xcb_get_window_attributes(m_connection, window), nullptr),
            &std::free);
        return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    }

    bool nameContains(xcb_window_t window, const QByteArray &name)
    {
        for (const xcb_atom_t atom : {netWmName(), xcb_atom_t(XCB_ATOM_WM_NAME)}) {
            Reply<xcb_get_property_reply_t> property(
                xcb_get_property_reply(m_connection,
                    xcb_get_property(m_connection, 0, window, atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 256), nullptr),
                &std::free);
            if (property && property->format == 8) {
                const QByteArray value(static_cast<const char *>(xcb_get_property_value(property.get())),
                    xcb_get_property_value_length(property.get()));
                if (value.contains(name)) {
                    return true;
                }
            }
        }
        return false;
    }

    xcb_atom_t netWmName()
    {
        if (m_netWmName == XCB_ATOM_NONE) {
            static constexpr char kName[] = "_NET_WM_NAME";
            Reply<xcb_intern_atom_reply_t> reply(
                xcb_intern_atom_reply(m_connection, xcb_intern_atom(m_connection, 0, sizeof kName - 1, kName), nullptr),
                &std::free);
            m_netWmName = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        }
        return m_netWmName;
    }

    xcb_connection_t *m_connection;
    xcb_atom_t m_netWmName = XCB_ATOM_NONE;
};

} // namespace

std::optional<std::chrono::nanoseconds> measureStartup(
    const QString &program, const QString &windowName, const QStringList &arguments)
{
    Display display;
    QTemporaryDir folder;
    const QString copy = folder.filePath(QStringLiteral("framewright"));
    if (!display.ok() || !folder.isValid() || !QFile::copy(program, copy)) {
        return std::nullopt;
    }
    const QByteArray name = windowName.toUtf8();
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const auto start = std::chrono::steady_clock::now();
    process.start(copy, arguments);
    std::optional<std::chrono::nanoseconds> elapsed;
    while (std::chrono::steady_clock::now() - start < kStartBudget && process.state() != QProcess::NotRunning) {
        if (display.hasViewableWindow(display.root(), name)) {
            elapsed = std::chrono::steady_clock::now() - start;
            break;
        }
        QThread::usleep(500);
    }
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
    return elapsed;
}
