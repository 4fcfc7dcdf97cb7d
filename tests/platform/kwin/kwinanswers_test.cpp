// The KWin scripts' answers as the backend reads them (valid ones, and each way one can be broken or hostile), and
// the frame arithmetic of a placement on KWin.
#include "platform/kwin/kwinanswers.h"
#include "platform/kwin/kwinframes.h"

#include <QJsonDocument>
#include <QTest>

using namespace platform::kwin;

namespace {

const QByteArray kWindow = R"({"id":"{ab23ced0-c995-4dd6-9700-49fb37dd3095}","title":"Editor","stacking":3,)"
                           R"("visible":true,"owned":false,"minimized":false,"maximized":false,)"
                           R"("frame":[760,371,400,337],"surface":[760,408,400,300],"decorated":true,)"
                           R"("minSize":[200,150],"maxSize":[2147483647,2147483647]})";

QJsonValue okValue(const QByteArray &json)
{
    return readAnswer(json).value.value_or(QJsonValue(QJsonValue::Undefined));
}

QByteArray withField(const QByteArray &field, const QByteArray &value)
{
    const qsizetype start = kWindow.indexOf("\"" + field + "\":") + field.size() + 3;
    qsizetype end = start;
    int depth = 0;
    while (end < kWindow.size() && (depth > 0 || (kWindow[end] != ',' && kWindow[end] != '}'))) {
        depth += kWindow[end] == '[' ? 1 : kWindow[end] == ']' ? -1 : 0;
        ++end;
    }
    QByteArray changed = kWindow;
    return changed.replace(start, end - start, value);
}

WindowState window(QSize minSize, QSize maxSize = QSize(2147483647, 2147483647), bool decorated = true)
{
    WindowState state;
    state.frame = QRect(0, 0, 400, 337);
    state.surface = decorated ? QRect(0, 37, 400, 300) : QRect(-20, -20, 440, 377);
    state.decorated = decorated;
    state.minSize = minSize;
    state.maxSize = maxSize;
    return state;
}

} // namespace

