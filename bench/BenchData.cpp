// SPDX-License-Identifier: GPL-3.0-or-later
#include "BenchData.h"

#include "Goals.h"
#include "Timing.h"
#include "model/DataFolder.h"
#include "model/EntryRules.h"
#include "model/InfoText.h"
#include "model/TableFile.h"
#include "model/ViewText.h"

#include <QBuffer>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QStringList>
#include <algorithm>

namespace Bench {

namespace {

const QStringList kPrefixes = {
    "Bio",
    "Vollkorn",
    "Frische",
    "Geräucherte",
    "Gebratene",
    "Süße",
    "Würzige",
    "Knusprige",
    "Zarte",
    "Feine",
    "Rote",
    "Grüne",
    "Hausgemachte",
    "Gekochte",
};
const QStringList kNouns = {
    "Äpfel",
    "Brötchen",
    "Käse",
    "Müsli",
    "Bratwurst",
    "Gemüsesuppe",
    "Haferflocken",
    "Joghurt",
    "Knödel",
    "Nüsse",
    "Sahne",
    "Schokolade",
    "Weißkohl",
    "Möhren",
    "Rührei",
    "Frikadelle",
    "Quark",
    "Lachsfilet",
    "Spätzle",
    "Pfannkuchen",
};
const QStringList kSuffixes = {
    "mit Kräutern",
    "nach Art des Hauses",
    "aus Österreich",
    "ungesüßt",
    "fettarm",
    "in Öl",
    "mit Äpfeln",
    "glutenfrei",
    "vom Grill",
    "(tiefgekühlt)",
    "Größe M",
    "",
};

QString decimal(double value)
{
    return QString::number(value, 'f', value < 10 ? 2 : 1).replace(u'.', u',');
}

// A value cell as people type them: mostly numbers, now and then "?" (not
// stated) or a "<" bound.
QString valueCell(QRandomGenerator &random, double max)
{
    const int roll = int(random.bounded(100));
    if (roll < 2)
        return QStringLiteral("?");
    if (roll < 5)
        return roll < 4 ? QStringLiteral("<0,1") : QStringLiteral("<0,5");
    return decimal(random.bounded(max));
}

void writeTable(const QString &folder, const QString &table, const QStringList &lines)
{
    QDir(folder).mkpath(table);
    QString error;
    if (!Zestrola::WriteToStream(lines, Zestrola::tableFilePath(folder + u'/', table), &error))
        fail(qPrintable(error));
}

void writeCameraPicture(const QString &path)
{
    if (!cameraPicture(QSize(4000, 3000)).save(path, "JPG", 92))
        fail("cannot write the photo");
}

} // namespace

QString foodHeader()
{
    return Zestrola::defaultFoodHeader().join(u'\t');
}

QString tableRow(QRandomGenerator &random, int index)
{
    QString name = kPrefixes[random.bounded(int(kPrefixes.size()))] + u' '
        + kNouns[random.bounded(int(kNouns.size()))];
    const QString &suffix = kSuffixes[random.bounded(int(kSuffixes.size()))];
    if (!suffix.isEmpty())
        name += u' ' + suffix;
    name += QStringLiteral(", Sorte %1").arg(index);
    const double kilojoule = random.bounded(3700.0);
    const double kcal = kilojoule / 4.184;
    QStringList cells { name, QString::number(qRound(kilojoule)), QString::number(qRound(kcal)),
        decimal(kcal / 100) };
    for (double max : { 60.0, 30.0, 90.0, 60.0, 40.0, 5.0 })
        cells << valueCell(random, max);
    QString row = cells.join(u'\t');
    if (index % 7 == 0)
        row += u'\t'; // some rows already end with a TAB
    return row;
}

void writeDataFolder(const QString &folder, int rows)
{
    QRandomGenerator random(4711 + rows);
    QStringList lines { foodHeader() };
    lines.reserve(rows + 1);
    for (int i = 0; i < rows; ++i)
        lines << tableRow(random, i);
    writeTable(folder, kTableName, lines);
}

void writeWideDataFolder(const QString &folder, int columns)
{
    QRandomGenerator random(4711 + columns);
    QStringList header { Zestrola::defaultFoodHeader().first() };
    for (int column = 1; column <= columns; ++column)
        header << (column % 5 == 0 ? QStringLiteral("Salz|Nr. %1") : QStringLiteral("Wert %1"))
                      .arg(column);
    QStringList lines { header.join(u'\t') };
    for (int row = 0; row < kWideRows; ++row) {
        QStringList cells { tableRow(random, row).section(u'\t', 0, 0) };
        for (int column = 1; column <= columns; ++column)
            cells << valueCell(random, 5.0);
        lines << cells.join(u'\t');
    }
    writeTable(folder, kTableName, lines);
}

QImage cameraPicture(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator random(12);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int noise = int(random.bounded(24)) - 12;
            line[x] = qRgb(std::clamp(x / 16 + noise, 0, 255), std::clamp(y / 12 + noise, 0, 255),
                std::clamp(128 + noise, 0, 255));
        }
    }
    QPainter painter(&image);
    painter.setBrush(QColor(200, 30, 40));
    for (int i = 0; i < 40; ++i)
        painter.drawEllipse(
            QPoint(int(random.bounded(size.width())), int(random.bounded(size.height()))), 180,
            140);
    return image;
}

