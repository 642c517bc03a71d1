#include "TestSupport.h"
#include "widgets/IntakeChart.h"

#include <QTest>

using namespace Zestrola;
using namespace Qt::StringLiterals;

namespace {

const QRgb kBar = qRgb(70, 130, 180);
const QRgb kOver = qRgb(205, 92, 60);

int pixelsOf(const QImage &image, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            count += (line[x] & 0xFFFFFF) == (colour & 0xFFFFFF);
    }
    return count;
}

} // namespace

class TestIntakeChart : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void valuesAndAccessibleText()
    {
        IntakeChart chart;
        QCOMPARE(chart.accessibleName(), u"Anteil an der Referenzmenge"_s);
        chart.setAmounts(IntakeAmounts { 1674, 400, 14, 5, 39, 18, 12.5, 3 });
        QCOMPARE(chart.percents()[index(Intake::Salt)], 50.0);
        const QString expected = u"Energie: 20 %\nFett: 20 %\ngesättigte Fettsäuren: 25 %\n"
                                 "Kohlenhydrate: 15 %\nZucker: 20 %\nEiweiß: 25 %\nSalz: 50 %"_s;
        QCOMPARE(chart.valuesText(), expected);
        QCOMPARE(chart.accessibleDescription(), expected);
    }

    // Bars grow in proportion up to the 100 % line and change colour beyond
    // it; the axis then grows, so a bar of 100 % gets shorter.
    void barLengths()
    {
        IntakeChart chart;
        const auto barPixels = [&chart](double fat, double salt, QRgb colour) {
            chart.setAmounts(IntakeAmounts { 0, 0, fat, 0, 0, 0, 0, salt });
            return pixelsOf(chart.toImage(QSize(640, 360), 1), colour);
        };
        const auto near = [](int pixels, int expected) {
            return qAbs(pixels - expected) <= expected / 20; // the numbers cover a few
        };
        QCOMPARE(barPixels(0, 0, kBar), 0);
        const int half = barPixels(0, 3, kBar);
        const int full = barPixels(0, 6, kBar);
        QVERIFY2(half > 0 && near(2 * half, full), qPrintable(u"%1 / %2"_s.arg(half).arg(full)));
        QVERIFY(near(barPixels(70, 12, kBar), half)); // the axis now reaches 200 %
        QVERIFY(near(barPixels(70, 12, kOver), full));
        QCOMPARE(barPixels(0, 5.97, kOver), 0); // 99,5 % rounds to 100 %, which is not over
    }

    void png()
    {
        IntakeChart chart;
        chart.setAmounts(IntakeAmounts { 0, 2000, 0, 0, 0, 0, 0, 3 });
        TestSupport::DataFolder folder;
        const QString path = folder.path() + u"Tag.png"_s;
        QString error;
        QVERIFY(chart.savePng(path, &error));
        const QImage image(path);
        QCOMPARE(image.size(), QSize(1280, 720));
        QVERIFY(pixelsOf(image, kBar) > 0);
        QVERIFY(!chart.savePng(folder.path() + u"fehlt/Tag.png"_s, &error));
        QVERIFY(error.contains(u"konnte nicht geschrieben werden"_s));
    }
};

QTEST_MAIN(TestIntakeChart)
#include "tst_intakechart.moc"
