// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/BerechnungsForm.h"

#include "calc/CalcDialogs.h"
#include "calc/CalcListTableModel.h"
#include "calc/CalculationHost.h"
#include "calc/DateienZusammfuegenForm.h"
#include "calc/ReferenceIntakePanel.h"
#include "calc/RezeptForm.h"
#include "calc/VerlaufForm.h"
#include "model/CalcListFile.h"
#include "model/Captions.h"
#include "model/Columns.h"
#include "model/DataFolder.h"
#include "model/FileError.h"
#include "model/Recipe.h"
#include "model/TableFile.h"
#include "model/ViewText.h"
#include "widgets/FileDialog.h"
#include "widgets/FocusKeys.h"
#include "widgets/Fonts.h"
#include "widgets/HeaderGrid.h"
#include "widgets/MessageBox.h"
#include "widgets/NamedAction.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>
#include <QWheelEvent>

using namespace Zestrola;

namespace {

const QString kProposedName = QStringLiteral("Menü.txt");
const QString kHeaderCaption = QStringLiteral(
    " Schätzen oder wiegen Sie Ihre tägliche| Verzehrmenge des Lebensmittels und| tragen diese "
    "in Gramm in das grüne Feld ein.");
const QString kAmountHint = QStringLiteral("Tragen Sie hier die Menge in Gramm bzw. ml ein.");
constexpr int kDefaultColumnWidth = 66;
constexpr int kRowHeight = 20;

} // namespace

TBerechnungsForm::TBerechnungsForm(CalculationHost &host, QWidget *parent)
    : QDialog(parent)
    , m_host(host)
{
    setObjectName(QStringLiteral("BerechnungsForm"));
    setWindowTitle(kCaption);
    setFont(Fonts::unicodeSans());
    setMinimumSize(kMinimumSize);
    resize(kInitialSize);

    buildWidgets();
    buildMenu();
    connectSignals();
    m_mergeForm = new TDateienZusammfuegenForm(calculationFolder(), this);
    m_historyForm = new TVerlaufForm(calculationFolder(), this);
    m_recipeForm = new TRezeptForm(this);

    m_cleanUpTimer.setInterval(kCleanUpIntervalMs);
    connect(&m_cleanUpTimer, &QTimer::timeout, this, &TBerechnungsForm::Timer1Timer);
    m_cleanUpTimer.start();
}

QString TBerechnungsForm::calculationFolder() const
{
    return Zestrola::calculationFolder(m_host.dataFolder());
}

// ---------------------------------------------------------------- widgets --

