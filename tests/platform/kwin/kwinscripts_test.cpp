// The KWin scripts without KWin: each runs in a JavaScript engine against a stand-in of the scripting API of KWin
// 5.27 (clientList, activeClient, clientAdded, windowClosed, outputs by index) and of KWin 6 (windowList,
// activeWindow, windowAdded, closed, maximizeMode, screens), and its answers go through the program's own readers.
// What a stand-in lacks is undefined, as in the KWin that lacks it, so that a script using the other version's
// name fails here.
#include "platform/kwin/kwinanswers.h"
#include "platform/kwin/kwinscripttext.h"

#include <QJSEngine>
#include <QJsonArray>
#include <QJsonObject>
#include <QTest>

using platform::kwin::Script;

namespace {

// The stand-in: workspace and KWin as the given version has them, two outputs (1920x1080, and 1280x1024 beside
// it), a normal window, a dock, and a window added later by addWindow(). callDBus keeps the answers in `answers`.
const char *const kStandIn = R"JS(
var answers = [];
function callDBus(service, path, iface, method, token, json) { answers.push(json); }
function signal() {
    var handlers = [];
    return {connect: function (h) { handlers.push(h); },
            emit: function () { for (var i = 0; i < handlers.length; i++) handlers[i].apply(null, arguments); },
            count: function () { return handlers.length; }};
}
var KWin = {ScreenArea: 7, MaximizeArea: 2};
var outputs = [{name: "DP-1", geometry: {x: 0, y: 0, width: 1920, height: 1080}},
               {name: "DP-2", geometry: {x: 1920, y: 0, width: 1280, height: 1024}}];
var calls = [];
function makeWindow(id, caption, frame, dock) {
    var w = {internalId: id, caption: caption, stackingOrder: 1, hidden: false, minimized: false,
             transient: false, managed: true, deleted: false, desktopWindow: false, dock: dock,
             notification: false, criticalNotification: false, onScreenDisplay: false, appletPopup: false,
             popupWindow: false, outline: false, frameGeometry: frame, bufferGeometry: frame, noBorder: false,
             maximizable: true, minSize: {width: 100, height: 50}, maxSize: {width: 2147483647, height: 2147483647},
             captionChanged: signal(), minimizedChanged: signal(), transientChanged: signal(),
             hiddenChanged: signal(), frameGeometryChanged: signal()};
    w.setMaximize = function (vertically, horizontally) {
        calls.push("maximize " + vertically + " " + horizontally);
        if (kwin6) w.maximizeMode = vertically && horizontally ? 3 : 0;
    };
    if (kwin6) {
        w.maximizeMode = 0;
        w.maximizedChanged = signal();
        w.closed = signal();
    } else {
        w.clientMaximizedStateChanged = signal();
        w.windowClosed = signal();
    }
    return w;
}
var windows = [makeWindow("{a}", "Editor", {x: 10, y: 20, width: 800, height: 600}, false),
               makeWindow("{d}", "Panel", {x: 0, y: 1040, width: 1920, height: 40}, true)];
var workspace = {};
function clientArea(area, where) {
    var screen = typeof where === "number" ? where : 0;
    return outputs[screen].geometry;
}
if (kwin6) {
    workspace.windowList = function () { return windows; };
    workspace.activeWindow = windows[0];
    workspace.windowAdded = signal();
    workspace.windowRemoved = signal();
    workspace.screens = outputs;
} else {
    workspace.clientList = function () { return windows; };
    workspace.activeClient = windows[0];
    workspace.clientAdded = signal();
    workspace.clientRemoved = signal();
    workspace.numScreens = outputs.length;
}
workspace.clientArea = clientArea;
function active() { return kwin6 ? workspace.activeWindow : workspace.activeClient; }
function addWindow() {
    var w = makeWindow("{b}", "Added later", {x: 100, y: 100, width: 300, height: 200}, false);
    windows.push(w);
    (kwin6 ? workspace.windowAdded : workspace.clientAdded).emit(w);
    return w;
}
)JS";

class ScriptRun
{
public:
    ScriptRun(bool kwin6, Script script, const QJsonObject &request = {})
    {
        m_engine.globalObject().setProperty("kwin6", kwin6);
        m_failure = error(m_engine.evaluate(QString::fromUtf8(kStandIn)));
        const QJsonObject call {{"service", ":1.1"}, {"path", "/answers"}, {"interface", "org.framewright.Test"},
            {"token", "1"}, {"request", request}};
        const QByteArray text = platform::kwin::scriptText(script, call);
        if (m_failure.isEmpty()) {
            m_failure = text.isEmpty() ? QStringLiteral("no script text") : error(m_engine.evaluate(text));
        }
    }

    QString failure() const { return m_failure; }
    QJSValue evaluate(const QString &code) { return m_engine.evaluate(code); }
    int answerCount() { return evaluate("answers.length").toInt(); }
    // The value of the answer at `index`, read as the program reads it; empty when it is none.
    std::optional<QJsonValue> answer(int index)
    {
        const QByteArray json = evaluate(QString("answers[%1]").arg(index)).toString().toUtf8();
        const platform::kwin::ScriptAnswer read = platform::kwin::readAnswer(json);
        if (!read.error.isEmpty()) {
            qWarning() << "script error:" << read.error;
        }
        return read.value;
    }
    std::optional<QJsonValue> lastAnswer() { return answer(answerCount() - 1); }

private:
    static QString error(const QJSValue &result) { return result.isError() ? result.toString() : QString(); }

    QJSEngine m_engine;
    QString m_failure;
};

} // namespace