void writeInfoDataFolder(const QString &folder)
{
    const QString data = folder + u'/';
    const QStringList rows { QStringLiteral("Apfel\t0,52\t0,20\t10,00"),
        QStringLiteral("Birne\t0,57\t0,30\t10,00"), QStringLiteral("Kiwi\t0,61\t0,50\t9,00") };
    writeTable(folder, kInfoTable,
        QStringList { QStringLiteral("Lebensmittel 100g\tEnergie-|dichte\tFett\tZucker") } + rows);
    QStringList description;
    for (int i = 0; i < 20; ++i)
        description << QStringLiteral(
            "Eine Zeile Beschreibung mit https://de.wikipedia.org/wiki/Apfel");
    // The last one as long as an info text may be.
    QStringList longest = description;
    const QString line = description.first() + u"\r\n";
    const qsizetype lines = (Zestrola::kLargestInfoFile - 200) / line.toUtf8().size();
    while (longest.size() < lines)
        longest << description.first();
    for (const QString &row : rows) {
        if (!Zestrola::WriteToStream(
                QStringList { row } + (row == rows.last() ? longest : description),
                Zestrola::infoFilePath(data, kInfoTable, Zestrola::entryName(row))))
            fail("cannot write the info data folder");
    }
    writeCameraPicture(Zestrola::picturePath(data, kInfoTable, QStringLiteral("Apfel")));
}

QByteArray fullProductAnswer(int atLeastBytes)
{
    QJsonObject nutriments;
    const std::pair<const char *, double> nutrients[] = { { "energy-kj", 2252 },
        { "energy-kcal", 539 }, { "fat", 30.9 }, { "saturated-fat", 10.6 },
        { "carbohydrates", 57.5 }, { "sugars", 56.3 }, { "proteins", 6.3 }, { "salt", 0.107 },
        { "sodium", 0.043 }, { "fiber", 3.4 }, { "alcohol", 0 } };
    for (const auto &[nutrient, value] : nutrients) {
        const QString key = QLatin1StringView(nutrient);
        nutriments.insert(key + QStringLiteral("_100g"), value);
        nutriments.insert(key + QStringLiteral("_serving"), value * 0.15);
        nutriments.insert(key + QStringLiteral("_value"), value);
        nutriments.insert(key + QStringLiteral("_unit"), QStringLiteral("g"));
    }
    QJsonObject product { { "code", "4001234567891" }, { "product_name", "Hazelnut spread" },
        { "product_name_de", "Nuss-Nougat-Creme" }, { "brands", "Nuxo, Nuxo AG" },
        { "quantity", "400 g" }, { "nutriscore_grade", "e" }, { "nova_group", 4 },
        { "ingredients_text_de", "Zucker, Palmöl, Haselnüsse 13 %, Magermilchpulver 8,7 %" },
        { "allergens_tags", QJsonArray { "en:milk", "en:nuts", "en:soybeans" } },
        { "image_front_url", "https://images.example/4001234567891/front_de.400.jpg" },
        { "nutriments", nutriments } };
    // What an answer without a field list carries besides: ingredients
    // analysed one by one, and every uploaded image in several sizes.
    QJsonArray ingredients;
    QJsonObject images;
    for (int i = 0;; ++i) {
        ingredients.append(QJsonObject { { "id", QStringLiteral("de:zutat-%1").arg(i) },
            { "text", QStringLiteral("Zutat Nummer %1 aus kontrolliertem Anbau").arg(i) },
            { "percent_estimate", 100.0 / (i + 2) }, { "rank", i + 1 }, { "vegan", "maybe" },
            { "vegetarian", "yes" } });
        images.insert(QString::number(i),
            QJsonObject { { "uploaded_t", 1600000000 + i }, { "uploader", "nutzer" },
                { "sizes",
                    QJsonObject { { "100", QJsonObject { { "w", 75 }, { "h", 100 } } },
                        { "400", QJsonObject { { "w", 300 }, { "h", 400 } } },
                        { "full", QJsonObject { { "w", 1500 }, { "h", 2000 } } } } } });
        if (i % 50 != 0)
            continue;
        product.insert(QStringLiteral("ingredients"), ingredients);
        product.insert(QStringLiteral("images"), images);
        const QByteArray answer = QJsonDocument(
            QJsonObject { { "code", "4001234567891" }, { "status", 1 },
                { "status_verbose", "product found" },
                { "product",
                    product } }).toJson(QJsonDocument::Compact);
        if (answer.size() >= atLeastBytes)
            return answer;
    }
}

