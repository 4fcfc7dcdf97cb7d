// The main window in the shipped skin's frame (offscreen): the client area keeps 768 x 557 inside the frame and
// the controls sit inside it; --no-skin keeps the platform's frame and look and leaves the settings as they are.
#include <QTest>

#include "mainwndfixture.h"

class MainWndSkinTest : public QObject
{
    Q_OBJECT

private slots:
    void framedAroundTheClientArea()
    {
        MainWndFixture f;
        TMainWnd &w = f.start();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(w.contentsRect(), QRect(4, 30, 768, 557));
        QCOMPARE(w.size(), QSize(776, 591));
        QVERIFY(w.findChild<QWidget *>(QStringLiteral("FrameOverlay")));
        // The controls moved in with the client area: the Exit button at (373, 518) of it.
        QCOMPARE(f.control("ExitBtn")->pos(), QPoint(4 + 373, 30 + 518));
    }

    void noSkinKeepsThePlatformFrame()
    {
        MainWndFixture f;
        f.noSkin = true;
        TMainWnd &w = f.start();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(!w.windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(w.size(), QSize(768, 557));
        QCOMPARE(w.contentsRect(), QRect(0, 0, 768, 557));
        QVERIFY(!w.findChild<QWidget *>(QStringLiteral("FrameOverlay")));
        QCOMPARE(f.control("ExitBtn")->pos(), QPoint(373, 518));
        // Centred at the unframed size; the switch itself is not written anywhere.
        QCOMPARE(w.pos(), QPoint((1920 - 768) / 2, (1080 - 557) / 2));
        f.end();
        QVERIFY(!f.settingsText().toLower().contains("skin"));
    }
};

QTEST_MAIN(MainWndSkinTest)
#include "mainwndskin_test.moc"
