// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/TableSession.h"
#include "model/Thresholds.h"
#include "widgets/TableTextView.h"

#include <QMainWindow>
#include <QStringList>
#include <QTimer>
#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QLockFile;
class QMenu;
class QTextEdit;
class QUrl;
class HeaderGrid;
class InfoTextBox;
class TableTextView;
class TEinstellFormLebensmittel;
namespace Zestrola {
class ViewColouring;
}
class TEinstellFormLebensmittelGetraenke;
class TBearbeitenForm;
class TEinstellFormSucheImInternet;
class TImageGrossForm;
class TNeuForm;
class TNeueTabelleForm;
class TTabelleImportierenForm;
class TTextBausteinForm;
namespace Zestrola {
struct EntryDialogInput;
struct Recipe;
} // namespace Zestrola
class TBerechnungsForm;
class CalculationHost;

// The main window: table chooser, legend, header grid and table view, the
// search field and the status line. It owns the data folder, the table list,
// the current table and both threshold sets.
class TMainForm : public QMainWindow
{
    Q_OBJECT
public:
    static constexpr QSize kMinimumSize { 534, 490 };
    // What the search field holds until the user types a search text.
    static inline const QString kInitialSearchText = QStringLiteral("Suchtext hier eingeben");

    static inline const QString kReadOnlyReason
        = QStringLiteral("Nur zum Lesen geöffnet: Zestrola arbeitet schon in einem anderen "
                         "Fenster mit diesem Datenordner. Ändern Sie die Tabellen dort.");

    explicit TMainForm(QWidget *parent = nullptr);
    ~TMainForm() override;

    // Another Zestrola works on the data folder: this one was opened for
    // reading only, or is to quit at once (the user's choice at start).
    bool isReadOnly() const { return m_readOnly; }
    bool quitRequested() const { return m_quitRequested; }

    const QString &dataFolder() const { return m_session.dataFolder(); }
    QString currentTableName() const;

    // Read access for the tests and the benchmark, which drive the window
    // through its commands and controls and look at what it shows.
    const QStringList &tableList() const { return m_tableList; }
    const Zestrola::TableSession &session() const { return m_session; }
    TableTextView *tableView() const { return m_view; }
    HeaderGrid *headerGrid() const { return m_header; }
    Zestrola::ViewColouring *colouring() const { return m_colouring; }
    TBerechnungsForm *calculationForm() const { return m_calcForm; }
    // Whether the loaded rows are still being checked for saved order while
    // the window waits for the user.
    bool isCheckingRowOrder() const { return m_orderCheckTimer.isActive(); }

    // Loading and saving a table.
    void ComboBox1Change();
    bool LadeTntRichEdit1(const QString &tableName);
    void TrageDieHeaderZeileInStringgridEin(const QString &headerLine);
    void SetzeDieTabstops();
    void SortierenClick();

    // Search and selection.
    void Suchen1Click();
    void selectline(int lineNumber); // counted from 1

    // Entries and tables.
    void NeuerEintragClick();
    // Shows `tableName` and its new-entry dialog filled with the recipe;
    // true when OK added the entry.
    bool addRecipeEntry(const QString &tableName, const Zestrola::Recipe &recipe);
    void BearbeitenClick();
    void Eintragbearbeiten1Click();
    void ZeileloeschenClick();
    void NeueTabelle1Click();
    void TabelleImportieren1Click();

    // Rating.
    void checkeGrenzwerte();
    void TrageInfoTextEin();
    void MachDieWerteFarbig();
    void startRecolourTimer();

    // Info texts, snippets, web lookup and help.
    InfoTextBox *infoBox() const { return m_infoBox; }
    // Opens the info box of the current entry; `y` is where in the view the
    // user asked for it, and the box is placed from there.
    void InfotextAnzeigen(int y);
    void InfotextzuClick();
    void InfotextbearbeitenClick();
    bool SchliesseRichedit3();
    void TexteinfuegenClick();
    const QString &searchTerm() const { return m_searchTerm; }
    void ImInternetsuchenClick();
    void StarteInternetBrowser(const QUrl &url);
    void Internetsuche1Click();
    void Hilfe1Click();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildWidgets();
    void buildMenus();
    void buildTableViewPopup();
    void buildInfoTextPopup();
    void createDialogs();
    void connectSignals();

