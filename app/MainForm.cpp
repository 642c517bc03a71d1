// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainForm.h"

#include "calc/BerechnungsForm.h"
#include "calc/CalculationHost.h"
#include "dialogs/BearbeitenForm.h"
#include "dialogs/EinstellFormLebensmittel.h"
#include "dialogs/EinstellFormLebensmittelGetraenke.h"
#include "dialogs/EinstellFormSucheImInternet.h"
#include "dialogs/ImageGrossForm.h"
#include "dialogs/NeuForm.h"
#include "dialogs/NeueTabelleForm.h"
#include "dialogs/TabelleImportierenForm.h"
#include "dialogs/TextBausteinForm.h"
#include "model/Captions.h"
#include "model/DataFolder.h"
#include "model/EntryEdit.h"
#include "model/FileError.h"
#include "model/InfoText.h"
#include "model/Legend.h"
#include "model/Recipe.h"
#include "model/Search.h"
#include "model/Settings.h"
#include "model/SortSave.h"
#include "model/TableFile.h"
#include "model/ViewText.h"
#include "model/WebSearch.h"
#include "widgets/CellGrid.h"
#include "widgets/ChangedFile.h"
#include "widgets/FileDialog.h"
#include "widgets/FocusKeys.h"
#include "widgets/Fonts.h"
#include "widgets/GreyItemDelegate.h"
#include "widgets/HeaderGrid.h"
#include "widgets/InfoTextBox.h"
#include "widgets/MessageBox.h"
#include "widgets/NamedAction.h"
#include "widgets/TableTextView.h"
#include "widgets/ViewColouring.h"
#include "widgets/WindowPlacement.h"

#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLockFile>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTextCursor>
#include <QTextEdit>

using namespace Zestrola;
using Settings::LeseRegKey;
using Settings::SchreibeRegKey;

namespace {

const QString kLetzteAuswahl = QStringLiteral("LetzteAuswahl");
const QString kHoehe = QStringLiteral("Hoehe");
const QString kWeite = QStringLiteral("Weite");
const QString kSearchHintFirstPos = QStringLiteral("Suche an erster Stelle eines Eintrages.");
const QString kSearchHintWholeText = QStringLiteral("Suche im gesamten Text eines Eintrages.");

// The popups show the keys of the same commands in the main menu. Their
// own keys only show: a popup's action takes no key (its widget shortcut
// never matches), so each key keeps the one command it triggers.
void showKeys(QAction *action, const QList<QKeySequence> &keys)
{
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WidgetShortcut);
}

// The end of a command caption that names the entry it works on.
QString entryCaptionSuffix(const QString &entryName)
{
    return QStringLiteral("   ") + literalCaptionText(entryName) + QStringLiteral(" ...");
}

// The calculation window's view of the main window.
class MainFormCalculationHost final : public CalculationHost
{
public:
    explicit MainFormCalculationHost(TMainForm &form)
        : m_form(form)
    { }
    QString dataFolder() const override { return m_form.dataFolder(); }
    QStringList headerCells() const override { return m_form.session().headerCells(); }
    QList<int> headerColumnWidths() const override
    {
        QList<int> widths;
        for (int column = 0; column < m_form.headerGrid()->columnCount(); ++column)
            widths << m_form.headerGrid()->sectionSize(column);
        return widths;
    }
    QString currentEntryRow() const override
    {
        return m_form.tableView()->lines().value(m_form.tableView()->caretLine());
    }
    bool isDrinkTable() const override { return m_form.session().isDrinkTable(); }
    QRect hostFrameGeometry() const override { return m_form.frameGeometry(); }
    QStringList tableNames() const override { return m_form.tableList(); }
    QString currentTableName() const override
    {
        return m_form.session().isOpen() ? m_form.session().tableName() : QString();
    }
    bool addRecipeEntry(const QString &tableName, const Recipe &recipe) override
    {
        return m_form.addRecipeEntry(tableName, recipe);
    }

private:
    TMainForm &m_form;
};

QString entryGoneMessage(const QString &name)
{
    return QStringLiteral("Der Eintrag \"%1\" ist in der geänderten Tabelle nicht mehr "
                          "vorhanden. Es wurde nichts gespeichert.")
        .arg(name);
}

} // namespace

TMainForm::TMainForm(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Zestrola - Version " ZESTROLA_CAPTION_VERSION));
    setFont(Fonts::unicodeSans());
    setMinimumSize(kMinimumSize);
    resize(671, 490);

    buildWidgets();
    buildMenus();
    connectSignals();

    m_session.setDataFolder(dataFolderFromWorkingDirectory());
    lockDataFolder();
    findTables();
    const bool firstRun = LeseRegKey(kLetzteAuswahl).isEmpty();
    if (firstRun)
        writeFirstRunDefaults();
    restoreWindowSize();
    if (firstRun) // after every resize, which would take the maximised state back
        setWindowState(windowState() | Qt::WindowMaximized);
    else
        centreOnScreen(this);
    selectLastTable();
    createCalculationFolder();

    createDialogs();
    if (m_readOnly)
        applyReadOnly();
}

TMainForm::~TMainForm() = default;

QString TMainForm::currentTableName() const
{
    return m_chooser->currentText();
}

// ---------------------------------------------------------------- widgets --

