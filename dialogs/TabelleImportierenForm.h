// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/TableImport.h"

#include <QDialog>
#include <QList>
#include <QStringList>
#include <atomic>
#include <optional>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QThread;
class QTimer;

namespace Zestrola {

// What the import dialog needs to know of the data folder and the open table.
struct ImportTargetInput
{
    QString dataFolder;
    QString currentTable; // empty when no table is open
    QStringList currentHeader; // the open table's header cells
    QStringList currentNames; // its entry names, by row
};

} // namespace Zestrola

// "Tabelle importieren": which file column goes into which table column, a
// filter, the target (a new table or the open one) and what happens to
// names the table already has, with a preview of the first rows as they
// will be written. OK reads the whole file on a thread of its own, with a
// progress bar; "Abbrechen" stops it. The dialog writes nothing: the caller
// writes the rows it hands back.
class TTabelleImportierenForm : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kPreviewRows = 20;

    explicit TTabelleImportierenForm(QWidget *parent = nullptr);
    ~TTabelleImportierenForm() override;

    // Reads the start of the file; false, with a German message, when it
    // holds no table.
    bool prepare(
        const QString &path, const Zestrola::ImportTargetInput &input, QString *errorMessage);

    // The result of OK.
    bool toNewTable() const;
    QString tableName() const;
    QStringList tableHeader() const;
    const Zestrola::ImportOutcome &outcome() const { return m_outcome; }

    // The file column chosen for a table column (-1: none), and the chooser.
    int chosenSource(int tableColumn) const;
    QComboBox *sourceChooser(int tableColumn) const;
    bool isReading() const { return m_thread != nullptr; }

    void OKButtonClick();
    void reject() override;

Q_SIGNALS:
    // The reading ended, finished or not.
    void readingEnded();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildMappingRows();
    void orderMappingTabs();
    void updateHints();
    void updatePreview();
    Zestrola::ImportSettings settings() const;
    bool settleTableName();
    void readingFinished();
    void setInputsEnabled(bool enabled);
    QString previewSummary(const Zestrola::ImportCounts &counts) const;

    QString m_path;
    Zestrola::ImportTargetInput m_input;
    std::optional<Zestrola::ImportSample> m_sample;

    QLabel *m_fileLabel;
    QRadioButton *m_newTable;
    QRadioButton *m_currentTable;
    QLineEdit *m_name;
    QComboBox *m_kind;
    QComboBox *m_duplicates;
    QGridLayout *m_mappingLayout;
    QList<QComboBox *> m_choosers; // per table column; null for computed ones
    QList<QLabel *> m_hints;
    QList<QWidget *> m_mappingWidgets;
    QCheckBox *m_filterOn;
    QComboBox *m_filterColumn;
    QLineEdit *m_filterText;
    QTableWidget *m_preview;
    QLabel *m_summary;
    QProgressBar *m_progress;
    QPushButton *m_ok;
    QTimer *m_progressTimer;

    QThread *m_thread = nullptr;
    std::atomic<bool> m_cancel = false;
    std::atomic<qint64> m_done = 0;
    std::atomic<qint64> m_total = 0;
    Zestrola::ImportOutcome m_outcome;
};
