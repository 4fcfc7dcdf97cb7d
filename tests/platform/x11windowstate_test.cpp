// Whether a restore record read from a window still describes it, without an X server: the maximized rectangle a
// window manager adjusts after the record was taken still matches; a window maximized over another monitor, one
// that is not maximized and one without a record do not.
#include "platform/x11/x11windowstate.h"

#include <QTest>

using namespace platform::x11;

class X11WindowStateTest : public QObject
{
    Q_OBJECT

private slots:
    void recordMatches_data()
    {
        QTest::addColumn<QRect>("recordedMaximized");
        QTest::addColumn<QRect>("outerNow");
        QTest::addColumn<bool>("maximized");
        QTest::addColumn<bool>("matches");
        const QRect primary(0, 0, 1920, 1080);
        const QRect side(1920, 0, 1280, 1024);
        QTest::newRow("as recorded") << primary << primary << true << true;
        QTest::newRow("rounded to increments once more after the record")
            << primary << QRect(1, 0, 1918, 1068) << true << true;
        QTest::newRow("recorded halfway through a maximizing in two steps")
            << QRect(100, 0, 800, 1080) << primary << true << true;
        QTest::newRow("maximized again over the other monitor") << primary << side << true << false;
        QTest::newRow("maximized again over the other monitor, back") << side << primary << true << false;
        QTest::newRow("no longer maximized") << primary << QRect(100, 100, 800, 600) << false << false;
    }

    void recordMatches()
    {
        QFETCH(QRect, recordedMaximized);
        QFETCH(QRect, outerNow);
        QFETCH(bool, maximized);
        QFETCH(bool, matches);
        WindowState state;
        state.maximizedHorz = maximized;
        state.maximizedVert = maximized;
        state.client = outerNow;
        state.record = RestoreRecord {100, 100, 800, 600, recordedMaximized.x(), recordedMaximized.y(),
            recordedMaximized.width(), recordedMaximized.height()};
        QCOMPARE(::platform::x11::recordMatches(state), matches);
        state.record.reset();
        QVERIFY(!::platform::x11::recordMatches(state));
    }
};

QTEST_GUILESS_MAIN(X11WindowStateTest)
#include "x11windowstate_test.moc"