void TMainForm::buildWidgets()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("MainPanel"));
    central->installEventFilter(this);
    setCentralWidget(central);

    m_searchMode = new QCheckBox(QStringLiteral("Am &Zeilenanfang suchen"), central);
    m_searchMode->setObjectName(QStringLiteral("CheckBoxErstePos"));
    m_searchMode->setChecked(true);

    m_searchField = new QLineEdit(kInitialSearchText, central);
    m_searchField->setObjectName(QStringLiteral("Edit1"));
    m_searchField->setAccessibleName(QStringLiteral("Suchtext"));
    m_searchField->setToolTip(QStringLiteral("Suchtext eingeben und Returntaste drücken."));
    m_searchField->setFixedWidth(169);
    m_searchField->installEventFilter(this);
    setSearchFieldColour(Fonts::kLightGrey);

    m_chooser = new QComboBox(central);
    m_chooser->setObjectName(QStringLiteral("ComboBox1"));
    m_chooser->setAccessibleName(QStringLiteral("Tabelle auswählen"));
    // On Linux a combo box is read by its current text; this says what it is for.
    m_chooser->setAccessibleDescription(QStringLiteral("Tabelle auswählen"));
    m_chooser->setItemDelegate(new GreyItemDelegate(m_chooser));
    m_chooser->installEventFilter(this);
    m_chooser->setPlaceholderText(QStringLiteral("Wählen Sie hier eine Liste aus"));

    m_legend = new QTextEdit(central);
    m_legend->setObjectName(QStringLiteral("TntRichEdit2"));
    m_legend->setReadOnly(true);
    m_legend->setAccessibleName(QStringLiteral("Legende"));
    // Reached by Tab, it shows a caret, so that its text can be read line by line.
    m_legend->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_legend->setFixedHeight(63);
    QPalette legendPalette = m_legend->palette();
    legendPalette.setColor(QPalette::Base, Fonts::kLightGrey);
    m_legend->setPalette(legendPalette);

    m_view = new TableTextView(central);
    m_view->setObjectName(QStringLiteral("TntRichEdit1"));
    m_view->setAccessibleName(QStringLiteral("Tabelle"));
    m_view->setFont(Fonts::unicodeSans());

    m_colouring = new ViewColouring(m_view);

    m_header = new HeaderGrid(central);
    m_header->setObjectName(QStringLiteral("StringGrid1"));
    coupleHeaderAndView(m_header, m_view);

    auto *layout = new QGridLayout(central);
    layout->setContentsMargins(14, 7, 14, 0);
    layout->setHorizontalSpacing(14);
    layout->setVerticalSpacing(3);
    layout->addWidget(m_searchMode, 0, 0);
    layout->addWidget(m_searchField, 1, 0);
    layout->addWidget(m_chooser, 1, 1);
    layout->addWidget(m_legend, 2, 0, 1, 2);
    layout->addWidget(m_header, 3, 0, 1, 2);
    layout->addWidget(m_view, 4, 0, 1, 2);
    layout->setRowStretch(4, 1);
    layout->setColumnStretch(1, 1);
    // The header sits directly on the view, so its columns read as the view's.
    layout->setRowMinimumHeight(3, kHeaderHeight);

    // Opened over the table view next to the entry it describes.
    m_infoBox = new InfoTextBox(central);
    m_infoBox->setGeometry(420, 70, 185, 89);
    m_infoBox->hide();

    auto *status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setFixedHeight(32);
    setStatusBar(status);
    m_hoverLine = new QLabel(status);
    m_hoverLine->setObjectName(QStringLiteral("Label1"));
    m_hoverLine->setAlignment(Qt::AlignCenter);
    Fonts::makeBold(m_hoverLine);
    status->addWidget(m_hoverLine, 1);

    // Top to bottom; the info box, when open, follows the table it covers.
    setTabOrder(m_searchMode, m_searchField);
    setTabOrder(m_searchField, m_chooser);
    setTabOrder(m_chooser, m_legend);
    setTabOrder(m_legend, m_header);
    setTabOrder(m_header, m_view);
    setTabOrder(m_view, m_infoBox);

    buildTableViewPopup();
    buildInfoTextPopup();
}

void TMainForm::buildMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    QMenu *file = bar->addMenu(QStringLiteral("&Datei"));
    file->setObjectName(QStringLiteral("Datei1"));
    connect(addNamedAction(file, QStringLiteral("NeueTabelle1"), QStringLiteral("&Neue Tabelle")),
        &QAction::triggered, this, &TMainForm::NeueTabelle1Click);
    connect(addNamedAction(file, QStringLiteral("TabelleImportieren1"),
                QStringLiteral("Tabelle &importieren...")),
        &QAction::triggered, this, &TMainForm::TabelleImportieren1Click);
    file->addSeparator();
    QAction *sort
        = addNamedAction(file, QStringLiteral("Sortieren1"), QStringLiteral("&Sortieren"));
    sort->setVisible(false);
    connect(sort, &QAction::triggered, this, &TMainForm::SortierenClick);
    file->addSeparator();
    QAction *quit = addNamedAction(file, QStringLiteral("Beenden1"), QStringLiteral("&Beenden"));
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(quit, &QAction::triggered, this, &QWidget::close);

    QMenu *show = bar->addMenu(QStringLiteral("&Anzeige"));
    show->setObjectName(QStringLiteral("Anzeige1"));
    QAction *showCalculation = addNamedAction(show, QStringLiteral("Berechnung1"),
        QStringLiteral("&Berechnung der Zufuhr an Energie und Nährstoffen"));
    showCalculation->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B));
    connect(showCalculation, &QAction::triggered, this,
        [this] { m_calcForm->BerechnungAnzeigenClick(); });

    QMenu *edit = bar->addMenu(QStringLiteral("&Bearbeiten"));
    edit->setObjectName(QStringLiteral("Bearbeiten1"));
    connect(edit, &QMenu::aboutToShow, this, &TMainForm::Eintragbearbeiten1Click);
    QAction *newEntry
        = addNamedAction(edit, QStringLiteral("NeuerEintrag1"), QStringLiteral("&Neuer Eintrag"));
    newEntry->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(newEntry, &QAction::triggered, this, &TMainForm::NeuerEintragClick);
    m_editCurrent = addNamedAction(edit, QStringLiteral("AktuelleZeile1"),
        QStringLiteral("&Aktuelle Zeile (Eintrag) an Caretposition"));
    m_editCurrent->setShortcuts({ QKeySequence(Qt::CTRL | Qt::Key_E), QKeySequence(Qt::Key_F2) });
    connect(m_editCurrent, &QAction::triggered, this, &TMainForm::BearbeitenClick);
    m_editInfoText = addNamedAction(
        edit, QStringLiteral("Infotextbearbeiten1"), QStringLiteral("&Infotext bearbeiten"));
    m_editInfoText->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    connect(m_editInfoText, &QAction::triggered, this, &TMainForm::InfotextbearbeitenClick);
    edit->addSeparator();
    QAction *addToCalculation = addNamedAction(edit, QStringLiteral("InBerechnungHinzufuegen1"),
        QStringLiteral("In Berechnung der Zufuhr an Energie und Nährstoffen &hinzufügen"));
    addToCalculation->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    connect(addToCalculation, &QAction::triggered, this,
        [this] { m_calcForm->InBerechnunghinzufuegenClick(); });
    edit->addSeparator();
    m_deleteCurrent = addNamedAction(
        edit, QStringLiteral("AktuelleZeileloeschen1"), QStringLiteral("Aktuelle Zeile &löschen"));
    // Delete means the entry only in the table view; elsewhere it deletes text.
    m_deleteCurrent->setShortcut(QKeySequence(QKeySequence::Delete));
    m_deleteCurrent->setShortcutContext(Qt::WidgetShortcut);
    m_view->addAction(m_deleteCurrent);
    connect(m_deleteCurrent, &QAction::triggered, this, &TMainForm::ZeileloeschenClick);

    QMenu *settings = bar->addMenu(QStringLiteral("&Einstellung"));
    settings->setObjectName(QStringLiteral("Einstellung1"));
    QAction *food = addNamedAction(settings, QStringLiteral("LebensmittelGrenzwerte1"),
        QStringLiteral("&Lebensmittel-Nahrungs-Grenzwerte"));
    connect(food, &QAction::triggered, this, [this] { m_foodDialog->exec(); });
    QAction *drinks = addNamedAction(settings, QStringLiteral("GetraenkeGrenzwerte1"),
        QStringLiteral("Lebensmittel-&Getränke-Grenzwerte"));
    connect(drinks, &QAction::triggered, this, [this] { m_drinkDialog->exec(); });
    settings->addSeparator();
    connect(addNamedAction(
                settings, QStringLiteral("Internetsuche1"), QStringLiteral("&Internetsuche")),
        &QAction::triggered, this, &TMainForm::Internetsuche1Click);

    QAction *search = addNamedAction(bar, QStringLiteral("Suchen1"), QStringLiteral("&Suchen"));
    search->setShortcut(QKeySequence(Qt::Key_F3));
    connect(search, &QAction::triggered, this, &TMainForm::Suchen1Click);
    bar->addAction(QStringLiteral(" "))->setEnabled(false);
    QAction *help = addNamedAction(bar, QStringLiteral("Hilfe1"), QStringLiteral("&Hilfe"));
    help->setShortcut(QKeySequence(Qt::Key_F1));
    connect(help, &QAction::triggered, this, &TMainForm::Hilfe1Click);

    openMenuBarByF10(this, bar);

    // No menu item of its own: the search field is the place to type into.
    QAction *searchField = new QAction(QStringLiteral("Suchtext eingeben"), this);
    searchField->setObjectName(QStringLiteral("Suchtexteingeben1"));
    searchField->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    addAction(searchField);
    connect(searchField, &QAction::triggered, this, [this] {
        m_searchField->setFocus(Qt::ShortcutFocusReason);
        m_searchField->selectAll();
    });
}

