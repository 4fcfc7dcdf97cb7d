// The main window on a high-density screen: the harness's primary output switched to 3840 x 2160. Where the window
// opens and where a saved position puts it at scale 1, 1.5 and 2 (by Xft.dpi and by QT_SCALE_FACTOR), each in a
// framewright-window of its own, measured with plain X requests; and, in this process at scale 2, "Read window" and
// Apply of a foreign window in the screen's pixels.
#include "entryvalues.h"
#include "mainwnd.h"
#include "rawx.h"
#include "recordingmessageboxes.h"
#include "settings/settingsfile.h"
#include "testclient.h"

#include "platform/x11/x11windowsystem.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr QSize kPrimaryPx(3840, 2160);
constexpr QSize kSidePx(1280, 1024);
// The main window's client area inside the skin's frame (4, 30, 4, 4), in Qt's pixels.
constexpr QSize kOuterLogical(776, 591);
constexpr int kDeadlineMs = 20000;

// Runs a program and reports whether it ended with status 0.
bool run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(kDeadlineMs) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
}

// `a` and `b` differ by at most `tolerance` in each coordinate.
bool near(QPoint a, QPoint b, int tolerance)
{
    return std::abs(a.x() - b.x()) <= tolerance && std::abs(a.y() - b.y()) <= tolerance;
}

bool near(QSize a, QSize b, int tolerance)
{
    return near(QPoint(a.width(), a.height()), QPoint(b.width(), b.height()), tolerance);
}

QString describe(QRect rect)
{
    return QStringLiteral("%1,%2 %3x%4").arg(rect.x()).arg(rect.y()).arg(rect.width()).arg(rect.height());
}

} // namespace

class MainWndScaleTest : public QObject
{
    Q_OBJECT

private:
    // Xft.dpi in the root's resource database, as `xrdb -merge` leaves it; Qt reads it when it starts.
    void setXftDpi(const QByteArray &dpi)
    {
        const QByteArray resources = "Xft.dpi:\t" + dpi + "\n";
        xcb_change_property(m_raw.connection(), XCB_PROP_MODE_REPLACE, m_raw.root(), XCB_ATOM_RESOURCE_MANAGER,
            XCB_ATOM_STRING, 8, quint32(resources.size()), resources.constData());
        m_raw.sync();
    }

    // The managed top-level window of the process, or 0.
    quint32 windowOfProcess(qint64 pid)
    {
        for (const quint32 window : m_raw.values(m_raw.root(), "_NET_CLIENT_LIST")) {
            const std::vector<quint32> owner = m_raw.values(window, "_NET_WM_PID");
            if (!owner.empty() && owner.front() == quint32(pid) && m_raw.wmState(window) == 1) {
                return window;
            }
        }
        return 0;
    }

