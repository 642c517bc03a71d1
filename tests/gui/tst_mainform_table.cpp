#include "app/HeaderGrid.h"
#include "app/MessageBox.h"
#include "app/TableTextView.h"
#include "app/zestrolap.h"
#include "model/Settings.h"

#include "TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

using namespace Zestrola;
using Settings::LeseRegKey;
using Settings::SchreibeRegKey;

namespace {

const QByteArray kBom = "\xEF\xBB\xBF";
const QByteArray kHeader = "Lebensmittel 100g\tEnergie-|dichte\tFett\tZucker\r\n";

} // namespace

class TestMainFormTable : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void choosingATableLoadsViewAndHeader();
    void choosingATableWhoseFileIsGoneKeepsThePreviousOne();
    void tabStopsFollowTheHeaderColumns();
    void sortAndSaveWritesSortedUniqueRows();
    void sortAndSaveThatCannotWriteKeepsTheFile();
    void search_data();
    void search();
    void rightClickNamesTheEntryInThePopup();
    void hoverNamesRowAndColumnAndHighlightsTheHeader();
    void recolourTimerIsNotRestartedWhileRunning();
    void searchModeHintFollowsTheBox();
    void typingInTheChooserMakesItAPlainList();
    void badTableFilesLoadWithoutHarm_data();
    void badTableFilesLoadWithoutHarm();

private:
    TMainForm *chooseTable(const QString &name);
    QComboBox *chooser() const;

    std::unique_ptr<TestSupport::DataFolder> m_data;
    std::unique_ptr<TMainForm> m_form;
    QString m_previousDir;
};

void TestMainFormTable::init()
{
    TestSupport::isolateSettings();
    MessageBox::setTestMode(true);
    SchreibeRegKey(QStringLiteral("LetzteAuswahl"), QStringLiteral("0"));
    m_data = std::make_unique<TestSupport::DataFolder>();
    m_data->addTable(QStringLiteral("Obst"),
                     kBom + kHeader
                         + "Bratapfel\t1,20\t3,10\t12,00\r\n\r\n"
                           "Apfelsaft\t0,46\t0,10\t10,00\t\r\n"
                           "Äpfel getrocknet\t2,43\t1,60\t57,00\r\n");
    m_data->addTable(QStringLiteral("Gemüse"),
                     kBom + kHeader + "banane\t0,95\t0,20\t17,00\r\nApfel\t0,52\t0,20\t10,00\r\n"
                                      "apfel\t0,52\t0,20\t10,00\r\nÄpfel\t0,60\t0,30\t11,00\r\n");
    m_previousDir = QDir::currentPath();
    QDir::setCurrent(m_data->path());
    m_form = std::make_unique<TMainForm>();
}

void TestMainFormTable::cleanup()
{
    m_form.reset();
    QDir::setCurrent(m_previousDir);
    m_data.reset();
}

QComboBox *TestMainFormTable::chooser() const
{
    return m_form->findChild<QComboBox *>(QStringLiteral("ComboBox1"));
}

TMainForm *TestMainFormTable::chooseTable(const QString &name)
{
    const int index = chooser()->findText(name);
    if (index < 0)
        qFatal("no table %s", qPrintable(name));
    chooser()->setCurrentIndex(index);
    m_form->ComboBox1Change();
    return m_form.get();
}

void TestMainFormTable::choosingATableLoadsViewAndHeader()
{
    chooseTable(QStringLiteral("Obst"));
    const TableTextView *view = m_form->tableView();
    QCOMPARE(view->lines(), (QStringList{"Bratapfel\t1,20\t3,10\t12,00  \t",
                                         "Apfelsaft\t0,46\t0,10\t10,00\t",
                                         "Äpfel getrocknet\t2,43\t1,60\t57,00  \t"}));
    QCOMPARE(m_form->firstRowCellCount(), 4);
    QCOMPARE(m_form->headerLineCopy(), QString::fromUtf8(kHeader.chopped(2)));
    const HeaderGrid *header = m_form->headerGrid();
    QCOMPARE(header->columnCount(), 4);
    QCOMPARE(header->cellText(1), QStringLiteral("Energie-\ndichte"));
    QCOMPARE(LeseRegKey(QStringLiteral("LetzteAuswahl")),
             QString::number(chooser()->findText(QStringLiteral("Obst"))));
    QCOMPARE(m_form->foodColumns()[index(Nutrient::EnergyDensity)], 1);
    QCOMPARE(m_form->foodColumns()[index(Nutrient::Fat)], 2);
    QCOMPARE(m_form->foodColumns()[index(Nutrient::Salt)], -1);
    QVERIFY(m_form->isRecolourTimerActive());
}