void TBerechnungsForm::buildWidgets()
{
    m_amount = new QLineEdit(QStringLiteral("100"), this);
    m_amount->setObjectName(QStringLiteral("Edit1"));
    m_amount->setAccessibleName(QStringLiteral("Menge in Gramm bzw. ml"));
    m_amount->setToolTip(kAmountHint);
    m_amount->setFixedWidth(90);
    QPalette green = m_amount->palette();
    green.setColor(QPalette::Base, QColor(0, 255, 0));
    m_amount->setPalette(green);
    m_amount->installEventFilter(this);

    m_transferButton = boldButton(kEmptyListCaption, QStringLiteral("UebertragenButton"), this);

    m_header = new HeaderGrid(this);
    m_header->setObjectName(QStringLiteral("StringGrid1"));
    m_header->setAccessibleName(QStringLiteral("Spaltentitel"));
    m_header->setSectionsMovable(false);
    m_header->setSectionResizeMode(QHeaderView::Fixed);
    m_header->setFocusPolicy(Qt::NoFocus);

    m_listModel = new CalcListTableModel(m_list, this);
    m_listView = new QTableView(this);
    m_listView->setObjectName(QStringLiteral("StringGrid2"));
    m_listView->setAccessibleName(QStringLiteral("Berechnungsliste"));
    m_listView->setModel(m_listModel);
    m_listView->horizontalHeader()->hide();
    m_listView->verticalHeader()->hide();
    m_listView->verticalHeader()->setMinimumSectionSize(kRowHeight);
    m_listView->verticalHeader()->setDefaultSectionSize(kRowHeight);
    m_listView->horizontalHeader()->setDefaultSectionSize(kDefaultColumnWidth);
    m_listView->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_listView->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    m_listView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_listView->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
        | QAbstractItemView::AnyKeyPressed);
    m_listView->setTabKeyNavigation(true);
    m_listView->setWordWrap(false);
    m_listView->setContextMenuPolicy(Qt::CustomContextMenu);
    Fonts::makeBold(m_listView);
    m_listView->viewport()->installEventFilter(this);
    m_header->setLeadingMargin(m_listView->frameWidth() - m_header->frameWidth());

    m_listPopup = new QMenu(this);
    m_listPopup->setObjectName(QStringLiteral("PopupMenu1"));
    connect(addNamedAction(
                m_listPopup, QStringLiteral("Zeileloeschen1"), QStringLiteral("Zeile &löschen")),
        &QAction::triggered, this, &TBerechnungsForm::ZeileloeschenClick);

    m_result = new QTextBrowser(this);
    m_result->setObjectName(QStringLiteral("TntRichEdit1"));
    m_result->setAccessibleName(QStringLiteral("Ergebnis"));
    m_result->setOpenLinks(false);
    m_result->setLineWrapMode(QTextEdit::NoWrap);
    m_result->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_result->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    m_computeButton = new QPushButton(QStringLiteral("&Berechnen"), this);
    m_computeButton->setObjectName(QStringLiteral("BerechnenButton"));
    m_computeButton->setDefault(true);
    m_addMoreButton = new QPushButton(QStringLiteral("Eintrag &hinzufügen"), this);
    m_addMoreButton->setObjectName(QStringLiteral("WeitereHinzufuegenButton"));
    m_addMoreButton->setAutoDefault(false);
    m_clearButton = new QPushButton(QStringLiteral("Liste &löschen"), this);
    m_clearButton->setObjectName(QStringLiteral("ListeLoeschenButton"));
    m_clearButton->setAutoDefault(false);
    m_clearButton->setEnabled(false);

    auto *amountRow = new QHBoxLayout;
    amountRow->addWidget(m_amount);
    amountRow->addWidget(m_transferButton, 1);
    auto *buttonRow = new QGridLayout;
    buttonRow->addWidget(m_addMoreButton, 0, 0, Qt::AlignLeft);
    buttonRow->addWidget(m_computeButton, 0, 1, Qt::AlignCenter);
    buttonRow->addWidget(m_clearButton, 0, 2, Qt::AlignRight);
    buttonRow->setColumnStretch(0, 1);
    setTabOrder(m_addMoreButton, m_computeButton);
    setTabOrder(m_computeButton, m_clearButton);
    buttonRow->setColumnStretch(2, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 8);
    layout->addLayout(amountRow);
    layout->addSpacing(4);
    layout->addWidget(m_header);
    layout->setSpacing(0);
    layout->addWidget(m_listView, 1);
    layout->addSpacing(6);
    // The shares of the reference intakes stand beside the report.
    m_intakePanel = new ReferenceIntakePanel(m_list, calculationFolder(), this);
    auto *resultRow = new QHBoxLayout;
    resultRow->setSpacing(6);
    resultRow->addWidget(m_result, 3);
    resultRow->addWidget(m_intakePanel, 2);
    layout->addLayout(resultRow, 1);
    layout->addSpacing(6);
    layout->addLayout(buttonRow);
}

void TBerechnungsForm::buildMenu()
{
    auto *bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu *file = bar->addMenu(QStringLiteral("&Datei"));
    file->setObjectName(QStringLiteral("Datei1"));
    m_open = addNamedAction(file, QStringLiteral("Oeffnen1"), QStringLiteral("&Öffnen..."));
    m_open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    m_save = addNamedAction(file, QStringLiteral("Speichern1"), QStringLiteral("&Speichern"));
    m_save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m_saveAs = addNamedAction(
        file, QStringLiteral("Speichernunter1"), QStringLiteral("Speichern &unter..."));
    m_saveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    file->addSeparator();
    m_merge = addNamedAction(file, QStringLiteral("Dateienzueinerzusammenfuegen1"),
        QStringLiteral("Dateien zu einer &zusammenfügen"));
    m_recipe = addNamedAction(file, QStringLiteral("AlsRezeptuebernehmen1"),
        QStringLiteral("Als &Rezept in eine Tabelle übernehmen..."));
    file->addSeparator();
    m_intakePanel->addFileCommands(file);
    m_save->setEnabled(false);
    m_saveAs->setEnabled(false);
    m_recipe->setEnabled(false);

    QMenu *view = bar->addMenu(QStringLiteral("&Anzeige"));
    view->setObjectName(QStringLiteral("Anzeige1"));
    m_history = addNamedAction(view, QStringLiteral("VerlaufdergespeichertenListen1"),
        QStringLiteral("&Verlauf der gespeicherten Listen..."));
    layout()->setMenuBar(bar);
    openMenuBarByF10(this, bar);
}

