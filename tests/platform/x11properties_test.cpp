// Decoding window properties from their bytes: titles in UTF-8 and Latin-1 with the cut on a character boundary,
// WM_STATE, WM_NORMAL_HINTS, frame extents and the restore record, malformed values included.
#include "platform/x11/x11properties.h"

#include <QTest>

#include <cstring>

using namespace platform::x11;

namespace {

// Atom numbers as a server might give them; the parsers only compare them.
constexpr uint32_t kCardinal = 6;
constexpr uint32_t kInteger = 19;
constexpr uint32_t kSizeHintsType = 41;
constexpr uint32_t kWmStateType = 300;
constexpr uint32_t kOtherType = 301;
constexpr uint32_t kMotifHintsType = 302;

std::span<const uint8_t> bytesOf(const QByteArray &bytes)
{
    return std::span(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
}

QByteArray items32(std::initializer_list<int64_t> values)
{
    QByteArray bytes;
    for (const int64_t value : values) {
        const uint32_t item = static_cast<uint32_t>(value);
        bytes.append(reinterpret_cast<const char *>(&item), 4);
    }
    return bytes;
}

PropertyValue propertyOf(uint32_t type, uint8_t format, const QByteArray &bytes)
{
    return PropertyValue {type, format, bytesOf(bytes), false};
}

} // namespace

class X11PropertiesTest : public QObject
{
    Q_OBJECT

private slots:
    void utf8Titles_data();
    void utf8Titles();
    void latin1Titles_data();
    void latin1Titles();
    void values32_data();
    void values32();
    void wmState_data();
    void wmState();
    void sizeHints_data();
    void sizeHints();
    void aspectHints_data();
    void aspectHints();
    void extents_data();
    void extents();
    void decorationsAskedFor_data();
    void decorationsAskedFor();
    void restoreRecord();
    void restoreRecordRejects_data();
    void restoreRecordRejects();
};

void X11PropertiesTest::utf8Titles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("maxBytes");
    QTest::addColumn<QByteArray>("title");

    const QByteArray fffd = "\xEF\xBF\xBD";
    QTest::newRow("ASCII") << QByteArray("Editor") << 255 << QByteArray("Editor");
    QTest::newRow("multi-byte") << QByteArray("Gr\xC3\xBC\xC3\x9F"
                                              "e \xE4\xB8\x96 \xF0\x9F\x98\x80")
                                << 255
                                << QByteArray("Gr\xC3\xBC\xC3\x9F"
                                              "e \xE4\xB8\x96 \xF0\x9F\x98\x80");
    QTest::newRow("empty") << QByteArray() << 255 << QByteArray();
    QTest::newRow("cut after 5 ASCII bytes") << QByteArray("abcdefgh") << 5 << QByteArray("abcde");
    QTest::newRow("two-byte character does not fit") << QByteArray("abcd\xC3\xA9") << 5 << QByteArray("abcd");
    QTest::newRow("three-byte character does not fit") << QByteArray("abc\xE2\x82\xAC") << 5 << QByteArray("abc");
    QTest::newRow("four-byte character fits exactly") << QByteArray("a\xF0\x9F\x98\x80"
                                                                    "b")
                                                      << 5 << QByteArray("a\xF0\x9F\x98\x80");
    QTest::newRow("ends at NUL") << QByteArray("one\0two", 7) << 255 << QByteArray("one");
    QTest::newRow("lone continuation byte") << QByteArray("a\x80"
                                                          "b")
                                            << 255 << "a" + fffd + "b";
    QTest::newRow("invalid lead bytes") << QByteArray("\xC0\xC1\xF5\xFF") << 255 << fffd + fffd + fffd + fffd;
    QTest::newRow("overlong encoding") << QByteArray("\xE0\x80\xAF") << 255 << fffd + fffd + fffd;
    QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << 255 << fffd + fffd + fffd;
    QTest::newRow("beyond U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << 255 << fffd + fffd + fffd + fffd;
    QTest::newRow("truncated sequence is one replacement") << QByteArray("x\xF0\x9F\x98"
                                                                         "y")
                                                           << 255 << "x" + fffd + "y";
    QTest::newRow("truncated at the end") << QByteArray("x\xE2\x82") << 255 << "x" + fffd;
    QTest::newRow("replacement does not fit") << QByteArray("abc\xFF") << 5 << QByteArray("abc");
    // A budget of maxBytes + 1 bytes: a sequence the read cut off lands beyond the cut.
    QTest::newRow("sequence cut by the read lands beyond the cut")
        << QByteArray("abcd\xE2\x82") << 5 << QByteArray("abcd");
}

void X11PropertiesTest::utf8Titles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, maxBytes);
    QFETCH(QByteArray, title);
    const std::string result = titleFromUtf8(bytesOf(bytes), size_t(maxBytes));
    QCOMPARE(QByteArray::fromStdString(result), title);
    QVERIFY(QString::fromUtf8(title).toUtf8() == title); // valid UTF-8 always
}