void TestMainFormTable::choosingATableWhoseFileIsGoneKeepsThePreviousOne()
{
    chooseTable(QStringLiteral("Obst"));
    const QStringList before = m_form->tableView()->lines();
    const QString stored = LeseRegKey(QStringLiteral("LetzteAuswahl"));
    QVERIFY(QFile::remove(m_data->path() + QStringLiteral("Gemüse.txt")));

    chooseTable(QStringLiteral("Gemüse"));

    QCOMPARE(m_form->tableView()->lines(), before);
    QCOMPARE(LeseRegKey(QStringLiteral("LetzteAuswahl")), stored);
    QVERIFY(m_form->currentTablePath().endsWith(QStringLiteral("/Obst.txt")));
}

void TestMainFormTable::tabStopsFollowTheHeaderColumns()
{
    chooseTable(QStringLiteral("Obst"));
    m_form->show();
    HeaderGrid *header = m_form->headerGrid();
    TableTextView *view = m_form->tableView();
    QCOMPARE(view->tabStops(), (QList<int>{204, 270, 336, 402}));
    QCOMPARE(view->tabStops(), header->tabStops());

    header->resizeSection(1, 120);
    QCOMPARE(view->tabStops(), (QList<int>{204, 324, 390, 456}));

    // The first character of a value stands right of its column's left edge.
    const QRect value = view->characterRect({0, int(QStringLiteral("Bratapfel\t1,20\t").size())});
    const QPoint fatColumn =
        header->viewport()->mapTo(m_form.get(), QPoint(header->sectionViewportPosition(2), 0));
    const QPoint valueInWindow = view->viewport()->mapTo(m_form.get(), value.topLeft());
    QVERIFY2(valueInWindow.x() >= fatColumn.x() && valueInWindow.x() < fatColumn.x() + 10,
             qPrintable(QStringLiteral("value at %1, column at %2")
                            .arg(valueInWindow.x())
                            .arg(fatColumn.x())));
}

void TestMainFormTable::sortAndSaveWritesSortedUniqueRows()
{
    chooseTable(QStringLiteral("Gemüse"));
    m_form->SortierenClick();

    const QByteArray expected = kBom + kHeader
                                + "Apfel\t0,52\t0,20\t10,00\r\n"
                                  "Äpfel\t0,60\t0,30\t11,00\r\n"
                                  "banane\t0,95\t0,20\t17,00\r\n";
    QCOMPARE(TestSupport::readBytes(m_data->path() + QStringLiteral("Gemüse.txt")), expected);
    QCOMPARE(m_form->tableView()->lines(),
             (QStringList{"Apfel\t0,52\t0,20\t10,00", "Äpfel\t0,60\t0,30\t11,00",
                          "banane\t0,95\t0,20\t17,00"}));
    QVERIFY(MessageBox::shownMessages().isEmpty());
}

void TestMainFormTable::sortAndSaveThatCannotWriteKeepsTheFile()
{
    chooseTable(QStringLiteral("Gemüse"));
    const QString path = m_data->path() + QStringLiteral("Gemüse.txt");
    const QByteArray before = TestSupport::readBytes(path);
    // The folder vanishes under the table: the file can no longer be replaced.
    QVERIFY(QFile::rename(path, path + ".bak"));
    QVERIFY(QDir().mkdir(path));

    m_form->SortierenClick();

    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QVERIFY(MessageBox::shownMessages().first().contains(QStringLiteral("Gemüse.txt")));
    QCOMPARE(TestSupport::readBytes(path + ".bak"), before);
    QCOMPARE(m_form->tableView()->lineCount(), 3);
}