void TBerechnungsForm::connectSignals()
{
    connect(
        m_transferButton, &QPushButton::clicked, this, &TBerechnungsForm::UebertragenButtonClick);
    connect(m_computeButton, &QPushButton::clicked, this, &TBerechnungsForm::BerechnenButtonClick);
    connect(m_addMoreButton, &QPushButton::clicked, this,
        &TBerechnungsForm::WeitereHinzufuegenButtonClick);
    connect(
        m_clearButton, &QPushButton::clicked, this, &TBerechnungsForm::ListeLoeschenButtonClick);
    connect(m_open, &QAction::triggered, this, &TBerechnungsForm::OeffnenClick);
    connect(m_save, &QAction::triggered, this, &TBerechnungsForm::SpeichernClick);
    connect(m_saveAs, &QAction::triggered, this, &TBerechnungsForm::SpeichernUnterClick);
    connect(
        m_merge, &QAction::triggered, this, &TBerechnungsForm::DateienzueinerzusammenfuegenClick);
    connect(m_history, &QAction::triggered, this,
        &TBerechnungsForm::VerlaufdergespeichertenListenClick);
    connect(m_recipe, &QAction::triggered, this, &TBerechnungsForm::AlsRezeptuebernehmenClick);

    connect(m_listModel, &QAbstractItemModel::modelReset, m_intakePanel,
        &ReferenceIntakePanel::updateCommands);
    connect(m_listModel, &QAbstractItemModel::dataChanged, m_intakePanel,
        &ReferenceIntakePanel::updateCommands);
    connect(m_listView->selectionModel(), &QItemSelectionModel::currentChanged, this,
        [this](const QModelIndex &current) {
            if (current.isValid())
                StringGrid2SelectCell(current.column(), current.row());
        });
    connect(m_listView, &QWidget::customContextMenuRequested, this, [this](QPoint pos) {
        const QModelIndex index = m_listView->indexAt(pos);
        if (index.isValid())
            m_listView->setCurrentIndex(index);
        m_listPopup->popup(m_listView->viewport()->mapToGlobal(pos));
    });
    // The captions scroll sideways with the list.
    connect(m_listView->horizontalScrollBar(), &QScrollBar::valueChanged, m_header,
        &HeaderGrid::setOffset);
    connect(m_result, &QTextBrowser::anchorClicked, this,
        [](const QUrl &url) { QDesktopServices::openUrl(url); });
    // The chart shows what the report shows, and nothing when it is empty.
    connect(m_result, &QTextEdit::textChanged, this, [this] {
        if (m_result->document()->isEmpty())
            m_intakePanel->clear();
    });
}

// -------------------------------------------------------- showing, layout --

void TBerechnungsForm::InBerechnunghinzufuegenClick()
{
    addCurrentEntry();
    showModally();
}

void TBerechnungsForm::BerechnungAnzeigenClick()
{
    if (m_list.isEmpty() || !m_list.rows().first().hasAmount())
        m_transferButton->setText(kEmptyListCaption);
    showModally();
}

void TBerechnungsForm::showForSaving()
{
    setWindowTitle(kSaveCaption);
    BerechnungAnzeigenClick();
}

void TBerechnungsForm::showModally()
{
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    exec();
}

void TBerechnungsForm::showEvent(QShowEvent *event)
{
    placeBesideHost();
    QDialog::showEvent(event);
}

void TBerechnungsForm::placeBesideHost()
{
    const QRect host = m_host.hostFrameGeometry();
    if (!host.isValid())
        return;
    move(host.left() + 10, host.top() + 30);
    resize(std::max(host.width() - 20, kMinimumSize.width()),
        std::max(height(), kMinimumSize.height()));
}

