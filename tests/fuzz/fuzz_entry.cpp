// SPDX-License-Identifier: GPL-3.0-or-later
// Entry validation, row building and the files of a new table.
//
// The first byte chooses the dialog (new or edit entry) and whether the
// header has the energy-density and alcohol columns; the rest, cut at 0x1E,
// gives the cells. Properties:
// - A value cell the check accepts without a word, holding digits and at
//   most commas besides, is a number to the conversion (so "1,2,3" is never
//   accepted), and the energy density computed from an accepted kcal value
//   reads back as a hundredth of it.
// - A row built from accepted cells splits back into those cells: the name
//   cell first and the entry's name, every number the same number, a "?"
//   still a "?", nothing after the last non-blank cell lost; the row holds
//   no line end and ends neither in a TAB nor in a blank.
// - A new table's file has the header line and the sample row with one cell
//   per header cell; the sample info file is the sample row.
// - A table name the name rule accepts gives file names that fit in the
//   folder.

#include "FuzzSupport.h"
#include "model/DataFolder.h"
#include "model/EntryRules.h"
#include "model/TableFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>

using namespace Zestrola;

namespace {

QStringList headerOf(uint8_t setup, qsizetype columns)
{
    QStringList header = defaultFoodHeader();
    if (setup & 2)
        header[kEnergyDensityColumn] = QStringLiteral("Fett");
    header << QStringLiteral("Alkohol|vol.-%") << QStringLiteral("Alkohol|in g");
    while (header.size() < columns)
        header << QStringLiteral("Spalte");
    return header.mid(0, columns);
}

bool nearlyEqual(double a, double b)
{
    return std::abs(a - b) <= 1e-12 * std::max({ 1.0, std::abs(a), std::abs(b) });
}

bool onlyDigitsAndCommas(QStringView text)
{
    bool digit = false;
    for (const QChar c : text) {
        if (c.isDigit() && c.unicode() < 0x80)
            digit = true;
        else if (c != u',')
            return false;
    }
    return digit;
}

// Checks `column` as the dialog does after an edit; true when the cell is
// taken as typed, without any message.
bool accepted(QStringList &cells, int column, const QStringList &header, EntryDialogKind kind)
{
    const CellEditResult result = checkCellEdit(cells, column, header, kind);
    FUZZ_CHECK(result.cells.size() == cells.size());
    if (!result.messages.isEmpty() || result.cells[column] != cells[column])
        return false;
    const QString text = trimBlanks(cells[column]);
    if (column >= 1 && onlyDigitsAndCommas(text)) {
        const std::optional<double> number = readDecimal(text);
        FUZZ_CHECK(number.has_value());
        const QString density = result.cells[kEnergyDensityColumn];
        if (column == kKcalColumn && !density.contains(u'E') && header[3].contains(u"Energie"))
            FUZZ_CHECK(nearlyEqual(readDecimal(density).value_or(-1), *number / 100));
    }
    cells = result.cells;
    return true;
}

void checkRow(const QStringList &cells, EntryDialogKind kind)
{
    const QString row
        = kind == EntryDialogKind::NewEntry ? buildNewEntryRow(cells) : buildEditedRow(cells);
    FUZZ_CHECK(!row.contains(u'\r') && !row.contains(u'\n'));
    FUZZ_CHECK(row.isEmpty() || (row.back() != u'\t' && row.back() != u' '));
    const QStringList pieces = rowCells(row);
    FUZZ_CHECK(pieces.size() <= cells.size());
    const QString &name = cells[kNameColumn];
    if (!name.contains(u'\t') && !name.contains(u'\r') && !name.contains(u'\n')) {
        FUZZ_CHECK(trimBlanks(pieces[0]) == trimBlanks(name));
        FUZZ_CHECK(entryName(row) == trimBlanks(name));
    }
    for (qsizetype i = 1; i < cells.size(); ++i) {
        if (i >= pieces.size()) {
            FUZZ_CHECK(isBlankLine(cells[i]) && kind == EntryDialogKind::EditEntry);
            continue;
        }
        const QString cell = trimBlanks(cells[i]);
        const QString piece = trimBlanks(pieces[i]);
        if (cell.contains(u'?'))
            FUZZ_CHECK(piece == u"?");
        else if (const std::optional<double> number = readDecimal(cell))
            FUZZ_CHECK(nearlyEqual(readDecimal(piece).value_or(-1), *number));
        else if (cell.startsWith(u'<'))
            FUZZ_CHECK(piece.startsWith(u'<'));
    }
}

void checkNewTable(const QStringList &headerCells)
{
    const NewTableTexts texts = newTableTexts(headerCells);
    const QStringList lines = splitLines(texts.tableFile);
    FUZZ_CHECK(lines.size() == 2 && texts.tableFile.endsWith(kLineEnd));
    const QStringList header = rowCells(lines[0]);
    const QStringList sample = rowCells(lines[1]);
    FUZZ_CHECK(header.size() == headerCells.size() && sample.size() == headerCells.size());
    FUZZ_CHECK(sample[0] == kSampleEntryName);
    for (qsizetype i = 1; i < sample.size(); ++i)
        FUZZ_CHECK(sample[i] == u"0,00");
    FUZZ_CHECK(texts.sampleInfoFile + u'\t' == lines[1]);
}

// The name rule against the file system itself: an accepted name makes a
// folder and a table file in a real folder.
void checkTableName(const QString &name)
{
    static const QTemporaryDir dir;
    static const QString folder = dir.path() + u'/';
    if (!newTableNameProblem(folder, name).isEmpty())
        return;
    const QString file = tableFilePath(folder, name);
    QFile probe(file);
    FUZZ_CHECK(probe.open(QIODevice::WriteOnly));
    probe.remove();
    FUZZ_CHECK(QDir().mkdir(entryFolderPath(folder, name)));
    FUZZ_CHECK(QDir().rmdir(entryFolderPath(folder, name)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const EntryDialogKind kind
        = data[0] & 1 ? EntryDialogKind::EditEntry : EntryDialogKind::NewEntry;
    QStringList typed = FuzzSupport::textOf(data + 1, size - 1).split(QChar(0x1E));
    if (typed.size() > 16)
        typed.resize(16);
    const QStringList header = headerOf(data[0], std::max<qsizetype>(typed.size(), 4));

    // Every cell starts valid, as the dialog fills them; then each typed
    // text is tried in its cell and kept where it is accepted.
    QStringList cells(header.size(), QStringLiteral("0,00"));
    cells[kNameColumn] = kProductNamePlaceholder;
    for (int column = 0; column < typed.size(); ++column) {
        QStringList tried = cells;
        tried[column] = typed[column];
        if (!tried[column].isEmpty() && accepted(tried, column, header, kind))
            cells = tried;
    }
    checkRow(cells, kind);
    checkNewTable(typed);
    checkTableName(typed[0]);
    return 0;
}