void TestMainFormTable::search_data()
{
    QTest::addColumn<QString>("term");
    QTest::addColumn<bool>("atLineStart");
    QTest::addColumn<int>("line");
    QTest::newRow("first position skips a later match") << "apfel" << true << 1;
    QTest::newRow("whole text takes the first match") << "apfel" << false << 0;
    QTest::newRow("upper-case umlaut") << "ÄPFEL" << true << 2;
    QTest::newRow("term is not trimmed") << "apfelsaft " << true << -1;
    QTest::newRow("miss") << "Kiwi" << false << -1;
}

void TestMainFormTable::search()
{
    QFETCH(QString, term);
    QFETCH(bool, atLineStart);
    QFETCH(int, line);
    chooseTable(QStringLiteral("Obst"));
    m_form->show();
    auto *field = m_form->findChild<QLineEdit *>(QStringLiteral("Edit1"));
    auto *mode = m_form->findChild<QCheckBox *>(QStringLiteral("CheckBoxErstePos"));
    TableTextView *view = m_form->tableView();
    mode->setChecked(atLineStart);
    view->selectLine(0);
    field->setText(term);

    QTest::keyClick(field, Qt::Key_Return);

    if (line < 0) {
        QCOMPARE(field->palette().color(QPalette::Base), QColor(Qt::red));
        QCOMPARE(view->selectedText(), view->lines().at(0) + "\n"); // unchanged
        return;
    }
    QCOMPARE(field->palette().color(QPalette::Base), QColor(211, 211, 211));
    // The last line has no line end to select.
    const QString lineEnd = line + 1 < view->lineCount() ? QStringLiteral("\n") : QString();
    QCOMPARE(view->selectedText(), view->lines().at(line) + lineEnd);

    // Every search starts at the top: repeating it finds the same row.
    m_form->Suchen1Click();
    QCOMPARE(view->selectedText(), view->lines().at(line) + lineEnd);
    // Typing again gives the field its normal colour back.
    QTest::keyClick(field, Qt::Key_X);
    QCOMPARE(field->palette().color(QPalette::Base), m_form->palette().color(QPalette::Base));
}

void TestMainFormTable::rightClickNamesTheEntryInThePopup()
{
    chooseTable(QStringLiteral("Obst"));
    m_form->show();
    TableTextView *view = m_form->tableView();
    const QPoint onApfelsaft = view->characterRect({1, 4}).center();

    QTest::mousePress(view->viewport(), Qt::RightButton, {}, onApfelsaft);

    auto *popup = m_form->findChild<QMenu *>(QStringLiteral("PopupMenu1"));
    QStringList captions;
    for (const QAction *action : popup->actions()) {
        if (!action->isSeparator())
            captions.append(action->text());
    }
    QCOMPARE(captions.value(0), QStringLiteral("Bearbeiten > Eintrag:   Apfelsaft ..."));
    QCOMPARE(captions.value(1), QStringLiteral("Infotext anzeigen zu > Eintrag:   Apfelsaft ..."));
    QCOMPARE(captions.value(2),
             QStringLiteral("Infotext anzeigen u. bearbeiten zu > Eintrag:   Apfelsaft ..."));
    QCOMPARE(captions.value(5), QStringLiteral("Löschen > Eintrag:   Apfelsaft ..."));
    QCOMPARE(view->selectedText(), view->lines().at(1) + "\n");
    popup->close();
}

