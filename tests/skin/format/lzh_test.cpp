// Tests of TLZH against the packer's encoder: round trips, token sequences checked against a plain
// 4096-byte ring buffer, golden streams worked out by hand from the initial tree, and truncated streams.
#include "lzhencoder.h"
#include "skin/format/lzh.h"

#include <QTest>

#include <random>
#include <vector>

using Bytes = std::vector<uint8_t>;

struct Token
{
    int length = 0; // 0: a literal
    int distance = 0;
    uint8_t byte = 0;
};
using Tokens = std::vector<Token>;
Q_DECLARE_METATYPE(Tokens)

class LzhTest : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void tokens_data();
    void tokens();
    void goldenStream_data();
    void goldenStream();
    void stopsAtRequestedSize();
    void truncatedStream_data();
    void truncatedStream();
};

namespace {

Token literal(uint8_t byte)
{
    return {0, 0, byte};
}

Token match(int length, int distance)
{
    return {length, distance, 0};
}

// The ring buffer as the format describes it: positions 0..4035 start as spaces, writing starts at
// 4036, a match copies from (r - distance) AND 0xFFF one byte at a time. Never-written positions
// 4036..4095 read as zero.
Bytes ringOutput(const Tokens &tokens)
{
    std::vector<uint8_t> ring(4096, 0);
    std::fill(ring.begin(), ring.begin() + 4036, ' ');
    int r = 4036;
    Bytes out;
    const auto put = [&](uint8_t byte) {
        out.push_back(byte);
        ring[r] = byte;
        r = (r + 1) & 0xFFF;
    };
    for (const Token &token : tokens) {
        if (token.length == 0) {
            put(token.byte);
            continue;
        }
        int source = (r - token.distance) & 0xFFF;
        for (int i = 0; i < token.length; ++i) {
            put(ring[source]);
            source = (source + 1) & 0xFFF;
        }
    }
    return out;
}

Bytes encodeTokens(const Tokens &tokens)
{
    skinpack::LzhEncoder encoder;
    for (const Token &token : tokens) {
        if (token.length == 0) {
            encoder.literal(token.byte);
        } else {
            encoder.match(token.length, token.distance);
        }
    }
    return encoder.finish();
}

Bytes randomBytes(size_t count, uint32_t seed)
{
    std::mt19937 random(seed);
    Bytes bytes(count);
    for (uint8_t &byte : bytes) {
        byte = static_cast<uint8_t>(random());
    }
    return bytes;
}

// Rows of a bitmap: a few colours in runs, each row close to the one above; what skins are made of.
Bytes bitmapLike(int width, int height)
{
    std::mt19937 random(7);
    Bytes bytes;
    Bytes row(static_cast<size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (y == 0 || random() % 16 == 0) {
                const uint8_t shade = static_cast<uint8_t>(128 + (x / 9) * 4 + random() % 3);
                row[x * 3] = shade;
                row[x * 3 + 1] = static_cast<uint8_t>(shade - 20);
                row[x * 3 + 2] = static_cast<uint8_t>(shade / 2);
            }
        }
        bytes.insert(bytes.end(), row.begin(), row.end());
    }
    return bytes;
}

Tokens randomTokens(int count, uint32_t seed)
{
    std::mt19937 random(seed);
    Tokens tokens;
    for (int i = 0; i < count; ++i) {
        if (random() % 3 == 0) {
            tokens.push_back(literal(static_cast<uint8_t>(random() % 40)));
        } else {
            tokens.push_back(match(3 + static_cast<int>(random() % 58), 1 + static_cast<int>(random() % 4096)));
        }
    }
    return tokens;
}

QByteArray toQ(const Bytes &bytes)
{
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

Bytes fromQ(const QByteArray &bytes)
{
    return Bytes(bytes.begin(), bytes.end());
}

} // namespace

void LzhTest::roundTrip_data()
{
    QTest::addColumn<QByteArray>("data");

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("one byte") << QByteArray("x");
    QTest::newRow("one space, found in the initial ring") << QByteArray(" ");
    QTest::newRow("leading spaces match the initial ring") << QByteArray(300, ' ') + "end";
    QTest::newRow("random 1 KiB") << toQ(randomBytes(1024, 1));
    QTest::newRow("random 100 KiB, past a tree rebuild") << toQ(randomBytes(100 * 1024, 2));
    QTest::newRow("one byte repeated 200 KiB") << QByteArray(200 * 1024, '\0');
    QTest::newRow("two bytes alternating") << QByteArray("ab").repeated(20000);
    QTest::newRow("all byte values, period 256") << toQ([] {
        Bytes bytes;
        for (int i = 0; i < 256 * 64; ++i) {
            bytes.push_back(static_cast<uint8_t>(i));
        }
        return bytes;
    }());
    const Bytes block = randomBytes(3000, 3);
    QTest::newRow("block repeated from 4000 bytes back")
        << toQ(block) + QByteArray(1000, 'z') + toQ(block) + QByteArray(1000, 'y') + toQ(block);
    QTest::newRow("block repeated from beyond the window") << toQ(block) + toQ(randomBytes(5000, 4)) + toQ(block);
    QTest::newRow("bitmap-like 64x64") << toQ(bitmapLike(64, 64));
    QTest::newRow("bitmap-like 300x200") << toQ(bitmapLike(300, 200));
}