void TMainForm::buildTableViewPopup()
{
    m_viewPopup = new QMenu(this);
    m_viewPopup->setObjectName(QStringLiteral("PopupMenu1"));
    auto add = [this](const QString &name, const QString &caption, const QKeySequence &keys) {
        QAction *action = addNamedAction(m_viewPopup, name, caption);
        showKeys(action, { keys });
        return action;
    };
    m_popupEdit = add(QStringLiteral("Eintragbearbeiten1"), QStringLiteral("Eintrag &bearbeiten"),
        QKeySequence(Qt::CTRL | Qt::Key_E));
    connect(m_popupEdit, &QAction::triggered, this, &TMainForm::BearbeitenClick);
    m_viewPopup->addSeparator();
    m_popupShowInfo
        = add(QStringLiteral("Infotextanzeigen1"), QStringLiteral("Infotext &anzeigen zu: "), {});
    m_popupEditInfo = add(QStringLiteral("Infotextbearbeiten2"),
        QStringLiteral("&Infotext bearbeiten zu: "), QKeySequence(Qt::CTRL | Qt::Key_I));
    connect(m_popupShowInfo, &QAction::triggered, this, &TMainForm::InfotextzuClick);
    connect(m_popupEditInfo, &QAction::triggered, this, &TMainForm::InfotextbearbeitenClick);
    m_viewPopup->addSeparator();
    QAction *addToCalculation = add(QStringLiteral("Hinzufuegen1"),
        QStringLiteral("&Hinzufügen:  in Berechnung der Zufuhr an Energie und Nährstoffen"),
        QKeySequence(Qt::CTRL | Qt::Key_B));
    connect(addToCalculation, &QAction::triggered, this,
        [this] { m_calcForm->InBerechnunghinzufuegenClick(); });
    QAction *showCalculation = add(QStringLiteral("Nuranzeigen1"),
        QStringLiteral("&Nur anzeigen:  Berechnung der Zufuhr an Enegie und Nährstoffen"),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B));
    connect(showCalculation, &QAction::triggered, this,
        [this] { m_calcForm->BerechnungAnzeigenClick(); });
    m_viewPopup->addSeparator();
    m_popupDelete = add(QStringLiteral("Zeileloeschen1"), QStringLiteral("Zeile &löschen"),
        QKeySequence(QKeySequence::Delete));
    connect(m_popupDelete, &QAction::triggered, this, &TMainForm::ZeileloeschenClick);
}

void TMainForm::buildInfoTextPopup()
{
    m_infoPopup = new QMenu(this);
    m_infoPopup->setObjectName(QStringLiteral("PopupMenu2"));
    const auto add = [this](const QString &name, const QString &caption) {
        return addNamedAction(m_infoPopup, name, caption);
    };
    // Copy and paste are the box's own keys.
    QAction *copy = add(QStringLiteral("Kopieren1"), QStringLiteral("&Kopieren"));
    showKeys(copy, { QKeySequence(QKeySequence::Copy) });
    connect(copy, &QAction::triggered, m_infoBox, &QTextEdit::copy);
    QAction *paste = add(QStringLiteral("Einfuegen1"), QStringLiteral("&Einfügen"));
    showKeys(paste, { QKeySequence(QKeySequence::Paste) });
    connect(paste, &QAction::triggered, m_infoBox, &InfoTextBox::pasteText);
    connect(add(QStringLiteral("Texteinfuegen1"), QStringLiteral("&Textbaustein einfügen")),
        &QAction::triggered, this, &TMainForm::TexteinfuegenClick);
    m_webSearchAction
        = add(QStringLiteral("ImInternetsuchen"), QStringLiteral("Im &Internet suchen"));
    connect(m_webSearchAction, &QAction::triggered, this, &TMainForm::ImInternetsuchenClick);
    m_infoBox->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_infoBox, &QWidget::customContextMenuRequested, this,
        [this](QPoint pos) { m_infoPopup->popup(m_infoBox->viewport()->mapToGlobal(pos)); });
}

void TMainForm::createDialogs()
{
    m_foodDialog = new TEinstellFormLebensmittel(this);
    m_newEntryDialog = new TNeuForm(this);
    m_imageForm = new TImageGrossForm(this);
    m_drinkDialog = new TEinstellFormLebensmittelGetraenke(this);
    m_snippetForm = new TTextBausteinForm(this);
    m_newTableDialog = new TNeueTabelleForm(this);
    m_importDialog = new TTabelleImportierenForm(this);
    m_editDialog = new TBearbeitenForm(this);
    m_searchForm = new TEinstellFormSucheImInternet(this);
    for (ThresholdDialog *dialog : { static_cast<ThresholdDialog *>(m_foodDialog),
             static_cast<ThresholdDialog *>(m_drinkDialog) }) {
        connect(dialog, &ThresholdDialog::thresholdsChanged, this, [this](const ThresholdSet &set) {
            (set.drinks ? m_drinkSet : m_foodSet) = set;
            applyRating();
        });
        connect(dialog, &ThresholdDialog::tableReloadRequested, this, &TMainForm::ComboBox1Change);
        connect(dialog, &ThresholdDialog::recolourRequested, this, &TMainForm::startRecolourTimer);
    }

    connect(
        m_infoBox, &InfoTextBox::largePictureRequested, m_imageForm, &TImageGrossForm::showPicture);
    m_snippetForm->setSnippetFile(dataFolder() + kSnippetFileName);
    for (EntryDialog *dialog : { static_cast<EntryDialog *>(m_newEntryDialog),
             static_cast<EntryDialog *>(m_editDialog) }) {
        dialog->snippetAction()->setEnabled(true);
        connect(dialog->snippetAction(), &QAction::triggered, this,
            [this, dialog] { m_snippetForm->insertInto(dialog->descriptionBox()); });
    }
    m_searchForm->setAddressListFile(dataFolder() + kAddressListFileName);

    m_calcHost = std::make_unique<MainFormCalculationHost>(*this);
    m_calcForm = new TBerechnungsForm(*m_calcHost, this);
}

