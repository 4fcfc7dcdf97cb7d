// Reading sway's IPC without sway: the framing (split streams, a broken header), the JSON readers' checks, the
// window order and outer rectangles of a tree, and titles cut on a character boundary.
#include "platform/sway/swayipcframing.h"
#include "platform/sway/swayreplies.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace platform::sway;

namespace {

QJsonObject rect(int x, int y, int width, int height)
{
    return {{"x", x}, {"y", y}, {"width", width}, {"height", height}};
}

QJsonObject view(int id, const QString &name, QJsonObject rect, int titleBar, bool floating = false)
{
    return {{"id", id}, {"type", floating ? "floating_con" : "con"}, {"name", name}, {"rect", rect},
        {"deco_rect", QJsonObject {{"x", 0}, {"y", 0}, {"width", rect["width"]}, {"height", titleBar}}},
        {"shell", "xdg_shell"}, {"fullscreen_mode", 0}, {"nodes", QJsonArray()}, {"floating_nodes", QJsonArray()}};
}

QJsonObject container(
    int id, const QString &type, const QString &name, QJsonArray nodes, QJsonArray floating = {}, QJsonArray focus = {})
{
    return {
        {"id", id}, {"type", type}, {"name", name}, {"nodes", nodes}, {"floating_nodes", floating}, {"focus", focus}};
}

QByteArray json(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// A root with the scratchpad first (as sway lists it), then one output whose workspace holds two tiled windows in
// a stacked container, focused in the other order, and two floating windows.
QJsonObject sampleTree()
{
    QJsonObject stacked = container(20, "con", "",
        {view(21, "tiled a", rect(0, 50, 960, 1030), 25), view(22, "tiled b", rect(0, 50, 960, 1030), 25)}, {},
        {22, 21});
    stacked["layout"] = "stacked";
    const QJsonObject workspace = container(4, "workspace", "1", {stacked},
        {view(12, "floating below", rect(100, 125, 400, 300), 25, true),
            view(13, "floating on top", rect(600, 125, 400, 300), 25, true)});
    const QJsonObject scratchpad = container(2, "output", "__i3",
        {container(
            9, "workspace", "__i3_scratch", {}, {view(30, "in the scratchpad", rect(0, 0, 200, 100), 0, true)})});
    return container(1, "root", "root", {scratchpad, container(3, "output", "HEADLESS-1", {workspace})});
}

} // namespace

class SwayRepliesTest : public QObject
{
    Q_OBJECT

private slots:
    void framingSplitsAStreamAnywhere()
    {
        const QByteArray stream = encodeMessage(MessageType::GetTree, "{}")
            + encodeMessage(MessageType::RunCommand, "[{\"success\":true}]");
        for (qsizetype chunk = 1; chunk <= stream.size(); ++chunk) {
            MessageReader reader;
            std::vector<Message> messages;
            for (qsizetype offset = 0; offset < stream.size(); offset += chunk) {
                reader.append(stream.constData() + offset, std::min(chunk, stream.size() - offset));
                while (auto message = reader.next()) {
                    messages.push_back(*message);
                }
            }
            QCOMPARE(messages.size(), size_t(2));
            QCOMPARE(messages[0].type, uint32_t(MessageType::GetTree));
            QCOMPARE(messages[0].payload, QByteArray("{}"));
            QCOMPARE(messages[1].payload, QByteArray("[{\"success\":true}]"));
        }
    }

    void framingRefusesABrokenHeaderForGood_data()
    {
        QTest::addColumn<QByteArray>("header");
        QByteArray tooLong = encodeMessage(MessageType::GetTree, {});
        const uint32_t length = kMaxPayloadBytes + 1;
        tooLong.replace(kMagicBytes, 4, reinterpret_cast<const char *>(&length), 4);
        QTest::newRow("wrong magic") << QByteArray("i3-ipx").append(8, '\0');
        QTest::newRow("length over the budget") << tooLong;
    }

    void framingRefusesABrokenHeaderForGood()
    {
        QFETCH(QByteArray, header);
        MessageReader reader;
        reader.append(header.constData(), header.size());
        QCOMPARE(reader.next().has_value(), false);
        QVERIFY(reader.failed());
        const QByteArray good = encodeMessage(MessageType::GetTree, "{}");
        reader.append(good.constData(), good.size());
        QCOMPARE(reader.next().has_value(), false);
    }

    void outputs()
    {
        const QJsonArray outputs {
            QJsonObject {{"name", "HEADLESS-2"}, {"active", true}, {"rect", rect(1920, 0, 1280, 1024)}},
            QJsonObject {{"name", "HDMI-A-1"}, {"active", false}, {"rect", rect(0, 0, 0, 0)}},
            QJsonObject {{"name", "HEADLESS-1"}, {"active", true}, {"rect", rect(0, 0, 1920, 1080)}},
        };
        const auto monitors = readOutputs(QJsonDocument(outputs).toJson());
        QVERIFY(monitors);
        QCOMPARE(monitors->size(), size_t(2));
        QCOMPARE(monitors->at(0), (platform::Monitor {"HEADLESS-2", QRect(1920, 0, 1280, 1024), false}));
        QCOMPARE(monitors->at(1).name, QString("HEADLESS-1"));
    }