// Lays the captions and the list out after the main window's header: every
// value stands under its caption, the first caption spans amount and name.
void TBerechnungsForm::SetzeDieGrids()
{
    const QStringList cells = m_host.headerCells();
    m_hostColumnWidths = m_host.headerColumnWidths();
    auto width = [this](int column) { return hostColumnWidth(column); };
    m_list.setHeader(cells);

    QStringList texts;
    QList<int> headerWidths;
    for (int column = 0; column < cells.size(); ++column) {
        texts << headerCellDisplayText(column == 0 ? kHeaderCaption : cells[column]);
        headerWidths << (column == 0 ? width(0) + 2 * width(1) : width(column));
    }
    m_header->setCells(texts, headerWidths);
    m_header->setSelectedColumn(0);
}

// Widths of the header the list was laid out after.
int TBerechnungsForm::hostColumnWidth(int column) const
{
    return m_hostColumnWidths.value(column, kDefaultColumnWidth);
}

void TBerechnungsForm::reloadList()
{
    const QModelIndex current = m_listView->currentIndex();
    m_listModel->reload();
    auto width = [this](int column) { return hostColumnWidth(column); };
    QHeaderView *columns = m_listView->horizontalHeader();
    if (!m_list.headerCells().isEmpty()) {
        columns->resizeSection(0, width(1));
        columns->resizeSection(1, width(0) + width(1));
        for (int column = 2; column < m_list.columnCount(); ++column)
            columns->resizeSection(column, width(column - 1));
    }
    if (current.isValid()) {
        const QSignalBlocker quiet(m_listView->selectionModel());
        m_listView->setCurrentIndex(m_listModel->index(
            std::min(current.row(), m_listModel->rowCount() - 1), current.column()));
    }
}

void TBerechnungsForm::setListEnabled(bool hasList)
{
    m_clearButton->setEnabled(hasList);
    m_save->setEnabled(hasList);
    m_saveAs->setEnabled(hasList);
    m_recipe->setEnabled(hasList);
}

void TBerechnungsForm::updateTransferCaption(const QString &name)
{
    m_transferButton->setText(
        name.isEmpty() ? kEmptyListCaption : kTransferCaption + literalCaptionText(name));
}

// ------------------------------------------------------------ the list ----

void TBerechnungsForm::addCurrentEntry()
{
    const QString entryRow = m_host.currentEntryRow();
    if (trimBlanks(entryRow).isEmpty())
        return;
    setListEnabled(true);
    SetzeDieGrids(); // the list's columns follow at the reload below
    const int row = m_list.addEntry(entryRow);
    m_targetRow = row;
    m_selectedRow = -1;
    m_transferButton->setText(kTransferCaption + literalCaptionText(tabPieces(entryRow).value(0)));
    reloadList();
    const QSignalBlocker quiet(m_listView->selectionModel());
    m_listView->setCurrentIndex(
        m_listModel->index(row, std::max(0, m_listView->currentIndex().column())));
}

void TBerechnungsForm::StringGrid2SelectCell(int column, int row)
{
    m_selectedRow = row;
    m_selectedName = m_list.rows().value(row).name();
    updateTransferCaption(m_selectedName);
    if (!m_selectedName.isEmpty() && column > kAmountListColumn)
        m_header->setSelectedColumn(tableColumnOfList(column));
}

void TBerechnungsForm::UebertragenButtonClick()
{
    if (m_selectedRow >= 0)
        m_targetRow = m_selectedRow;
    if (!m_list.rows().value(m_targetRow).hasAmount())
        return;
    if (!passesNumberTest(m_amount->text()))
        m_amount->setText(QStringLiteral("100"));
    m_list.transfer(m_targetRow, m_amount->text());
    // From the first transfer on, the list shows computed values only.
    m_listModel->setEditable(false);
    m_listModel->rowChanged(m_targetRow);
    m_listView->setFocus();
    BerechnenButtonClick();
}

void TBerechnungsForm::BerechnenButtonClick()
{
    writeReport(m_list.report());
    m_intakePanel->showTotals();
}

