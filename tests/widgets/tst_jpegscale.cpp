#include "model/JpegPicture.h"

#include <QBuffer>
#include <QImage>
#include <QTest>

using namespace Zestrola;

class TestJpegScale : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void choosesTheScaleThatCoversTheWantedSize_data()
    {
        QTest::addColumn<QSize>("source");
        QTest::addColumn<QSize>("atLeast");
        QTest::addColumn<int>("smallest");
        QTest::addColumn<int>("quickest");
        const QSize photo(4000, 3000);
        QTest::newRow("a third") << photo << QSize(1333, 1000) << 3 << 4;
        QTest::newRow("an eighth") << photo << QSize(500, 375) << 1 << 1;
        QTest::newRow("a quarter, one pixel more") << photo << QSize(1001, 750) << 3 << 4;
        QTest::newRow("a half") << photo << QSize(2000, 1500) << 4 << 4;
        QTest::newRow("five eighths") << photo << QSize(2100, 1500) << 5 << 5;
        QTest::newRow("nothing wanted: full size") << photo << QSize() << 8 << 8;
        QTest::newRow("more than the picture") << QSize(80, 60) << QSize(160, 120) << 8 << 8;
        QTest::newRow("tall and narrow") << QSize(30, 3000) << QSize(10, 1000) << 3 << 4;
    }

    void choosesTheScaleThatCoversTheWantedSize()
    {
        QFETCH(QSize, source);
        QFETCH(QSize, atLeast);
        QFETCH(int, smallest);
        QFETCH(int, quickest);
        QCOMPARE(jpegScaleNumerator(source, atLeast, JpegScale::Smallest), smallest);
        QCOMPARE(jpegScaleNumerator(source, atLeast, JpegScale::Quickest), quickest);
    }

    void quickestDecodesAtAHalfInsteadOfThreeEighths()
    {
        QImage image(1200, 900, QImage::Format_RGB32);
        image.fill(QColor(30, 160, 60));
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(image.save(&buffer, "JPG", 95));

        const auto third = [](QSize source) { return source / 3; };
        const JpegResult result = decodeJpeg(bytes, "bild.jpg", third, JpegScale::Quickest);
        QVERIFY2(result.ok, qPrintable(result.errorMessage));
        QCOMPARE(result.picture.size, QSize(600, 450));
        QCOMPARE(result.picture.bytesPerLine, 600 * 4);
        const QRgb middle
            = reinterpret_cast<const QRgb *>(result.picture.pixels.constData())[225 * 600 + 300];
        QVERIFY(qAbs(qGreen(middle) - 160) < 8 && qAbs(qRed(middle) - 30) < 8);

        const QByteArray truncated = bytes.left(bytes.size() / 2);
        QVERIFY(!decodeJpeg(truncated, "bild.jpg", third, JpegScale::Quickest).ok);
    }
};

QTEST_MAIN(TestJpegScale)
#include "tst_jpegscale.moc"
