// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/EntryRules.h"

#include "model/Calculation.h"
#include "model/DataFolder.h"
#include "model/TableFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextBoundaryFinder>
#include <unistd.h>

namespace Zestrola {

namespace {

const QString kTooLong = QStringLiteral("Der eingegebene Text ist zu lang!");
const QString kPreviousEmpty
    = QStringLiteral("In der vorherigen Zelle wurde kein Eintrag gemacht!");
const QString kKcalRequired = QStringLiteral("Der Brennwert in kcal muss angegeben werden, denn "
                                             "daraus wird die Energiedichte errechnet!");
const QString kOnlyNumbers = QStringLiteral(
    "Es sind nur Zahlen und die Zeichen < , ? (kleiner als,Komma,Fragezeichen) erlaubt!");
const QString kQuestionMarkAlone = QStringLiteral("Das Fragezeichen ? darf nur alleine stehen!");
const QString kCommaTwice = QStringLiteral("Das Komma-Zeichen ist mehrfach vorhanden!");
const QString kLessThanFirst
    = QStringLiteral("Das Zeichen < darf nur als erstes Zeichen vor einer Zahl stehen!");
const QString kCommaAlone = QStringLiteral("Ein Komma allein ist keine Zahl!");

bool isAllowedValueChar(QChar c, EntryDialogKind kind)
{
    return (c >= u'0' && c <= u'9') || c == u',' || c == u'<' || c == u'?'
        || (kind == EntryDialogKind::EditEntry && c == u' ');
}

bool computesEnergyDensity(int column, const QStringList &headerCells)
{
    return column == kKcalColumn && headerHolds(headerCells, kEnergyDensityColumn, u"energie");
}

bool computesAlcoholGrams(int column, const QStringList &headerCells)
{
    return column == kAlcoholPercentColumn && headerHolds(headerCells, column, u"vol.-%");
}

// A computed cell follows its source: without a kcal value there is no
// energy density either.
// The cell computed from cell `column`; -1 for none.
int computedFrom(int column, const QStringList &headerCells)
{
    return computesEnergyDensity(column, headerCells) ? kEnergyDensityColumn
        : computesAlcoholGrams(column, headerCells)   ? kAlcoholGramsColumn
                                                      : -1;
}

void emptyComputedCellOf(QStringList &cells, int column, const QStringList &headerCells)
{
    if (!cells[column].isEmpty())
        return;
    const int target = computedFrom(column, headerCells);
    if (target >= 0 && target < cells.size())
        cells[target].clear();
}

// "<" stands only before a number ("<0,01"), and a comma needs a digit.
QString misplacedSignMessage(QStringView text)
{
    const QStringView value = trimmedBlanks(text);
    if (value.lastIndexOf(u'<') > 0)
        return kLessThanFirst;
    if (value == u"," || value == u"<,")
        return kCommaAlone;
    return {};
}

QString trimmedEnd(QStringView text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1].unicode() <= 0x20)
        --end;
    return text.first(end).toString();
}

// A cell never carries a line break or a TAB into the row: a line break
// reads "|" as in the header, a TAB would start another cell.
QString rowSafe(QString cell)
{
    cell.replace(QStringLiteral("\r\n"), QStringLiteral("|"));
    cell.replace(u'\n', u'|');
    cell.remove(u'\r');
    cell.replace(u'\t', u' ');
    return cell;
}

QString joinedCells(const QStringList &cells)
{
    QString row;
    for (const QString &cell : cells)
        row += cell.leftJustified(5, u' ') + u'\t';
    return trimmedEnd(row);
}

} // namespace

qsizetype characterCount(QStringView text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), text.size());
    qsizetype count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}

QString firstCharacters(const QString &text, qsizetype count)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype end = 0;
    for (qsizetype i = 0; i < count && end >= 0 && end < text.size(); ++i)
        end = finder.toNextBoundary();
    return end < 0 ? text : text.first(end);
}

QString normalizedName(const QString &name)
{
    return name.normalized(QString::NormalizationForm_C);
}

bool headerHolds(const QStringList &headerCells, int column, QStringView keyword)
{
    return column < headerCells.size() && asciiLower(headerCells[column]).contains(keyword);
}

double energyDensity(double kcalPer100)
{
    return kcalPer100 * 0.01;
}

double alcoholGrams(double volumePercent)
{
    return volumePercent * kAlcoholGramsPerVolPercent;
}

