// Reading the window manager's list of supported features for its interactive move: only a whole format-32 item of
// an ATOM list counts.
#include "skin/frame/nativemove.h"

#include <QByteArray>
#include <QTest>

#include <cstring>
#include <vector>

namespace {

constexpr uint32_t kAtomType = 4;
constexpr uint32_t kMoveResize = 300;

QByteArray items(const std::vector<uint32_t> &atoms)
{
    QByteArray bytes(int(atoms.size() * 4), '\0');
    std::memcpy(bytes.data(), atoms.data(), size_t(bytes.size()));
    return bytes;
}

} // namespace

class NativeMoveTest : public QObject
{
    Q_OBJECT

private slots:
    void atomListHolds_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<uint>("type");
        QTest::addColumn<int>("format");
        QTest::addColumn<bool>("holds");
        QTest::newRow("listed last") << items({12, 40, 301, kMoveResize}) << uint(kAtomType) << 32 << true;
        QTest::newRow("not listed") << items({12, 40, 301}) << uint(kAtomType) << 32 << false;
        QTest::newRow("empty list") << QByteArray() << uint(kAtomType) << 32 << false;
        QTest::newRow("another type") << items({kMoveResize}) << 6u << 32 << false;
        QTest::newRow("format 8") << items({kMoveResize}) << uint(kAtomType) << 8 << false;
        QTest::newRow("a broken last item")
            << items({kMoveResize}) + QByteArray("\x01\x02", 2) << uint(kAtomType) << 32 << false;
        QTest::newRow("straddling two items")
            << QByteArray("\x00\x00", 2) + items({kMoveResize}) + QByteArray("\x00\x00", 2) << uint(kAtomType) << 32
            << false;
    }

    void atomListHolds()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(uint, type);
        QFETCH(int, format);
        QFETCH(bool, holds);
        const std::span<const uint8_t> span(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
        QCOMPARE(::atomListHolds(span, type, uint8_t(format), kMoveResize), holds);
    }
};

QTEST_GUILESS_MAIN(NativeMoveTest)
#include "nativemove_test.moc"