void TMainForm::connectSignals()
{
    connect(m_chooser, &QComboBox::activated, this, &TMainForm::ComboBox1Change);
    connect(&m_orderCheckTimer, &QTimer::timeout, this, &TMainForm::checkRowOrderAWhile);
    // Half a second beyond the clock's step, as a timer may fire a little early.
    m_stampSettleTimer.setSingleShot(true);
    m_stampSettleTimer.setInterval(int(FileStamp::kClockTickNs / 1'000'000) + 500);
    connect(&m_stampSettleTimer, &QTimer::timeout, this, [this] {
        if (m_session.isOpen())
            m_session.settleFileStamp();
    });
    connect(m_searchField, &QLineEdit::returnPressed, this, &TMainForm::Suchen1Click);
    connect(m_searchField, &QLineEdit::textEdited, this, &TMainForm::onSearchTextEdited);
    connect(m_searchMode, &QCheckBox::toggled, this, &TMainForm::updateSearchModeHint);

    connect(m_colouring, &ViewColouring::badValueFound, this,
        [this](const QString &message) { MessageBox::error(this, message); });
    connect(m_view, &TableTextView::rightClicked, this, &TMainForm::onViewRightClicked);
    connect(m_view, &TableTextView::hovered, this, &TMainForm::onViewHovered);
    connect(m_view, &TableTextView::singleClicked, this, &TMainForm::SchliesseRichedit3);
    connect(m_view, &TableTextView::doubleClicked, this, [this](QPoint pos) {
        m_infoBox->setEditMode(false);
        InfotextAnzeigen(pos.y());
    });

    m_infoBox->setLineMarker([this](QStringView line) {
        return marksForLine(
            line, m_session.ratedColumns(), m_session.isDrinkTable() ? m_drinkSet : m_foodSet)
            .marks;
    });
    connect(m_infoBox, &InfoTextBox::searchWordHovered, this, &TMainForm::onSearchWordHovered);
    connect(m_infoBox, &InfoTextBox::mouseMovedOver, this,
        [this](QPoint global) { updateHoverLine(m_view->viewport()->mapFromGlobal(global)); });
    connect(m_infoBox, &InfoTextBox::linkClicked, this, &TMainForm::StarteInternetBrowser);
    m_header->viewport()->installEventFilter(this);

    connect(m_header, &HeaderGrid::mouseReleasedOnLastColumn, this, [this] {
        m_view->setFocus();
        m_view->setCaret({});
        m_header->setSelectedColumn(0);
    });
}

// --------------------------------------------------------------- start-up --

void TMainForm::findTables()
{
    m_tableList.clear();
    FindAllFolders(dataFolder(), m_tableList);
    m_chooser->clear();
    m_chooser->addItems(m_tableList);
    m_chooser->setCurrentIndex(-1);
}

void TMainForm::writeFirstRunDefaults()
{
    SchreibeRegKey(kLetzteAuswahl, QStringLiteral("0"));
    for (const bool drinks : { false, true }) {
        for (const Nutrient n : kNutrients)
            SchreibeRegKey(switchName(drinks, n), QStringLiteral("1"));
    }
    SchreibeRegKey(QStringLiteral("Internetadresse"), kDefaultInternetAddress);
    SchreibeRegKey(
        QStringLiteral("Internet_Suchbegriff_in_Clipboard_kopieren"), QStringLiteral("1"));

    if (const QScreen *screen = this->screen()) {
        const int width = screen->availableGeometry().width() - 10;
        if (width > kMinimumSize.width())
            resize(width, height());
    }
}

void TMainForm::restoreWindowSize()
{
    QSize size = this->size();
    if (const std::optional<int> height = readStoredNumber(kHoehe))
        size.setHeight(*height);
    if (const std::optional<int> width = readStoredNumber(kWeite))
        size.setWidth(*width);
    // A stored size beyond the screen (a damaged setting) would make a
    // window of gigabytes that nobody can see; it is held to the screen.
    QSize largest = size.expandedTo(kMinimumSize);
    if (const QScreen *screen = this->screen())
        largest = screen->availableGeometry().size().expandedTo(kMinimumSize);
    resize(size.expandedTo(kMinimumSize).boundedTo(largest));
}

// A number kept in the settings; nothing when it is missing, and a message
// (but no stop) when it is not a number.
std::optional<int> TMainForm::readStoredNumber(const QString &name)
{
    const QString stored = LeseRegKey(name);
    if (stored.isEmpty())
        return std::nullopt;
    bool ok = false;
    const int value = stored.trimmed().toInt(&ok);
    if (!ok) {
        reportStartUpProblem(QStringLiteral("'%1' ist kein gültiger Integerwert").arg(stored));
        return std::nullopt;
    }
    return value;
}

void TMainForm::selectLastTable()
{
    const std::optional<int> index = readStoredNumber(kLetzteAuswahl);
    if (!index || !selectChooserItem(*index))
        return;
    if (LadeTntRichEdit1(currentTableName()))
        SetzeDieTabstops();
}

bool TMainForm::selectChooserItem(int index)
{
    if (index < 0 || index >= m_chooser->count())
        return false;
    m_chooser->setCurrentIndex(index);
    return true;
}

void TMainForm::createCalculationFolder()
{
    const QString path = dataFolder() + kCalculationFolderName;
    if (QFileInfo(path).isDir())
        return;
    if (QString reason; !makeFolder(path, &reason)) {
        reportStartUpProblem(QStringLiteral("Verzeichnis ") + path
            + QStringLiteral(" kann nicht erstellt werden:\n") + reason);
    }
}

void TMainForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    updateSearchModeHint();
    if (m_firstShow)
        runFirstShowSequence();
}

// Before the window is first drawn: thresholds and legend in place, so the
// very first paint already shows rated values.
void TMainForm::runFirstShowSequence()
{
    m_foodDialog->showFirstTab();
    m_drinkDialog->showFirstTab();
    if (const QString problem = m_snippetForm->loadSnippetFile(); !problem.isEmpty())
        reportStartUpProblem(problem);
    m_searchForm->loadSettings();
    TrageInfoTextEin();
    checkeGrenzwerte();
    m_view->show();
    m_view->setFocus();
    startRecolourTimer();
    m_firstShow = false;
    // Told over the finished window, once the event loop runs.
    QMetaObject::invokeMethod(
        this,
        [this, problems = std::exchange(m_startUpProblems, {})] {
            for (const QString &problem : problems)
                MessageBox::error(this, problem);
        },
        Qt::QueuedConnection);
}

