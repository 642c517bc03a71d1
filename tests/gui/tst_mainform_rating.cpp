#include "app/MessageBox.h"
#include "app/TableTextView.h"
#include "app/zestrolap.h"
#include "dialogs/ThresholdDialog.h"
#include "dialogs/einstellformLebensmittelp.h"
#include "model/Settings.h"

#include "TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

using namespace Zestrola;
using Settings::LeseRegKey;
using Settings::SchreibeRegKey;

namespace {

const QByteArray kBom = "\xEF\xBB\xBF";
const QByteArray kColumns = "\tEnergie-|dichte\tFett\tgesättigte|Fettsäuren\tZucker\tSalz\r\n";

const QColor kGreen(0, 255, 0);
const QColor kYellow(255, 255, 0);
const QColor kRed(255, 0, 0);

// The background of the mark that covers a character, or an invalid colour.
QColor markAt(const TableTextView *view, int line, int column)
{
    for (const LineFormat &format : view->lineFormats(line)) {
        if (column >= format.start && column < format.start + format.length)
            return format.background;
    }
    return {};
}

// Column of the first character of cell `cell` of a line.
int cellStart(const QString &line, int cell)
{
    int position = 0;
    for (int i = 0; i < cell; ++i)
        position = int(line.indexOf(u'\t', position)) + 1;
    return position;
}

QColor cellMark(const TableTextView *view, int line, int cell)
{
    return markAt(view, line, cellStart(view->lines().at(line), cell));
}

QColor legendColourOf(const QTextEdit *legend, const QString &word)
{
    const int at = int(legend->toPlainText().indexOf(word));
    QTextCursor cursor(legend->document());
    cursor.setPosition(at + 1);
    return cursor.charFormat().foreground().color();
}

} // namespace

class TestMainFormRating : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void foodValuesAreMarkedByBand_data();
    void foodValuesAreMarkedByBand();
    void markCoversTheWholeValue();
    void drinkTableUsesTheDrinkSet();
    void switchingANutrientOffRemovesItsMarks();
    void changedEdgeIsUsedByTheNextPass();
    void cellThatIsNoNumberIsReportedOncePerTable();
    void legendColoursItsWords();
    void badStoredEdgeIsReportedAndItsDefaultUsed();

private:
    void start(const QString &table);

    std::unique_ptr<TestSupport::DataFolder> m_data;
    std::unique_ptr<TMainForm> m_form;
    QString m_previousDir;
};

void TestMainFormRating::init()
{
    TestSupport::isolateSettings();
    MessageBox::setTestMode(true);
    m_data = std::make_unique<TestSupport::DataFolder>();
    m_data->addTable(QStringLiteral("Obst"), kBom + "Lebensmittel 100g" + kColumns
                                                 + "Apfel\t1,59\t<0,5\t1,50\t5,00\t0,30\r\n"
                                                   "Brot\t1,60\t3,01\t5,00\t22,50\t1,50\r\n"
                                                   "Chips\t2,41\t100,00\t5,01\t22,51\t1,51\r\n"
                                                   "Dattel\t2,405\t?\tk.A.\t63,00\t0,01\r\n");
    m_data->addTable(QStringLiteral("Getränke"), kBom + "Getränke je 100 ml" + kColumns
                                                     + "Cola\t0,42\t0,00\t0,00\t10,60\t0,01\r\n"
                                                       "Saft\t0,05\t0,10\t0,00\t11,30\t0,00\r\n"
                                                       "Wasser\t0,00\t0,00\t0,00\t0,00\t<0,01\r\n");
    m_previousDir = QDir::currentPath();
    QDir::setCurrent(m_data->path());
}

void TestMainFormRating::cleanup()
{
    m_form.reset();
    QDir::setCurrent(m_previousDir);
    m_data.reset();
}

void TestMainFormRating::start(const QString &table)
{
    m_form = std::make_unique<TMainForm>();
    m_form->showNormal();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    auto *chooser = m_form->findChild<QComboBox *>(QStringLiteral("ComboBox1"));
    chooser->setCurrentIndex(chooser->findText(table));
    m_form->ComboBox1Change();
}

