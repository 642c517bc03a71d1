// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/TabelleImportierenForm.h"

#include "model/Captions.h"
#include "model/DataFolder.h"
#include "model/EntryRules.h"
#include "model/TableFile.h"
#include "widgets/Fonts.h"
#include "widgets/MessageBox.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

using namespace Zestrola;

namespace {

const QString kNoColumn = QStringLiteral("(keine)");

// A header cell on one line: "Brennwert|in kJ" reads "Brennwert in kJ",
// "Energie-|dichte" "Energiedichte".
QString oneLine(const QString &cell)
{
    return QString(cell).replace(QStringLiteral("-|"), QString()).replace(u'|', u' ').simplified();
}

QString separatorName(char separator)
{
    switch (separator) {
    case ';':
        return QStringLiteral("Semikolon");
    case ',':
        return QStringLiteral("Komma");
    default:
        return QStringLiteral("Tabulator");
    }
}

QString fileColumnName(const QStringList &header, int column)
{
    const QString name = header.value(column);
    return name.isEmpty() ? QStringLiteral("Spalte %1").arg(column + 1) : name;
}

// The header of the open table without the empty cell that a header line
// ending in a TAB leaves: the imported rows have no cell there.
QStringList withoutTrailingEmptyCells(QStringList cells)
{
    while (cells.size() > 1 && trimBlanks(cells.back()).isEmpty())
        cells.removeLast();
    return cells;
}

// What becomes of a file column's values in a table column.
QString conversionHint(ImportRole role, const SourceColumn &source)
{
    QString hint;
    if (role == ImportRole::Salt && source.role == ImportRole::Sodium)
        hint = QStringLiteral("Natrium × 2,5");
    else if (role == ImportRole::Kj && source.role == ImportRole::Kcal)
        hint = QStringLiteral("kcal × 4,184");
    else if (role == ImportRole::Kcal && source.role == ImportRole::Kj)
        hint = QStringLiteral("kJ ÷ 4,184");
    if (unitFactor(role, source) != unitFactor(role, { source.role, false }))
        hint += hint.isEmpty() ? QStringLiteral("mg ÷ 1000") : QStringLiteral(" ÷ 1000");
    return hint;
}

} // namespace