void TMainForm::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    // The open box moves with the view and keeps what was typed into it.
    if (!m_infoBox->isHidden())
        placeInfoBox();
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    // An unsaved calculation list is offered for saving first.
    if (m_calcForm->hasUnsavedList()
        && MessageBox::question(this, TBerechnungsForm::kUnsavedQuestion, MessageBox::Yes::Keeps)
            == QMessageBox::Yes) {
        event->ignore();
        m_calcForm->showForSaving();
        SchliesseRichedit3();
        return;
    }
    // A description that could not be saved keeps the window open.
    if (!SchliesseRichedit3()) {
        event->ignore();
        return;
    }
    saveWindowSize();
    event->accept();
}

void TMainForm::saveWindowSize()
{
    if (isMaximized() || isFullScreen())
        return;
    SchreibeRegKey(kHoehe, QString::number(height()));
    SchreibeRegKey(kWeite, QString::number(width()));
}

// One Zestrola per data folder: two that change the same tables undo each
// other's changes. A second one may still look.
void TMainForm::lockDataFolder()
{
    auto lock = std::make_unique<QLockFile>(dataFolder() + kLockFileName);
    // Only a lock whose program has ended is stale, however old it is.
    lock->setStaleLockTime(0);
    if (lock->tryLock()) {
        m_lock = std::move(lock);
        return;
    }
    // A folder that takes no lock file (a read-only medium) takes no
    // changes either; its writes are refused with their own causes.
    if (lock->error() != QLockFile::LockFailedError)
        return;
    qint64 process = 0;
    QString host;
    QString program;
    lock->getLockInfo(&process, &host, &program);
    const QString question
        = QStringLiteral("Zestrola ist mit diesem Datenordner schon geöffnet (Prozess %1).\n"
                         "Wenn zwei Fenster dieselben Tabellen ändern, gehen Änderungen verloren."
                         "\n\nMöchten Sie den Datenordner nur zum Lesen öffnen?\n"
                         "(Nein beendet Zestrola.)")
              .arg(process);
    m_readOnly = MessageBox::question(this, question, MessageBox::Yes::Keeps) == QMessageBox::Yes;
    m_quitRequested = !m_readOnly;
}

// Every command that writes into the data folder is switched off, and says
// why; the info box shows texts without taking changes.
void TMainForm::applyReadOnly()
{
    setWindowTitle(windowTitle() + QStringLiteral(" (nur zum Lesen)"));
    for (const char *name : { "NeueTabelle1", "Sortieren1", "NeuerEintrag1", "AktuelleZeile1",
             "Infotextbearbeiten1", "AktuelleZeileloeschen1", "Eintragbearbeiten1",
             "Infotextbearbeiten2", "Zeileloeschen1", "Einfuegen1", "Texteinfuegen1" }) {
        if (auto *action = findChild<QAction *>(QString::fromLatin1(name))) {
            action->setEnabled(false);
            action->setToolTip(kReadOnlyReason);
            action->setStatusTip(kReadOnlyReason);
        }
    }
    m_infoBox->setReadOnly(true);
    auto *label = new QLabel(QStringLiteral("Nur zum Lesen"), statusBar());
    label->setObjectName(QStringLiteral("ReadOnlyLabel"));
    label->setToolTip(kReadOnlyReason);
    statusBar()->addPermanentWidget(label);
}

bool TMainForm::refusedAsReadOnly()
{
    if (m_readOnly)
        MessageBox::information(this, kReadOnlyReason);
    return m_readOnly;
}

// Before a command writes the table: a file that another program changed
// since it was loaded is loaded first when the user agrees, so that the
// command works on what is there now; a file gone is told and not made
// anew. False: the command writes nothing.
bool TMainForm::tableReadyForChange()
{
    switch (m_session.fileCheck()) {
    case FileStamp::Check::Unchanged:
        return true;
    case FileStamp::Check::Missing:
        MessageBox::error(this, m_session.fileChangeProblem());
        return false;
    case FileStamp::Check::Changed:
        break;
    }
    const QString question
        = QStringLiteral("Die Tabelle \"%1\" wurde von einem anderen Programm geändert, seit "
                         "Zestrola sie geladen hat.\nSoll die geänderte Tabelle zuerst geladen "
                         "und Ihre Änderung dann darauf angewendet werden?\n"
                         "(Nein: nichts wird gespeichert.)")
              .arg(m_session.tableName());
    if (MessageBox::question(this, question, MessageBox::Yes::Keeps) != QMessageBox::Yes
        || !LadeTntRichEdit1(m_session.tableName()))
        return false;
    SetzeDieTabstops();
    MachDieWerteFarbig();
    return true;
}

void TMainForm::reportStartUpProblem(const QString &text)
{
    if (m_firstShow)
        m_startUpProblems.append(text);
    else
        MessageBox::error(this, text);
}

// ---------------------------------------------------------- table loading --

void TMainForm::ComboBox1Change()
{
    m_view->setSelectionVisible(false);
    TrageInfoTextEin();
    SchliesseRichedit3();

    const int index = m_chooser->currentIndex();
    if (index < 0 || !LadeTntRichEdit1(m_chooser->itemText(index))) {
        m_view->setSelectionVisible(true);
        return;
    }
    SetzeDieTabstops();
    SchreibeRegKey(kLetzteAuswahl, QString::number(index));
    MachDieWerteFarbig();
    startRecolourTimer();
    // Arrow keys and the wheel now move through the rows, not the tables.
    m_view->setFocus();
}

bool TMainForm::LadeTntRichEdit1(const QString &tableName)
{
    // Let go of the view's share of the old rows before the new ones are
    // built: two large tables need not live side by side.
    m_view->setLines({});
    m_orderCheckTimer.stop();
    QString error;
    switch (m_session.load(tableName, &error, [this] { showFirstRows(); })) {
    case TableSession::LoadResult::Missing:
        showSessionRows();
        return false;
    case TableSession::LoadResult::Unreadable:
        showSessionRows();
        MessageBox::error(this, error);
        return false;
    case TableSession::LoadResult::Loaded:
        break;
    }
    TrageDieHeaderZeileInStringgridEin(m_session.headerLine());
    showSessionRows();
    m_orderCheckTimer.start(0);
    return true;
}

// The first change of a long table need not check its order once the user
// has looked at it for a moment. A few milliseconds at a time, so that the
// window answers in between; a command before the end checks the rest.
void TMainForm::checkRowOrderAWhile()
{
    constexpr int kCheckMs = 4;
    if (m_session.checkOrderUntil(QDeadlineTimer(kCheckMs)))
        m_orderCheckTimer.stop();
}

// A long table is seen at once: the header and the first screen of rows
// are painted while the rest is still being read.
void TMainForm::showFirstRows()
{
    TrageDieHeaderZeileInStringgridEin(m_session.headerLine());
    showSessionRows();
    SetzeDieTabstops();
    m_header->repaint();
    m_view->viewport()->repaint();
}

void TMainForm::showSessionRows()
{
    applyRating();
    m_view->setLines(m_session.rows());
    m_stampSettleTimer.start();
}

