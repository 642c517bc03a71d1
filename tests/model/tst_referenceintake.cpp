#include "model/ReferenceIntake.h"

#include <QTest>
#include <limits>

using namespace Zestrola;

Q_DECLARE_METATYPE(Zestrola::IntakeAmounts)
Q_DECLARE_METATYPE(Zestrola::ReferenceShares)

class TestReferenceIntake : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void shares_data()
    {
        QTest::addColumn<IntakeAmounts>("amounts");
        QTest::addColumn<ReferenceShares>("shares");
        // kJ, kcal, fat, saturated fat, carbohydrate, sugar, protein, salt
        QTest::newRow("the reference day") << IntakeAmounts { 8400, 2000, 70, 20, 260, 90, 50, 6 }
                                           << ReferenceShares { 100, 100, 100, 100, 100, 100, 100 };
        QTest::newRow("half the salt, a breakfast") << IntakeAmounts { 1674, 400, 14, 5, 39, 18,
            12.5, 3 } << ReferenceShares { 20, 20, 25, 15, 20, 25, 50 };
        QTest::newRow("kcal rules the energy") << IntakeAmounts { 8368, 2000, 0, 0, 0, 0, 0, 0 }
                                               << ReferenceShares { 100, 0, 0, 0, 0, 0, 0 };
        QTest::newRow("kJ alone gives the energy") << IntakeAmounts { 4200, 0, 0, 0, 0, 0, 0, 0 }
                                                   << ReferenceShares { 50, 0, 0, 0, 0, 0, 0 };
        // 0,03 g salt and 0,35 g fat are halves; their doubles lie either side.
        QTest::newRow("halves round up") << IntakeAmounts { 0, 10, 0.35, 0.1, 1.3, 0.45, 0.25,
            0.03 } << ReferenceShares { 1, 1, 1, 1, 1, 1, 1 };
        QTest::newRow("just below halves") << IntakeAmounts { 0, 9.99, 0.3499, 0.0999, 1.2999,
            0.4499, 0.2499, 0.0299 } << ReferenceShares { 0, 0, 0, 0, 0, 0, 0 };
        QTest::newRow("more than a day") << IntakeAmounts { 0, 4567.89, 210, 19.9, 0, 0, 0, 12.3 }
                                         << ReferenceShares { 228, 300, 100, 0, 0, 0, 205 };
        QTest::newRow("negative mirrors") << IntakeAmounts { 0, -10, 0, 0, 0, 0, 0, -0.03 }
                                          << ReferenceShares { -1, 0, 0, 0, 0, 0, -1 };
    }
    void shares()
    {
        QFETCH(IntakeAmounts, amounts);
        QTEST(referenceShares(amounts), "shares");
    }

    void extremes()
    {
        QCOMPARE(roundedShare(std::numeric_limits<double>::quiet_NaN()), 0);
        QCOMPARE(roundedShare(std::numeric_limits<double>::infinity()), 1000000000);
        QCOMPARE(roundedShare(-1e300), -1000000000);
        QCOMPARE(referencePercents(IntakeAmounts { 0, 500, 0, 0, 0, 0, 0, 1 })[0], 25.0);
    }

    // Values arrive in the column order of the tables; the energy density
    // (third) and the alcohol columns (tenth and eleventh) are not read.
    void fromTableValues()
    {
        const QList<std::optional<double>> values { 218, 52, 0.52, 0.2, std::nullopt, 11.4, 10.3,
            0.3, 0.01, 4.5, 7.1 };
        QCOMPARE(IntakeAmounts::fromTableValues(values),
            (IntakeAmounts { 218, 52, 0.2, 0, 11.4, 10.3, 0.3, 0.01 }));
        QCOMPARE(IntakeAmounts::fromTableValues({ 100 }), (IntakeAmounts { 100 }));
    }

    void texts()
    {
        QCOMPARE(referenceShareSummary(IntakeAmounts { 1674, 400, 14, 5, 39, 18, 12.5, 3 }),
            QStringLiteral("Anteil an der Referenzmenge:\nEnergie: 20 %\nFett: 20 %\n"
                           "gesättigte Fettsäuren: 25 %\nKohlenhydrate: 15 %\nZucker: 20 %\n"
                           "Eiweiß: 25 %\nSalz: 50 %\n"
                           "Referenzmenge für einen durchschnittlichen Erwachsenen "
                           "(8 400 kJ/2 000 kcal)"));
        QStringList references;
        for (Intake nutrient : kIntakes)
            references << referenceAmountText(nutrient);
        QCOMPARE(references.join(u", "),
            QStringLiteral("8 400 kJ/2 000 kcal, 70 g, 20 g, 260 g, 90 g, 50 g, 6 g"));
    }
};

QTEST_APPLESS_MAIN(TestReferenceIntake)
#include "tst_referenceintake.moc"
