// The readers of the GNOME Shell extension's replies: what they take from valid replies, and the replies they
// refuse (wrong types, fractions, out-of-range numbers, missing fields, too many entries, too long a text).
#include "platform/gnome/gnomereplies.h"

#include <QTest>

using namespace platform::gnome;

namespace {

QString windowJson(const QString &fields)
{
    return QStringLiteral("[{\"id\":4294967297,\"title\":\"Editor\",\"x\":-10,\"y\":20,\"width\":300,\"height\":200,"
                          "\"minimized\":false,\"maximized\":false,\"transient\":true,\"shown\":true%1}]")
        .arg(fields);
}

QString repeated(const QString &item, int count)
{
    QStringList items;
    for (int i = 0; i < count; ++i) {
        items << item;
    }
    return u'[' + items.join(u',') + u']';
}

} // namespace

class GnomeRepliesTest : public QObject
{
    Q_OBJECT

private slots:
    void monitors_data()
    {
        QTest::addColumn<QString>("json");
        QTest::addColumn<int>("count"); // -1: refused
        const QString one = QStringLiteral("{\"x\":1920,\"y\":0,\"width\":1280,\"height\":1024,\"primary\":false}");
        QTest::newRow("two") << QStringLiteral("[{\"x\":0,\"y\":0,\"width\":1920,\"height\":1080,\"primary\":true},")
                + one + u']' << 2;
        QTest::newRow("with a name") << QStringLiteral(
            "[{\"name\":\"DP-1\",\"x\":0,\"y\":0,\"width\":10,\"height\":10,\"primary\":true}]")
                                     << 1;
        QTest::newRow("none") << QStringLiteral("[]") << -1;
        QTest::newRow("empty size") << QStringLiteral("[{\"x\":0,\"y\":0,\"width\":0,\"height\":10,\"primary\":true}]")
                                    << -1;
        QTest::newRow("primary not a boolean")
            << QStringLiteral("[{\"x\":0,\"y\":0,\"width\":10,\"height\":10,\"primary\":1}]") << -1;
        QTest::newRow("name not a string")
            << QStringLiteral("[{\"name\":5,\"x\":0,\"y\":0,\"width\":10,\"height\":10,\"primary\":true}]") << -1;
        QTest::newRow("at the budget") << repeated(one, kMaxMonitors) << kMaxMonitors;
        QTest::newRow("past the budget") << repeated(one, kMaxMonitors + 1) << -1;
        QTest::newRow("an object") << QStringLiteral("{}") << -1;
        QTest::newRow("not JSON") << QStringLiteral("[{\"x\":") << -1;
    }

    void monitors()
    {
        QFETCH(QString, json);
        QFETCH(int, count);
        const auto monitors = readMonitors(json);
        QCOMPARE(monitors ? int(monitors->size()) : -1, count);
    }

    void windows_data()
    {
        QTest::addColumn<QString>("json");
        QTest::addColumn<bool>("read");
        QTest::newRow("plain") << windowJson({}) << true;
        QTest::newRow("with a restore rectangle")
            << windowJson(QStringLiteral(",\"restore\":{\"x\":1,\"y\":2,\"width\":3,\"height\":4}")) << true;
        QTest::newRow("restore rectangle not an object") << windowJson(QStringLiteral(",\"restore\":7")) << false;
        QTest::newRow("fraction")
            << QString(windowJson({})).replace(QStringLiteral("\"x\":-10"), QStringLiteral("\"x\":-10.5")) << false;
        QTest::newRow("coordinate past the limit")
            << QString(windowJson({})).replace(QStringLiteral("\"y\":20"), QStringLiteral("\"y\":1e12")) << false;
        QTest::newRow("negative width")
            << QString(windowJson({})).replace(QStringLiteral("\"width\":300"), QStringLiteral("\"width\":-1"))
            << false;
        QTest::newRow("id 0") << QString(windowJson({})).replace(QStringLiteral("4294967297"), QStringLiteral("0"))
                              << false;
        QTest::newRow("id past 2^53")
            << QString(windowJson({})).replace(QStringLiteral("4294967297"), QStringLiteral("1e16")) << false;
        QTest::newRow("title missing")
            << QString(windowJson({})).replace(QStringLiteral("\"title\":\"Editor\","), QStringLiteral("")) << false;
        QTest::newRow("flag as text")
            << QString(windowJson({})).replace(QStringLiteral("\"shown\":true"), QStringLiteral("\"shown\":\"yes\""))
            << false;
        QTest::newRow("no windows") << QStringLiteral("[]") << true;
        QTest::newRow("past the budget") << repeated(QStringLiteral("{}"), kMaxWindows + 1) << false;
        QTest::newRow("too long a reply") << QString(kMaxReplyChars + 1, u' ') + QStringLiteral("[]") << false;
    }

    void windows()
    {
        QFETCH(QString, json);
        QFETCH(bool, read);
        QCOMPARE(readWindows(json).has_value(), read);
    }

    void windowFields()
    {
        const auto windows
            = readWindows(windowJson(QStringLiteral(",\"restore\":{\"x\":1,\"y\":2,\"width\":3,\"height\":4}")));
        QVERIFY(windows);
        QCOMPARE(windows->size(), size_t(1));
        const ShellWindow expected {4294967297, QStringLiteral("Editor"), QRect(-10, 20, 300, 200), QRect(1, 2, 3, 4),
            false, false, true, true};
        QCOMPARE(windows->front(), expected);
    }

    void titlesAreCutOnACharacterBoundary()
    {
        const QString title = QString(254, u'a') + QStringLiteral("é and more");
        const auto windows = readWindows(QString(windowJson({})).replace(QStringLiteral("Editor"), title));
        QVERIFY(windows);
        QCOMPARE(windows->front().title, QString(254, u'a'));
    }

    void placeResults_data()
    {
        QTest::addColumn<QString>("json");
        QTest::addColumn<std::optional<PlaceResult>>("result");
        QTest::newRow("placed") << QStringLiteral(
            "{\"found\":true,\"x\":1,\"y\":2,\"width\":30,\"height\":40,\"maximized\":true}")
                                << std::optional(PlaceResult {true, QRect(1, 2, 30, 40), true});
        QTest::newRow("gone") << QStringLiteral("{\"found\":false}") << std::optional(PlaceResult {});
        QTest::newRow("found without a rectangle")
            << QStringLiteral("{\"found\":true,\"maximized\":false}") << std::optional<PlaceResult>();
        QTest::newRow("found not a boolean") << QStringLiteral("{\"found\":1}") << std::optional<PlaceResult>();
        QTest::newRow("an array") << QStringLiteral("[]") << std::optional<PlaceResult>();
    }

    void placeResults()
    {
        QFETCH(QString, json);
        QFETCH(std::optional<PlaceResult>, result);
        QCOMPARE(readPlaceResult(json), result);
    }
};

QTEST_GUILESS_MAIN(GnomeRepliesTest)
#include "gnomereplies_test.moc"
