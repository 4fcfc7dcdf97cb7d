// Converting placement values between percent and pixels, and reading an edit's text as a value.
#include "placement/unitconversion.h"

#include <QTest>

class UnitConversionTest : public QObject
{
    Q_OBJECT

private slots:
    void toPixels_data()
    {
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("referencePx");
        QTest::addColumn<int>("pixels");
        QTest::newRow("half of 1920") << 50 << 1920 << 960;
        QTest::newRow("rounds half up") << 1 << 1350 << 14;                 // 13.5 + 0.5
        QTest::newRow("negative moves toward zero") << -10 << 1366 << -136; // -136.6 + 0.5 = -136.1
        QTest::newRow("500 % above the pixel limit is clamped") << 500 << 7000 << 32000;
        QTest::newRow("-500 % below the pixel limit is clamped") << -500 << 7000 << -32000;
        QTest::newRow("reference 0 keeps the value") << 40 << 0 << 40;
    }

    void toPixels()
    {
        QFETCH(int, percent);
        QFETCH(int, referencePx);
        QFETCH(int, pixels);
        QCOMPARE(percentToPixels(percent, referencePx), pixels);
    }

    void toPercent_data()
    {
        QTest::addColumn<int>("pixels");
        QTest::addColumn<int>("referencePx");
        QTest::addColumn<int>("percent");
        QTest::newRow("960 of 1920") << 960 << 1920 << 50;
        QTest::newRow("1000 of 1366 rounds to 73") << 1000 << 1366 << 73;
        QTest::newRow("-136 of 1366 gives -9") << -136 << 1366 << -9; // -9.96 + 0.5 = -9.46
        QTest::newRow("-13.4 % gives -12") << -183 << 1366 << -12;    // -13.40 + 0.5
        QTest::newRow("-13.6 % gives -13") << -186 << 1366 << -13;    // -13.62 + 0.5
        QTest::newRow("clamped to 500") << 32000 << 1920 << 500;
        QTest::newRow("clamped to -500") << -32000 << 1920 << -500;
        QTest::newRow("reference 0 keeps the value") << 300 << 0 << 300;
        QTest::newRow("reference 0 still clamps to the unit") << 3000 << 0 << 500;
    }

    void toPercent()
    {
        QFETCH(int, pixels);
        QFETCH(int, referencePx);
        QFETCH(int, percent);
        QCOMPARE(pixelsToPercent(pixels, referencePx), percent);
    }

    void switchingBackNeedNotRestore() { QCOMPARE(pixelsToPercent(percentToPixels(-10, 1366), 1366), -9); }

    void decimalOrZero_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << "600" << 600;
        QTest::newRow("negative") << "-40000" << -40000;
        QTest::newRow("plus sign") << "+7" << 7;
        QTest::newRow("lone minus") << "-" << 0;
        QTest::newRow("letters") << "abc" << 0;
        QTest::newRow("digits then letters") << "12abc" << 0;
        QTest::newRow("blank inside") << "1 2" << 0;
        QTest::newRow("leading blank") << " 12" << 0;
        QTest::newRow("hexadecimal is not decimal") << "$1A" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("beyond 32 bits") << "2147483648" << 0;
        QTest::newRow("lowest 32-bit") << "-2147483648" << -2147483647 - 1;
        QTest::newRow("Arabic-Indic digits are not decimal") << QString::fromUtf8("\u0661\u0662") << 0;
    }

    void decimalOrZero()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(::decimalOrZero(text), value);
    }
};

QTEST_APPLESS_MAIN(UnitConversionTest)
#include "unitconversion_test.moc"