QByteArray productPhoto(qint64 atLeastBytes)
{
    for (int width = 800;; width += 200) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        if (!cameraPicture(QSize(width, width * 4 / 3)).save(&buffer, "JPG", 90))
            fail("cannot make the photo");
        if (bytes.size() >= atLeastBytes)
            return bytes;
    }
}

void writeSpreadsheetExport(const QString &path, int rows)
{
    QRandomGenerator random(20);
    QStringList header { QStringLiteral("Produkt"), QStringLiteral("Energie (kJ)"),
        QStringLiteral("Energie (kcal)"), QStringLiteral("Fett"),
        QStringLiteral("davon gesättigte Fettsäuren"), QStringLiteral("Kohlenhydrate"),
        QStringLiteral("davon Zucker"), QStringLiteral("Eiweiß"), QStringLiteral("Salz") };
    for (int column = header.size(); column < kSpreadsheetColumns; ++column)
        header << QStringLiteral("Angabe %1").arg(column);
    QString text = header.join(u';') + QStringLiteral("\r\n");
    for (int row = 0; row < rows; ++row) {
        const double kcal = random.bounded(900.0);
        const int kj = int(kcal * 4.184);
        QStringList cells { QStringLiteral("\"%1 %2 %3\"")
                                .arg(kPrefixes[random.bounded(int(kPrefixes.size()))],
                                    kNouns[random.bounded(int(kNouns.size()))])
                                .arg(row),
            kj >= 1000 ? QStringLiteral("%1.%2").arg(kj / 1000).arg(kj % 1000, 3, 10, QChar(u'0'))
                       : QString::number(kj),
            decimal(kcal) };
        for (int column = cells.size(); column < kSpreadsheetColumns; ++column)
            cells << (random.bounded(20) == 0 ? QStringLiteral("k. A.")
                                              : decimal(random.bounded(40.0)));
        text += cells.join(u';') + QStringLiteral("\r\n");
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toLatin1()) <= 0)
        fail("cannot write the spreadsheet export");
}

int writeProductDatabaseExport(const QString &path, int megabytes, int germanProducts)
{
    QStringList header { QStringLiteral("code"), QStringLiteral("product_name"),
        QStringLiteral("countries_en"), QStringLiteral("ingredients_text"),
        QStringLiteral("energy-kj_100g"), QStringLiteral("energy-kcal_100g"),
        QStringLiteral("fat_100g"), QStringLiteral("saturated-fat_100g"),
        QStringLiteral("carbohydrates_100g"), QStringLiteral("sugars_100g"),
        QStringLiteral("proteins_100g"), QStringLiteral("salt_100g"),
        QStringLiteral("sodium_100g") };
    for (int column = header.size(); column < kDatabaseColumns; ++column)
        header << QStringLiteral("nutrient-%1_100g").arg(column);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        fail("cannot write the product database export");
    QRandomGenerator random(500);
    const QByteArray ingredients = QByteArray(
        "Zucker, Palmöl, Haselnüsse 13 %, fettarmer Kakao 7,4 %, Magermilchpulver 6,6 %, "
        "Süßmolkenpulver, Emulgator Lecithine (Soja), Vanillin. ")
                                       .repeated(6);
    QByteArray block = header.join(u'\t').toUtf8() + '\n';
    const qint64 target = qint64(megabytes) * 1000 * 1000;
    qint64 written = 0;
    int matching = 0;
    for (int row = 0; written + block.size() < target; ++row) {
        const bool germany = row % 4 == 0 && matching < germanProducts;
        matching += germany ? 1 : 0;
        const double kcal = random.bounded(900.0);
        block += QByteArray::number(4000000 + row) + '\t' + kNouns[row % kNouns.size()].toUtf8()
            + ' ' + QByteArray::number(row) + '\t' + (germany ? "France,Germany" : "France,Belgium")
            + '\t' + ingredients + '\t' + QByteArray::number(kcal * 4.184, 'f', 1) + '\t'
            + QByteArray::number(kcal, 'f', 1);
        for (int column = 6; column < kDatabaseColumns; ++column)
            block += '\t' + QByteArray::number(random.bounded(10.0), 'f', 4);
        block += '\n';
        if (block.size() > (1 << 20)) {
            if (file.write(block) != block.size())
                fail("cannot write the product database export");
            written += block.size();
            block.clear();
        }
    }
    if (file.write(block) != block.size())
        fail("cannot write the product database export");
    return matching;
}

} // namespace Bench
