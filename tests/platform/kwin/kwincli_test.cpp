// The framewright program on a headless KWin (tests/support/kwin-session), run as a user runs it, with windows of
// the Wayland test client: --windows, --match, --apply in pixels and in percent on the second output in every
// alignment, a size the window refuses, a maximized entry, an entry without a title (the active window), and
// --watch for a window that appears later and one retitled into a match. Every result is read back through KWin's
// own scripting (KWinOracle).
#include "framewrightrun.h"
#include "kwinoracle.h"
#include "waylandclient.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The second output of kwin-session; entries name it as ScreenIndex=1.
const QRect kSecond(1920, 0, 1920, 1080);
const QString kTarget = QStringLiteral("Command line target");

// One entry per alignment (HorzIndex, VertIndex: 0 near edge, 1 centre, 2 far edge) for `kTarget`, in pixels
// ("Px<h><v>": 640 x 480, offsets 10 and 20 px) and in percent ("Pct<h><v>": 50% x 25%, offsets 30 and 40 px).
QByteArray settings()
{
    QByteArray presets;
    QByteArray sections;
    int count = 0;
    for (const char *kind : {"Px", "Pct"}) {
        for (int h = 0; h < 3; ++h) {
            for (int v = 0; v < 3; ++v) {
                const QByteArray name = kind + QByteArray::number(h) + QByteArray::number(v);
                presets += "Preset" + QByteArray::number(++count) + "=" + name + "\n";
                const bool pixels = kind == QByteArrayLiteral("Px");
                sections += "[" + name + "]\nTitle=" + kTarget.toUtf8() + "\nScreenIndex=1\nHorzIndex="
                    + QByteArray::number(h) + "\nVertIndex=" + QByteArray::number(v) + "\nHorzPx=1\nVertPx=1\n"
                    + (pixels ? "HorzValue=10\nVertValue=20\nWidthValue=640\nWidthPx=1\nHeightValue=480\nHeightPx=1\n"
                              : "HorzValue=30\nVertValue=40\nWidthValue=50\nHeightValue=25\n");
            }
        }
    }
    const QByteArray others[][2] = {
        {"Refused",
            "Title=Refusing target\nScreenIndex=1\nHorzIndex=2\nVertIndex=2\nWidthValue=100\nWidthPx=1\n"
            "HeightValue=100\nHeightPx=1\n"},
        {"Maximized",
            "Title=Maximized target\nScreenIndex=1\nHorzValue=100\nHorzPx=1\nVertValue=100\nVertPx=1\n"
            "WidthValue=400\nWidthPx=1\nHeightValue=300\nHeightPx=1\nMaximized=1\n"},
        {"Watched",
            "Title=^Watched\nRegex=1\nHorzIndex=1\nVertIndex=1\nWidthValue=500\nWidthPx=1\n"
            "HeightValue=400\nHeightPx=1\n"},
        {"Retitled", "Title=renamed into a match\nScreenIndex=1\nWidthValue=25\nHeightValue=25\n"},
        {"Left half", "VertIndex=1\nWidthValue=50\nHeightValue=100\n"},
    };
    for (const auto &[name, body] : others) {
        presets += "Preset" + QByteArray::number(++count) + "=" + name + "\n";
        sections += "[" + QByteArray(name) + "]\n" + body;
    }
    return "[General]\nPresetCount=" + QByteArray::number(count) + "\n" + presets + sections;
}

// Where an entry of `size` lands on the second output: near edge + offset, far edge - offset, and centred in the
// space the offset leaves.
int alignedStart(int start, int extent, int size, int alignment, int offset)
{
    return alignment == 0 ? start + offset
        : alignment == 1  ? start + (extent - size - offset) / 2
                          : start + extent - size - offset;
}

} // namespace

class KWinCliTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"), "run through tests/support/kwin-session");
        QVERIFY(m_oracle.start());
        QVERIFY2(m_client.start(), qPrintable(m_client.lastError()));
        m_settings = m_dir.filePath(QStringLiteral("KTZ.ini"));
        QFile file(m_settings);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(settings()) > 0);
    }

    void windowsAreListedAsKWinHasThem()
    {
        const int a = m_client.open(QStringLiteral("Listed below"));
        const int b = m_client.open(QStringLiteral("Listed on top"));
        QVERIFY(a && b);
        const Run run = framewright({"--windows"});
        QCOMPARE(run.status, 0);
        QStringList listed;
        for (const QString &line : run.out.split(u'\n', Qt::SkipEmptyParts)) {
            const QString title = line.section(u'\t', -1);
            if (title.startsWith(QLatin1String("Listed "))) {
                const QRect frame = oracleFrame(title);
                QVERIFY2(line.contains(QStringLiteral("\t%1,%2 %3x%4\t")
                                           .arg(frame.x())
                                           .arg(frame.y())
                                           .arg(frame.width())
                                           .arg(frame.height())),
                    qPrintable(line));
                listed << title;
            }
        }
        QCOMPARE(listed, QStringList({"Listed on top", "Listed below"}));
        QVERIFY(m_client.command(QStringLiteral("close %1").arg(a)));
        QVERIFY(m_client.command(QStringLiteral("close %1").arg(b)));
    }

    void matchMovesNothing()
    {
        const int number = m_client.open(kTarget);
        QVERIFY(number);
        const QRect before = oracleFrame(kTarget);
        const Run run = framewright({"--match", "Px00"});
        QCOMPARE(run.status, 0);
        QVERIFY2(run.out.endsWith(kTarget + u'\n'), qPrintable(run.out));
        QCOMPARE(oracleFrame(kTarget), before);
        QCOMPARE(framewright({"--match", "Refused"}).status, 1);
        QVERIFY(m_client.command(QStringLiteral("close %1").arg(number)));
    }

    void applyInEveryAlignment_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QRect>("expected");
        for (const bool pixels : {true, false}) {
            const QSize size = pixels ? QSize(640, 480) : QSize(kSecond.width() / 2, kSecond.height() / 4);
            const QPoint offset = pixels ? QPoint(10, 20) : QPoint(30, 40);
            for (int h = 0; h < 3; ++h) {
                for (int v = 0; v < 3; ++v) {
                    const QString entry = QStringLiteral("%1%2%3").arg(pixels ? "Px" : "Pct").arg(h).arg(v);
                    const QRect expected(alignedStart(kSecond.x(), kSecond.width(), size.width(), h, offset.x()),
                        alignedStart(kSecond.y(), kSecond.height(), size.height(), v, offset.y()), size.width(),
                        size.height());
                    QTest::newRow(qPrintable(entry)) << entry << expected;
                }
            }
        }
    }

    void applyInEveryAlignment()
    {
        QFETCH(QString, entry);
        QFETCH(QRect, expected);
        if (!m_target) {
            m_target = m_client.open(kTarget);
            QVERIFY(m_target);
        }
        const Run run = framewright({"--apply", entry});
        QCOMPARE(run.status, 0);
        QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
        QCOMPARE(oracleFrame(kTarget), expected); // landed when the program ends
    }

    void applyARefusedSizeKeepsTheAlignedCorner()
    {
        const int number = m_client.open(QStringLiteral("Refusing target"), QStringLiteral("min=300x200"));
        QVERIFY(number);
        const Run run = framewright({"--apply", "Refused"});
        QCOMPARE(run.status, 0);
        const QRect frame = oracleFrame(QStringLiteral("Refusing target"));
        QCOMPARE(frame.width(), 300); // Breeze draws no side borders
        QVERIFY(frame.height() > 200);
        QCOMPARE(frame.bottomRight(), kSecond.bottomRight());
        QVERIFY(m_client.command(QStringLiteral("close %1").arg(number)));
    }

    void applyMaximized()
    {
        const int number = m_client.open(QStringLiteral("Maximized target"));
        QVERIFY(number);
        QCOMPARE(framewright({"--apply", "Maximized"}).status, 0);
        QCOMPARE(oracleFrame(QStringLiteral("Maximized target")), kSecond);
        QCOMPARE(m_client.command(QStringLiteral("state %1").arg(number)).value_or(QString()).left(11),
            QStringLiteral("maximized=1"));
        QVERIFY(m_client.command(QStringLiteral("close %1").arg(number)));
    }

    void applyWithoutTitleMovesTheActiveWindow()
    {
        const int other = m_client.open(QStringLiteral("Not active"));
        const int active = m_client.open(QStringLiteral("The active one"));
        QVERIFY(other && active);
        QTRY_COMPARE(m_oracle.view().value_or(OracleView()).activeCaption, QStringLiteral("The active one"));
        const QRect otherBefore = oracleFrame(QStringLiteral("Not active"));
        QCOMPARE(framewright({"--apply", "Left half"}).status, 0);
        QCOMPARE(oracleFrame(QStringLiteral("The active one")), QRect(0, 0, 960, 1080));
        QCOMPARE(oracleFrame(QStringLiteral("Not active")), otherBefore);
        QVERIFY(m_client.command(QStringLiteral("close %1").arg(other)));
        QVERIFY(m_client.command(QStringLiteral("close %1").arg(active)));
    }

    void watchAppliesToWindowsAsTheyCome()
    {
        QProcess watch;
        QByteArray errors = startWatching(watch, {"--settings", m_settings, "--watch", "Watched", "Retitled"});
        QVERIFY2(errors.contains("watching for 2 entries"), errors.constData());

        const int later = m_client.open(QStringLiteral("Watched and opened later"));
        QVERIFY(later);
        QTRY_COMPARE(oracleFrame(QStringLiteral("Watched and opened later")), QRect(710, 340, 500, 400));

        const int renamed = m_client.open(QStringLiteral("A plain title"));
        QVERIFY(renamed);
        QVERIFY(m_client.command(QStringLiteral("title %1 -- Renamed into a match").arg(renamed)));
        QTRY_COMPARE(oracleFrame(QStringLiteral("Renamed into a match")), QRect(kSecond.topLeft(), QSize(480, 270)));

        watch.terminate();
        QVERIFY(watch.waitForFinished());
        QCOMPARE(watch.exitStatus(), QProcess::NormalExit);
        QCOMPARE(watch.exitCode(), 0);
        QVERIFY(m_client.command(QStringLiteral("close %1").arg(later)));
        QVERIFY(m_client.command(QStringLiteral("close %1").arg(renamed)));
    }

private:
    Run framewright(const QStringList &arguments)
    {
        return runFramewright(QStringList {"--settings", m_settings} + arguments);
    }

    QRect oracleFrame(const QString &caption)
    {
        const std::optional<OracleView> view = m_oracle.view();
        return view ? view->window(caption).value_or(OracleWindow()).frame : QRect();
    }

    KWinOracle m_oracle;
    WaylandClient m_client;
    QTemporaryDir m_dir;
    QString m_settings;
    int m_target = 0;
};

QTEST_GUILESS_MAIN(KWinCliTest)
#include "kwincli_test.moc"