class KWinScriptsTest : public QObject
{
    Q_OBJECT

private slots:
    void versions_data()
    {
        QTest::addColumn<bool>("kwin6");
        QTest::newRow("KWin 5.27") << false;
        QTest::newRow("KWin 6") << true;
    }

    void monitors_data() { versions_data(); }
    void monitors()
    {
        QFETCH(bool, kwin6);
        ScriptRun run(kwin6, Script::Monitors);
        QVERIFY2(run.failure().isEmpty(), qPrintable(run.failure()));
        QCOMPARE(run.answerCount(), 1);
        const auto monitors = platform::kwin::monitorsFrom(*run.answer(0));
        QVERIFY(monitors);
        QCOMPARE(monitors->size(), size_t(2));
        // 5.27 scripts see outputs only by index: no names.
        QCOMPARE(monitors->at(0), (platform::Monitor {kwin6 ? "DP-1" : "", QRect(0, 0, 1920, 1080), true}));
        QCOMPARE(monitors->at(1), (platform::Monitor {kwin6 ? "DP-2" : "", QRect(1920, 0, 1280, 1024), false}));
    }

    void listsTheWindowsAndTheActiveOne_data() { versions_data(); }
    void listsTheWindowsAndTheActiveOne()
    {
        QFETCH(bool, kwin6);
        ScriptRun windows(kwin6, Script::Windows);
        QVERIFY2(windows.failure().isEmpty(), qPrintable(windows.failure()));
        const auto listed = platform::kwin::windowsFrom(*windows.answer(0));
        QVERIFY(listed);
        QCOMPARE(listed->size(), size_t(1)); // the dock is left out
        QCOMPARE(listed->front().id, QString("{a}"));
        QCOMPARE(listed->front().title, QString("Editor"));
        QCOMPARE(listed->front().frame, QRect(10, 20, 800, 600));
        QCOMPARE(listed->front().minSize, QSize(100, 50));

        ScriptRun one(kwin6, Script::Window, {{"id", "{a}"}});
        QVERIFY2(one.failure().isEmpty(), qPrintable(one.failure()));
        QCOMPARE(platform::kwin::windowFrom(*one.answer(0)).window, listed->front());
        ScriptRun gone(kwin6, Script::Window, {{"id", "{gone}"}});
        const platform::kwin::WindowAnswer none = platform::kwin::windowFrom(*gone.answer(0));
        QVERIFY(none.valid && !none.window);

        ScriptRun active(kwin6, Script::ActiveWindow);
        QVERIFY2(active.failure().isEmpty(), qPrintable(active.failure()));
        QCOMPARE(platform::kwin::windowIdFrom(*active.answer(0)).id, QString("{a}"));
    }

    // Placing: out of maximized, the frame, maximized again when asked, activated; each later change of the frame
    // or the maximize state answered again through the version's signal, and null once the window closes.
    void placesAndFollowsTheWindow_data() { versions_data(); }
    void placesAndFollowsTheWindow()
    {
        QFETCH(bool, kwin6);
        const QJsonObject request {{"id", "{a}"}, {"frame", QJsonArray {1930, 10, 640, 480}}, {"maximize", true}};
        ScriptRun run(kwin6, Script::Place, request);
        QVERIFY2(run.failure().isEmpty(), qPrintable(run.failure()));
        QCOMPARE(run.evaluate("calls.join()").toString(), QString("maximize false false,maximize true true"));
        QCOMPARE(run.evaluate("JSON.stringify(windows[0].frameGeometry)").toString(),
            QString(R"({"x":1930,"y":10,"width":640,"height":480})"));
        QVERIFY(run.evaluate("active() === windows[0]").toBool());
        const auto first = platform::kwin::windowFrom(*run.answer(0));
        QVERIFY(first.window);
        QCOMPARE(first.window->frame, QRect(1930, 10, 640, 480));

        run.evaluate("windows[0].frameGeometryChanged.emit()");
        QCOMPARE(run.answerCount(), 2);
        run.evaluate(kwin6 ? "windows[0].maximizedChanged.emit()" : "windows[0].clientMaximizedStateChanged.emit()");
        QCOMPARE(run.answerCount(), 3);
        run.evaluate(kwin6 ? "windows[0].closed.emit()" : "windows[0].windowClosed.emit()");
        QCOMPARE(run.answerCount(), 4);
        const platform::kwin::WindowAnswer closed = platform::kwin::windowFrom(*run.lastAnswer());
        QVERIFY(closed.valid && !closed.window);
    }

    void watchAnswersEachChange_data() { versions_data(); }
    void watchAnswersEachChange()
    {
        QFETCH(bool, kwin6);
        ScriptRun run(kwin6, Script::Watch);
        QVERIFY2(run.failure().isEmpty(), qPrintable(run.failure()));
        QCOMPARE(run.answerCount(), 1); // at once
        QCOMPARE(platform::kwin::windowsFrom(*run.answer(0))->size(), size_t(1));

        run.evaluate("addWindow()");
        QCOMPARE(run.answerCount(), 2);
        QCOMPARE(platform::kwin::windowsFrom(*run.lastAnswer())->size(), size_t(2));
        run.evaluate("windows[2].caption = 'Retitled'; windows[2].captionChanged.emit()");
        QCOMPARE(run.answerCount(), 3);
        QCOMPARE(platform::kwin::windowsFrom(*run.lastAnswer())->back().title, QString("Retitled"));
        run.evaluate(R"(windows.pop(); (kwin6 ? workspace.windowRemoved : workspace.clientRemoved).emit())");
        QCOMPARE(run.answerCount(), 4);
        QCOMPARE(platform::kwin::windowsFrom(*run.lastAnswer())->size(), size_t(1));
    }
};

QTEST_GUILESS_MAIN(KWinScriptsTest)
#include "kwinscripts_test.moc"