void LzhTest::roundTrip()
{
    QFETCH(QByteArray, data);
    const Bytes original = fromQ(data);
    const Bytes stream = skinpack::lzhCompress(original);
    QCOMPARE(TLZH::decode(stream, original.size()), original);
}

void LzhTest::tokens_data()
{
    QTest::addColumn<Tokens>("tokens");

    QTest::newRow("a match before anything is written gives spaces") << Tokens {match(10, 100)};
    QTest::newRow("a match reaching back to the first space") << Tokens {literal('x'), match(3, 4037)};
    QTest::newRow("overlap: spaces, then the byte just written")
        << Tokens {literal('x'), match(8, 4)}; // "x" then "   x   x"
    QTest::newRow("overlap of distance 1 repeats the last byte") << Tokens {literal('q'), match(60, 1)};
    Tokens wrap;
    for (int i = 0; i < 70; ++i) {
        wrap.push_back(literal(static_cast<uint8_t>(100 + i)));
    }
    wrap.push_back(match(10, 15)); // ring positions 4091..4095, then 0..4
    QTest::newRow("a match across position 0 wraps from 4095 to 0") << wrap;
    Tokens far;
    for (int i = 0; i < 5000; ++i) {
        far.push_back(literal(static_cast<uint8_t>(i * 7)));
    }
    far.push_back(match(60, 4096));
    QTest::newRow("distance 4096 reads the oldest byte") << far;
    QTest::newRow("never-written ring positions read as zero") << Tokens {match(5, 4096)};
    QTest::newRow("40000 random tokens, across tree rebuilds") << randomTokens(40000, 5);
    QTest::newRow("200000 random tokens") << randomTokens(200000, 6);
}

void LzhTest::tokens()
{
    QFETCH(Tokens, tokens);
    const Bytes expected = ringOutput(tokens);
    QCOMPARE(TLZH::decode(encodeTokens(tokens), expected.size()), expected);
}

void LzhTest::goldenStream_data()
{
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<bool>("encoderAgrees"); // lzhCompress(output) gives the same stream

    // In the initial tree node 314 + k has the children 2k and 2k + 1; the root is 626. Leaf 65 ('A')
    // hangs under 346, 487, 557, 592, 610, 619, 623, 625: code 111001101.
    QTest::newRow("literal A") << QByteArray("\xE6\x80", 2) << QByteArray("A") << true;
    // Leaf 256 (match length 3) hangs under 442, 535, 581, 604, 616, 622, 625: code 10001100. Position
    // 100: upper value 1 has the code 0010, then the low bits 100100. Ring 3935..3937 hold spaces.
    QTest::newRow("match of three spaces at position 100")
        << QByteArray("\x8C\x29\x00", 3) << QByteArray("   ") << false;
}

void LzhTest::goldenStream()
{
    QFETCH(QByteArray, stream);
    QFETCH(QByteArray, output);
    QFETCH(bool, encoderAgrees);
    QCOMPARE(toQ(TLZH::decode(fromQ(stream), static_cast<size_t>(output.size()))), output);
    if (encoderAgrees) {
        QCOMPARE(toQ(skinpack::lzhCompress(fromQ(output))), stream);
    }
}

void LzhTest::stopsAtRequestedSize()
{
    const Tokens tokens {literal('a'), match(60, 1), literal('b'), match(60, 1)};
    const Bytes full = ringOutput(tokens);
    const Bytes stream = encodeTokens(tokens);
    for (const size_t size : {size_t {0}, size_t {1}, size_t {30}, size_t {61}, size_t {62}, size_t {100}}) {
        QCOMPARE(TLZH::decode(stream, size), Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(size)));
    }
}

void LzhTest::truncatedStream_data()
{
    QTest::addColumn<int>("keptPercent");

    QTest::newRow("no stream at all") << 0;
    QTest::newRow("a tenth of the stream") << 10;
    QTest::newRow("half of the stream") << 50;
    QTest::newRow("all but the last byte") << 99;
}

void LzhTest::truncatedStream()
{
    QFETCH(int, keptPercent);
    const Bytes original = randomBytes(20000, 8);
    const Bytes stream = skinpack::lzhCompress(original);
    const size_t kept = stream.size() * static_cast<size_t>(keptPercent) / 100;
    const Bytes cut(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(kept));

    const Bytes decoded = TLZH::decode(cut, original.size());
    QCOMPARE(decoded.size(), original.size());
    // Random bytes cost about 9 bits each: at least the first kept * 8 / 10 bytes are intact.
    const size_t intact = kept * 8 / 10;
    QVERIFY(std::equal(original.begin(), original.begin() + static_cast<std::ptrdiff_t>(intact), decoded.begin()));
    // Missing bytes read as zero bits, whatever the stream would have continued with.
    Bytes zeroPadded = cut;
    zeroPadded.resize(stream.size() + 1000, 0);
    QCOMPARE(TLZH::decode(zeroPadded, original.size()), decoded);
}

QTEST_APPLESS_MAIN(LzhTest)
#include "lzh_test.moc"
