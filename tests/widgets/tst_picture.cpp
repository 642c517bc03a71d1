// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "model/AreaShrink.h"
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

// Soft light and shade with a fine texture on top, as in a photo.
QImage photoLike(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y,
                qRgb((x * 255) / size.width(), (y * 255) / size.height(),
                    ((x * 7 + y * 13) % 64) * 4));
    return image;
}

QImage shrunk(const QImage &source, QSize to)
{
    QImage result(to, QImage::Format_RGB32);
    AreaShrinker shrinker(source.size(), to, result.bits(), result.bytesPerLine());
    for (int y = 0; y < source.height(); ++y)
        shrinker.addRow(reinterpret_cast<const quint32 *>(source.constScanLine(y)));
    return result;
}

int largestDifference(const QImage &a, const QImage &b)
{
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            largest = std::max({ largest, qAbs(qRed(p) - qRed(q)), qAbs(qGreen(p) - qGreen(q)),
                qAbs(qBlue(p) - qBlue(q)), 255 - qAlpha(p) });
        }
    return largest;
}

// Fails every read after the first `good` bytes, as a disk can.
class FailingDevice : public QBuffer
{
public:
    FailingDevice(const QByteArray &bytes, qint64 good)
        : m_good(good)
    {
        setData(bytes);
        open(QIODevice::ReadOnly);
    }

protected:
    qint64 readData(char *data, qint64 size) override
    {
        if (pos() >= m_good)
            return -1;
        return QBuffer::readData(data, std::min(size, m_good - pos()));
    }

private:
    qint64 m_good;
};

} // namespace