// Only the lines that changed are written anew: a new text would have to be
// laid out and drawn whole, links included.
void TBerechnungsForm::writeReport(const QStringList &lines)
{
    QTextDocument *document = m_result->document();
    if (document->blockCount() == lines.size() && !document->isEmpty()) {
        QTextBlock block = document->begin();
        for (const QString &line : lines) {
            if (block.text() != line) {
                QTextCursor cursor(block);
                cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
                cursor.insertText(line, QTextCharFormat());
            }
            block = block.next();
        }
        return;
    }
    m_result->setPlainText(lines.join(u'\n'));
    QTextCursor cursor(document);
    for (const QString &address : onlineCalculatorAddresses()) {
        cursor = document->find(address, cursor);
        if (cursor.isNull())
            break;
        QTextCharFormat link;
        link.setAnchor(true);
        link.setAnchorHref(address);
        link.setForeground(palette().color(QPalette::Link));
        link.setFontUnderline(true);
        cursor.mergeCharFormat(link);
    }
}

void TBerechnungsForm::ZeileloeschenClick()
{
    const QModelIndex current = m_listView->currentIndex();
    if (!current.isValid() || current.row() >= m_list.rowCount())
        return;
    const int row = current.row();
    m_list.removeRow(row);
    if (m_targetRow > row)
        --m_targetRow;
    reloadList();
    StringGrid2SelectCell(m_listView->currentIndex().column(), m_listView->currentIndex().row());
}

void TBerechnungsForm::ListeLoeschenButtonClick()
{
    m_list.clear();
    reloadList();
    m_result->clear();
    setWindowTitle(kCaption);
    setListEnabled(false);
    updateTransferCaption({});
}

void TBerechnungsForm::WeitereHinzufuegenButtonClick()
{
    m_result->clear();
    reject();
}

void TBerechnungsForm::Timer1Timer()
{
    if (m_list.dropEmptyFirstRow())
        reloadList();
    if (m_list.isEmpty()) {
        m_save->setEnabled(false);
        m_saveAs->setEnabled(false);
        m_recipe->setEnabled(false);
    }
}