class KWinAnswersTest : public QObject
{
    Q_OBJECT

private slots:
    void readsTheEnvelope_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<bool>("hasValue");
        QTest::addColumn<QString>("errorStart");
        QTest::newRow("ok") << QByteArray(R"({"ok":[1,2]})") << true << QString();
        QTest::newRow("ok null") << QByteArray(R"({"ok":null})") << true << QString();
        QTest::newRow("script error") << QByteArray(R"({"error":"TypeError: x is undefined"})") << false
                                      << QStringLiteral("the script failed: TypeError");
        QTest::newRow("neither") << QByteArray(R"({"result":1})") << false << QStringLiteral("an answer without");
        QTest::newRow("not json") << QByteArray("{ok:") << false << QStringLiteral("an answer that is no JSON");
        QTest::newRow("an array") << QByteArray("[1]") << false << QStringLiteral("an answer that is no JSON");
        QTest::newRow("too large") << QByteArray(R"({"ok":")") + QByteArray(kMaxAnswerBytes, 'a') + "\"}" << false
                                   << QStringLiteral("an answer of");
    }

    void readsTheEnvelope()
    {
        QFETCH(QByteArray, json);
        QFETCH(bool, hasValue);
        QFETCH(QString, errorStart);
        const ScriptAnswer answer = readAnswer(json);
        QCOMPARE(answer.value.has_value(), hasValue);
        QVERIFY2(answer.error.startsWith(errorStart), qPrintable(answer.error));
    }

    void readsAWindow()
    {
        const WindowAnswer answer = windowFrom(okValue(R"({"ok":)" + kWindow + "}"));
        QVERIFY(answer.valid && answer.window);
        QCOMPARE(answer.window->id, QStringLiteral("{ab23ced0-c995-4dd6-9700-49fb37dd3095}"));
        QCOMPARE(answer.window->title, QStringLiteral("Editor"));
        QCOMPARE(answer.window->frame, QRect(760, 371, 400, 337));
        QCOMPARE(answer.window->surface, QRect(760, 408, 400, 300));
        QCOMPARE(answer.window->minSize, QSize(200, 150));
        QCOMPARE(answer.window->maxSize, QSize(2147483647, 2147483647));
        QCOMPARE(answer.window->stacking, 3);
        const WindowAnswer gone = windowFrom(okValue(R"({"ok":null})"));
        QVERIFY(gone.valid && !gone.window);
    }

    void rejectsABrokenWindow_data()
    {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("id not a string") << QByteArray("id") << QByteArray("17");
        QTest::newRow("id empty") << QByteArray("id") << QByteArray(R"("")");
        QTest::newRow("id with other characters") << QByteArray("id") << QByteArray(R"x("{ab}\n$(rm)")x");
        QTest::newRow("id too long") << QByteArray("id") << "\"" + QByteArray(kMaxWindowIdChars + 1, 'a') + "\"";
        QTest::newRow("title not a string") << QByteArray("title") << QByteArray("null");
        QTest::newRow("stacking fractional") << QByteArray("stacking") << QByteArray("1.5");
        QTest::newRow("visible a number") << QByteArray("visible") << QByteArray("1");
        QTest::newRow("frame of three") << QByteArray("frame") << QByteArray("[1,2,3]");
        QTest::newRow("frame negative width") << QByteArray("frame") << QByteArray("[0,0,-5,10]");
        QTest::newRow("frame beyond any desktop") << QByteArray("frame") << QByteArray("[0,0,1e12,10]");
        QTest::newRow("frame of strings") << QByteArray("frame") << QByteArray(R"(["0","0","5","5"])");
        QTest::newRow("minSize negative") << QByteArray("minSize") << QByteArray("[-1,0]");
        QTest::newRow("maxSize past int") << QByteArray("maxSize") << QByteArray("[4294967296,1]");
    }

    void rejectsABrokenWindow()
    {
        QFETCH(QByteArray, field);
        QFETCH(QByteArray, value);
        const QByteArray broken = withField(field, value);
        QVERIFY2(broken != kWindow, broken.constData());
        QVERIFY(!windowFrom(okValue(R"({"ok":)" + broken + "}")).valid);
        // One broken window rejects a whole list.
        QCOMPARE(windowsFrom(okValue(R"({"ok":[)" + kWindow + "," + broken + "]}")), std::nullopt);
    }

    void readsListsWithinTheirBudgets()
    {
        QCOMPARE(windowsFrom(okValue(R"({"ok":[)" + kWindow + "," + kWindow + "]}"))->size(), size_t(2));
        QCOMPARE(windowsFrom(okValue(R"({"ok":[]})"))->size(), size_t(0));
        QByteArray many = R"({"ok":[)";
        for (qsizetype i = 0; i <= kMaxWindows; ++i) {
            many += (i ? "," : "") + kWindow;
        }
        QCOMPARE(windowsFrom(okValue(many + "]}")), std::nullopt);
        QCOMPARE(windowsFrom(okValue(R"({"ok":{}})")), std::nullopt);
    }

    void cutsLongTitles()
    {
        const QString snowmen(300, QChar(0x2603)); // three bytes each
        QCOMPARE(cutToUtf8Bytes(snowmen, platform::kMaxTitleBytes), QString(85, QChar(0x2603)));
        QCOMPARE(cutToUtf8Bytes(QStringLiteral("ab\U0001F600"), 5), QStringLiteral("ab"));
        QCOMPARE(cutToUtf8Bytes(QStringLiteral("ab\U0001F600"), 6), QStringLiteral("ab\U0001F600"));
        QCOMPARE(cutToUtf8Bytes(QString(QChar(0xD800)) + u'x', 10), QString(QChar(0xFFFD)) + u'x');
    }

    void readsMonitorsAndIds()
    {
        const auto monitors
            = monitorsFrom(okValue(R"({"ok":[{"name":"Virtual-1","rect":[0,0,1920,1080],"primary":true}]})"));
        QVERIFY(monitors);
        QCOMPARE(monitors->at(0).name, QStringLiteral("Virtual-1"));
        QCOMPARE(monitors->at(0).rect, QRect(0, 0, 1920, 1080));
        QCOMPARE(monitorsFrom(okValue(R"({"ok":[]})")), std::nullopt);
        QCOMPARE(monitorsFrom(okValue(R"({"ok":[{"name":"x","rect":[0,0,0,0],"primary":true}]})")), std::nullopt);
        QCOMPARE(monitorsFrom(okValue(R"({"ok":[{"rect":[0,0,10,10],"primary":true}]})")), std::nullopt);
        QVERIFY(windowIdFrom(okValue(R"({"ok":null})")).valid);
        QCOMPARE(windowIdFrom(okValue(R"({"ok":"{ab-12}"})")).id, QStringLiteral("{ab-12}"));
        QVERIFY(!windowIdFrom(okValue(R"({"ok":12}})")).valid);
    }

    void expectedFrame_data()
    {
        QTest::addColumn<WindowState>("window");
        QTest::addColumn<QRect>("wanted");
        QTest::addColumn<int>("anchor");
        QTest::addColumn<QRect>("expected");
        const QRect small(100, 100, 200, 100);
        const int leftTop = Qt::AlignLeft | Qt::AlignTop;
        QTest::newRow("takes any size") << window(QSize(0, 0)) << small << leftTop << small;
        QTest::newRow("minimum grown by the title bar, left top")
            << window(QSize(300, 150)) << small << leftTop << QRect(100, 100, 300, 187);
        QTest::newRow("right bottom") << window(QSize(300, 150)) << small << int(Qt::AlignRight | Qt::AlignBottom)
                                      << QRect(0, 13, 300, 187);
        QTest::newRow("centre") << window(QSize(300, 150)) << small << int(Qt::AlignCenter) << QRect(50, 57, 300, 187);
        QTest::newRow("maximum") << window(QSize(0, 0), QSize(100, 50)) << small << leftTop << QRect(100, 100, 100, 87);
        QTest::newRow("client-side decoration: its shadows are no frame") << window(QSize(300, 150),
            QSize(2147483647, 2147483647), false) << small << leftTop << QRect(100, 100, 300, 150);
        QTest::newRow("nothing below one pixel") << window(QSize(0, 0), QSize(2147483647, 2147483647), false)
                                                 << QRect(5, 5, 0, 0) << leftTop << QRect(5, 5, 1, 1);
        QTest::newRow("nothing below the title bar")
            << window(QSize(0, 0)) << QRect(5, 5, 0, 0) << leftTop << QRect(5, 5, 1, 37);
    }

    void expectedFrame()
    {
        QFETCH(WindowState, window);
        QFETCH(QRect, wanted);
        QFETCH(int, anchor);
        QFETCH(QRect, expected);
        QCOMPARE(platform::kwin::expectedFrame(window, wanted, Qt::Alignment(anchor)), expected);
    }

    void landsOnlyInTheStateAskedFor()
    {
        WindowState state = window(QSize(0, 0));
        QVERIFY(hasLanded(state, state.frame, false));
        QVERIFY(!hasLanded(state, state.frame.translated(1, 0), false));
        QVERIFY(!hasLanded(state, state.frame, true));
        state.maximized = true;
        QVERIFY(hasLanded(state, QRect(), true));
        QVERIFY(!hasLanded(state, state.frame, false));
        state.minimized = true;
        QVERIFY(!hasLanded(state, QRect(), true));
    }
};

QTEST_APPLESS_MAIN(KWinAnswersTest)
#include "kwinanswers_test.moc"
