// Decoding the side picture, and refusing bytes that are not a JPEG or that claim an absurd size.
#include "jpegimage.h"

#include <QFile>
#include <QTest>

class JpegImageTest : public QObject
{
    Q_OBJECT

private:
    static QByteArray sidePicture()
    {
        QFile file(QStringLiteral(FRAMEWRIGHT_SOURCE_DIR "/src/app/resources/sidepicture.jpg"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void decodesTheSidePicture()
    {
        const auto decoded = decodeJpeg(sidePicture());
        QVERIFY(std::holds_alternative<QImage>(decoded));
        QCOMPARE(std::get<QImage>(decoded).size(), QSize(162, 557));
    }

    void refusals_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("empty") << QByteArray() << "no image data";
        QTest::newRow("not a JPEG") << QByteArray("BM\x10\x00\x00\x00", 6) << "not a JPEG image";
        QByteArray huge = sidePicture();
        const qsizetype sof = huge.indexOf("\xff\xc0");
        QVERIFY(sof > 0);
        huge[sof + 5] = char(0xFD); // height 65000
        huge[sof + 6] = char(0xE8);
        huge[sof + 7] = char(0xFD); // width 65000
        huge[sof + 8] = char(0xE8);
        QTest::newRow("forged size") << huge << "JPEG image of 65000 x 65000 pixels is out of bounds";
        QTest::newRow("truncated after the header") << sidePicture().left(700) << "JPEG image could not be decoded";
    }

    void refusals()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const auto decoded = decodeJpeg(bytes);
        QVERIFY(std::holds_alternative<QString>(decoded));
        QVERIFY2(std::get<QString>(decoded).startsWith(reason), qPrintable(std::get<QString>(decoded)));
    }
};

QTEST_APPLESS_MAIN(JpegImageTest)
#include "jpegimage_test.moc"
