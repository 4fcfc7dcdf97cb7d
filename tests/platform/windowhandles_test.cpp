// Handles for native window ids: stable while the window lives, never given to another window.
#include "platform/windowhandles.h"

#include <QTest>

#include <string>

class WindowHandlesTest : public QObject
{
    Q_OBJECT

private slots:
    void stableWhileTheWindowLives()
    {
        platform::WindowHandles<std::string> handles;
        const platform::WindowId a = handles.handle("{uuid-a}");
        const platform::WindowId b = handles.handle("{uuid-b}");
        QVERIFY(a != 0 && b != 0 && a != b);
        QCOMPARE(handles.handle("{uuid-a}"), a);
        QCOMPARE(handles.native(b), std::optional<std::string>("{uuid-b}"));
        QCOMPARE(handles.native(0), std::nullopt);
    }

    void neverReusedAfterTheWindowIsGone()
    {
        platform::WindowHandles<uint64_t> handles;
        const platform::WindowId first = handles.handle(7);
        handles.forget(7);
        QCOMPARE(handles.native(first), std::nullopt);
        const platform::WindowId again = handles.handle(7);
        const platform::WindowId other = handles.handle(8);
        QVERIFY(again != first);
        QVERIFY(other != first && other != again);
        handles.forget(99); // never seen: nothing happens
        QCOMPARE(handles.native(again), std::optional<uint64_t>(7));
    }
};

QTEST_APPLESS_MAIN(WindowHandlesTest)
#include "windowhandles_test.moc"