void TestMainFormTable::hoverNamesRowAndColumnAndHighlightsTheHeader()
{
    chooseTable(QStringLiteral("Obst"));
    m_form->show();
    TableTextView *view = m_form->tableView();
    auto *label = m_form->findChild<QLabel *>(QStringLiteral("Label1"));
    const int fatValue = int(QStringLiteral("Bratapfel\t1,20\t").size()) + 1;

    Q_EMIT view->hovered(view->characterRect({0, fatValue}).center());
    QCOMPARE(label->text(), QStringLiteral("Bratapfel   •   Spalte: Fett"));
    QCOMPARE(m_form->headerGrid()->selectedColumn(), 2);

    Q_EMIT view->hovered(view->characterRect({2, 2}).center());
    QCOMPARE(label->text(), QStringLiteral("Äpfel getrocknet   •   Spalte: Lebensmittel 100g"));
    QCOMPARE(m_form->headerGrid()->selectedColumn(), 2); // the name column highlights nothing

    Q_EMIT view->hovered(view->characterRect({2, int(QStringLiteral("Äpfel getrocknet\t").size())}).center());
    QCOMPARE(label->text(), QStringLiteral("Äpfel getrocknet   •   Spalte: Energiedichte"));
    QCOMPARE(m_form->headerGrid()->selectedColumn(), 1);
}

void TestMainFormTable::recolourTimerIsNotRestartedWhileRunning()
{
    chooseTable(QStringLiteral("Obst"));
    QVERIFY(m_form->isRecolourTimerActive());
    const int remaining = m_form->recolourTimerRemainingMs();
    QTest::qWait(30);
    Q_EMIT m_form->tableView()->verticallyScrolled(1);
    Q_EMIT m_form->tableView()->wheelTurned();
    Q_EMIT m_form->tableView()->tabPressed();
    // Still the first start: a burst of scrolling gives one pass, not a later one.
    QVERIFY(m_form->isRecolourTimerActive());
    QVERIFY(m_form->recolourTimerRemainingMs() < remaining);
    QTRY_VERIFY(!m_form->isRecolourTimerActive());
}

void TestMainFormTable::searchModeHintFollowsTheBox()
{
    m_form->show();
    auto *mode = m_form->findChild<QCheckBox *>(QStringLiteral("CheckBoxErstePos"));
    QCOMPARE(mode->toolTip(), QStringLiteral("Suche an erster Stelle eines Eintrages."));
    mode->click();
    QCOMPARE(mode->toolTip(), QStringLiteral("Suche im gesamten Text eines Eintrages."));
    mode->click();
    QCOMPARE(mode->toolTip(), QStringLiteral("Suche an erster Stelle eines Eintrages."));
}

void TestMainFormTable::typingInTheChooserMakesItAPlainList()
{
    QComboBox *box = chooser();
    const QAbstractItemDelegate *grey = box->itemDelegate();
    QStyleOptionViewItem option;
    QCOMPARE(grey->sizeHint(option, box->model()->index(0, 0)).height(), 18);
    QTest::keyClick(box, Qt::Key_Down);
    QVERIFY(box->itemDelegate() != grey);
}

void TestMainFormTable::badTableFilesLoadWithoutHarm_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("rows");
    QTest::newRow("empty file") << QByteArray() << 0;
    QTest::newRow("header only") << QByteArray(kBom + kHeader) << 0;
    QTest::newRow("invalid UTF-8") << QByteArray("Name\tFett\r\nK\xE4" "se\t\xFF\xFE" "1\r\n") << 1;
    QTest::newRow("NUL bytes") << QByteArray("Name\tFett\r\nA\0B\t1,0\0\r\n", 22) << 1;
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append(char((i * 7919) % 256));
    QTest::newRow("binary garbage") << garbage << -1;
    QTest::newRow("10 MB line") << QByteArray(kBom + kHeader + "Lang\t" + QByteArray(10 << 20, '9')
                                              + "\r\n")
                                << 1;
}

void TestMainFormTable::badTableFilesLoadWithoutHarm()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, rows);
    m_data->addTable(QStringLiteral("Kaputt"), bytes);
    m_form = std::make_unique<TMainForm>();
    m_form->show();

    chooseTable(QStringLiteral("Kaputt"));
    m_form->tableView()->viewport()->repaint();
    m_form->MachDieWerteFarbig();

    QVERIFY(m_form->currentTablePath().endsWith(QStringLiteral("/Kaputt.txt")));
    if (rows >= 0)
        QCOMPARE(m_form->tableView()->lineCount(), rows);
    Q_EMIT m_form->tableView()->hovered(QPoint(20, 5));
}

QTEST_MAIN(TestMainFormTable)
#include "tst_mainform_table.moc"