CellEditResult checkCellEdit(
    QStringList cells, int column, const QStringList &headerCells, EntryDialogKind kind)
{
    CellEditResult result;
    if (column < 0 || column >= cells.size()) {
        result.cells = std::move(cells);
        return result;
    }
    auto done = [&] {
        emptyComputedCellOf(cells, column, headerCells);
        result.cells = std::move(cells);
        return result;
    };
    auto say = [&](const QString &text, bool beep) { result.messages.append({ text, beep }); };
    if (cells[column].isEmpty())
        return done();
    const QString text = cells[column];

    if (characterCount(trimmedBlanks(text)) > kLongestCell) {
        say(kTooLong, true);
        cells[column] = firstCharacters(text, kCutCellTo);
        return done();
    }
    if (column >= 1) {
        if (trimmedBlanks(cells[column - 1]).isEmpty()) {
            say(kPreviousEmpty, true);
            cells[column - 1]
                = column - 1 == kNameColumn ? kProductNamePlaceholder : kUnknownValueCell;
            return done();
        }
        for (const QChar c : text) {
            if (c == u'?' && column == kKcalColumn) {
                say(kKcalRequired, false);
                cells[column].clear();
                return done();
            }
            if (!isAllowedValueChar(c, kind)) {
                say(kOnlyNumbers, true);
                cells[column].clear();
                return done();
            }
        }
        if (const QString misplaced = misplacedSignMessage(text); !misplaced.isEmpty()) {
            say(misplaced, true);
            cells[column].clear();
            return done();
        }
        // Blanks around a lone "?" are how the edit dialog stores it.
        if (text.contains(u'?') && trimmedBlanks(text).size() > 1) {
            say(kQuestionMarkAlone, false);
            cells[column].clear();
        }
        // "1,2,3" is no number either, though its commas are not adjacent.
        if (text.count(u',') > 1) {
            say(kCommaTwice, false);
            cells[column].clear();
        }
    }

    auto compute = [&](int target, double (*rule)(double)) {
        if (cells[column].isEmpty() || target >= cells.size())
            return true;
        const std::optional<double> number = readDecimal(text);
        if (!number) {
            say(notANumberMessage(text), false);
            return false;
        }
        cells[target] = decimalDisplay(rule(*number));
        return true;
    };
    if (computesEnergyDensity(column, headerCells) && !compute(kEnergyDensityColumn, energyDensity))
        return done();
    result.couplesName = true;
    if (computesAlcoholGrams(column, headerCells) && !compute(kAlcoholGramsColumn, alcoholGrams))
        return done();

    if (kind == EntryDialogKind::NewEntry) {
        for (int k = 0; k < cells.size(); ++k) {
            if (cells[k].isEmpty()) {
                say(QStringLiteral("Die Zelle %1 enthält keinen Wert!").arg(k + 1), false);
                result.focusColumn = k;
                cells[k] = kUnknownValueCell;
                break;
            }
        }
    }
    return done();
}

QStringList withComputedCells(QStringList cells, const QStringList &headerCells)
{
    for (const int column : { kKcalColumn, kAlcoholPercentColumn }) {
        if (column >= cells.size())
            continue;
        if (trimmedBlanks(cells[column]) != u"?") {
            cells = checkCellEdit(cells, column, headerCells, EntryDialogKind::NewEntry).cells;
            continue;
        }
        const int target = computedFrom(column, headerCells);
        if (target >= 0 && target < cells.size())
            cells[target] = QStringLiteral("?");
    }
    return cells;
}

QString buildNewEntryRow(const QStringList &cells)
{
    QStringList built;
    for (int column = 0; column < cells.size(); ++column) {
        QString s = rowSafe(column == kNameColumn ? normalizedName(cells[column]) : cells[column]);
        if (!s.contains(u',') && column >= kFirstNutrientColumn) {
            // A computed value in exponent form ("8E-7") has no whole part to complete.
            if (!s.contains(u'?') && !s.contains(u'E'))
                s = trimBlanks(s) + QStringLiteral(",00");
        } else if (s.contains(u',') && column >= kEnergyDensityColumn) {
            s = trimBlanks(s);
            const qsizetype comma = s.indexOf(u',');
            const bool oneDecimal = comma == s.size() - 2;
            if (oneDecimal && s.size() == 3)
                s += QStringLiteral("0 ");
            else if (oneDecimal && s.size() == 4 && s.contains(u'<'))
                s += QStringLiteral("  ");
        }
        built.append(s);
    }
    return joinedCells(built);
}

QString buildEditedRow(const QStringList &cells)
{
    QStringList built;
    for (int column = 0; column < cells.size(); ++column) {
        // A name may ask a question ("Was ist das?"); only a value is a lone "?".
        const bool unknownValue = column != kNameColumn && cells[column].contains(u'?');
        built.append(unknownValue
                ? QStringLiteral("    ?  ")
                : rowSafe(column == kNameColumn ? normalizedName(cells[column]) : cells[column]));
    }
    return joinedCells(built);
}