TTabelleImportierenForm::TTabelleImportierenForm(QWidget *parent)
    : QDialog(parent)
    , m_fileLabel(new QLabel(this))
    , m_newTable(new QRadioButton(QStringLiteral("&Neue Tabelle"), this))
    , m_currentTable(new QRadioButton(this))
    , m_name(new QLineEdit(this))
    , m_kind(new QComboBox(this))
    , m_duplicates(new QComboBox(this))
    , m_mappingLayout(new QGridLayout)
    , m_filterOn(new QCheckBox(QStringLiteral("n&ur Zeilen, deren Spalte"), this))
    , m_filterColumn(new QComboBox(this))
    , m_filterText(new QLineEdit(this))
    , m_preview(new QTableWidget(this))
    , m_summary(new QLabel(this))
    , m_progress(new QProgressBar(this))
    , m_ok(new QPushButton(QStringLiteral("&Importieren"), this))
    , m_progressTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("TabelleImportierenForm"));
    setWindowTitle(QStringLiteral("Tabelle importieren"));
    setFont(Fonts::unicodeSans());
    resize(900, 720);

    m_fileLabel->setObjectName(QStringLiteral("Label1"));
    m_fileLabel->setWordWrap(true);

    // Target: a new table or the open one.
    auto *target = new QGroupBox(QStringLiteral("Ziel"), this);
    m_newTable->setObjectName(QStringLiteral("RadioButton1"));
    m_currentTable->setObjectName(QStringLiteral("RadioButton2"));
    auto *targets = new QButtonGroup(this);
    targets->addButton(m_newTable);
    targets->addButton(m_currentTable);
    m_name->setObjectName(QStringLiteral("Edit1"));
    auto *nameLabel = new QLabel(QStringLiteral("Na&me:"), this);
    nameLabel->setBuddy(m_name);
    m_kind->setObjectName(QStringLiteral("ComboBox1"));
    m_kind->addItems(
        { QStringLiteral("Lebensmittel (je 100 g)"), QStringLiteral("Getränke (je 100 ml)") });
    auto *kindLabel = new QLabel(QStringLiteral("A&rt:"), this);
    kindLabel->setBuddy(m_kind);
    m_duplicates->setObjectName(QStringLiteral("ComboBox2"));
    m_duplicates->addItems({ QStringLiteral("überspringen"), QStringLiteral("ersetzen"),
        QStringLiteral("beide behalten") });
    auto *duplicatesLabel = new QLabel(QStringLiteral("Namen, die es &schon gibt:"), this);
    duplicatesLabel->setBuddy(m_duplicates);
    auto *targetLayout = new QGridLayout(target);
    targetLayout->addWidget(m_newTable, 0, 0);
    targetLayout->addWidget(nameLabel, 0, 1);
    targetLayout->addWidget(m_name, 0, 2);
    targetLayout->addWidget(kindLabel, 0, 3);
    targetLayout->addWidget(m_kind, 0, 4);
    targetLayout->addWidget(m_currentTable, 1, 0, 1, 3);
    targetLayout->addWidget(duplicatesLabel, 1, 3);
    targetLayout->addWidget(m_duplicates, 1, 4);
    targetLayout->setColumnStretch(2, 1);
    // Tab reads the target row by row; the other radio button is reached
    // by the arrow keys.
    setTabOrder(m_newTable, m_name);
    setTabOrder(m_name, m_kind);
    setTabOrder(m_kind, m_currentTable);
    setTabOrder(m_currentTable, m_duplicates);

    auto *mapping = new QGroupBox(QStringLiteral("Spalten der Tabelle und der Datei"), this);
    mapping->setLayout(m_mappingLayout);

    m_filterOn->setObjectName(QStringLiteral("CheckBox1"));
    m_filterColumn->setObjectName(QStringLiteral("ComboBox3"));
    m_filterColumn->setAccessibleName(QStringLiteral("Spalte des Filters"));
    m_filterText->setObjectName(QStringLiteral("Edit2"));
    m_filterText->setAccessibleName(QStringLiteral("Text des Filters"));
    auto *filterLayout = new QHBoxLayout;
    filterLayout->addWidget(m_filterOn);
    filterLayout->addWidget(m_filterColumn, 1);
    filterLayout->addWidget(m_filterText, 1);
    filterLayout->addWidget(new QLabel(QStringLiteral("enthält"), this));

    auto *previewLabel = new QLabel(QStringLiteral("&Vorschau:"), this);
    previewLabel->setBuddy(m_preview);
    m_preview->setObjectName(QStringLiteral("StringGrid1"));
    m_preview->setAccessibleName(QStringLiteral("Vorschau"));
    m_preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_preview->verticalHeader()->setDefaultSectionSize(20);
    m_summary->setObjectName(QStringLiteral("Label2"));
    m_summary->setWordWrap(true);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setRange(0, 1000);
    m_progress->setAccessibleName(QStringLiteral("Fortschritt"));
    m_progress->hide();

    m_ok->setObjectName(QStringLiteral("OKButton"));
    m_ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("&Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("Button2"));
    cancel->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_progress, 1);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);

    auto *layout = new QVBoxLayout(this);
    // The choosers are rebuilt and the texts change while the dialog is
    // open; its size stays where the user put it.
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    setMinimumSize(760, 560);
    layout->addWidget(m_fileLabel);
    layout->addWidget(target);
    layout->addWidget(mapping);
    layout->addLayout(filterLayout);
    layout->addWidget(previewLabel);
    layout->addWidget(m_preview, 1);
    layout->addWidget(m_summary);
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, &TTabelleImportierenForm::OKButtonClick);
    connect(cancel, &QPushButton::clicked, this, &TTabelleImportierenForm::reject);
    connect(m_newTable, &QRadioButton::toggled, this, &TTabelleImportierenForm::buildMappingRows);
    connect(
        m_kind, &QComboBox::currentIndexChanged, this, &TTabelleImportierenForm::buildMappingRows);
    connect(m_newTable, &QRadioButton::toggled, m_name, &QWidget::setEnabled);
    connect(m_newTable, &QRadioButton::toggled, m_kind, &QWidget::setEnabled);
    connect(m_duplicates, &QComboBox::currentIndexChanged, this,
        &TTabelleImportierenForm::updatePreview);
    connect(m_filterOn, &QCheckBox::toggled, this, &TTabelleImportierenForm::updatePreview);
    connect(m_filterColumn, &QComboBox::currentIndexChanged, this,
        &TTabelleImportierenForm::updatePreview);
    connect(m_filterText, &QLineEdit::textChanged, this, &TTabelleImportierenForm::updatePreview);
    connect(m_progressTimer, &QTimer::timeout, this, [this] {
        const qint64 total = m_total.load();
        m_progress->setValue(total > 0 ? int(m_done.load() * 1000 / total) : 0);
    });
    m_progressTimer->setInterval(100);
}

