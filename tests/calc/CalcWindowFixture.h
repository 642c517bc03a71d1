// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TestSupport.h"
#include "calc/BerechnungsForm.h"
#include "calc/CalculationHost.h"
#include "model/DataFolder.h"
#include "widgets/FileDialog.h"
#include "widgets/MessageBox.h"

#include <QAction>
#include <QObject>
#include <QRect>
#include <QString>
#include <QStringList>
#include <memory>

using namespace Qt::StringLiterals;

inline const QStringList kDrinkHeader { "Getränke je 100 ml", "Brennwert|in kJ", "|in kcal",
    "Energie-|dichte", "Fett", "gesättigte|Fettsäuren", "Kohlen-|hydrate", "davon|Zucker", "Eiweiß",
    "Salz", "vol.-%", "Alkohol|in g", "" };
inline const QString kPils
    = u"Pils\t176,00\t42,00\t0,42\t0,00\t0,00\t3,10\t0,20\t0,50\t0,01\t4,80\t3,79\t"_s;
inline const QString kSaft
    = u"Saft \"Sonne\"; klar\t192,00\t46,00\t0,46\t0,10\t?\t11,00\t10,00\t0,10\t<0,01\t0\t0\t"_s;

// Stands in for the main window: a drink table, the entry row a test puts
// in `row`, and the data folder in `folder`.
class FakeCalculationHost : public CalculationHost
{
public:
    QString folder;
    QString row;

    QString dataFolder() const override { return folder; }
    QStringList headerCells() const override { return kDrinkHeader; }
    QList<int> headerColumnWidths() const override
    {
        QList<int> widths { 180, 70 };
        while (widths.size() < kDrinkHeader.size())
            widths << 60;
        return widths;
    }
    QString currentEntryRow() const override { return row; }
    bool isDrinkTable() const override { return true; }
    QRect hostFrameGeometry() const override { return { 40, 50, 900, 700 }; }
    QStringList tableNames() const override { return { u"Getränke"_s, u"Rezepte"_s }; }
    QString currentTableName() const override { return u"Getränke"_s; }
    // The recipes handed over, with their tables.
    QList<std::pair<QString, Zestrola::Recipe>> recipes;
    bool addRecipeEntry(const QString &tableName, const Zestrola::Recipe &recipe) override
    {
        recipes.append({ tableName, recipe });
        return true;
    }
};

// The calculation window over a data folder of its own, shown but not
// modal, so that its commands leave it open; message boxes and file dialogs
// answer at once.
class CalcWindowFixture : public QObject
{
protected:
    std::unique_ptr<TestSupport::DataFolder> data;
    std::unique_ptr<FakeCalculationHost> host;
    std::unique_ptr<TBerechnungsForm> form;

    template<typename T> T *child(const QString &name) const
    {
        return TestSupport::requireChild<T>(form.get(), name);
    }
    void trigger(const QString &action) const { child<QAction>(action)->trigger(); }
    QString folder() const { return form->calculationFolder() + u'/'; }

    void openWindow()
    {
        MessageBox::setTestMode(true);
        FileDialog::setTestMode(true);
        data = std::make_unique<TestSupport::DataFolder>();
        data->addFolder(Zestrola::kCalculationFolderName);
        host = std::make_unique<FakeCalculationHost>();
        host->folder = data->path();
        form = std::make_unique<TBerechnungsForm>(*host);
        form->show();
    }
    void closeWindow()
    {
        form.reset();
        host.reset();
        data.reset();
        FileDialog::setTestMode(false);
        MessageBox::setTestMode(false);
    }
};