QString editedHeaderLine(const QStringList &headerCells)
{
    QString line;
    for (const QString &cell : headerCells)
        line += rowSafe(cell) + u'\t';
    return trimmedEnd(line);
}

QString infoFileText(const QString &row, const QString &description)
{
    QString text = row + kLineEnd;
    for (const QString &line : splitLines(description))
        text += line + kLineEnd;
    return text;
}

QString editedInfoFileText(const QString &description, const QString &row)
{
    const qsizetype firstEnd = description.indexOf(u'\n');
    return infoFileText(row, firstEnd < 0 ? QString() : description.sliced(firstEnd + 1));
}

QStringList rowCells(const QString &row)
{
    return row.isEmpty() ? QStringList { QString() } : splitAtTabs(row, LastTab::EndsCell);
}

// scripts/make-sample-data reads the cells from here.
QStringList defaultFoodHeader()
{
    return { QStringLiteral("Lebensmittel 100g"), QStringLiteral("Brennwert|in kJ"),
        QStringLiteral("|in kcal"), QStringLiteral("Energie-|dichte"), QStringLiteral("Fett"),
        QStringLiteral("gesättigte|Fettsäuren"), QStringLiteral("Kohlen-|hydrate"),
        QStringLiteral("davon|Zucker"), QStringLiteral("Eiweiß"), QStringLiteral("Salz") };
}

QStringList defaultDrinkHeader()
{
    QStringList header = defaultFoodHeader();
    header[0] = QStringLiteral("Getränke je 100 ml");
    return header << QStringLiteral("Alkohol|vol.-%") << QStringLiteral("Alkohol|in g");
}

QString proposedTableName(const QString &currentTable)
{
    return isDrinkTable(currentTable) ? QStringLiteral("Meine Getränke Einkäufe im Supermarkt XY")
                                      : QStringLiteral("Meine Einkäufe im Supermarkt XY");
}

QString typedTableName(const QString &typed)
{
    QString name = normalizedName(typed.trimmed());
    if (name.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive))
        name.chop(4);
    return name;
}

QString newTableNameProblem(const QString &dataFolder, const QString &name)
{
    if (name.isEmpty())
        return QStringLiteral("Bitte geben Sie der Tabelle einen Namen.");
    const QByteArray folder = QFile::encodeName(dataFolder);
    auto limit = [&folder](int which, long usual) {
        const long value = ::pathconf(folder.constData(), which);
        return value > 0 ? value : usual;
    };
    // The table file is the longest name, the sample's info file the
    // longest path.
    const qsizetype fileName
        = QFile::encodeName(QFileInfo(tableFilePath(dataFolder, name)).fileName()).size();
    const qsizetype path
        = QFile::encodeName(infoFilePath(dataFolder, name, kSampleEntryName)).size();
    if (fileName > limit(_PC_NAME_MAX, 255) || path >= limit(_PC_PATH_MAX, 4096)) {
        return QStringLiteral("Der Name ist zu lang für eine Datei. Bitte geben Sie einen "
                              "kürzeren Namen ein.");
    }
    if (const QString like = tableNameLike(dataFolder, name); !like.isEmpty() && like != name) {
        return QStringLiteral("Es gibt schon die Tabelle \"%1\". Ein Name, der sich davon "
                              "nur in Groß- und Kleinschreibung unterscheidet, würde sie "
                              "verdecken. Bitte geben Sie einen anderen Namen ein.")
            .arg(like);
    }
    return {};
}

QString tableNameLike(const QString &dataFolder, const QString &name)
{
    const QString fileName = normalizedName(QFileInfo(tableFilePath(dataFolder, name)).fileName());
    const QStringList files = QDir(dataFolder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &file : files) {
        if (normalizedName(file).compare(fileName, Qt::CaseInsensitive) == 0)
            return nameFromFileName(QStringView(file).chopped(4)); // without ".txt"
    }
    return {};
}

bool tableNameTaken(const QString &dataFolder, const QString &name)
{
    return !tableNameLike(dataFolder, name).isEmpty();
}

NewTableTexts newTableTexts(const QStringList &headerCells)
{
    QString header;
    QString samples;
    for (int column = 0; column < headerCells.size(); ++column) {
        header += rowSafe(headerCells[column]) + u'\t';
        if (column > 0)
            samples += QStringLiteral("0,00\t");
    }
    const QString sampleRow = kSampleEntryName + u'\t' + samples;
    return { header + kLineEnd + sampleRow + kLineEnd, trimmedEnd(sampleRow) };
}

} // namespace Zestrola