TTabelleImportierenForm::~TTabelleImportierenForm()
{
    if (m_thread) {
        m_cancel = true;
        m_thread->wait();
    }
}

bool TTabelleImportierenForm::prepare(
    const QString &path, const ImportTargetInput &input, QString *errorMessage)
{
    m_sample = readImportSample(path, errorMessage);
    if (!m_sample)
        return false;
    m_path = path;
    m_input = input;
    m_outcome = {};
    m_fileLabel->setText(
        QStringLiteral("Datei: %1\nTrennzeichen: %2, %3 Spalten")
            .arg(QDir::toNativeSeparators(path), separatorName(m_sample->separator))
            .arg(m_sample->header.size()));
    const QString baseName = QFileInfo(path).completeBaseName();
    m_name->setText(baseName);
    m_kind->setCurrentIndex(isDrinkTable(baseName) ? 1 : 0);
    m_currentTable->setText(input.currentTable.isEmpty()
            ? QStringLiteral("In die aktuelle &Tabelle")
            : QStringLiteral("In die aktuelle &Tabelle \"%1\"")
                  .arg(literalCaptionText(input.currentTable)));
    m_currentTable->setEnabled(!input.currentTable.isEmpty());
    m_duplicates->setCurrentIndex(0);

    const QSignalBlocker blockFilter(m_filterColumn);
    m_filterColumn->clear();
    for (int column = 0; column < m_sample->header.size(); ++column)
        m_filterColumn->addItem(fileColumnName(m_sample->header, column));
    m_filterOn->setChecked(false);
    m_filterText->clear();

    const QSignalBlocker blockTarget(m_newTable);
    m_newTable->setChecked(true);
    m_name->setEnabled(true);
    m_kind->setEnabled(true);
    buildMappingRows();
    setInputsEnabled(true);
    m_progress->hide();
    return true;
}

bool TTabelleImportierenForm::toNewTable() const
{
    return m_newTable->isChecked();
}

QString TTabelleImportierenForm::tableName() const
{
    return toNewTable() ? m_name->text() : m_input.currentTable;
}

QStringList TTabelleImportierenForm::tableHeader() const
{
    if (!toNewTable())
        return withoutTrailingEmptyCells(m_input.currentHeader);
    return m_kind->currentIndex() == 1 ? defaultDrinkHeader() : defaultFoodHeader();
}

int TTabelleImportierenForm::chosenSource(int tableColumn) const
{
    const QComboBox *chooser = m_choosers.value(tableColumn);
    return chooser ? chooser->currentIndex() - 1 : -1;
}

QComboBox *TTabelleImportierenForm::sourceChooser(int tableColumn) const
{
    return m_choosers.value(tableColumn);
}