void TMainForm::applyRating()
{
    m_colouring->setRating(
        m_session.ratedColumns(), m_session.isDrinkTable() ? m_drinkSet : m_foodSet);
}

void TMainForm::TrageDieHeaderZeileInStringgridEin(const QString &headerLine)
{
    const QStringList cells = headerCells(headerLine);
    QStringList texts;
    QList<int> widths;
    for (int column = 0; column < cells.size(); ++column) {
        texts.append(headerCellDisplayText(cells[column]));
        widths.append(headerColumnWidth(column, cells[column]));
    }
    m_header->setCells(texts, widths);
}

void TMainForm::SetzeDieTabstops()
{
    m_view->setTabStops(m_header->tabStops());
    m_view->setCaret({});
}

void TMainForm::SortierenClick()
{
    if (!m_session.isOpen() || refusedAsReadOnly() || !tableReadyForChange())
        return;
    QString error;
    const bool saved = m_session.sortAndSave(&error);
    showSessionRows();
    SetzeDieTabstops();
    MachDieWerteFarbig();
    if (!saved)
        MessageBox::error(this, error);
}

// ------------------------------------------------------- search, selection --

void TMainForm::Suchen1Click()
{
    setSearchFieldColour(Qt::red);
    m_searchField->setFocus();
    m_searchField->selectAll();

    const int row = m_session.findRow(m_searchField->text(), m_searchMode->isChecked());
    if (row < 0)
        return;
    selectline(row + 1);
    setSearchFieldColour(Fonts::kLightGrey);
}

void TMainForm::selectline(int lineNumber)
{
    const int line = lineNumber - 1;
    if (line < 0 || line >= m_view->lineCount())
        return;
    m_view->selectLine(line);
    if (m_view->isVisible())
        m_view->setFocus();
}

void TMainForm::onViewRightClicked(QPoint pos)
{
    const int line = m_view->caretLine();
    if (line < 0 || line >= m_view->lineCount())
        return;
    const QString suffix = entryCaptionSuffix(m_session.entryName(line));
    m_popupEdit->setText(QStringLiteral("&Bearbeiten > Eintrag:") + suffix);
    m_popupShowInfo->setText(QStringLiteral("Infotext &anzeigen zu > Eintrag:") + suffix);
    m_popupEditInfo->setText(
        QStringLiteral("&Infotext anzeigen u. bearbeiten zu > Eintrag:") + suffix);
    m_popupDelete->setText(QStringLiteral("&Löschen > Eintrag:") + suffix);
    selectline(line + 1);
    m_rightClickY = pos.y();
    m_viewPopup->popup(m_view->viewport()->mapToGlobal(pos + QPoint(0, 20)));
}

void TMainForm::onViewHovered(QPoint pos)
{
    m_view->setFocus();
    updateHoverLine(pos);
}

void TMainForm::updateHoverLine(QPoint pos)
{
    statusBar()->clearMessage();
    const std::optional<TableTextView::Position> at = m_view->characterAt(pos);
    if (!at)
        return;
    const QStringView line = m_view->lines().at(at->line);
    const int column = cellIndexAt(line, at->column);
    const QString title = column < m_header->columnCount()
        ? columnTitleForStatus(m_header->cellText(column))
        : QString();
    m_hoverLine->setText(entryName(line) + QStringLiteral("   •   Spalte: ") + title);
    highlightHeaderColumn(column);
}

void TMainForm::highlightHeaderColumn(int column)
{
    if (column < 1 || column > m_session.firstRowCellCount() || column == m_lastHoveredColumn)
        return;
    m_lastHoveredColumn = column;
    m_header->setSelectedColumn(column);
}

void TMainForm::onSearchTextEdited()
{
    setSearchFieldColour(palette().color(QPalette::Base));
}

void TMainForm::selectInitialSearchText()
{
    if (m_searchField->text() == kInitialSearchText)
        m_searchField->selectAll();
}

void TMainForm::setSearchFieldColour(const QColor &colour)
{
    QPalette p = m_searchField->palette();
    p.setColor(QPalette::Base, colour);
    m_searchField->setPalette(p);
}

void TMainForm::updateSearchModeHint()
{
    m_searchMode->setToolTip(
        m_searchMode->isChecked() ? kSearchHintFirstPos : kSearchHintWholeText);
}

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_chooser && event->type() == QEvent::KeyPress) {
        // Typing into the chooser turns it into a plain list for good.
        m_chooser->setItemDelegate(new QStyledItemDelegate(m_chooser));
    } else if (watched == m_searchField && event->type() == QEvent::MouseButtonDblClick) {
        m_searchField->selectAll();
        return true;
    } else if (watched == m_searchField && event->type() == QEvent::FocusIn) {
        selectInitialSearchText();
    } else if (watched == m_searchField && event->type() == QEvent::MouseButtonPress
        && m_searchField->text() == kInitialSearchText) {
        // The click would put the caret into the initial text; typing
        // replaces it instead.
        SchliesseRichedit3();
        m_searchField->setFocus(Qt::MouseFocusReason);
        selectInitialSearchText();
        return true;
    } else if ((watched == m_searchField || watched == centralWidget()
                   || watched == m_header->viewport())
        && event->type() == QEvent::MouseButtonPress) {
        SchliesseRichedit3();
    } else if (watched == m_searchField && event->type() == QEvent::KeyPress) {
        SchliesseRichedit3();
    }
    return QMainWindow::eventFilter(watched, event);
}

// ------------------------------------------------------ entries and tables --

QList<int> TMainForm::headerColumnWidths() const
{
    QList<int> widths;
    for (int column = 0; column < m_header->columnCount(); ++column)
        widths.append(m_header->sectionSize(column));
    return widths;
}

EntryDialogInput TMainForm::entryDialogInput() const
{
    return { dataFolder(), m_session.tableName(), m_session.headerCells(), headerColumnWidths(),
        m_session.foodColumns()[index(Nutrient::EnergyDensity)], m_view->tabStops(), {} };
}

// After a command changed the rows: the view shows them as saved, or the
// message tells which file could not be written.
void TMainForm::showSavedRows(const QString &error)
{
    TrageDieHeaderZeileInStringgridEin(m_session.headerLine());
    showSessionRows();
    SetzeDieTabstops();
    MachDieWerteFarbig();
    if (!error.isEmpty())
        MessageBox::error(this, error);
}

void TMainForm::selectEntry(const QString &name)
{
    m_searchMode->setChecked(true);
    m_searchField->setText(name);
    Suchen1Click();
    m_searchField->setText(kInitialSearchText);
    setSearchFieldColour(Fonts::kLightGrey);
}

void TMainForm::NeuerEintragClick()
{
    if (!m_session.isOpen() || refusedAsReadOnly())
        return;
    m_newEntryDialog->prepare(newEntryInput());
    addNewEntry();
}

