// SPDX-License-Identifier: GPL-3.0-or-later
// Sort-and-save.
//
// Properties, for any view rows: the rows come out in ascending order by the
// German collation without regard to case (checked against QCollator
// itself, not against the program's shortcuts); they are exactly the
// non-blank view rows, trimmed the way rows are, none lost even where two
// compare equal, only a repeated row kept once; and a written table, read and sorted again, writes
// the very same bytes.

#include "FuzzSupport.h"
#include "model/SortSave.h"
#include "model/TableFile.h"
#include "model/ViewText.h"

#include <QCollator>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <algorithm>

using namespace Zestrola;

namespace {

const QCollator &collator()
{
    static const QCollator collator = [] {
        QCollator c(QLocale(QLocale::German, QLocale::Germany));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // View rows never hold a line end: they are the lines of a file.
    const QStringList viewRows = splitLines(FuzzSupport::textOf(data, size));
    const QStringList sorted = sortedUniqueRows(viewRows).toStringList();

    QStringList trimmed;
    for (const QString &row : viewRows) {
        if (!isBlankLine(row))
            trimmed.append(trimmedRow(row).toString());
    }
    for (qsizetype i = 1; i < sorted.size(); ++i)
        FUZZ_CHECK(collator().compare(sorted.at(i - 1), sorted.at(i)) <= 0);
    QStringList kept = sorted;
    // Every row stays but a repeated one, which stays once.
    std::sort(trimmed.begin(), trimmed.end());
    trimmed.erase(std::unique(trimmed.begin(), trimmed.end()), trimmed.end());
    std::sort(kept.begin(), kept.end());
    FUZZ_CHECK(kept == trimmed);

    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Obst.txt"));
    const QString header = QStringLiteral("Lebensmittel 100g\tFett");
    FUZZ_CHECK(sortAndSave(header, viewRows, path, nullptr, nullptr));
    const QByteArray first = fileBytes(path);
    const ViewTable table = buildViewTable(readTextFile(path));
    FUZZ_CHECK(sortAndSave(header, table.rows, path, nullptr, nullptr));
    FUZZ_CHECK(fileBytes(path) == first);
    return 0;
}
