// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

class IntakeChart;
class QAction;
class QMenu;
struct IntakePrintout;

namespace Zestrola {
class CalculationList;
}

// What the calculation window offers beyond its report: the chart of the
// totals as shares of the reference intakes of an average adult, shown
// beside the report, and the commands that take the list out of the
// program: a spreadsheet file, the chart as a picture, print and PDF. It
// only reads the list; nothing it does changes the list, the report or the
// list files.
class ReferenceIntakePanel : public QWidget
{
    Q_OBJECT
public:
    // `folder` is where the file dialogs start.
    ReferenceIntakePanel(
        const Zestrola::CalculationList &list, const QString &folder, QWidget *parent = nullptr);

    // Shows the list's current totals; called after every computation and
    // whenever the report is emptied.
    void showTotals();
    void clear();
    IntakeChart *chart() const { return m_chart; }

    // "Exportieren als CSV...", "Diagramm als PNG speichern...",
    // "Drucken...", "Als PDF speichern...", enabled while the list has rows.
    void addFileCommands(QMenu *fileMenu);
    // The list changed: the commands above follow it, so that their keys do
    // not act on an empty list or wait for the menu to be opened.
    void updateCommands();

    void ExportierenAlsCsvClick();
    void DiagrammAlsPngSpeichernClick();
    void DruckenClick();
    void AlsPdfSpeichernClick();

private:
    IntakePrintout printout() const;
    // Asks for a path ending in `extension`; empty when the user cancels or
    // declines to overwrite.
    QString askSavePath(const QString &caption, const QString &extension, const QString &filter);
    void reportFailure(bool ok, const QString &error);

    const Zestrola::CalculationList &m_list;
    QString m_folder;
    IntakeChart *m_chart = nullptr;
    QAction *m_exportCsv = nullptr;
    QAction *m_savePng = nullptr;
    QAction *m_print = nullptr;
    QAction *m_savePdf = nullptr;
};