bool TBerechnungsForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_amount && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            m_result->clear();
            UebertragenButtonClick();
            return true; // not the default button as well
        }
    } else if (watched == m_listView->viewport() && event->type() == QEvent::Wheel) {
        const int delta = static_cast<QWheelEvent *>(event)->angleDelta().y();
        const int notches = delta / 120 != 0 ? delta / 120 : (delta > 0) - (delta < 0);
        scrollListByNotches(notches);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TBerechnungsForm::scrollListByNotches(int notches)
{
    QScrollBar *bar = m_listView->verticalScrollBar();
    bar->setValue(bar->value() - notches * kRowsPerWheelNotch);
}

// ------------------------------------------------------------------ files --

void TBerechnungsForm::OeffnenClick()
{
    if (savesUnsavedListFirst())
        return;
    const QString chosen = FileDialog::getOpenFileName(this, QStringLiteral("Öffnen"),
        calculationFolder() + u'/' + kProposedName, kListFileFilter);
    if (!chosen.isEmpty())
        openListFile(chosen);
}

// Before another list replaces an unsaved one, the user may save it instead;
// true when "Speichern unter" ran and nothing is to be opened.
bool TBerechnungsForm::savesUnsavedListFirst()
{
    if (!m_list.isUnsaved())
        return false;
    if (MessageBox::question(this, kUnsavedQuestion, MessageBox::Yes::Keeps) != QMessageBox::Yes)
        return false; // the list stays unsaved until another one replaces it
    setWindowTitle(kSaveCaption);
    SpeichernUnterClick();
    return true;
}

void TBerechnungsForm::openListFile(const QString &path)
{
    const CalcListFileContent content = readCalcListFile(path);
    if (!content.ok) {
        MessageBox::error(this, readErrorMessage(path, readFailureReason(path)));
        return;
    }
    const QString name = QFileInfo(path).fileName();
    m_list.load(content.per100Lines, content.rowLines);
    m_list.setFilePath(path);
    m_fileStamp = content.stamp;
    m_listView->setCurrentIndex({});
    reloadList();
    m_listView->setCurrentIndex(m_listModel->index(0, 0));
    m_selectedName = m_list.rows().value(0).name();
    updateTransferCaption(m_selectedName);
    setWindowTitle(name + u" - " + kCaption);
    setListEnabled(true);
    BerechnenButtonClick();
}

// An opened list goes back into the file it was read from, wherever that is.
void TBerechnungsForm::SpeichernClick()
{
    if (m_list.filePath().isEmpty()) {
        SpeichernUnterClick();
        return;
    }
    BerechnenButtonClick();
    saveTo(m_list.filePath(), false);
}

bool TBerechnungsForm::SpeichernUnterClick()
{
    const QString proposed = m_list.filePath().isEmpty()
        ? calculationFolder() + u'/' + kProposedName
        : m_list.filePath();
    const QString chosen = FileDialog::getSaveFileName(
        this, QStringLiteral("Speichern unter"), proposed, kListFileFilter);
    if (chosen.isEmpty())
        return false;
    const QFileInfo file(chosen);
    const QString name = saveFileName(file.fileName());
    const std::optional<QString> path = calcListFilePath(file.path(), name);
    if (!path) {
        MessageBox::information(
            this, QStringLiteral("\"%1\" ist kein zulässiger Dateiname.").arg(name));
        return false;
    }
    BerechnenButtonClick();
    return saveTo(*path, true);
}

// Writes the list to `path`. The list stays as it is unless the file was
// written.
bool TBerechnungsForm::saveTo(const QString &path, bool chosenInDialog)
{
    if (!mayReplace(path, chosenInDialog))
        return false;
    QString error;
    if (!WriteToStream(m_list.fileLines(), path, &error)) {
        MessageBox::error(this, error);
        return false;
    }
    resetAfterSave();
    return true;
}

// A file is replaced only when the user knows what it holds. The file the
// list was read from may be replaced unasked unless another program changed
// or removed it since; any other file the user chose is replaced after the
// overwrite question.
bool TBerechnungsForm::mayReplace(const QString &path, bool chosenInDialog)
{
    const auto ask = [this](const QString &question, MessageBox::Yes yes) {
        return MessageBox::question(this, question, yes) == QMessageBox::Yes;
    };
    if (isOpenedFile(path)) {
        switch (m_fileStamp.check(path)) {
        case FileStamp::Check::Unchanged:
            break;
        case FileStamp::Check::Changed:
            return ask(kChangedFileQuestion.arg(path), MessageBox::Yes::Destroys);
        case FileStamp::Check::Missing:
            return chosenInDialog || ask(kMissingFileQuestion.arg(path), MessageBox::Yes::Keeps);
        }
    }
    return !chosenInDialog || !QFileInfo::exists(path)
        || ask(kOverwriteListQuestion, MessageBox::Yes::Destroys);
}

bool TBerechnungsForm::isOpenedFile(const QString &path) const
{
    return !m_list.filePath().isEmpty()
        && QFileInfo(path).absoluteFilePath() == QFileInfo(m_list.filePath()).absoluteFilePath();
}

// The saved file is now the record of the list: the window starts afresh.
void TBerechnungsForm::resetAfterSave()
{
    ListeLoeschenButtonClick();
    accept();
}

void TBerechnungsForm::DateienzueinerzusammenfuegenClick()
{
    m_mergeForm->exec();
}

void TBerechnungsForm::VerlaufdergespeichertenListenClick()
{
    m_historyForm->showLists();
    if (m_historyForm->exec() != QDialog::Accepted || m_historyForm->chosenPath().isEmpty())
        return;
    if (!savesUnsavedListFirst())
        openListFile(m_historyForm->chosenPath());
}

void TBerechnungsForm::AlsRezeptuebernehmenClick()
{
    if (m_list.countedRowCount() == 0) {
        MessageBox::information(this, kRecipeListEmpty);
        return;
    }
    const QStringList tables = m_host.tableNames();
    if (tables.isEmpty()) {
        MessageBox::information(this, kRecipeNoTable);
        return;
    }
    m_recipeForm->prepare(QFileInfo(m_list.fileName()).completeBaseName(), tables,
        m_host.currentTableName(), m_list.totals().amount);
    if (m_recipeForm->exec() != QDialog::Accepted)
        return;
    m_host.addRecipeEntry(m_recipeForm->tableName(),
        makeRecipe(m_list, m_recipeForm->recipeName(), m_recipeForm->weight()));
}