void X11PropertiesTest::latin1Titles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("maxBytes");
    QTest::addColumn<QByteArray>("title");

    QTest::newRow("ASCII") << QByteArray("Terminal") << 255 << QByteArray("Terminal");
    QTest::newRow("upper half") << QByteArray("Caf\xE9 \xFF") << 255 << QByteArray("Caf\xC3\xA9 \xC3\xBF");
    QTest::newRow("two-byte result does not fit") << QByteArray("abcd\xE9") << 5 << QByteArray("abcd");
    QTest::newRow("ends at NUL") << QByteArray("a\0b", 3) << 255 << QByteArray("a");
    QTest::newRow("300 bytes of upper half")
        << QByteArray(300, '\xE9') << 255 << QByteArray(127, 'x').replace("x", "\xC3\xA9");
}

void X11PropertiesTest::latin1Titles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, maxBytes);
    QFETCH(QByteArray, title);
    QCOMPARE(QByteArray::fromStdString(titleFromLatin1(bytesOf(bytes), size_t(maxBytes))), title);
}

void X11PropertiesTest::values32_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("format");
    QTest::addColumn<uint>("type");
    QTest::addColumn<int>("maxCount");
    QTest::addColumn<QList<uint>>("values");

    QTest::newRow("three items") << items32({1, 2, 3}) << 32 << uint(kCardinal) << 10 << QList<uint> {1, 2, 3};
    QTest::newRow("capped at maxCount") << items32({1, 2, 3}) << 32 << uint(kCardinal) << 2 << QList<uint> {1, 2};
    QTest::newRow("other type") << items32({1}) << 32 << uint(kOtherType) << 10 << QList<uint> {};
    QTest::newRow("format 8") << QByteArray("abcd") << 8 << uint(kCardinal) << 10 << QList<uint> {};
    QTest::newRow("not whole items") << QByteArray("abcdef") << 32 << uint(kCardinal) << 10 << QList<uint> {};
    QTest::newRow("empty") << QByteArray() << 32 << uint(kCardinal) << 10 << QList<uint> {};
}

void X11PropertiesTest::values32()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, format);
    QFETCH(uint, type);
    QFETCH(int, maxCount);
    QFETCH(QList<uint>, values);
    const std::vector<uint32_t> result
        = platform::x11::values32(propertyOf(type, uint8_t(format), bytes), kCardinal, size_t(maxCount));
    QCOMPARE(QList<uint>(result.begin(), result.end()), values);
}

void X11PropertiesTest::wmState_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<uint>("type");
    QTest::addColumn<int>("state"); // -1: none

    QTest::newRow("normal") << items32({1, 0}) << uint(kWmStateType) << 1;
    QTest::newRow("iconic") << items32({3, 0}) << uint(kWmStateType) << 3;
    QTest::newRow("withdrawn") << items32({0, 0}) << uint(kWmStateType) << 0;
    QTest::newRow("state alone") << items32({1}) << uint(kWmStateType) << 1;
    QTest::newRow("obsolete zoom state") << items32({2, 0}) << uint(kWmStateType) << -1;
    QTest::newRow("wrong type") << items32({1, 0}) << uint(kCardinal) << -1;
    QTest::newRow("empty") << QByteArray() << uint(kWmStateType) << -1;
}

void X11PropertiesTest::wmState()
{
    QFETCH(QByteArray, bytes);
    QFETCH(uint, type);
    QFETCH(int, state);
    const std::optional<WmState> result = parseWmState(propertyOf(type, 32, bytes), kWmStateType);
    QCOMPARE(result ? int(*result) : -1, state);
}