    QProcessEnvironment childEnvironment(const QByteArray &scaleFactor)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("QT_SCALE_FACTOR"));
        if (!scaleFactor.isEmpty()) {
            environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::fromLatin1(scaleFactor));
        }
        return environment;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(m_raw.connected(), "no X server: run through tests/support/x11-session");
        m_windowSystem = platform::x11::X11WindowSystem::open();
        QVERIFY(m_windowSystem);
        // The dummy outputs take any mode added at run time; the second output moves to the new right edge.
        QVERIFY(run(QStringLiteral("xrandr"),
            {"--newmode", "fw-3840x2160", "209.00", "3840", "3848", "3880", "3920", "2160", "2163", "2168", "2222",
                "+hsync", "-vsync"}));
        QVERIFY(run(QStringLiteral("xrandr"), {"--addmode", "DUMMY0", "fw-3840x2160"}));
        QVERIFY(run(QStringLiteral("xrandr"),
            {"--output", "DUMMY0", "--mode", "fw-3840x2160", "--output", "DUMMY1", "--pos", "3840x0"}));
        // Windows are placed against the window manager's idea of the screen, and this process's against Qt's.
        const std::vector<quint32> desktop {
            quint32(kPrimaryPx.width() + kSidePx.width()), quint32(kPrimaryPx.height())};
        QTRY_VERIFY_WITH_TIMEOUT(m_raw.values(m_raw.root(), "_NET_DESKTOP_GEOMETRY") == desktop, kDeadlineMs);
        QTRY_COMPARE_WITH_TIMEOUT(
            QGuiApplication::primaryScreen()->geometry(), QRect(QPoint(0, 0), kPrimaryPx / 2), kDeadlineMs);
        QVERIFY2(m_client.start(), qPrintable(m_client.lastError()));
    }

    // Xft.dpi back at 96: Qt follows its changes, and this process is to stay at scale 2.
    void cleanup() { setXftDpi("96"); }

    void cleanupTestCase()
    {
        xcb_delete_property(m_raw.connection(), m_raw.root(), XCB_ATOM_RESOURCE_MANAGER);
        m_raw.sync();
    }

    // At scale 2 in this process: Read window gives a foreign window's rectangle in screen pixels, and pixel values
    // applied put it at those screen pixels.
    void readAndApplyInScreenPixels()
    {
        QCOMPARE(qApp->devicePixelRatio(), 2.0);
        const quint32 foreign = m_client.openWindow("pos=1000,700 size=640x480 -- Scaled notepad");
        QVERIFY2(foreign != 0, qPrintable(m_client.lastError()));
        QVERIFY(QTest::qWaitFor([&] { return m_raw.wmState(foreign) == 1 && m_raw.outerFromExtents(foreign); }));
        const QRect before = *m_raw.outerFromExtents(foreign);

        QTemporaryDir dir;
        MainWndServices services;
        services.windowSystem = m_windowSystem.get();
        services.messageBoxes = &m_messageBoxes;
        services.settingsPath = dir.filePath(QStringLiteral("KTZ.ini"));
        services.openUrl = [](const QUrl &) { return true; };
        TMainWnd window(services);
        auto *titles = window.findChild<QListWidget *>(QStringLiteral("TitleLst"));
        const QList<QListWidgetItem *> found = titles->findItems(QStringLiteral("Scaled notepad"), Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        titles->setCurrentItem(found.front());
        window.findChild<QPushButton *>(QStringLiteral("ReadBtn"))->click();
        const auto text = [&window](const char *name) {
            return window.findChild<QLineEdit *>(QString::fromLatin1(name))->text().toInt();
        };
        QCOMPARE(window.findChild<QComboBox *>(QStringLiteral("MonitorCbo"))->currentIndex(), 0);
        QCOMPARE(QRect(text("HorzEdt"), text("VertEdt"), text("WidthEdt"), text("HeightEdt")), before);

        window.LoadControls(entryWith(
            QStringLiteral("x"), QString(), false, 0, 0, 0, 1500, 900, 1000, 700, true, true, true, true, false));
        titles->setCurrentItem(found.front());
        found.front()->setSelected(true);
        window.findChild<QPushButton *>(QStringLiteral("Apply1Btn"))->click();
        QTRY_COMPARE_WITH_TIMEOUT(
            m_raw.outerFromExtents(foreign).value_or(QRect()), QRect(1500, 900, 1000, 700), kDeadlineMs);
        QVERIFY(m_messageBoxes.errors.isEmpty());
    }

    void windowPosition_data()
    {
        QTest::addColumn<QByteArray>("xftDpi");
        QTest::addColumn<QByteArray>("scaleFactor");
        QTest::addColumn<qreal>("scale");
        QTest::addColumn<QPoint>("saved"); // (0, 0): no settings file
        QTest::addColumn<bool>("centred");
        const QPoint none;
        // Representable at every scale: multiples of 6 from the monitor's corner land on whole pixels of Qt's.
        const QPoint onPrimary(600, 300);
        QTest::newRow("first start, scale 1") << QByteArray("96") << QByteArray() << 1.0 << none << true;
        QTest::newRow("first start, Xft.dpi 144") << QByteArray("144") << QByteArray() << 1.5 << none << true;
        QTest::newRow("first start, Xft.dpi 192") << QByteArray("192") << QByteArray() << 2.0 << none << true;
        QTest::newRow("first start, QT_SCALE_FACTOR 1.5")
            << QByteArray("96") << QByteArray("1.5") << 1.5 << none << true;
        QTest::newRow("first start, QT_SCALE_FACTOR 2") << QByteArray("96") << QByteArray("2") << 2.0 << none << true;
        QTest::newRow("saved on the primary, scale 1") << QByteArray("96") << QByteArray() << 1.0 << onPrimary << false;
        QTest::newRow("saved on the primary, Xft.dpi 144")
            << QByteArray("144") << QByteArray() << 1.5 << onPrimary << false;
        QTest::newRow("saved on the primary, Xft.dpi 192")
            << QByteArray("192") << QByteArray() << 2.0 << onPrimary << false;
        QTest::newRow("saved on the primary, QT_SCALE_FACTOR 2")
            << QByteArray("96") << QByteArray("2") << 2.0 << onPrimary << false;
        QTest::newRow("saved on the second monitor, Xft.dpi 144")
            << QByteArray("144") << QByteArray() << 1.5 << QPoint(3840 + 60, 60) << false;
        QTest::newRow("saved on the second monitor, QT_SCALE_FACTOR 1.5")
            << QByteArray("96") << QByteArray("1.5") << 1.5 << QPoint(3840 + 96, 30) << false;
        // 1552 x 1182 screen pixels from (2600, 1100) pass the primary's right and bottom edges.
        QTest::newRow("saved where only the scale-1 size fits, Xft.dpi 192")
            << QByteArray("192") << QByteArray() << 2.0 << QPoint(2600, 1100) << true;
    }

    // The window opens where it should in screen pixels, at its size times the scale, and the position written at
    // exit is where it stood.
    void windowPosition()
    {
        QFETCH(QByteArray, xftDpi);
        QFETCH(QByteArray, scaleFactor);
        QFETCH(qreal, scale);
        QFETCH(QPoint, saved);
        QFETCH(bool, centred);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("KTZ.ini"));
        if (!saved.isNull()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QStringLiteral("[General]\nLeft=%1\nTop=%2\n").arg(saved.x()).arg(saved.y()).toUtf8());
        }
        setXftDpi(xftDpi);
        QProcess program;
        program.setProcessEnvironment(childEnvironment(scaleFactor));
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(QStringLiteral(FRAMEWRIGHT_WINDOW_PROGRAM), {QStringLiteral("--settings"), path});
        QVERIFY(program.waitForStarted());

        quint32 window = 0;
        QVERIFY(QTest::qWaitFor([&] { return (window = windowOfProcess(program.processId())) != 0; }, kDeadlineMs));
        const QSize expectedSize = kOuterLogical * scale;
        QRect outer;
        QPoint expected;
        const bool placed = QTest::qWaitFor(
            [&] {
                outer = m_raw.outerFromFrame(window).value_or(QRect());
                expected = centred
                    ? QPoint((kPrimaryPx.width() - outer.width()) / 2, (kPrimaryPx.height() - outer.height()) / 2)
                    : saved;
                // Centred from Qt's whole pixels, the corner may be half a pixel of Qt's off at a fractional scale.
                return near(outer.size(), expectedSize, 1) && near(outer.topLeft(), expected, centred ? 1 : 0);
            },
            kDeadlineMs);
        QVERIFY2(placed,
            qPrintable(QStringLiteral("the window is at %1, expected %2,%3 at %4x%5")
                           .arg(describe(outer))
                           .arg(expected.x())
                           .arg(expected.y())
                           .arg(expectedSize.width())
                           .arg(expectedSize.height())));

        program.terminate(); // the shut-down's save, as at a logout
        QVERIFY(program.waitForFinished(kDeadlineMs));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        const SettingsFile file(path);
        QCOMPARE(
            QPoint(file.readInteger("General", "Left", 0), file.readInteger("General", "Top", 0)), outer.topLeft());
    }

private:
    RawX m_raw;
    TestClient m_client;
    std::unique_ptr<platform::x11::X11WindowSystem> m_windowSystem;
    RecordingMessageBoxes m_messageBoxes;
};

// This process runs at scale 2; each program it starts gets its own scale.
int main(int argc, char **argv)
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication application(argc, argv);
    MainWndScaleTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "mainwndscale_test.moc"
