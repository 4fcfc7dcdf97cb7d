// The monitor name out of EDID blocks: well-formed, truncated, forged.
#include "platform/edid.h"

#include <QTest>

#include <vector>

namespace {

// A base block with the header and, at descriptor slot `slot`, a descriptor with `tag` and `text`.
std::vector<uint8_t> edidBlock(uint8_t tag, const std::string &text, int slot = 0)
{
    std::vector<uint8_t> block(128, 0);
    const uint8_t header[] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    std::copy(std::begin(header), std::end(header), block.begin());
    const size_t offset = 54 + 18 * slot;
    block[offset + 3] = tag;
    for (size_t i = 0; i < 13; ++i) {
        block[offset + 5 + i] = i < text.size() ? uint8_t(text[i]) : i == text.size() ? 0x0A : 0x20;
    }
    return block;
}

} // namespace

class EdidTest : public QObject
{
    Q_OBJECT

private slots:
    void monitorName_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        const auto bytes = [](const std::vector<uint8_t> &v) {
            return QByteArray(reinterpret_cast<const char *>(v.data()), qsizetype(v.size()));
        };
        QTest::newRow("name in first slot") << bytes(edidBlock(0xFC, "DELL U2415")) << "DELL U2415";
        QTest::newRow("name in last slot") << bytes(edidBlock(0xFC, "LG HDR 4K", 3)) << "LG HDR 4K";
        QTest::newRow("thirteen characters, no terminator")
            << bytes(edidBlock(0xFC, "ABCDEFGHIJKLM")) << "ABCDEFGHIJKLM";
        QTest::newRow("serial descriptor is not a name") << bytes(edidBlock(0xFF, "123456")) << "";
        auto withBlanks = edidBlock(0xFC, "  Side  ");
        QTest::newRow("blanks trimmed") << bytes(withBlanks) << "Side";
        auto control = edidBlock(0xFC,
            "A\x01"
            "B\xC3");
        QTest::newRow("non-printable bytes dropped") << bytes(control) << "AB";
        auto badHeader = edidBlock(0xFC, "Name");
        badHeader[1] = 0x00;
        QTest::newRow("wrong header") << bytes(badHeader) << "";
        auto truncated = edidBlock(0xFC, "Name");
        truncated.resize(127);
        QTest::newRow("shorter than a base block") << bytes(truncated) << "";
        QTest::newRow("empty") << QByteArray() << "";
        auto timing = edidBlock(0xFC, "Name");
        timing[54] = 0x01; // a detailed timing descriptor, not a display descriptor
        QTest::newRow("detailed timing in the slot") << bytes(timing) << "";
    }

    void monitorName()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        const auto *data = reinterpret_cast<const uint8_t *>(bytes.constData());
        QCOMPARE(
            QString::fromStdString(platform::edidMonitorName(bytes.isEmpty() ? nullptr : data, bytes.size())), name);
    }
};

QTEST_APPLESS_MAIN(EdidTest)
#include "edid_test.moc"
