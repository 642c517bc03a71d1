// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ListHistory.h"

#include <QDialog>

class IntakeHistoryChart;
class QAction;
class QComboBox;
class QLabel;

// The history of the lists saved in the calculation folder: the last 7, 14
// or 30 of them as rows of bars, with their sum and mean below. Choosing a
// list (a click on its row, or Return) closes the window with that list's
// path, for the calculation window to open it. It only reads the files.
class TVerlaufForm : public QDialog
{
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("Verlauf der gespeicherten Listen");

    explicit TVerlaufForm(const QString &folder, QWidget *parent = nullptr);

    // Reads the newest lists anew, as many as the window's choice says.
    void showLists();
    const QList<Zestrola::SavedList> &lists() const;
    IntakeHistoryChart *chart() const { return m_chart; }
    // The list chosen by the last activation; empty when none was.
    QString chosenPath() const { return m_chosenPath; }

    void ComboBox1Change();
    void ExportierenAlsCsvClick();
    void DiagrammAlsPngSpeichernClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildMenu();
    void choose(int list);
    void reportFailure(bool ok, const QString &error);

    QString m_folder;
    QComboBox *m_length = nullptr;
    IntakeHistoryChart *m_chart = nullptr;
    QLabel *m_totals = nullptr;
    QAction *m_exportCsv = nullptr;
    QAction *m_savePng = nullptr;
    QString m_chosenPath;
};
