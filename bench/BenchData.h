// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The generated data the benchmark measures on: food tables of any size in
// random order, a table of many columns, and a table whose entries have long
// descriptions and a camera-sized photo.

#include <QByteArray>
#include <QImage>
#include <QRandomGenerator>
#include <QString>

namespace Bench {

inline const QString kTableName = QStringLiteral("Lebensmittel");
inline const QString kInfoTable = QStringLiteral("Obst");
inline const QString kSpreadsheetFile = QStringLiteral("Export.csv");
inline const QString kDatabaseFile = QStringLiteral("products.tsv");

// The header line of a new food table.
QString foodHeader();

// Entry `index` of a food table: a German name with umlauts and a running
// number, the energy columns and six value cells as people type them.
QString tableRow(QRandomGenerator &random, int index);

// A data folder holding the one table `kTableName` with `rows` entries.
void writeDataFolder(const QString &folder, int rows);
// A data folder holding the one table `kTableName` with `columns` value
// columns and `kWideRows` rows.
void writeWideDataFolder(const QString &folder, int columns);
// A camera photo of `size`: gradients, shapes and sensor noise, so that it
// compresses like a real one (12 megapixels make a few megabytes).
QImage cameraPicture(QSize size);

// A data folder holding `kInfoTable`: two entries with 20-line
// descriptions, the first with a 12-megapixel photo, and a third whose
// description is as long as an info text may be (just under 2 MB).
void writeInfoDataFolder(const QString &folder);

// A product answer of Open Food Facts as large as one without a field list
// (every field, ingredients analysed one by one, all images): at least
// `atLeastBytes`, compact JSON.
QByteArray fullProductAnswer(int atLeastBytes);
// A product's photo as a JPEG of at least `atLeastBytes`.
QByteArray productPhoto(qint64 atLeastBytes);
// The file the small import reads: `rows` products and 20 columns, as a
// German spreadsheet exports them (";", decimal commas, thousands points,
// Windows-1252).
void writeSpreadsheetExport(const QString &path, int rows);
inline constexpr int kSpreadsheetColumns = 20;
// The file the large import reads: an export of about `megabytes` MB in the
// form of Open Food Facts (TAB, 200 columns, decimal points, a long
// ingredients text), in which every fourth product lists "Germany" among its
// countries, up to `germanProducts` of them. Returns how many do.
int writeProductDatabaseExport(const QString &path, int megabytes, int germanProducts);
inline constexpr int kDatabaseColumns = 200;

} // namespace Bench
