// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Calculation.h"
#include "model/FileStamp.h"

#include <QDialog>
#include <QTimer>

class CalcListTableModel;
class CalculationHost;
class HeaderGrid;
class QAction;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableView;
class QTextBrowser;
class ReferenceIntakePanel;
class TDateienZusammfuegenForm;
class TRezeptForm;
class TVerlaufForm;

// The calculation window: what was eaten today and what it adds up to. The
// list and every rule live in Zestrola::CalculationList; this window shows
// it, takes the user's commands and saves, opens and merges list files.
class TBerechnungsForm : public QDialog
{
    Q_OBJECT
public:
    static constexpr QSize kInitialSize { 660, 545 };
    static constexpr QSize kMinimumSize { 660, 544 };
    static constexpr int kCleanUpIntervalMs = 1000;
    static constexpr int kRowsPerWheelNotch = 2;
    static inline const QString kCaption
        = QStringLiteral("Berechnung der Zufuhr an Energie und Nährstoffen.");
    static inline const QString kSaveCaption = QStringLiteral(
        "Zum Speichern der Liste betätigen Sie den Menüeintrag \"Datei|Speichern unter\"");
    static inline const QString kUnsavedQuestion
        = QStringLiteral("Die Liste in: \"Berechnung der Zufuhr...\" wurde noch nicht "
                         "gespeichert! Liste speichern?");
    // %1: the file's path.
    static inline const QString kChangedFileQuestion = QStringLiteral(
        "Die Datei \"%1\" wurde nach dem Öffnen der Liste von einem anderen Programm geändert.\n\n"
        "Möchten Sie die Datei trotzdem mit dieser Liste überschreiben? Die Änderung des anderen "
        "Programms geht dabei verloren.\n\n\"Nein\" lässt die Datei, wie sie ist; mit \"Speichern "
        "unter...\" können Sie die Liste unter einem anderen Namen speichern.");
    static inline const QString kMissingFileQuestion = QStringLiteral(
        "Die Datei \"%1\" ist nicht mehr vorhanden: Sie wurde nach dem Öffnen der Liste gelöscht "
        "oder umbenannt.\n\nMöchten Sie die Liste wieder unter diesem Namen speichern?");
    static inline const QString kEmptyListCaption = QStringLiteral("Die Liste ist noch l&eer!");
    static inline const QString kTransferCaption = QStringLiteral("Menge &übertragen nach: ");

    explicit TBerechnungsForm(CalculationHost &host, QWidget *parent = nullptr);

    const Zestrola::CalculationList &list() const { return m_list; }
    bool hasUnsavedList() const { return m_list.isUnsaved(); }
    QString calculationFolder() const;

    // The main window's commands. Each shows the window modally.
    void InBerechnunghinzufuegenClick();
    void BerechnungAnzeigenClick();
    // After the closing question was answered with "Ja".
    void showForSaving();

    // Adds the main window's current entry with the amount 100 (without
    // showing the window).
    void addCurrentEntry();
    void SetzeDieGrids();
    void StringGrid2SelectCell(int column, int row);
    void UebertragenButtonClick();
    void BerechnenButtonClick();
    void ZeileloeschenClick();
    void ListeLoeschenButtonClick();
    void WeitereHinzufuegenButtonClick();
    void Timer1Timer();

    void OeffnenClick();
    void SpeichernClick();
    // False when nothing was saved (cancelled, declined or failed).
    bool SpeichernUnterClick();
    void DateienzueinerzusammenfuegenClick();
    // Shows the history of the saved lists; the list chosen there opens here.
    void VerlaufdergespeichertenListenClick();
    TVerlaufForm *historyForm() const { return m_historyForm; }
    // Makes the list a recipe: an entry per 100 g of a table, through the
    // main window's new-entry dialog.
    void AlsRezeptuebernehmenClick();
    TRezeptForm *recipeForm() const { return m_recipeForm; }
    // Opens a list file, replacing the list without asking.
    void openListFile(const QString &path);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildWidgets();
    void buildMenu();
    void connectSignals();
    void showModally();
    void placeBesideHost();
    void reloadList();
    int hostColumnWidth(int column) const;
    void setListEnabled(bool hasList);
    void updateTransferCaption(const QString &name);
    void writeReport(const QStringList &lines);
    bool savesUnsavedListFirst();
    bool saveTo(const QString &path, bool chosenInDialog);
    bool mayReplace(const QString &path, bool chosenInDialog);
    bool isOpenedFile(const QString &path) const;
    void resetAfterSave();
    void scrollListByNotches(int notches);

    CalculationHost &m_host;
    Zestrola::CalculationList m_list;
    Zestrola::FileStamp m_fileStamp; // the list's file as it was read
    QList<int> m_hostColumnWidths;
    int m_targetRow = 0;
    int m_selectedRow = -1;
    QString m_selectedName;

    QTimer m_cleanUpTimer;
    HeaderGrid *m_header = nullptr;
    QLineEdit *m_amount = nullptr;
    QPushButton *m_transferButton = nullptr;
    QTableView *m_listView = nullptr;
    CalcListTableModel *m_listModel = nullptr;
    QTextBrowser *m_result = nullptr;
    ReferenceIntakePanel *m_intakePanel = nullptr;
    QPushButton *m_computeButton = nullptr;
    QPushButton *m_addMoreButton = nullptr;
    QPushButton *m_clearButton = nullptr;
    QMenu *m_listPopup = nullptr;
    QAction *m_open = nullptr;
    QAction *m_save = nullptr;
    QAction *m_saveAs = nullptr;
    QAction *m_merge = nullptr;
    QAction *m_history = nullptr;
    QAction *m_recipe = nullptr;
    TDateienZusammfuegenForm *m_mergeForm = nullptr;
    TVerlaufForm *m_historyForm = nullptr;
    TRezeptForm *m_recipeForm = nullptr;
};
