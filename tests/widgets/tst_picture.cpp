#include "TestSupport.h"
#include "model/JpegPicture.h"
#include "widgets/MessageBox.h"
#include "widgets/Picture.h"

#include <QBuffer>
#include <QImage>
#include <QTest>

using namespace Zestrola;

namespace {

QByteArray jpeg(QSize size, bool grey = false)
{
    QImage image(size, grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    image.fill(QColor(30, 160, 60));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 95);
    return bytes;
}

// A picture whose header claims `size`: the frame header's fields are
// rewritten, the data stay those of a small picture.
QByteArray withClaimedSize(QByteArray bytes, QSize size)
{
    const qsizetype frame = bytes.indexOf("\xFF\xC0");
    bytes[frame + 5] = char(size.height() >> 8);
    bytes[frame + 6] = char(size.height() & 0xFF);
    bytes[frame + 7] = char(size.width() >> 8);
    bytes[frame + 8] = char(size.width() & 0xFF);
    return bytes;
}

} // namespace

class TestPicture : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { MessageBox::setTestMode(true); }

    void decodesAtTheSmallestSufficientScale_data()
    {
        QTest::addColumn<QSize>("source");
        QTest::addColumn<QSize>("wanted");
        QTest::addColumn<QSize>("decoded");
        QTest::newRow("full size") << QSize(64, 48) << QSize() << QSize(64, 48);
        QTest::newRow("a third: 3/8") << QSize(1200, 900) << QSize(400, 300) << QSize(450, 338);
        QTest::newRow("an eighth") << QSize(1600, 800) << QSize(200, 100) << QSize(200, 100);
        QTest::newRow("larger than the picture")
            << QSize(80, 60) << QSize(160, 120) << QSize(80, 60);
    }
    void decodesAtTheSmallestSufficientScale()
    {
        QFETCH(QSize, source);
        QFETCH(QSize, wanted);
        QFETCH(QSize, decoded);
        const JpegResult result
            = decodeJpeg(jpeg(source), "bild.jpg", [wanted](QSize) { return wanted; });
        QVERIFY2(result.ok, qPrintable(result.errorMessage));
        QCOMPARE(result.picture.sourceSize, source);
        QCOMPARE(result.picture.size, decoded);
        const QImage image = toImage(result.picture);
        QCOMPARE(image.size(), decoded);
        const QColor middle = image.pixelColor(decoded.width() / 2, decoded.height() / 2);
        QVERIFY(qAbs(middle.green() - 160) < 8 && qAbs(middle.red() - 30) < 8);
    }

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
        QTEST(jpegScaleNumerator(source, atLeast, JpegScale::Smallest), "smallest");
        QTEST(jpegScaleNumerator(source, atLeast, JpegScale::Quickest), "quickest");
    }

    void quickestDecodesAtAHalfInsteadOfThreeEighths()
    {
        const QByteArray bytes = jpeg(QSize(1200, 900));
        const auto third = [](QSize source) { return source / 3; };
        const JpegResult result = decodeJpeg(bytes, "bild.jpg", third, JpegScale::Quickest);
        QVERIFY2(result.ok, qPrintable(result.errorMessage));
        QCOMPARE(result.picture.size, QSize(600, 450));
        QCOMPARE(result.picture.bytesPerLine, 600 * 4);
        const QRgb middle
            = reinterpret_cast<const QRgb *>(result.picture.pixels.constData())[225 * 600 + 300];
        QVERIFY(qAbs(qGreen(middle) - 160) < 8 && qAbs(qRed(middle) - 30) < 8);
        QVERIFY(
            !decodeJpeg(bytes.left(bytes.size() / 2), "bild.jpg", third, JpegScale::Quickest).ok);
    }

    void damagedPicturesAreReportedNotFatal_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("detail");
        const QByteArray good = jpeg(QSize(640, 480));
        QTest::newRow("truncated (premature end)") << good.left(good.size() / 2) << "beschädigt";
        QTest::newRow("no JPEG at all") << QByteArray("GIF89a nichts") << "beschädigt";
        QTest::newRow("empty file") << QByteArray() << "beschädigt";
        QTest::newRow("beyond 100 megapixels")
            << withClaimedSize(good, QSize(20000, 10000)) << "zu groß";
    }
    void damagedPicturesAreReportedNotFatal()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, detail);
        const JpegResult result = decodeJpeg(bytes, "/daten/Obst/Apfel.jpg");
        QVERIFY(!result.ok);
        QVERIFY(result.errorMessage.contains("/daten/Obst/Apfel.jpg"));
        QVERIFY(result.errorMessage.contains(detail));
    }

    void loadPictureScalesExactlyOrTells()
    {
        TestSupport::DataFolder data;
        data.addFile("grau.jpg", jpeg(QSize(900, 600), true));
        const QImage thumbnail = loadPicture(
            nullptr, data.path() + "grau.jpg", [](QSize source) { return source / 3; });
        QCOMPARE(thumbnail.size(), QSize(300, 200));
        MessageBox::clearShownMessages();
        QVERIFY(loadPicture(nullptr, data.path() + "fehlt.jpg", {}).isNull());
        QCOMPARE(MessageBox::shownMessages().size(), 1);
        QVERIFY(MessageBox::shownMessages().first().contains("fehlt.jpg"));
    }
};

QTEST_MAIN(TestPicture)
#include "tst_picture.moc"
