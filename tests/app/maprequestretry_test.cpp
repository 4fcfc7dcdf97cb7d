// A window shown while the window manager loses its map request (as one that is still starting can) gets mapped
// all the same, because its map request is sent again until it is mapped or hidden.
// Runs on a private Xvfb with the minimal window manager, made before the application object connects to it.
#include "maprequestretry.h"
#include "minimalwm.h"
#include "privatexserver.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

MinimalWindowManager *windowManager = nullptr;

// The window's map state as the server has it now.
int mapState(const QWidget &window)
{
    xcb_connection_t *connection = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    const std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> attributes(
        xcb_get_window_attributes_reply(
            connection, xcb_get_window_attributes(connection, xcb_window_t(window.winId())), nullptr),
        &std::free);
    return attributes ? attributes->map_state : -1;
}

} // namespace

class MapRequestRetryTest : public QObject
{
    Q_OBJECT

private slots:
    void lostMapRequestLeavesWindowUnmapped();
    void lostMapRequestIsSentAgain();
    void hiddenWindowIsLeftAlone();
};

// The premise: without the retry, a window whose map request was lost stays unmapped.
void MapRequestRetryTest::lostMapRequestLeavesWindowUnmapped()
{
    QWidget window;
    window.resize(200, 100);
    const int before = windowManager->mapRequests();
    window.show();
    QTRY_COMPARE(windowManager->mapRequests(), before + 1);
    QCOMPARE(mapState(window), int(XCB_MAP_STATE_UNMAPPED));
}

void MapRequestRetryTest::lostMapRequestIsSentAgain()
{
    QWidget window;
    window.resize(200, 100);
    window.show();
    MapRequestRetry::watch(&window);
    QTRY_COMPARE(mapState(window), int(XCB_MAP_STATE_VIEWABLE));
    QTRY_VERIFY(window.findChild<MapRequestRetry *>() == nullptr);
}

// A window hidden before it was mapped is not mapped again behind the program's back.
void MapRequestRetryTest::hiddenWindowIsLeftAlone()
{
    QWidget window;
    window.resize(200, 100);
    window.show();
    MapRequestRetry::watch(&window);
    window.hide();
    QTRY_VERIFY(window.findChild<MapRequestRetry *>() == nullptr);
    QCOMPARE(mapState(window), int(XCB_MAP_STATE_UNMAPPED));
}

int main(int argc, char **argv)
{
    PrivateXServer server;
    if (server.display().isEmpty()) {
        std::fprintf(stderr, "maprequestretry_test: the private X server did not start\n");
        return 1;
    }
    MinimalWindowManager wm(server.display().constData(), MinimalWindowManager::FirstMapRequest::Lost);
    if (!wm.running()) {
        std::fprintf(stderr, "maprequestretry_test: the window manager did not start\n");
        return 1;
    }
    windowManager = &wm;
    qputenv("DISPLAY", server.display());
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication application(argc, argv);
    MapRequestRetryTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "maprequestretry_test.moc"
