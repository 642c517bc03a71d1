// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/EntryDialog.h"

#include "model/DataFolder.h"
#include "widgets/CellGrid.h"
#include "widgets/FocusKeys.h"
#include "widgets/Fonts.h"
#include "widgets/MessageBox.h"
#include "widgets/NamedAction.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QPushButton>
#include <QTextEdit>

using namespace Zestrola;

EntryDialog::EntryDialog(EntryDialogKind kind, const QString &descriptionName, QWidget *parent)
    : QDialog(parent)
    , m_ok(new QPushButton(QStringLiteral("&OK"), this))
    , m_cancel(new QPushButton(QStringLiteral("&Abbrechen"), this))
    , m_kind(kind)
    , m_header(new CellGrid(this))
    , m_values(new CellGrid(this))
    , m_description(new QTextEdit(this))
{
    setFont(Fonts::unicodeSans());
    m_header->setObjectName(QStringLiteral("StringGrid1"));
    m_header->setAccessibleName(QStringLiteral("Kopfzeile"));
    m_header->setFocusPolicy(Qt::ClickFocus);
    m_values->setObjectName(QStringLiteral("StringGrid2"));
    m_values->setAccessibleName(QStringLiteral("Werte des Eintrags"));
    m_values->setEditable(true);
    m_values->setScrollBarShown(true);
    coupleScrolling(m_header, m_values);

    m_description->setObjectName(descriptionName);
    m_description->setAccessibleName(QStringLiteral("Beschreibung"));
    m_description->setAcceptRichText(false);
    m_description->setLineWrapMode(QTextEdit::NoWrap);
    m_description->setContextMenuPolicy(Qt::ActionsContextMenu);
    leaveByCtrlTab(m_description);
    const auto addItem = [this](const QString &name, const QString &caption) {
        return addNamedAction(m_description, name, caption);
    };
    connect(addItem(QStringLiteral("TextinZwischenablagekopieren1"), QStringLiteral("&Kopieren")),
        &QAction::triggered, this, &EntryDialog::TextinZwischenablagekopierenClick);
    connect(addItem(QStringLiteral("TextausZwischenablageeinfuegen1"), QStringLiteral("&Einfügen")),
        &QAction::triggered, this, &EntryDialog::TextausZwischenablageeinfuegenClick);
    // Enabled by the text snippet dialog, which fills the box.
    m_snippet = addItem(QStringLiteral("Texteinfuegen1"), QStringLiteral("&Textbaustein einfügen"));
    m_snippet->setEnabled(false);

    m_ok->setObjectName(QStringLiteral("OkButton"));
    m_ok->setDefault(true);
    m_ok->setAutoDefault(false);
    m_cancel->setObjectName(QStringLiteral("Button2"));
    m_cancel->setAutoDefault(false);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    connect(m_values, &CellGrid::cellEdited, this, &EntryDialog::StringGrid2SetEditText);
    connect(m_values, &QTableWidget::currentCellChanged, this,
        [this](int, int column) { m_header->setCurrentColumn(column); });
}

void EntryDialog::prepareGrids(const EntryDialogInput &input)
{
    m_input = input;
    QList<int> widths = input.columnWidths;
    if (!widths.isEmpty())
        widths[0] += 10;
    m_values->setCurrentCell(-1, -1); // closes an editor left open
    m_header->setCells(input.headerCells, widths);
    m_values->setCells(QStringList(input.headerCells.size(), QString()), widths);
    m_values->setSkippedColumn(-1);
    m_row.clear();
    m_infoText.clear();
}

void EntryDialog::setResult(QString row, QString infoText)
{
    m_row = std::move(row);
    m_infoText = std::move(infoText);
}

bool EntryDialog::mayReplaceFilesOf(const QString &name, bool withPicture)
{
    QStringList taken;
    const QString info = infoFilePath(m_input.dataFolder, m_input.tableName, name);
    if (QFileInfo::exists(info))
        taken.append(info);
    const QString picture = picturePath(m_input.dataFolder, m_input.tableName, name);
    if (withPicture && QFileInfo::exists(picture))
        taken.append(picture);
    if (taken.isEmpty())
        return true;
    const QString question = taken.size() == 1
        ? QStringLiteral("Die Datei ist schon vorhanden! Soll sie überschrieben werden?")
        : QStringLiteral("Die Dateien sind schon vorhanden! Sollen sie überschrieben werden?");
    return MessageBox::question(
               this, question + u'\n' + taken.join(u'\n'), MessageBox::Yes::Destroys)
        == QMessageBox::Yes;
}

bool EntryDialog::rowAccepted(const QString &row)
{
    const QString problem = m_input.rowProblem ? m_input.rowProblem(row) : QString();
    if (problem.isEmpty())
        return true;
    MessageBox::information(this, problem);
    return false;
}

void EntryDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    placeOverParent(this);
}

void EntryDialog::StringGrid2SetEditText(int column)
{
    const CellEditResult checked
        = checkCellEdit(m_values->cells(), column, m_input.headerCells, m_kind);
    m_values->setCells(checked.cells);
    for (const EntryMessage &message : checked.messages) {
        if (message.beep)
            QApplication::beep();
        MessageBox::information(this, message.text);
    }
    cellChecked(checked);
    // A message box closes the cell editor; typing goes on where it was.
    m_values->setCurrentColumn(
        checked.focusColumn >= 0 ? checked.focusColumn : m_values->currentColumn());
}

void EntryDialog::TextinZwischenablagekopierenClick()
{
    m_description->copy();
}

void EntryDialog::TextausZwischenablageeinfuegenClick()
{
    const QString text = QGuiApplication::clipboard()->text();
    if (!text.isEmpty())
        m_description->insertPlainText(text);
}

void placeOverParent(QWidget *dialog)
{
    const QWidget *parent = dialog->parentWidget();
    if (!parent)
        return;
    const QRect frame = parent->frameGeometry();
    dialog->move(frame.x() + 10, dialog->y());
    dialog->resize(std::max(dialog->minimumWidth(), parent->width() - 20), dialog->height());
}
