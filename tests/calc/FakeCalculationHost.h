#pragma once

#include "TestSupport.h"
#include "calc/BerechnungsFormp.h"
#include "calc/CalculationHost.h"
#include "model/DataFolder.h"
#include "widgets/FileDialog.h"
#include "widgets/MessageBox.h"

#include <QLineEdit>
#include <QRect>
#include <QStringList>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>
#include <memory>

// Stands in for the main window: a drink table with the given header, the
// entry row a test puts in `row`, and the data folder in `folder`.
class FakeCalculationHost : public CalculationHost
{
public:
    explicit FakeCalculationHost(QStringList header)
        : m_header(std::move(header))
    { }

    QString folder;
    QString row;

    QString dataFolder() const override { return folder; }
    QStringList headerCells() const override { return m_header; }
    QList<int> headerColumnWidths() const override
    {
        QList<int> widths { 180, 70 };
        while (widths.size() < m_header.size())
            widths << 60;
        return widths;
    }
    QString currentEntryRow() const override { return row; }
    bool isDrinkTable() const override { return true; }
    QRect hostFrameGeometry() const override { return { 40, 50, 900, 700 }; }

private:
    QStringList m_header;
};

inline const QStringList kCalcDrinkHeader { "Getränke je 100 ml", "Brennwert|in kJ", "|in kcal",
    "Energie-|dichte", "Fett", "gesättigte|Fettsäuren", "Kohlen-|hydrate", "davon|Zucker", "Eiweiß",
    "Salz", "vol.-%", "Alkohol|in g" };
inline const QString kCalcPilsRow
    = QStringLiteral("Pils\t176,00\t42,00\t0,42\t0,00\t0,00\t3,10\t0,20\t0,50\t0,01\t4,80\t3,79\t");

// A calculation window over a host of the given header and a data folder of
// its own, shown but not modal, so that its commands leave it open. Message
// boxes and file dialogs answer at once.
class CalculationFormFixture : public QObject
{
protected:
    void prepare(const QStringList &header)
    {
        MessageBox::setTestMode(true);
        FileDialog::setTestMode(true);
        data = std::make_unique<TestSupport::DataFolder>();
        data->addFolder(Zestrola::kCalculationFolderName);
        host = std::make_unique<FakeCalculationHost>(header);
        host->folder = data->path();
        form = std::make_unique<TBerechnungsForm>(*host);
        form->show();
    }
    void tearDown()
    {
        form.reset();
        host.reset();
        data.reset();
        FileDialog::setTestMode(false);
        MessageBox::setTestMode(false);
    }

    template<typename T> T *child(const QString &name) const
    {
        return TestSupport::requireChild<T>(form.get(), name);
    }
    QString folder() const { return form->calculationFolder() + u'/'; }
    QTableView *listView() const { return child<QTableView>(QStringLiteral("StringGrid2")); }
    QString report() const
    {
        return child<QTextBrowser>(QStringLiteral("TntRichEdit1"))->toPlainText();
    }
    void add(const QString &row)
    {
        host->row = row;
        form->addCurrentEntry();
    }
    // Types the amount and presses Return, as a user hands it to the list.
    void transfer(const QString &amount)
    {
        auto *field = child<QLineEdit>(QStringLiteral("Edit1"));
        field->setText(amount);
        QTest::keyClick(field, Qt::Key_Return);
    }

    std::unique_ptr<TestSupport::DataFolder> data;
    std::unique_ptr<FakeCalculationHost> host;
    std::unique_ptr<TBerechnungsForm> form;
};