class TestPicture : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { MessageBox::setTestMode(true); }

    void decodesAtTheWantedSize_data()
    {
        QTest::addColumn<QSize>("source");
        QTest::addColumn<QSize>("wanted");
        QTest::addColumn<QSize>("decoded");
        QTest::newRow("full size") << QSize(64, 48) << QSize() << QSize(64, 48);
        QTest::newRow("a third") << QSize(1200, 900) << QSize(400, 300) << QSize(400, 300);
        QTest::newRow("an eighth") << QSize(1600, 800) << QSize(200, 100) << QSize(200, 100);
        QTest::newRow("larger than the picture")
            << QSize(80, 60) << QSize(160, 120) << QSize(80, 60);
        QTest::newRow("larger in one direction") << QSize(80, 60) << QSize(90, 30) << QSize(80, 60);
    }
    void decodesAtTheWantedSize()
    {
        QFETCH(QSize, source);
        QFETCH(QSize, wanted);
        QFETCH(QSize, decoded);
        const JpegResult result
            = decodeJpeg(jpeg(source), "bild.jpg", [wanted](QSize) { return wanted; });
        QVERIFY2(result.ok, qPrintable(result.errorMessage));
        QCOMPARE(result.picture.sourceSize, source);
        QCOMPARE(result.picture.size, decoded);
        QCOMPARE(result.picture.bytesPerLine, decoded.width() * 4);
        const QImage image = toImage(result.picture);
        QCOMPARE(image.size(), decoded);
        const QColor middle = image.pixelColor(decoded.width() / 2, decoded.height() / 2);
        QVERIFY(qAbs(middle.green() - 160) < 8 && qAbs(middle.red() - 30) < 8);
    }

    void choosesTheScaleThatCoversTheWantedSize_data()
    {
        QTest::addColumn<QSize>("source");
        QTest::addColumn<QSize>("atLeast");
        QTest::addColumn<int>("numerator");
        const QSize photo(4000, 3000);
        QTest::newRow("a third: 4/8, not 3/8") << photo << QSize(1333, 1000) << 4;
        QTest::newRow("an eighth") << photo << QSize(500, 375) << 1;
        QTest::newRow("a quarter, one pixel more") << photo << QSize(1001, 750) << 4;
        QTest::newRow("five eighths") << photo << QSize(2100, 1500) << 5;
        QTest::newRow("nothing wanted: full size") << photo << QSize() << 8;
        QTest::newRow("more than the picture") << QSize(80, 60) << QSize(160, 120) << 8;
        QTest::newRow("tall and narrow") << QSize(30, 3000) << QSize(10, 1000) << 4;
    }
    void choosesTheScaleThatCoversTheWantedSize()
    {
        QFETCH(QSize, source);
        QFETCH(QSize, atLeast);
        QTEST(jpegScaleNumerator(source, atLeast), "numerator");
    }

    // Each target pixel is the average of the area it covers, as Qt's own
    // smooth scaling makes it; rounding must neither tint a plain colour
    // nor lose a row or column at the edges.
    void shrinksToTheAverageOfEachArea_data()
    {
        QTest::addColumn<QSize>("from");
        QTest::addColumn<QSize>("to");
        QTest::newRow("two thirds, as the info box") << QSize(300, 225) << QSize(200, 150);
        QTest::newRow("a half") << QSize(64, 48) << QSize(32, 24);
        QTest::newRow("a little") << QSize(150, 112) << QSize(133, 100);
        QTest::newRow("across only") << QSize(90, 40) << QSize(31, 40);
        QTest::newRow("down only") << QSize(40, 90) << QSize(40, 31);
        QTest::newRow("to one pixel") << QSize(50, 37) << QSize(1, 1);
    }
    void shrinksToTheAverageOfEachArea()
    {
        QFETCH(QSize, from);
        QFETCH(QSize, to);
        const QImage photo = photoLike(from);
        QVERIFY(largestDifference(shrunk(photo, to),
                    photo.scaled(to, Qt::IgnoreAspectRatio, Qt::SmoothTransformation))
            <= 2);
        QImage plain(from, QImage::Format_RGB32);
        plain.fill(qRgb(201, 17, 99));
        QImage expected(to, QImage::Format_RGB32);
        expected.fill(qRgb(201, 17, 99));
        QCOMPARE(largestDifference(shrunk(plain, to), expected), 0);
    }

    // As Adobe's programs write them: inverted inks.
    void cmykPicturesShowTheirColours()
    {
        const QString path = QStringLiteral(":/data/rot-cmyk.jpg");
        for (const QSize wanted : { QSize(), QSize(12, 8) }) {
            const JpegResult result = decodeJpegFile(path, [wanted](QSize) { return wanted; });
            QVERIFY2(result.ok, qPrintable(result.errorMessage));
            const QColor colour = toImage(result.picture).pixelColor(5, 5);
            QVERIFY2(qAbs(colour.red() - 200) < 8 && qAbs(colour.green() - 30) < 8
                    && qAbs(colour.blue() - 40) < 8 && colour.alpha() == 255,
                qPrintable(colour.name()));
        }
    }

    void damagedPicturesAreReportedNotFatal_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("wanted");
        QTest::addColumn<QString>("detail");
        const QByteArray good = jpeg(QSize(640, 480));
        const QByteArray truncated = good.left(good.size() / 2);
        QTest::newRow("truncated (premature end)") << truncated << QSize() << "beschädigt";
        QTest::newRow("truncated, shrinking") << truncated << QSize(213, 160) << "beschädigt";
        QTest::newRow("no JPEG at all") << QByteArray("GIF89a nichts") << QSize() << "beschädigt";
        QTest::newRow("empty file") << QByteArray() << QSize() << "beschädigt";
        QTest::newRow("beyond 100 megapixels")
            << withClaimedSize(good, QSize(20000, 10000)) << QSize() << "zu groß";
    }
    void damagedPicturesAreReportedNotFatal()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, wanted);
        QFETCH(QString, detail);
        const JpegResult result
            = decodeJpeg(bytes, "/daten/Obst/Apfel.jpg", [wanted](QSize) { return wanted; });
        QVERIFY(!result.ok);
        QVERIFY(result.picture.pixels.isEmpty());
        QVERIFY(result.errorMessage.contains("/daten/Obst/Apfel.jpg"));
        QVERIFY(result.errorMessage.contains(detail));
    }

    void aFailingReadIsNotCalledDamage()
    {
        const QByteArray bytes = jpeg(QSize(640, 480));
        FailingDevice device(bytes, bytes.size() / 2);
        const JpegResult result = decodeJpeg(device, "Apfel.jpg");
        QVERIFY(!result.ok);
        QVERIFY(result.errorMessage.contains("\"Apfel.jpg\" kann nicht gelesen werden"));
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