void X11PropertiesTest::sizeHints_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<int>>("expected"); // min w, h, max w, h, base w, h (-1: none), increments, gravity

    // flags, x, y, w, h, min, max, inc, min aspect, max aspect, base, gravity
    QTest::newRow("everything") << items32({0x370, 0, 0, 0, 0, 10, 20, 800, 600, 5, 7, 0, 0, 0, 0, 4, 6, 9})
                                << QList<int> {10, 20, 800, 600, 4, 6, 5, 7, 9};
    QTest::newRow("nothing flagged") << items32({0, 0, 0, 0, 0, 10, 20, 800, 600, 5, 7, 0, 0, 0, 0, 4, 6, 9})
                                     << QList<int> {-1, -1, -1, -1, -1, -1, 1, 1, 1};
    QTest::newRow("before ICCCM 1.0: 15 items") << items32({0x370, 0, 0, 0, 0, 10, 20, 800, 600, 5, 7, 0, 0, 0, 0})
                                                << QList<int> {10, 20, 800, 600, -1, -1, 5, 7, 1};
    QTest::newRow("too short") << items32({0x370, 0, 0}) << QList<int> {-1, -1, -1, -1, -1, -1, 1, 1, 1};
    QTest::newRow("negative and zero values dropped")
        << items32({0x370, 0, 0, 0, 0, -10, 5, 0, -600, 0, -3, 0, 0, 0, 0, -4, 0, 11})
        << QList<int> {-1, 5, -1, -1, -1, 0, 1, 1, 1};
    QTest::newRow("huge values capped") << items32({0x370, 0, 0, 0, 0, 0x7FFFFFFF, 0, 0x7FFFFFFF, 1, 0x10000, 1, 0, 0,
        0, 0, 0x7FFFFFFF, 0, 10}) << QList<int> {65535, 0, 65535, 1, 65535, 0, 65535, 1, 10};
}

void X11PropertiesTest::sizeHints()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<int>, expected);
    const SizeHints hints = parseSizeHints(propertyOf(kSizeHintsType, 32, bytes), kSizeHintsType);
    const QList<int> actual {hints.minWidth.value_or(-1), hints.minHeight.value_or(-1), hints.maxWidth.value_or(-1),
        hints.maxHeight.value_or(-1), hints.baseWidth.value_or(-1), hints.baseHeight.value_or(-1), hints.widthIncrement,
        hints.heightIncrement, int(hints.gravity)};
    QCOMPARE(actual, expected);
}

void X11PropertiesTest::aspectHints_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<int>>("expected"); // minimum width, height, maximum width, height (-1: none)

    // flags, x, y, w, h, min, max, inc, then the two aspects, base, gravity
    const auto hints = [](uint32_t flags, QList<int64_t> aspects, bool old = false) {
        QByteArray bytes = items32({flags, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1});
        for (const int64_t item : aspects) {
            bytes += items32({item});
        }
        return old ? bytes : bytes + items32({0, 0, 1});
    };
    constexpr uint32_t kAspect = 0x80;
    QTest::newRow("a range") << hints(kAspect, {4, 3, 16, 9}) << QList<int> {4, 3, 16, 9};
    QTest::newRow("one ratio") << hints(kAspect, {1920, 1080, 1920, 1080}) << QList<int> {1920, 1080, 1920, 1080};
    QTest::newRow("before ICCCM 1.0: 15 items") << hints(kAspect, {1, 1, 2, 1}, true) << QList<int> {1, 1, 2, 1};
    QTest::newRow("not flagged") << hints(0, {4, 3, 16, 9}) << QList<int> {-1, -1, -1, -1};
    QTest::newRow("zero side drops that aspect") << hints(kAspect, {0, 1, 16, 9}) << QList<int> {-1, -1, 16, 9};
    QTest::newRow("negative side drops that aspect") << hints(kAspect, {4, 3, 16, -9}) << QList<int> {4, 3, -1, -1};
    QTest::newRow("minimum above the maximum drops both")
        << hints(kAspect, {16, 9, 4, 3}) << QList<int> {-1, -1, -1, -1};
    QTest::newRow("huge values capped") << hints(kAspect, {0x7FFFFFFF, 1, 0x7FFFFFFF, 1})
                                        << QList<int> {65535, 1, 65535, 1};
}