    void malformedRepliesGiveNothing_data()
    {
        QTest::addColumn<QByteArray>("outputs");
        QTest::newRow("not JSON") << QByteArray("[{\"name\":");
        QTest::newRow("an object instead of a list") << QByteArray("{}");
        QTest::newRow("a fractional coordinate")
            << QByteArray(R"([{"name":"A","active":true,"rect":{"x":0.5,"y":0,"width":10,"height":10}}])");
        QTest::newRow("a coordinate beyond the budget")
            << QByteArray(R"([{"name":"A","active":true,"rect":{"x":1e12,"y":0,"width":10,"height":10}}])");
        QTest::newRow("a negative size") << QByteArray(
            R"([{"name":"A","active":true,"rect":{"x":0,"y":0,"width":-10,"height":10}}])");
        QTest::newRow("active as a string")
            << QByteArray(R"([{"name":"A","active":"yes","rect":{"x":0,"y":0,"width":10,"height":10}}])");
    }

    void malformedRepliesGiveNothing()
    {
        QFETCH(QByteArray, outputs);
        QCOMPARE(readOutputs(outputs).has_value(), false);
        QCOMPARE(readTree(outputs).has_value(), false);
    }

    void treeOrderAndOuterRectangles()
    {
        const auto windows = readTree(json(sampleTree()));
        QVERIFY(windows);
        QStringList titles;
        for (const SwayWindow &window : *windows) {
            titles << window.title;
        }
        // Floating topmost first, then tiled in focus order, the scratchpad last.
        QCOMPARE(titles, QStringList({"floating on top", "floating below", "tiled b", "tiled a", "in the scratchpad"}));
        QCOMPARE(windows->at(0).outer, QRect(600, 100, 400, 325));
        QVERIFY(windows->at(0).floating && !windows->at(0).scratchpad);
        // In a stacked container the title bars of both windows stand above each.
        QCOMPARE(windows->at(2).outer, QRect(0, 0, 960, 1080));
        QVERIFY(!windows->at(2).floating);
        QVERIFY(windows->at(4).scratchpad && windows->at(4).floating);
        QCOMPARE(windows->at(4).outer, QRect(0, 0, 200, 100));
    }

    void treeBudgets()
    {
        QJsonObject deep = view(1, "deep", rect(0, 0, 10, 10), 0);
        for (int depth = 0; depth < kMaxTreeDepth + 1; ++depth) {
            deep = container(depth + 2, "con", "", {deep});
        }
        QCOMPARE(readTree(json(deep)).has_value(), false);
        QByteArray many = R"({"id":1,"type":"root","floating_nodes":[],"nodes":[)";
        for (int i = 0; i < kMaxTreeNodes; ++i) {
            many += R"({"id":2,"type":"con","nodes":[],"floating_nodes":[]},)";
        }
        many += R"({"id":3,"type":"con","nodes":[],"floating_nodes":[]}]})";
        QCOMPARE(readTree(many).has_value(), false);
    }

    void commandReplies_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("succeeded"); // -1: not a reply
        QTest::addColumn<QString>("error");
        QTest::newRow("all succeeded") << QByteArray(R"([{"success":true},{"success":true}])") << 1 << QString();
        QTest::newRow("the first failure's message")
            << QByteArray(R"([{"success":true},{"success":false,"error":"No matching node."},)"
                          R"({"success":false,"error":"later"}])")
            << 0 << QString("No matching node.");
        QTest::newRow("success missing") << QByteArray(R"([{"error":"x"}])") << -1 << QString();
        QTest::newRow("not a list") << QByteArray(R"({"success":true})") << -1 << QString();
    }

    void commandReplies()
    {
        QFETCH(QByteArray, reply);
        QFETCH(int, succeeded);
        QFETCH(QString, error);
        QString message;
        const std::optional<bool> read = readCommandReply(reply, &message);
        QCOMPARE(read.has_value(), succeeded >= 0);
        if (read) {
            QCOMPARE(*read, succeeded == 1);
            QCOMPARE(message, error);
        }
    }

    void eventsAndSubscriptions()
    {
        QCOMPARE(readSubscribeReply(R"({"success":true})"), std::optional<bool>(true));
        QCOMPARE(readSubscribeReply(R"({"success":"true"})"), std::nullopt);
        QCOMPARE(readWindowEventChange(R"({"change":"title","container":{}})"), std::optional<QString>("title"));
        QCOMPARE(readWindowEventChange(R"({"change":3})"), std::nullopt);
    }

    void titlesAreCutOnACharacterBoundary_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("listed");
        QTest::newRow("short") << QString("Editor") << QString("Editor");
        QTest::newRow("up to a NUL") << QString("before") + QChar(0) + QString("after") << QString("before");
        QTest::newRow("ASCII cut at 255") << QString(300, 'a') << QString(255, 'a');
        // 127 two-byte characters fill 254 bytes; the 128th would pass 255.
        QTest::newRow("two-byte characters") << QString(200, QChar(0xE9)) << QString(127, QChar(0xE9));
        QTest::newRow("a four-byte character at the end")
            << QString(253, 'a') + QString::fromUtf8("\xF0\x9F\x98\x80") << QString(253, 'a');
    }

    void titlesAreCutOnACharacterBoundary()
    {
        QFETCH(QString, title);
        QFETCH(QString, listed);
        QCOMPARE(titleWithinLimit(title), listed);
    }
};

QTEST_GUILESS_MAIN(SwayRepliesTest)
#include "swayreplies_test.moc"
