// Tests of the adaptive Huffman model and the position tables that decoder and encoder share: round
// trips cannot see a fault here, because both sides would make it alike.
#include "skin/format/lzhmodel.h"

#include <QTest>

#include <random>

using namespace skinformat;

class LzhModelTest : public QObject
{
    Q_OBJECT

private slots:
    void treeStaysOrdered_data();
    void treeStaysOrdered();
    void rebuildHalvesRoundingUp();
    void positionTablesFollowTheirRule();
};

namespace {

// The sibling property and the links: frequencies ascend with the node index, an internal node's
// frequency is the sum of its two children's, and parent and child entries point at each other.
QString treeProblem(const LzhModel &model)
{
    int leaves = 0;
    for (int node = 0; node < kTreeSize; ++node) {
        if (node + 1 < kTreeSize && model.frequency(node) > model.frequency(node + 1)) {
            return QStringLiteral("frequency falls after node %1").arg(node);
        }
        const int child = model.child(node);
        if (child >= kTreeSize) {
            ++leaves;
            if (model.leafNode(child - kTreeSize) != node) {
                return QStringLiteral("leaf of node %1 does not point back").arg(node);
            }
            continue;
        }
        if (child + 1 >= node) {
            return QStringLiteral("node %1 has children at or above it").arg(node);
        }
        if (model.parent(child) != node || model.parent(child + 1) != node) {
            return QStringLiteral("children of node %1 do not point back").arg(node);
        }
        if (model.frequency(node) != model.frequency(child) + model.frequency(child + 1)) {
            return QStringLiteral("node %1 is not the sum of its children").arg(node);
        }
    }
    return leaves == kSymbolCount ? QString() : QStringLiteral("%1 leaves").arg(leaves);
}

} // namespace

void LzhModelTest::treeStaysOrdered_data()
{
    QTest::addColumn<int>("updates");
    QTest::addColumn<int>("alphabet"); // symbols drawn from 0..alphabet-1, skewed towards the low ones

    QTest::newRow("initial tree") << 0 << kSymbolCount;
    QTest::newRow("a few updates") << 50 << kSymbolCount;
    QTest::newRow("uniform, past one rebuild") << 40000 << kSymbolCount;
    QTest::newRow("skewed to a few symbols, past several rebuilds") << 150000 << 6;
}

void LzhModelTest::treeStaysOrdered()
{
    QFETCH(int, updates);
    QFETCH(int, alphabet);
    LzhModel model;
    std::mt19937 random(11);
    for (int i = 0; i < updates; ++i) {
        const int symbol = static_cast<int>(random() % alphabet) % (1 + static_cast<int>(random() % alphabet));
        model.update(symbol);
        if (i % 997 == 0) {
            QCOMPARE(treeProblem(model), QString());
        }
    }
    QCOMPARE(treeProblem(model), QString());
}

void LzhModelTest::rebuildHalvesRoundingUp()
{
    // Symbol 'A' alone brings the root to the limit: 313 leaves of 1 and 'A' at 0x8000 - 313.
    LzhModel model;
    const int updatesToLimit = kMaxFrequency - kSymbolCount;
    for (int i = 0; i < updatesToLimit; ++i) {
        model.update('A');
    }
    QCOMPARE(int(model.frequency(kRoot)), int(kMaxFrequency));
    QCOMPARE(int(model.frequency(model.leafNode('A'))), kMaxFrequency - (kSymbolCount - 1));

    // The next update halves first: (1 + 1) / 2 stays 1, 'A' becomes (32455 + 1) / 2 and then counts one.
    model.update('A');
    QCOMPARE(int(model.frequency(model.leafNode('B'))), 1);
    QCOMPARE(int(model.frequency(model.leafNode('A'))), (kMaxFrequency - (kSymbolCount - 1) + 1) / 2 + 1);
    QCOMPARE(int(model.frequency(kRoot)), (kMaxFrequency - (kSymbolCount - 1) + 1) / 2 + 1 + (kSymbolCount - 1));
    QCOMPARE(treeProblem(model), QString());
}

void LzhModelTest::positionTablesFollowTheirRule()
{
    const PositionTables &tables = positionTables();
    const int expectedLength[] = {3, 4, 4, 4, 5, 5, 5, 5, 5, 5, 5, 5, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 7, 7, 7, 7, 7,
        7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8};
    int byte = 0;
    for (int upper = 0; upper < 64; ++upper) {
        const int length = expectedLength[upper];
        QCOMPARE(int(tables.lengthOfUpper[upper]), length);
        QCOMPARE(int(tables.codeOfUpper[upper]), byte);
        // Consecutive byte values share the upper value, one for each setting of the bits after the code.
        for (int n = 0; n < (1 << (8 - length)); ++n, ++byte) {
            QCOMPARE(int(tables.upperOfByte[byte]), upper);
            QCOMPARE(int(tables.lengthOfByte[byte]), length);
        }
    }
    QCOMPARE(byte, 256);
}

QTEST_APPLESS_MAIN(LzhModelTest)
#include "lzhmodel_test.moc"