void X11PropertiesTest::aspectHints()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<int>, expected);
    const SizeHints hints = parseSizeHints(propertyOf(kSizeHintsType, 32, bytes), kSizeHintsType);
    const AspectRatio none {-1, -1};
    const AspectRatio min = hints.minAspect.value_or(none);
    const AspectRatio max = hints.maxAspect.value_or(none);
    QCOMPARE((QList<int> {min.width, min.height, max.width, max.height}), expected);
}

void X11PropertiesTest::extents_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<uint>("type");
    QTest::addColumn<bool>("valid");

    QTest::newRow("four sides") << items32({1, 2, 3, 4}) << uint(kCardinal) << true;
    QTest::newRow("three items") << items32({1, 2, 3}) << uint(kCardinal) << false;
    QTest::newRow("five items") << items32({1, 2, 3, 4, 5}) << uint(kCardinal) << false;
    QTest::newRow("wrong type") << items32({1, 2, 3, 4}) << uint(kOtherType) << false;
    QTest::newRow("side beyond the limit") << items32({1, 2, kMaxExtentPx + 1, 4}) << uint(kCardinal) << false;
    QTest::newRow("negative side") << items32({1, -2, 3, 4}) << uint(kCardinal) << false;
}

void X11PropertiesTest::extents()
{
    QFETCH(QByteArray, bytes);
    QFETCH(uint, type);
    QFETCH(bool, valid);
    const std::optional<Extents> result = parseExtents(propertyOf(type, 32, bytes), kCardinal);
    QCOMPARE(bool(result), valid);
    if (valid) {
        QCOMPARE(*result, (Extents {1, 2, 3, 4}));
    }
}

void X11PropertiesTest::decorationsAskedFor_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<uint>("type");
    QTest::addColumn<bool>("wanted");

    QTest::newRow("no hints") << QByteArray() << uint(kMotifHintsType) << true;
    QTest::newRow("no decorations") << items32({2, 0, 0, 0, 0}) << uint(kMotifHintsType) << false;
    QTest::newRow("no decorations, three items") << items32({2, 0, 0}) << uint(kMotifHintsType) << false;
    QTest::newRow("some decorations") << items32({2, 0, 1, 0, 0}) << uint(kMotifHintsType) << true;
    QTest::newRow("decorations not given") << items32({1, 0, 0, 0, 0}) << uint(kMotifHintsType) << true;
    QTest::newRow("too short") << items32({2, 0}) << uint(kMotifHintsType) << true;
    QTest::newRow("wrong type") << items32({2, 0, 0, 0, 0}) << uint(kOtherType) << true;
}

void X11PropertiesTest::decorationsAskedFor()
{
    QFETCH(QByteArray, bytes);
    QFETCH(uint, type);
    QFETCH(bool, wanted);
    QCOMPARE(wantsDecorations(propertyOf(type, 32, bytes), kMotifHintsType), wanted);
}

void X11PropertiesTest::restoreRecord()
{
    const RestoreRecord record {-100, -20, 800, 600, 1920, 0, 1280, 1024};
    const std::vector<uint32_t> items = restoreRecordItems(record);
    QCOMPARE(items.size(), kRestoreRecordItems);
    QByteArray bytes(reinterpret_cast<const char *>(items.data()), int(items.size() * 4));
    QCOMPARE(parseRestoreRecord(propertyOf(kInteger, 32, bytes), kInteger), std::optional<RestoreRecord>(record));
}

void X11PropertiesTest::restoreRecordRejects_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<uint>("type");
    QTest::newRow("seven items") << items32({1, 2, 3, 4, 5, 6, 7}) << uint(kInteger);
    QTest::newRow("nine items") << items32({1, 2, 3, 4, 5, 6, 7, 8, 9}) << uint(kInteger);
    QTest::newRow("CARDINAL") << items32({1, 2, 3, 4, 5, 6, 7, 8}) << uint(kCardinal);
    QTest::newRow("zero width") << items32({1, 2, 0, 4, 5, 6, 7, 8}) << uint(kInteger);
    QTest::newRow("negative maximized height") << items32({1, 2, 3, 4, 5, 6, 7, -8}) << uint(kInteger);
}

void X11PropertiesTest::restoreRecordRejects()
{
    QFETCH(QByteArray, bytes);
    QFETCH(uint, type);
    QCOMPARE(parseRestoreRecord(propertyOf(type, 32, bytes), kInteger), std::nullopt);
}

QTEST_APPLESS_MAIN(X11PropertiesTest)
#include "x11properties_test.moc"
