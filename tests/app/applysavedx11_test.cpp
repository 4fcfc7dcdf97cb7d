// Applying saved entries on a real X server with openbox (tests/support/x11-session) to test-client windows:
// plain and regular-expression titles, expressions that do not compile or exceed the engine's budget, entries
// without a title, and a window opened after the title list was filled. Moved windows are checked with raw X
// requests; the others must not have moved.
#include "mainwnd.h"
#include "rawx.h"
#include "recordingmessageboxes.h"
#include "testclient.h"

#include "platform/x11/x11windowsystem.h"

#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <map>

using RectByTitle = std::map<QString, QRect>;
Q_DECLARE_METATYPE(RectByTitle)

namespace {

// Entries: monitor, alignment, offsets and size in pixels unless said.
const char kSettings[] = "[General]\nPresetCount=5\nPreset1=Plain\nPreset2=Regex\nPreset3=Broken\nPreset4=Guard\n"
                         "Preset5=NoTitle\n"
                         "[Plain]\nTitle=Notepad\nScreenIndex=1\nHorzValue=100\nHorzPx=1\nVertValue=50\nVertPx=1\n"
                         "WidthValue=400\nWidthPx=1\nHeightValue=300\nHeightPx=1\n"
                         "[Regex]\nTitle=^Untitled\nRegex=1\nHorzIndex=2\nVertIndex=2\nHorzPx=1\nVertPx=1\n"
                         "WidthValue=500\nWidthPx=1\nHeightValue=400\nHeightPx=1\n"
                         "[Broken]\nTitle=(Notepad\nRegex=1\nWidthValue=10\nWidthPx=1\nHeightValue=10\nHeightPx=1\n"
                         "[Guard]\nTitle=^(a|aa)*c\nRegex=1\nWidthValue=10\nWidthPx=1\nHeightValue=10\nHeightPx=1\n"
                         "[NoTitle]\nHorzIndex=1\nVertIndex=1\nWidthValue=50\nHeightValue=50\n";

const QStringList kTitles
    = {"Untitled - Notepad", "NOTEPAD++ settings", "Note pad", "Document - Untitled", QString(255, QLatin1Char('a'))};

} // namespace

class ApplySavedX11Test : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_windowSystem = platform::x11::X11WindowSystem::open();
        QVERIFY2(m_windowSystem && m_raw.connected(), "no X server: run through tests/support/x11-session");
        QVERIFY2(m_client.start(), qPrintable(m_client.lastError()));
        for (int i = 0; i < kTitles.size(); ++i) {
            openManaged(kTitles[i], QStringLiteral("pos=%1,%2 size=300x200").arg(40 + 30 * i).arg(60 + 30 * i));
        }
        const QString path = m_dir.filePath(QStringLiteral("KTZ.ini"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(kSettings);
        file.close();
        MainWndServices services;
        services.windowSystem = m_windowSystem.get();
        services.messageBoxes = &m_messageBoxes;
        services.settingsPath = path;
        services.openUrl = [](const QUrl &) { return true; };
        m_window = std::make_unique<TMainWnd>(services);
        // Opened after the title list was filled: found by title all the same.
        openManaged(QStringLiteral("Later Notepad"), QStringLiteral("pos=500,500 size=300x200"));
    }

    void cleanupTestCase() { m_window.reset(); }

    void apply_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("selectedTitles");
        QTest::addColumn<RectByTitle>("moved");
        const QRect plain(1920 + 100, 50, 400, 300);
        QTest::newRow("plain title: a case-insensitive part, windows opened later too")
            << QStringList {"Plain"} << QStringList {}
            << RectByTitle {{"Untitled - Notepad", plain}, {"NOTEPAD++ settings", plain}, {"Later Notepad", plain}};
        QTest::newRow("regular expression anchored at the start") << QStringList {
            "Regex"} << QStringList {} << RectByTitle {{"Untitled - Notepad", QRect(1920 - 500, 1080 - 400, 500, 400)}};
        QTest::newRow("an expression that does not compile moves nothing")
            << QStringList {"Broken"} << QStringList {} << RectByTitle {};
        QTest::newRow("an expression beyond the engine's budget moves nothing")
            << QStringList {"Guard"} << QStringList {} << RectByTitle {};
        QTest::newRow("an entry without title among others does nothing")
            << QStringList {"Regex", "NoTitle"} << QStringList {"Note pad"}
            << RectByTitle {{"Untitled - Notepad", QRect(1920 - 500, 1080 - 400, 500, 400)}};
        QTest::newRow("the only entry, without title, goes to the selected titles")
            << QStringList {"NoTitle"} << QStringList {"Note pad", "Document - Untitled"}
            << RectByTitle {
                   {"Note pad", QRect(480, 270, 960, 540)}, {"Document - Untitled", QRect(480, 270, 960, 540)}};
    }

    void apply()
    {
        QFETCH(QStringList, entries);
        QFETCH(QStringList, selectedTitles);
        QFETCH(RectByTitle, moved);
        std::map<QString, QRect> before;
        for (const auto &[title, window] : m_windows) {
            before[title] = *m_raw.outerFromExtents(window);
        }
        auto *saved = m_window->findChild<QTreeWidget *>(QStringLiteral("SavedLvw"));
        saved->clearSelection();
        for (int i = 0; i < saved->topLevelItemCount(); ++i) {
            saved->topLevelItem(i)->setSelected(entries.contains(saved->topLevelItem(i)->text(0)));
        }
        auto *titles = m_window->findChild<QListWidget *>(QStringLiteral("TitleLst"));
        for (int i = 0; i < titles->count(); ++i) {
            titles->item(i)->setSelected(selectedTitles.contains(titles->item(i)->text()));
        }
        m_window->findChild<QPushButton *>(QStringLiteral("Apply2Btn"))->click();

        for (const auto &[title, window] : m_windows) {
            const auto found = moved.find(title);
            const QRect expected = found != moved.end() ? found->second : before[title];
            QTRY_COMPARE(m_raw.outerFromExtents(window).value_or(QRect()), expected);
            QCOMPARE(m_raw.outerFromFrame(window).value_or(QRect()), expected);
        }
        QVERIFY(m_messageBoxes.errors.isEmpty());
    }

private:
    void openManaged(const QString &title, const QString &options)
    {
        const quint32 window = m_client.openWindow(options.toUtf8() + " -- " + title.toUtf8());
        QVERIFY2(window != 0, qPrintable(m_client.lastError()));
        QVERIFY(QTest::qWaitFor([&] { return m_raw.wmState(window) == 1 && m_raw.outerFromExtents(window); }));
        m_windows.emplace_back(title, window);
    }

    QTemporaryDir m_dir;
    std::unique_ptr<platform::x11::X11WindowSystem> m_windowSystem;
    RawX m_raw;
    TestClient m_client;
    std::vector<std::pair<QString, quint32>> m_windows;
    RecordingMessageBoxes m_messageBoxes;
    std::unique_ptr<TMainWnd> m_window;
};

QTEST_MAIN(ApplySavedX11Test)
#include "applysavedx11_test.moc"