// One chooser of the file's columns for every table column that is read,
// set to the suggested column; the computed ones say so instead.
void TTabelleImportierenForm::buildMappingRows()
{
    if (!m_sample)
        return;
    qDeleteAll(m_mappingWidgets);
    m_mappingWidgets.clear();
    m_choosers.clear();
    m_hints.clear();
    const QStringList header = tableHeader();
    const QList<int> suggested = suggestedSources(header, m_sample->header);
    QStringList items { kNoColumn };
    for (int column = 0; column < m_sample->header.size(); ++column)
        items.append(fileColumnName(m_sample->header, column));

    // Two columns of choosers, so that a drink table fits without scrolling.
    const int rows = int(header.size() + 1) / 2;
    for (int column = 0; column < header.size(); ++column) {
        const int row = column % rows;
        const int place = column / rows * 3;
        const QString title
            = header[column].isEmpty() ? QStringLiteral("(ohne Titel)") : oneLine(header[column]);
        auto *label = new QLabel(title + u':', this);
        auto *hint = new QLabel(this);
        hint->setObjectName(QStringLiteral("Hinweis%1").arg(column));
        QComboBox *chooser = nullptr;
        QWidget *field = hint;
        if (isComputedRole(tableColumnRole(column, header[column]))) {
            hint->setText(QStringLiteral("wird berechnet"));
        } else {
            chooser = new QComboBox(this);
            chooser->setObjectName(QStringLiteral("ComboBoxSpalte%1").arg(column));
            chooser->addItems(items);
            chooser->setCurrentIndex(suggested.value(column, -1) + 1);
            chooser->setAccessibleName(title);
            label->setBuddy(chooser);
            connect(chooser, &QComboBox::currentIndexChanged, this, [this] {
                updateHints();
                updatePreview();
            });
            auto *box = new QWidget(this);
            auto *boxLayout = new QHBoxLayout(box);
            boxLayout->setContentsMargins(0, 0, 0, 0);
            boxLayout->addWidget(chooser, 1);
            boxLayout->addWidget(hint);
            field = box;
        }
        m_choosers.append(chooser);
        m_hints.append(hint);
        m_mappingLayout->addWidget(label, row, place);
        m_mappingLayout->addWidget(field, row, place + 1);
        m_mappingWidgets << label << field;
    }
    orderMappingTabs();
    m_mappingLayout->setColumnStretch(1, 1);
    m_mappingLayout->setColumnStretch(4, 1);
    m_mappingLayout->setColumnMinimumWidth(2, 16);

    m_preview->setColumnCount(int(header.size()));
    QStringList titles;
    for (const QString &cell : header)
        titles.append(oneLine(cell));
    m_preview->setHorizontalHeaderLabels(titles);
    updateHints();
    updatePreview();
}

// The choosers are made after the rest of the dialog; Tab reaches them
// between the target and the filter, in the order of the table's columns.
void TTabelleImportierenForm::orderMappingTabs()
{
    QWidget *previous = m_duplicates;
    for (QComboBox *chooser : std::as_const(m_choosers)) {
        if (!chooser)
            continue;
        setTabOrder(previous, chooser);
        previous = chooser;
    }
    setTabOrder(previous, m_filterOn);
}

// What becomes of a chosen column: "Natrium × 2,5", "aus kcal berechnet".
void TTabelleImportierenForm::updateHints()
{
    const QStringList header = tableHeader();
    auto mapped = [&](ImportRole role) {
        for (int column = 0; column < m_choosers.size(); ++column) {
            if (tableColumnRole(column, header[column]) == role && chosenSource(column) >= 0)
                return true;
        }
        return false;
    };
    for (int column = 0; column < m_choosers.size(); ++column) {
        if (!m_choosers[column])
            continue;
        const ImportRole role = tableColumnRole(column, header[column]);
        const int source = chosenSource(column);
        QString hint;
        if (source < 0) {
            if (role == ImportRole::Kj && mapped(ImportRole::Kcal))
                hint = QStringLiteral("aus kcal berechnet");
            else if (role == ImportRole::Kcal && mapped(ImportRole::Kj))
                hint = QStringLiteral("aus kJ berechnet");
        } else {
            hint = conversionHint(role, recogniseSourceColumn(m_sample->header.value(source)));
        }
        m_hints[column]->setText(hint);
    }
}

ImportSettings TTabelleImportierenForm::settings() const
{
    ImportSettings settings;
    settings.fileHeader = m_sample->header;
    settings.tableHeader = tableHeader();
    for (int column = 0; column < settings.tableHeader.size(); ++column)
        settings.sources.append(chosenSource(column));
    settings.decimalMarks = m_sample->decimalMarks;
    if (m_filterOn->isChecked()) {
        settings.filterColumn = m_filterColumn->currentIndex();
        settings.filterText = m_filterText->text();
    }
    settings.duplicates = DuplicateNames(m_duplicates->currentIndex());
    if (!toNewTable())
        settings.existingNames = m_input.currentNames;
    return settings;
}

void TTabelleImportierenForm::updatePreview()
{
    if (!m_sample || m_choosers.size() != tableHeader().size())
        return;
    ImportRows rows(settings(), kPreviewRows);
    for (const DelimitedRecord &record : std::as_const(m_sample->records))
        rows.add(record);
    const QList<QStringList> &preview = rows.preview();
    m_preview->clearContents();
    m_preview->setRowCount(int(preview.size()));
    for (int row = 0; row < preview.size(); ++row) {
        for (int column = 0; column < preview[row].size(); ++column)
            m_preview->setItem(row, column, new QTableWidgetItem(preview[row][column]));
    }
    m_preview->resizeColumnsToContents();
    m_summary->setText(previewSummary(rows.counts()));
}

