// SPDX-License-Identifier: GPL-3.0-or-later
// Sort-and-save.
//
// Properties, for any view rows: the rows come out in strictly ascending
// order by the German collation without regard to case (checked against
// QCollator itself, not against the program's shortcuts); each is a view
// row trimmed the way rows are; every non-blank view row has a row equal to
// it under that collation; and a written table, read and sorted again,
// writes the very same bytes.

#include "FuzzSupport.h"
#include "model/SortSave.h"
#include "model/TableFile.h"
#include "model/ViewText.h"

#include <QCollator>
#include <QFile>
#include <QLocale>
#include <QSet>
#include <QTemporaryDir>

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

    QSet<QString> trimmed;
    for (const QString &row : viewRows)
        trimmed.insert(trimmedRow(row).toString());
    for (qsizetype i = 0; i < sorted.size(); ++i) {
        FUZZ_CHECK(trimmed.contains(sorted.at(i)) && !isBlankLine(sorted.at(i)));
        if (i > 0)
            FUZZ_CHECK(collator().compare(sorted.at(i - 1), sorted.at(i)) < 0);
    }
    for (const QString &row : viewRows) {
        if (isBlankLine(row))
            continue;
        const QString wanted = trimmedRow(row).toString();
        const auto found = std::lower_bound(sorted.begin(), sorted.end(), wanted,
            [](const QString &a, const QString &b) { return collator().compare(a, b) < 0; });
        FUZZ_CHECK(found != sorted.end() && collator().compare(*found, wanted) == 0);
    }

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
