// The main window on a real X server with openbox and two monitors (tests/support/x11-session): the monitor
// list, the saved window position, the second monitor switched off and on again while the window and a dialog stand
// on it, and a screenshot of the window (mainwnd-x11.png in the working folder).
#include "mainwnd.h"
#include "rawx.h"
#include "recordingmessageboxes.h"
#include "settings/settingsfile.h"

#include "entries/cparameters.h"
#include "platform/x11/x11windowsystem.h"

#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QRect kSide(1920, 0, 1280, 1024);

bool xrandr(const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(QStringLiteral("xrandr"), arguments);
    return process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool switchSideMonitor(bool on)
{
    return on ? xrandr({"--output", "DUMMY1", "--mode", "1280x1024", "--pos", "1920x0"})
              : xrandr({"--output", "DUMMY1", "--off"});
}

// Switches the side monitor on again however the test ends: the next test of the session expects two monitors.
struct SideMonitorBack
{
    ~SideMonitorBack()
    {
        if (QGuiApplication::screens().size() < 2) {
            switchSideMonitor(true);
            QTRY_COMPARE_WITH_TIMEOUT(QGuiApplication::screens().size(), 2, 20000);
        }
    }
};

} // namespace

class MainWndX11Test : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TMainWnd> start(const QByteArray &settings)
    {
        const QString path = m_dir.filePath(QStringLiteral("KTZ.ini"));
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(settings);
        file.close();
        MainWndServices services;
        services.windowSystem = m_windowSystem.get();
        services.messageBoxes = &m_messageBoxes;
        services.settingsPath = path;
        services.openUrl = [](const QUrl &) { return true; };
        return std::make_unique<TMainWnd>(services);
    }

private slots:
    void initTestCase()
    {
        m_windowSystem = platform::x11::X11WindowSystem::open();
        QVERIFY2(m_windowSystem, "no X server: run through tests/support/x11-session");
    }

    void monitorListNamesBothMonitors()
    {
        auto window = start("");
        auto *monitors = window->findChild<QComboBox *>(QStringLiteral("MonitorCbo"));
        QCOMPARE(monitors->count(), 2);
        QCOMPARE(monitors->itemText(0), QStringLiteral("1 - FW Test 1920"));
        QCOMPARE(monitors->itemText(1), QStringLiteral("2 - DUMMY1"));
        QCOMPARE(monitors->currentIndex(), 0);
    }

    void savedPosition_data()
    {
        QTest::addColumn<QPoint>("saved");
        QTest::addColumn<QPoint>("shown");
        QTest::newRow("wholly on the second monitor is used") << QPoint(2100, 200) << QPoint(2100, 200);
        // Centred at the framed size: 768 x 557 inside the skin's frame (4, 30, 4, 4).
        QTest::newRow("straddling both is centred on the primary")
            << QPoint(1700, 200) << QPoint((1920 - 776) / 2, (1080 - 591) / 2);
    }

    void savedPosition()
    {
        QFETCH(QPoint, saved);
        QFETCH(QPoint, shown);
        auto window = start(QStringLiteral("[General]\nLeft=%1\nTop=%2\n").arg(saved.x()).arg(saved.y()).toUtf8());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        // The window is frameless under the skin's frame: its position is its outer position.
        QTRY_COMPARE(window->pos(), shown);
        window->close();
        window.reset();
        // The position written at exit is where the window stood.
        SettingsFile file(m_dir.filePath(QStringLiteral("KTZ.ini")));
        QCOMPARE(QPoint(file.readInteger("General", "Left", 0), file.readInteger("General", "Top", 0)), shown);
    }

    // The window and a dialog stand on the side monitor, which is switched off: both come wholly onto the primary one,
    // each moved no further than it needs, and the monitor list loses the side monitor, so that the selected index 1,
    // now past the list, stands for the primary monitor. Switched on again, the monitor is listed and selected again.
    void monitorSwitchedOffAndOnAgain()
    {
        SideMonitorBack sideMonitorBack;
        auto window = start("[General]\nLeft=2100\nTop=200\n");
        cParameters onSide(QStringLiteral("side"), nullptr);
        onSide.placement.screenIndex = 1;
        window->LoadControls(onSide);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QDialog dialog(window.get());
        dialog.resize(300, 200);
        dialog.move(2850, 700);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const auto outer = [this](const QWidget &shown) { return m_raw.outerFromFrame(xcb_window_t(shown.winId())); };
        QTRY_COMPARE(outer(*window)->topLeft(), QPoint(2100, 200));
        QTRY_VERIFY(kSide.contains(*outer(dialog)));
        const QSize windowSize = outer(*window)->size();
        const QSize dialogSize = outer(dialog)->size();
        auto *monitors = window->findChild<QComboBox *>(QStringLiteral("MonitorCbo"));
        QCOMPARE(monitors->currentIndex(), 1);

        QVERIFY(switchSideMonitor(false));
        QTRY_COMPARE(monitors->count(), 1);
        QCOMPARE(window->MonitorCount, 1);
        QCOMPARE(monitors->currentIndex(), -1);
        QCOMPARE(window->ComputePlacement(1), window->ComputePlacement(0));
        QTRY_COMPARE(outer(*window), std::optional<QRect>(QRect(QPoint(1920 - windowSize.width(), 200), windowSize)));
        QTRY_COMPARE(outer(dialog), std::optional<QRect>(QRect(QPoint(1920 - dialogSize.width(), 700), dialogSize)));
        QTRY_COMPARE(window->pos(), outer(*window)->topLeft());

        QVERIFY(switchSideMonitor(true));
        QTRY_COMPARE(monitors->count(), 2);
        QCOMPARE(monitors->itemText(1), QStringLiteral("2 - DUMMY1"));
        QCOMPARE(monitors->currentIndex(), 1);
        QCOMPARE(window->MonitorCount, 2);
    }

    void screenshot()
    {
        auto window = start("");
        window->RestorePresets();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTRY_VERIFY(window->isActiveWindow());
        const QRect outer = window->geometry(); // frameless under the skin's frame
        const QPixmap shot = window->screen()->grabWindow(0, outer.x(), outer.y(), outer.width(), outer.height());
        QVERIFY(shot.save(QStringLiteral("mainwnd-x11.png")));
        QCOMPARE(shot.size(), outer.size());
    }

private:
    QTemporaryDir m_dir;
    RawX m_raw;
    std::unique_ptr<platform::x11::X11WindowSystem> m_windowSystem;
    RecordingMessageBoxes m_messageBoxes;
};

QTEST_MAIN(MainWndX11Test)
#include "mainwndx11_test.moc"
