// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/VerlaufForm.h"

#include "calc/CalcDialogs.h"
#include "model/CsvExport.h"
#include "widgets/Fonts.h"
#include "widgets/IntakeHistoryChart.h"
#include "widgets/MessageBox.h"
#include "widgets/NamedAction.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

using namespace Zestrola;

namespace {

const QString kExportName = QStringLiteral("Verlauf");

} // namespace

TVerlaufForm::TVerlaufForm(const QString &folder, QWidget *parent)
    : QDialog(parent)
    , m_folder(folder)
{
    setObjectName(QStringLiteral("VerlaufForm"));
    setWindowTitle(kCaption);
    setFont(Fonts::unicodeSans());
    resize(820, 620);

    auto *lengthLabel = new QLabel(QStringLiteral("&Angezeigt:"), this);
    lengthLabel->setObjectName(QStringLiteral("Label1"));
    m_length = new QComboBox(this);
    m_length->setObjectName(QStringLiteral("ComboBox1"));
    m_length->setAccessibleName(QStringLiteral("Angezeigt"));
    for (const int length : kHistoryLengths)
        m_length->addItem(QStringLiteral("die letzten %1 Listen").arg(length), length);
    lengthLabel->setBuddy(m_length);
    auto *hint = new QLabel(
        QStringLiteral("Ein Klick auf eine Liste, oder die Eingabetaste auf der markierten, öffnet "
                       "sie in der Berechnung."),
        this);
    hint->setObjectName(QStringLiteral("Label2"));

    m_chart = new IntakeHistoryChart(this);
    m_chart->setObjectName(QStringLiteral("VerlaufDiagramm"));
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("ScrollBox1"));
    scroll->setWidget(m_chart);
    scroll->setWidgetResizable(true);
    scroll->setFocusProxy(m_chart);

    m_totals = new QLabel(this);
    m_totals->setObjectName(QStringLiteral("Label3"));
    m_totals->setAccessibleName(QStringLiteral("Summe und Mittel"));
    m_totals->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_totals->setWordWrap(true);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *close
        = buttons->addButton(QStringLiteral("&Schließen"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("Button1"));
    close->setAutoDefault(false);

    auto *top = new QHBoxLayout;
    top->addWidget(lengthLabel);
    top->addWidget(m_length);
    top->addSpacing(12);
    top->addWidget(hint, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(scroll, 1);
    layout->addWidget(m_totals);
    layout->addWidget(buttons);
    buildMenu();

    connect(m_length, &QComboBox::activated, this, &TVerlaufForm::ComboBox1Change);
    connect(m_chart, &IntakeHistoryChart::listActivated, this, &TVerlaufForm::choose);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void TVerlaufForm::buildMenu()
{
    auto *bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu *file = bar->addMenu(QStringLiteral("&Datei"));
    file->setObjectName(QStringLiteral("Datei1"));
    m_exportCsv = addNamedAction(
        file, QStringLiteral("ExportierenalsCSV1"), QStringLiteral("Exportieren als &CSV..."));
    m_savePng = addNamedAction(file, QStringLiteral("DiagrammalsPNGspeichern1"),
        QStringLiteral("Diagramm als &PNG speichern..."));
    file->addSeparator();
    QAction *close
        = addNamedAction(file, QStringLiteral("Schliessen1"), QStringLiteral("&Schließen"));
    connect(m_exportCsv, &QAction::triggered, this, &TVerlaufForm::ExportierenAlsCsvClick);
    connect(m_savePng, &QAction::triggered, this, &TVerlaufForm::DiagrammAlsPngSpeichernClick);
    connect(close, &QAction::triggered, this, &QDialog::reject);
    m_chart->addAction(m_savePng);
    m_chart->setContextMenuPolicy(Qt::ActionsContextMenu);
    layout()->setMenuBar(bar);
}

const QList<SavedList> &TVerlaufForm::lists() const
{
    return m_chart->lists();
}

void TVerlaufForm::showLists()
{
    m_chosenPath.clear();
    m_chart->setLists(readListHistory(m_folder, m_length->currentData().toInt()));
    m_totals->setText(historyTotalsLines(lists()).join(u'\n'));
    const bool hasLists = !lists().isEmpty();
    m_exportCsv->setEnabled(hasLists);
    m_savePng->setEnabled(hasLists);
}

void TVerlaufForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_chart->setFocus();
}

void TVerlaufForm::ComboBox1Change()
{
    showLists();
}

void TVerlaufForm::choose(int list)
{
    if (list < 0 || list >= lists().size())
        return;
    m_chosenPath = lists()[list].path;
    accept();
}

void TVerlaufForm::ExportierenAlsCsvClick()
{
    const QString path = askExportPath(this, QStringLiteral("Exportieren als CSV"), m_folder,
        kExportName, QStringLiteral("csv"), QStringLiteral("CSV-Dateien (*.csv)"));
    if (path.isEmpty())
        return;
    QString error;
    reportFailure(writeHistoryCsv(lists(), path, &error), error);
}

void TVerlaufForm::DiagrammAlsPngSpeichernClick()
{
    const QString path = askExportPath(this, QStringLiteral("Diagramm als PNG speichern"), m_folder,
        kExportName, QStringLiteral("png"), QStringLiteral("PNG-Bilder (*.png)"));
    if (path.isEmpty())
        return;
    QString error;
    reportFailure(m_chart->savePng(path, &error), error);
}

void TVerlaufForm::reportFailure(bool ok, const QString &error)
{
    if (!ok)
        MessageBox::error(this, error);
}
