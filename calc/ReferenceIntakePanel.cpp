// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/ReferenceIntakePanel.h"

#include "calc/CalcDialogs.h"
#include "model/Calculation.h"
#include "model/CsvExport.h"
#include "model/IntakeSheet.h"
#include "widgets/IntakeChart.h"
#include "widgets/IntakePrint.h"
#include "widgets/MessageBox.h"
#include "widgets/NamedAction.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QVBoxLayout>

using namespace Zestrola;

namespace {

const QString kTitle = QStringLiteral("Berechnung der Zufuhr an Energie und Nährstoffen");

} // namespace

ReferenceIntakePanel::ReferenceIntakePanel(
    const CalculationList &list, const QString &folder, QWidget *parent)
    : QWidget(parent)
    , m_list(list)
    , m_folder(folder)
{
    setObjectName(QStringLiteral("ReferenzmengePanel"));
    m_chart = new IntakeChart(this);
    m_chart->setObjectName(QStringLiteral("ReferenzmengeDiagramm"));
    m_chart->setToolTip(kReferenceIntakeWording);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_chart);

    m_savePng = new QAction(QStringLiteral("Diagramm als &PNG speichern..."), this);
    m_savePng->setObjectName(QStringLiteral("DiagrammalsPNGspeichern1"));
    connect(
        m_savePng, &QAction::triggered, this, &ReferenceIntakePanel::DiagrammAlsPngSpeichernClick);
    m_chart->addAction(m_savePng);
    m_chart->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void ReferenceIntakePanel::showTotals()
{
    m_chart->setAmounts(totalIntake(m_list.totals()));
}

void ReferenceIntakePanel::clear()
{
    m_chart->setAmounts({});
}

void ReferenceIntakePanel::addFileCommands(QMenu *fileMenu)
{
    m_exportCsv = addNamedAction(
        fileMenu, QStringLiteral("ExportierenalsCSV1"), QStringLiteral("Exportieren als &CSV..."));
    fileMenu->addAction(m_savePng);
    fileMenu->addSeparator();
    m_print = addNamedAction(fileMenu, QStringLiteral("Drucken1"), QStringLiteral("&Drucken..."));
    m_print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    m_savePdf = addNamedAction(
        fileMenu, QStringLiteral("AlsPDFspeichern1"), QStringLiteral("Als PD&F speichern..."));
    connect(m_exportCsv, &QAction::triggered, this, &ReferenceIntakePanel::ExportierenAlsCsvClick);
    connect(m_print, &QAction::triggered, this, &ReferenceIntakePanel::DruckenClick);
    connect(m_savePdf, &QAction::triggered, this, &ReferenceIntakePanel::AlsPdfSpeichernClick);
    updateCommands();
}

// An empty list has nothing to take out.
void ReferenceIntakePanel::updateCommands()
{
    const bool hasRows = m_list.countedRowCount() > 0;
    for (QAction *action : { m_exportCsv, m_savePng, m_print, m_savePdf }) {
        if (action)
            action->setEnabled(hasRows);
    }
}

void ReferenceIntakePanel::ExportierenAlsCsvClick()
{
    const QString path = askSavePath(QStringLiteral("Exportieren als CSV"), QStringLiteral("csv"),
        QStringLiteral("CSV-Dateien (*.csv)"));
    if (path.isEmpty())
        return;
    QString error;
    reportFailure(writeIntakeCsv(intakeSheet(m_list), path, &error), error);
}

void ReferenceIntakePanel::DiagrammAlsPngSpeichernClick()
{
    const QString path = askSavePath(QStringLiteral("Diagramm als PNG speichern"),
        QStringLiteral("png"), QStringLiteral("PNG-Bilder (*.png)"));
    if (path.isEmpty())
        return;
    showTotals();
    QString error;
    reportFailure(m_chart->savePng(path, &error), error);
}

void ReferenceIntakePanel::DruckenClick()
{
    QPrinter printer(QPrinter::HighResolution);
    setIntakePageLayout(&printer);
    printer.setDocName(kTitle);
    QPrintDialog dialog(&printer, window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    reportFailure(printIntake(printout(), &printer),
        QStringLiteral("Der Drucker \"%1\" konnte nicht drucken.").arg(printer.printerName()));
}

void ReferenceIntakePanel::AlsPdfSpeichernClick()
{
    const QString path = askSavePath(QStringLiteral("Als PDF speichern"), QStringLiteral("pdf"),
        QStringLiteral("PDF-Dateien (*.pdf)"));
    if (path.isEmpty())
        return;
    QString error;
    reportFailure(writeIntakePdf(printout(), path, &error), error);
}

IntakePrintout ReferenceIntakePanel::printout() const
{
    IntakePrintout printout;
    printout.title = m_list.fileName().isEmpty() ? kTitle : kTitle + u" – " + m_list.fileName();
    printout.date = QDate::currentDate();
    printout.sheet = intakeSheet(m_list);
    printout.report = m_list.report().join(u'\n');
    return printout;
}

QString ReferenceIntakePanel::askSavePath(
    const QString &caption, const QString &extension, const QString &filter)
{
    const QString base = m_list.fileName().isEmpty()
        ? QStringLiteral("Menü")
        : QFileInfo(m_list.fileName()).completeBaseName();
    return askExportPath(window(), caption, m_folder, base, extension, filter);
}

void ReferenceIntakePanel::reportFailure(bool ok, const QString &error)
{
    if (!ok)
        MessageBox::error(window(), error);
}
