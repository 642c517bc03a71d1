#include "TestSupport.h"
#include "widgets/TableTextView.h"
#include "widgets/ViewColouring.h"

#include <QSignalSpy>
#include <QTest>

using namespace Zestrola;
using namespace Qt::StringLiterals;

// The colouring of a table view on its own: marks appear as lines come into
// view, follow a change of thresholds on the next pass, and a value that is
// no number is told once per set of rows.
class TestViewColouring : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_view = std::make_unique<TableTextView>();
        m_view->resize(400, 200);
        m_colouring = new ViewColouring(m_view.get());
        m_set[Nutrient::Fat] = { true, 3.0, 20.0, 20.01 };
        m_colouring->setRating({ -1, 1, -1, -1, -1 }, m_set);
    }
    void cleanup() { m_view.reset(); }

    void marksFollowPaintAndThresholds()
    {
        QStringList rows;
        for (int i = 0; i < 400; ++i)
            rows.append(u"Eintrag %1\t%2,00\t"_s.arg(i).arg(i % 2 ? 1 : 30));
        m_view->setLines(rows);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
        m_view->repaint();
        QCOMPARE(bandOf(0), QColor(QRgb(kRedRgb)));
        QCOMPARE(bandOf(1), QColor(QRgb(kGreenRgb)));
        QVERIFY(m_view->lineFormats(300).isEmpty()); // not yet in view

        m_view->ensureLineVisible(300);
        m_view->repaint();
        QCOMPARE(bandOf(300), QColor(QRgb(kRedRgb)));

        // New edges take effect with the next pass over the visible lines.
        m_set[Nutrient::Fat] = { true, 40.0, 50.0, 60.0 };
        m_colouring->setRating({ -1, 1, -1, -1, -1 }, m_set);
        m_colouring->markVisibleLines();
        QCOMPARE(bandOf(300), QColor(QRgb(kGreenRgb)));
        m_colouring->startRecolourTimer();
        QVERIFY(m_colouring->isRecolourTimerActive());
    }

    void badValueToldOncePerRows()
    {
        QSignalSpy told(m_colouring, &ViewColouring::badValueFound);
        const QStringList rows { u"A\tk.A.\t"_s, u"B\tx\t"_s };
        m_view->setLines(rows);
        m_colouring->markVisibleLines();
        m_colouring->markVisibleLines();
        QTRY_COMPARE(told.size(), 1);
        QVERIFY(told.first().first().toString().contains(u"k.A."_s));
        m_view->setLines(rows);
        m_colouring->markVisibleLines();
        QTRY_COMPARE(told.size(), 2);
    }

private:
    QColor bandOf(int line) const
    {
        const QList<LineFormat> formats = m_view->lineFormats(line);
        return formats.isEmpty() ? QColor() : formats.first().background;
    }

    std::unique_ptr<TableTextView> m_view;
    ViewColouring *m_colouring = nullptr;
    ThresholdSet m_set;
};

QTEST_MAIN(TestViewColouring)
#include "tst_viewcolouring.moc"
