// The main window on a real X server with openbox and two monitors (tests/support/x11-session): the monitor
// list, the saved window position, and a screenshot of the window (mainwnd-x11.png in the working folder).
#include "mainwnd.h"
#include "recordingmessageboxes.h"
#include "settings/settingsfile.h"

#include "platform/x11/x11windowsystem.h"

#include <QComboBox>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

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
    std::unique_ptr<platform::x11::X11WindowSystem> m_windowSystem;
    RecordingMessageBoxes m_messageBoxes;
};

QTEST_MAIN(MainWndX11Test)
#include "mainwndx11_test.moc"