void TestMainFormRating::foodValuesAreMarkedByBand_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("cell");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("energy density at the green edge") << 0 << 1 << kGreen;
    QTest::newRow("less-than value") << 0 << 2 << kGreen;
    QTest::newRow("salt at the green edge") << 0 << 5 << kGreen;
    QTest::newRow("energy density just above green") << 1 << 1 << kYellow;
    QTest::newRow("sugar at the yellow edge") << 1 << 4 << kYellow;
    QTest::newRow("energy density at the red edge") << 2 << 1 << kRed;
    QTest::newRow("saturated fat red") << 2 << 3 << kRed;
    QTest::newRow("between yellow and red") << 3 << 1 << QColor();
    QTest::newRow("question mark") << 3 << 2 << QColor();
    QTest::newRow("no number") << 3 << 3 << QColor();
    QTest::newRow("last line, after a bad cell") << 3 << 4 << kRed;
    QTest::newRow("entry name") << 0 << 0 << QColor();
}

void TestMainFormRating::foodValuesAreMarkedByBand()
{
    QFETCH(int, line);
    QFETCH(int, cell);
    QFETCH(QColor, colour);
    start(QStringLiteral("Obst"));
    // Lines are marked as they are drawn; no waiting for the timer.
    QTRY_VERIFY(cellMark(m_form->tableView(), 0, 1).isValid());
    QCOMPARE(cellMark(m_form->tableView(), line, cell), colour);
}

void TestMainFormRating::markCoversTheWholeValue()
{
    start(QStringLiteral("Obst"));
    m_form->MachDieWerteFarbig();
    const TableTextView *view = m_form->tableView();
    const QString chips = view->lines().at(2);
    const int fat = cellStart(chips, 2);
    QCOMPARE(markAt(view, 2, fat + 5), kRed);      // the last "0" of "100,00"
    QCOMPARE(markAt(view, 2, fat + 6), QColor());  // not the TAB after it
    const int sugar = cellStart(view->lines().at(0), 4);
    QCOMPARE(markAt(view, 0, sugar + 3), kGreen);  // "5,00" keeps five characters
    const QFont markFont = view->lineFormats(0).first().font;
    QVERIFY(markFont.bold());
    QCOMPARE(markFont.families().value(0), QStringLiteral("Courier"));
}

void TestMainFormRating::drinkTableUsesTheDrinkSet()
{
    start(QStringLiteral("Getränke"));
    m_form->MachDieWerteFarbig();
    QVERIFY(m_form->drinkFlag());
    const TableTextView *view = m_form->tableView();
    QCOMPARE(cellMark(view, 0, 1), kRed);    // 0,42 kcal/g is much for a drink
    QCOMPARE(cellMark(view, 1, 1), kGreen);
    QCOMPARE(cellMark(view, 0, 4), kYellow); // 10,60 g sugar: yellow for drinks
    QCOMPARE(cellMark(view, 1, 4), kRed);    // 11,30 g: red for drinks, yellow for food
    // Drink energy density is marked on exactly its characters.
    const int energy = cellStart(view->lines().at(1), 1);
    QCOMPARE(markAt(view, 1, energy + 3), kGreen);
    QCOMPARE(markAt(view, 1, energy + 4), QColor());
}

void TestMainFormRating::switchingANutrientOffRemovesItsMarks()
{
    start(QStringLiteral("Obst"));
    m_form->MachDieWerteFarbig();
    QCOMPARE(cellMark(m_form->tableView(), 2, 2), kRed);

    auto *fat = m_form->findChild<QCheckBox *>(QStringLiteral("FettAuswertenCheckBox"));
    QVERIFY(fat);
    QVERIFY(fat->isChecked());
    fat->click();

    QCOMPARE(LeseRegKey(QStringLiteral("FettAuswerten")), QStringLiteral("0"));
    m_form->MachDieWerteFarbig();
    QCOMPARE(cellMark(m_form->tableView(), 2, 2), QColor());
    QCOMPARE(cellMark(m_form->tableView(), 2, 1), kRed);
}