bool TMainForm::addRecipeEntry(const QString &tableName, const Recipe &recipe)
{
    if (refusedAsReadOnly() || !chooseTable(tableName))
        return false;
    m_newEntryDialog->prepare(newEntryInput());
    m_newEntryDialog->fill(
        recipeEntryCells(recipe, m_session.headerCells(), m_newEntryDialog->valueGrid()->cells()),
        recipe.name, recipe.description);
    return addNewEntry();
}

// What the new-entry dialog needs, with the check that refuses a twin
// before anything is written.
EntryDialogInput TMainForm::newEntryInput()
{
    EntryDialogInput input = entryDialogInput();
    input.rowProblem = [this](const QString &row) { return twinProblem(m_session, row); };
    return input;
}

// Runs the prepared new-entry dialog and adds what OK gives.
bool TMainForm::addNewEntry()
{
    if (m_newEntryDialog->exec() != QDialog::Accepted || m_newEntryDialog->row().isEmpty()
        || !tableReadyForChange())
        return false;
    const QString &row = m_newEntryDialog->row();
    QString error;
    const bool added
        = addEntry(m_session, row, m_newEntryDialog->infoText(), m_newEntryDialog->photo(), &error);
    showSavedRows(error);
    if (added)
        selectEntry(entryName(row));
    return added;
}

// Shows the table `tableName` unless it is shown already; false when it
// is gone or cannot be read (the user has been told).
bool TMainForm::chooseTable(const QString &tableName)
{
    if (m_session.isOpen() && m_session.tableName() == tableName)
        return true;
    // The folder as it is now: the table may have gone since it was offered.
    const QString shown = currentTableName();
    findTables();
    if (!m_tableList.contains(tableName)) {
        m_chooser->setCurrentIndex(
            m_chooser->findText(shown, Qt::MatchExactly | Qt::MatchCaseSensitive));
        MessageBox::information(
            this, QStringLiteral("Die Tabelle \"%1\" ist nicht mehr vorhanden.").arg(tableName));
        return false;
    }
    showTable(tableName);
    return m_session.isOpen() && m_session.tableName() == tableName;
}

void TMainForm::BearbeitenClick()
{
    const int line = m_view->caretLine();
    if (!m_session.isOpen() || line < 0 || line >= m_session.rowCount() || refusedAsReadOnly())
        return;
    const QString row = m_session.rows().value(line);
    const QString infoPath = m_session.infoFilePath(entryName(row));
    // The dialog writes the description back: one it cannot show whole is
    // not opened, lest OK replace it.
    const InfoFile info = readInfoFile(infoPath);
    if (info.result == InfoFile::Result::Refused) {
        MessageBox::error(this, info.problem);
        return;
    }
    EntryDialogInput input = entryDialogInput();
    input.rowProblem
        = [this, line](const QString &changed) { return twinProblem(m_session, changed, line); };
    m_editDialog->prepare(input, row, info.text);
    if (m_editDialog->exec() != QDialog::Accepted || m_editDialog->row().isEmpty()
        || !tableReadyForChange())
        return;
    const int index = m_session.indexOfRow(row, line);
    if (index < 0) {
        MessageBox::error(this, entryGoneMessage(entryName(row)));
        return;
    }
    if (!mayOverwriteChangedFile(this, infoPath, info.stamp))
        return;
    const QString &changed = m_editDialog->row();
    QString error;
    const bool saved = changeEntry(m_session, index, changed, m_editDialog->infoText(), &error);
    showSavedRows(error);
    if (saved)
        selectEntry(entryName(changed));
}

// The "Bearbeiten" menu names the entry its commands work on.
void TMainForm::Eintragbearbeiten1Click()
{
    const int line = m_view->caretLine();
    if (line < 0 || line >= m_view->lineCount())
        return;
    const QString suffix = entryCaptionSuffix(m_session.entryName(line));
    m_editCurrent->setText(QStringLiteral("&Bearbeiten > Eintrag:") + suffix);
    m_editInfoText->setText(
        QStringLiteral("&Infotext anzeigen u. bearbeiten zu > Eintrag:") + suffix);
    m_deleteCurrent->setText(QStringLiteral("&Löschen > Eintrag:") + suffix);
}

void TMainForm::ZeileloeschenClick()
{
    const int line = m_view->caretLine();
    if (!m_session.isOpen() || line < 0 || line >= m_session.rowCount() || refusedAsReadOnly())
        return;
    const QString row = m_session.rows().value(line);
    const QString question
        = QStringLiteral("Möchten Sie wirklich diese Zeile und die zugehörige Datei löschen? \n")
        + m_session.entryName(line);
    if (MessageBox::question(this, question, MessageBox::Yes::Destroys) != QMessageBox::Yes
        || !tableReadyForChange())
        return;
    const int index = m_session.indexOfRow(row, line);
    if (index < 0) {
        MessageBox::information(this, entryGoneMessage(entryName(row)));
        return;
    }
    QString error;
    removeEntry(m_session, index, &error);
    showSavedRows(error);
}

void TMainForm::NeueTabelle1Click()
{
    if (refusedAsReadOnly())
        return;
    QStringList cells = m_session.headerCells();
    QList<int> widths = headerColumnWidths();
    if (!m_session.isOpen()) {
        cells = defaultFoodHeader();
        widths.clear();
        for (int column = 0; column < cells.size(); ++column)
            widths.append(headerColumnWidth(column, cells[column]));
    }
    m_newTableDialog->prepare(dataFolder(), currentTableName(), cells, widths);
    if (m_newTableDialog->exec() != QDialog::Accepted)
        return;
    const QString name = m_newTableDialog->tableName();
    const QString previous = currentTableName();
    QString error;
    if (m_newTableDialog->writeTable()
        && !createTable(dataFolder(), name, m_newTableDialog->headerCells(), &error))
        MessageBox::error(this, error);
    findTables();
    const int index = m_chooser->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) { // nothing was written: the table shown stays chosen
        m_chooser->setCurrentIndex(
            m_chooser->findText(previous, Qt::MatchExactly | Qt::MatchCaseSensitive));
        return;
    }
    m_chooser->setCurrentIndex(index);
    ComboBox1Change();
}

void TMainForm::showTable(const QString &name)
{
    findTables();
    m_chooser->setCurrentIndex(
        m_chooser->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive));
    ComboBox1Change();
}