    // Start-up, in the order the create handler runs them.
    void findTables();
    void writeFirstRunDefaults();
    void restoreWindowSize();
    void selectLastTable();
    void createCalculationFolder();
    void runFirstShowSequence();

    void saveWindowSize();
    void showFirstRows();
    void checkRowOrderAWhile();
    void lockDataFolder();
    void applyReadOnly();
    bool refusedAsReadOnly();
    bool tableReadyForChange();
    void showSessionRows();
    void applyRating();
    bool selectChooserItem(int index);
    std::optional<int> readStoredNumber(const QString &name);
    void onViewRightClicked(QPoint pos);
    void onViewHovered(QPoint pos);
    void onSearchTextEdited();
    void updateSearchModeHint();
    void setSearchFieldColour(const QColor &colour);
    void selectInitialSearchText();
    void openHelpDocument(const QString &path);
    void highlightHeaderColumn(int column);
    void reportStartUpProblem(const QString &text);
    Zestrola::EntryDialogInput entryDialogInput() const;
    Zestrola::EntryDialogInput newEntryInput();
    bool addNewEntry();
    bool chooseTable(const QString &tableName);
    QList<int> headerColumnWidths() const;
    void showSavedRows(const QString &error);
    void showTable(const QString &name);
    void selectEntry(const QString &name);
    void placeInfoBox();
    void onSearchWordHovered(const QString &word);
    void updateHoverLine(QPoint pos);

    Zestrola::TableSession m_session;
    QTimer m_orderCheckTimer;
    // A while after the table was read or written, so that the next change
    // need not read the whole file again to see whether another program did.
    QTimer m_stampSettleTimer;
    std::unique_ptr<QLockFile> m_lock;
    bool m_readOnly = false;
    bool m_quitRequested = false;
    QStringList m_tableList;
    int m_lastHoveredColumn = 0;
    bool m_firstShow = true;
    // Problems found while starting wait until the window stands complete.
    QStringList m_startUpProblems;
    Zestrola::ThresholdSet m_foodSet;
    Zestrola::ThresholdSet m_drinkSet;

    QCheckBox *m_searchMode = nullptr;
    QLineEdit *m_searchField = nullptr;
    QComboBox *m_chooser = nullptr;
    QTextEdit *m_legend = nullptr;
    HeaderGrid *m_header = nullptr;
    TableTextView *m_view = nullptr;
    Zestrola::ViewColouring *m_colouring = nullptr;
    InfoTextBox *m_infoBox = nullptr;
    QLabel *m_hoverLine = nullptr;
    QMenu *m_viewPopup = nullptr;
    QMenu *m_infoPopup = nullptr;
    QAction *m_popupEdit = nullptr;
    QAction *m_popupShowInfo = nullptr;
    QAction *m_popupEditInfo = nullptr;
    QAction *m_popupDelete = nullptr;
    QAction *m_editCurrent = nullptr;
    QAction *m_editInfoText = nullptr;
    QAction *m_deleteCurrent = nullptr;
    QAction *m_webSearchAction = nullptr;

    // The info box: where it was opened, and the table's caret to go back to.
    int m_infoY = 0;
    int m_rightClickY = 0;
    TableTextView::Position m_savedCaret;
    QString m_searchTerm;

    TEinstellFormLebensmittel *m_foodDialog = nullptr;
    TEinstellFormLebensmittelGetraenke *m_drinkDialog = nullptr;
    TNeuForm *m_newEntryDialog = nullptr;
    TNeueTabelleForm *m_newTableDialog = nullptr;
    TTabelleImportierenForm *m_importDialog = nullptr;
    TBearbeitenForm *m_editDialog = nullptr;
    TImageGrossForm *m_imageForm = nullptr;
    TTextBausteinForm *m_snippetForm = nullptr;
    TEinstellFormSucheImInternet *m_searchForm = nullptr;
    std::unique_ptr<CalculationHost> m_calcHost;
    TBerechnungsForm *m_calcForm = nullptr;
};