void TestMainFormRating::changedEdgeIsUsedByTheNextPass()
{
    start(QStringLiteral("Obst"));
    m_form->MachDieWerteFarbig();
    QCOMPARE(cellMark(m_form->tableView(), 1, 1), kYellow); // 1,60

    // One step up of the green edge in the food dialog, then cancel: the
    // step is stored at once and the next pass uses it.
    auto *dialog = m_form->findChild<TEinstellFormLebensmittel *>();
    dialog->findChild<QCheckBox *>(QStringLiteral("WerteAendernCheckBox"))->setChecked(true);
    dialog->findChild<SpinButton *>(QStringLiteral("SpinButton1"))->stepUp();
    dialog->reject();

    QCOMPARE(LeseRegKey(QStringLiteral("Energiedichte_Wert1")), QStringLiteral("1,6"));
    QCOMPARE(m_form->foodThresholds()[Nutrient::EnergyDensity].Wert1, 1.6);
    m_form->startRecolourTimer();
    QTRY_COMPARE(cellMark(m_form->tableView(), 1, 1), kGreen);
}

void TestMainFormRating::cellThatIsNoNumberIsReportedOncePerTable()
{
    start(QStringLiteral("Obst"));
    const QStringList expected{QStringLiteral("'k.A.' ist kein gültiger Gleitkommawert")};
    QTRY_COMPARE(MessageBox::shownMessages(), expected);
    m_form->MachDieWerteFarbig();
    m_form->tableView()->viewport()->repaint();
    QTest::qWait(1);
    QCOMPARE(MessageBox::shownMessages(), expected);

    m_form->ComboBox1Change(); // loading the table again tells again
    QTRY_COMPARE(MessageBox::shownMessages().size(), 2);
}

void TestMainFormRating::legendColoursItsWords()
{
    start(QStringLiteral("Obst"));
    const auto *legend = m_form->findChild<QTextEdit *>(QStringLiteral("TntRichEdit2"));
    QVERIFY(legend->toPlainText().startsWith(
        QStringLiteral("Die Energiedichte gibt an wie viel Kalorien in 1g des Lebensmittels sind.")));
    QCOMPARE(legendColourOf(legend, QStringLiteral("Grün")), kGreen);
    QCOMPARE(legendColourOf(legend, QStringLiteral("Gelb")), kYellow);
    QCOMPARE(legendColourOf(legend, QStringLiteral("Rot")), kRed);

    auto *chooser = m_form->findChild<QComboBox *>(QStringLiteral("ComboBox1"));
    chooser->setCurrentIndex(chooser->findText(QStringLiteral("Getränke")));
    m_form->ComboBox1Change();
    QVERIFY(legend->toPlainText().contains(QStringLiteral("(Getränk)")));
    QCOMPARE(legendColourOf(legend, QStringLiteral("Rot)")), kRed);
    QCOMPARE(legendColourOf(legend, QStringLiteral("Grün")), kGreen);
}

void TestMainFormRating::badStoredEdgeIsReportedAndItsDefaultUsed()
{
    SchreibeRegKey(QStringLiteral("LetzteAuswahl"), QStringLiteral("0"));
    SchreibeRegKey(QStringLiteral("Fett_Wert2"), QStringLiteral("bis viel"));
    start(QStringLiteral("Obst"));

    QVERIFY(MessageBox::shownMessages().contains(
        QStringLiteral("'viel' ist kein gültiger Gleitkommawert")));
    QCOMPARE(m_form->foodThresholds()[Nutrient::Fat].Wert2, 17.5);
    QCOMPARE(m_form->foodThresholds()[Nutrient::Salt].Wert1, 0.3);
    QCOMPARE(m_form->drinkThresholds()[Nutrient::EnergyDensity].Wert3, 0.1);
    QVERIFY(m_form->tableView()->isVisible());
}

QTEST_MAIN(TestMainFormRating)
#include "tst_mainform_rating.moc"
