// SPDX-License-Identifier: GPL-3.0-or-later
#include "BenchWindow.h"

#include "TestSupport.h"
#include "Timing.h"
#include "widgets/TableTextView.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>

namespace Bench {

BenchWindow::BenchWindow()
    : view(form.tableView())
    , chooser(TestSupport::requireChild<QComboBox>(&form, QStringLiteral("ComboBox1")))
    , searchField(TestSupport::requireChild<QLineEdit>(&form, QStringLiteral("Edit1")))
    , searchMode(TestSupport::requireChild<QCheckBox>(&form, QStringLiteral("CheckBoxErstePos")))
{
    form.setWindowState(Qt::WindowNoState);
    form.resize(1000, 700);
    form.show();
    QApplication::processEvents();
}

void BenchWindow::load(const QString &table)
{
    chooser->setCurrentIndex(chooser->findText(table));
    form.ComboBox1Change();
    view->viewport()->repaint();
}

void BenchWindow::search(const QString &term, bool atLineStart)
{
    searchField->setText(term);
    searchMode->setChecked(atLineStart);
    form.Suchen1Click();
    view->viewport()->repaint();
}

void BenchWindow::settle()
{
    QApplication::processEvents();
}

QString enterDataFolder(const QString &dataFolder)
{
    const QString settingsFolder = TestSupport::isolateSettings();
    if (!QDir::setCurrent(dataFolder))
        fail("cannot enter the data folder");
    return settingsFolder;
}

} // namespace Bench