// The file is read by the dialog; the rows come into the table here, in one
// save, and the user is told what came over and what did not.
void TMainForm::TabelleImportieren1Click()
{
    const QString path = FileDialog::getOpenFileName(this, QStringLiteral("Tabelle importieren"),
        dataFolder(),
        QStringLiteral("Tabellen (*.csv *.tsv *.tab *.txt *.CSV *.TSV *.TXT);;Alle Dateien (*)"));
    if (path.isEmpty())
        return;
    ImportTargetInput input { dataFolder(), m_session.tableName(), m_session.headerCells(), {} };
    input.currentNames.reserve(m_session.rowCount());
    for (int row = 0; row < m_session.rowCount(); ++row)
        input.currentNames.append(m_session.entryName(row));
    QString error;
    if (!m_importDialog->prepare(path, input, &error)) {
        MessageBox::error(
            this, QStringLiteral("%1\n%2").arg(QDir::toNativeSeparators(path), error));
        return;
    }
    if (m_importDialog->exec() != QDialog::Accepted)
        return;
    const ImportOutcome &outcome = m_importDialog->outcome();
    const QString report = importReport(outcome.counts);
    if (outcome.counts.taken() == 0) {
        MessageBox::information(this, report + QStringLiteral("\nEs wurde nichts geschrieben."));
        return;
    }
    if (m_importDialog->toNewTable()) {
        const QString name = m_importDialog->tableName();
        if (!createImportedTable(
                dataFolder(), name, m_importDialog->tableHeader(), outcome.added, &error)) {
            MessageBox::error(this, error);
            return;
        }
        showTable(name);
    } else if (!importRows(m_session, outcome.added, outcome.replaced, &error)) {
        showSavedRows(error);
        return;
    } else {
        showSavedRows({});
    }
    MessageBox::information(this, report);
}

// ----------------------------------------------------------------- rating --

void TMainForm::checkeGrenzwerte()
{
    QStringList errors;
    const LoadedThresholds food = loadThresholds(false);
    m_foodSet = food.set;
    m_foodDialog->showLoaded(food);
    errors += food.errors;
    const LoadedThresholds drinks = loadThresholds(true);
    m_drinkSet = drinks.set;
    m_drinkDialog->showLoaded(drinks);
    errors += drinks.errors;
    for (const QString &error : std::as_const(errors))
        reportStartUpProblem(error);
}

void TMainForm::TrageInfoTextEin()
{
    m_session.setDrinkTable(isDrinkTable(currentTableName()));
    const Legend legend = legendFor(m_session.isDrinkTable());
    m_legend->setPlainText(legend.text);
    QTextCursor cursor(m_legend->document());
    for (const LegendMark &mark : legend.marks) {
        cursor.setPosition(mark.start);
        cursor.setPosition(mark.start + mark.length, QTextCursor::KeepAnchor);
        QTextCharFormat format;
        format.setForeground(QColor(QRgb(mark.rgb)));
        if (mark.bold)
            format.setFontWeight(QFont::Bold);
        cursor.mergeCharFormat(format);
    }
}

// Food and drink tables alike: applyRating() picks the set.
void TMainForm::MachDieWerteFarbig()
{
    applyRating();
    m_colouring->markVisibleLines();
}

void TMainForm::startRecolourTimer()
{
    applyRating();
    m_colouring->startRecolourTimer();
}

// ------------------------------------------------------------- info texts --

void TMainForm::InfotextAnzeigen(int y)
{
    const TableTextView::Position caret = m_view->caret();
    if (caret.line < 0 || caret.line >= m_view->lineCount())
        return;
    // A box still open (the popup opens over it) is closed first, so that a
    // changed description gets its question instead of being replaced.
    if (!m_infoBox->isHidden()) {
        const bool editMode = m_infoBox->isEditMode();
        if (!SchliesseRichedit3())
            return;
        m_infoBox->setEditMode(editMode);
        m_view->setCaret(caret);
    }
    const int line = caret.line;
    const QString name = m_session.entryName(line);
    if (!m_infoBox->load(
            m_session.infoFilePath(name), m_session.picturePath(name), m_view->tabStops()))
        return;
    m_savedCaret = m_view->caret();
    m_infoY = m_view->viewport()->mapTo(m_view, QPoint(0, y)).y();
    placeInfoBox();
    m_infoBox->show();
    m_infoBox->raise();
}

void TMainForm::placeInfoBox()
{
    const QRect view = m_view->geometry();
    const InfoBoxPlacement placement
        = Zestrola::placeInfoBox(m_infoY, view.top(), view.height(), centralWidget()->height());
    m_infoBox->setGeometry(view.left(), placement.top, view.width(), placement.height);
}

void TMainForm::InfotextzuClick()
{
    if (m_view->lineCount() == 0)
        return;
    m_infoBox->setEditMode(false);
    InfotextAnzeigen(m_rightClickY);
}

void TMainForm::InfotextbearbeitenClick()
{
    if (m_view->lineCount() == 0 || refusedAsReadOnly())
        return;
    m_infoBox->setEditMode(true);
    InfotextAnzeigen(m_rightClickY);
}

bool TMainForm::SchliesseRichedit3()
{
    if (m_infoBox->isHidden()) {
        m_infoBox->setEditMode(false);
        return true;
    }
    if (!m_infoBox->closeBox())
        return false;
    m_view->setFocus();
    m_view->setCaret(m_savedCaret);
    return true;
}

void TMainForm::TexteinfuegenClick()
{
    m_snippetForm->insertInto(m_infoBox);
}

void TMainForm::onSearchWordHovered(const QString &word)
{
    m_searchTerm = word;
    m_webSearchAction->setText(searchTermCaption(word));
    const bool wide = width() >= 750 || m_hoverLine->text().size() < 36;
    statusBar()->showMessage(searchTermStatusText(word, wide));
}

// ----------------------------------------------------- web lookup and help --

void TMainForm::ImInternetsuchenClick()
{
    if (m_searchForm->copiesTermToClipboard())
        QGuiApplication::clipboard()->setText(
            cutAtCharacterBoundary(m_searchTerm, kMaxWebAddressLength));
    StarteInternetBrowser(webSearchUrl(m_searchForm->address(), m_searchTerm));
}

void TMainForm::StarteInternetBrowser(const QUrl &url)
{
    QDesktopServices::openUrl(url);
}

void TMainForm::Internetsuche1Click()
{
    m_searchForm->openSettings();
}

void TMainForm::Hilfe1Click()
{
    const QString path = findHelpDocument(dataFolder(), QCoreApplication::applicationDirPath());
    if (path.isEmpty()) {
        MessageBox::information(this,
            QStringLiteral("Die Hilfe \"%1\" wurde nicht gefunden.")
                .arg(dataFolder() + kHelpFileName));
        return;
    }
    openHelpDocument(path);
}

// The desktop's opener tells by its exit status whether a program could
// show the document; without one the user learns where the document lies.
void TMainForm::openHelpDocument(const QString &path)
{
    auto *opener = new QProcess(this);
    auto report = [this, opener, path] {
        opener->deleteLater();
        MessageBox::information(this,
            QStringLiteral("Es ist kein Programm zum Anzeigen von PDF-Dateien eingerichtet. Die "
                           "Hilfe liegt hier:\n%1")
                .arg(QDir::toNativeSeparators(path)));
    };
    connect(opener, &QProcess::errorOccurred, this, [report](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            report();
    });
    connect(opener, &QProcess::finished, this,
        [opener, report](int exitCode, QProcess::ExitStatus status) {
            if (status == QProcess::NormalExit && exitCode != 0)
                report();
            else
                opener->deleteLater();
        });
    opener->start(QStringLiteral("xdg-open"), { path });
}