QString TTabelleImportierenForm::previewSummary(const ImportCounts &counts) const
{
    QString text = m_sample->wholeFile
        ? QStringLiteral("Die Datei hat %1").arg(rowCountText(counts.read))
        : QStringLiteral("In den ersten %1 Zeilen der Datei").arg(countText(counts.read));
    text += QStringLiteral(": %1 zu übernehmen, %2 übersprungen")
                .arg(countText(counts.taken()), countText(counts.skipped()));
    if (const QString reasons = skipReasons(counts); !reasons.isEmpty())
        text += QStringLiteral(" (%1)").arg(reasons);
    if (counts.filteredOut > 0)
        text += QStringLiteral(", %1 vom Filter ausgelassen").arg(countText(counts.filteredOut));
    text += u'.';
    if (const QString reasons = unknownValueReasons(counts); !reasons.isEmpty())
        text += QStringLiteral(" Als \"?\": %1.").arg(reasons);
    return text;
}

void TTabelleImportierenForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_ok->setFocus();
}

// The name rules of a new table: no extension, a name the file system
// takes, and no table of that name yet (letter case aside).
bool TTabelleImportierenForm::settleTableName()
{
    const QString name = typedTableName(m_name->text());
    m_name->setText(name);
    QString problem = newTableNameProblem(m_input.dataFolder, name);
    if (problem.isEmpty() && tableNameTaken(m_input.dataFolder, name))
        problem = QStringLiteral("Die Tabelle \"%1\" gibt es schon. Bitte wählen Sie einen anderen "
                                 "Namen oder die aktuelle Tabelle.")
                      .arg(name);
    if (!problem.isEmpty()) {
        MessageBox::information(this, problem);
        m_name->setFocus();
        return false;
    }
    if (QFileInfo::exists(entryFolderPath(m_input.dataFolder, name)))
        MessageBox::information(this, QStringLiteral("Verzeichnis ist schon vorhanden!"));
    return true;
}

void TTabelleImportierenForm::OKButtonClick()
{
    if (m_thread || !m_sample)
        return;
    if (chosenSource(0) < 0) {
        MessageBox::information(
            this, QStringLiteral("Bitte wählen Sie die Spalte der Datei, die die Namen enthält."));
        return;
    }
    if (toNewTable() && !settleTableName())
        return;
    setInputsEnabled(false);
    m_progress->setValue(0);
    m_progress->show();
    m_cancel = false;
    m_done = 0;
    m_total = 0;
    m_thread = QThread::create([this, path = m_path, settings = settings()] {
        m_outcome = importFile(path, settings, [this](qint64 done, qint64 total) {
            m_done = done;
            m_total = total;
            return !m_cancel.load();
        });
    });
    connect(m_thread, &QThread::finished, this, &TTabelleImportierenForm::readingFinished);
    m_progressTimer->start();
    m_thread->start();
}

void TTabelleImportierenForm::readingFinished()
{
    m_progressTimer->stop();
    m_thread->deleteLater();
    m_thread = nullptr;
    m_progress->hide();
    setInputsEnabled(true);
    Q_EMIT readingEnded();
    if (m_outcome.cancelled || m_cancel) {
        QDialog::reject();
        return;
    }
    if (!m_outcome.error.isEmpty()) {
        MessageBox::error(this, m_outcome.error);
        return;
    }
    accept();
}

// "Abbrechen" while the file is read stops the reading first; nothing has
// been written either way.
void TTabelleImportierenForm::reject()
{
    if (m_thread) {
        m_cancel = true;
        return;
    }
    QDialog::reject();
}

void TTabelleImportierenForm::setInputsEnabled(bool enabled)
{
    for (QWidget *widget : findChildren<QWidget *>()) {
        const bool stays = widget == m_progress || widget->objectName() == u"Button2"
            || qobject_cast<QLabel *>(widget) || widget->isWindow();
        if (!stays
            && (qobject_cast<QComboBox *>(widget) || qobject_cast<QLineEdit *>(widget)
                || qobject_cast<QAbstractButton *>(widget) || widget == m_preview))
            widget->setEnabled(enabled);
    }
    if (enabled) {
        m_name->setEnabled(toNewTable());
        m_kind->setEnabled(toNewTable());
        m_currentTable->setEnabled(!m_input.currentTable.isEmpty());
    }
}
