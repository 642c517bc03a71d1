// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "model/DelimitedText.h"
#include "model/EntryEdit.h"
#include "model/EntryRules.h"
#include "model/TableImport.h"
#include "model/TableSession.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace Zestrola;
using namespace Qt::StringLiterals;
using TestSupport::readBytes;

namespace {

using Records = QList<QStringList>;

const QByteArray kBom = "\xEF\xBB\xBF";

QByteArray utf16(const QString &text, bool littleEndian)
{
    QByteArray bytes = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (const QChar c : text) {
        const char high = char(c.unicode() >> 8);
        const char low = char(c.unicode() & 0xFF);
        bytes += littleEndian ? low : high;
        bytes += littleEndian ? high : low;
    }
    return bytes;
}

struct Read
{
    Records records;
    char separator = 0;
    QString error;
};

Read readAll(const QByteArray &bytes, qsizetype piece)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    DelimitedReader reader(&buffer, piece);
    Read read;
    if (!reader.start(&read.error))
        return read;
    read.separator = reader.separator();
    DelimitedRecord record;
    while (reader.next(record))
        read.records.append(record.cells());
    read.error = reader.error();
    return read;
}

// A file of an Open Food Facts export: TAB, many columns, decimal points,
// empty cells; "trans-fat_100g" stands before "fat_100g".
QByteArray offExport()
{
    QStringList header { u"code"_s, u"url"_s, u"product_name"_s, u"generic_name"_s,
        u"countries_en"_s, u"energy-kj_100g"_s, u"energy-kcal_100g"_s, u"energy_100g"_s,
        u"trans-fat_100g"_s, u"fat_100g"_s, u"saturated-fat_100g"_s, u"carbohydrates_100g"_s,
        u"sugars_100g"_s, u"fiber_100g"_s, u"proteins_100g"_s, u"salt_100g"_s, u"sodium_100g"_s,
        u"alcohol_100g"_s };
    for (int i = 0; i < 30; ++i)
        header << u"-extra-%1_100g"_s.arg(i);
    auto row = [&](const QStringList &cells) -> QString {
        QStringList full = cells;
        while (full.size() < header.size())
            full << u"0.1"_s;
        return full.join(u'\t') + u'\n';
    };
    QString text = header.join(u'\t') + u'\n';
    text += row({ u"1"_s, u"u"_s, u"Nuss-Nougat-Creme"_s, u""_s, u"Germany,France"_s, u"2252"_s,
        u"539"_s, u"2252"_s, u"0"_s, u"30.9"_s, u"10.6"_s, u"57.5"_s, u"56.3"_s, u""_s, u"6.3"_s,
        u"0.107"_s, u"0.0428"_s, u""_s });
    text += row({ u"2"_s, u"u"_s, u"Pils"_s, u""_s, u"Germany"_s, u""_s, u"42"_s, u""_s, u""_s,
        u"0"_s, u"0"_s, u"3.1"_s, u"0"_s, u""_s, u"0.5"_s, u""_s, u"0.004"_s, u"4.9"_s });
    text += row({ u"3"_s, u"u"_s, u"Baguette"_s, u""_s, u"France"_s, u"1100"_s, u""_s });
    text += row({ u"4"_s, u"u"_s, u""_s, u""_s, u"Germany"_s, u"100"_s });
    return text.toUtf8();
}

// A USDA SR abbreviated file: CSV, quoted names with commas, sodium in mg.
QByteArray usdaExport()
{
    return "NDB_No,Shrt_Desc,Water_(g),Energ_Kcal,Protein_(g),Lipid_Tot_(g),Carbohydrt_(g),"
           "Sugar_Tot_(g),Sodium_(mg),FA_Sat_(g)\r\n"
           "01001,\"BUTTER,WITH SALT\",15.87,717,0.85,81.11,0.06,0.06,643,51.368\r\n"
           "01123,\"EGG,WHL,RAW,FRSH\",76.15,143,12.56,9.51,0.72,0.37,142,3.126\r\n";
}

// A German spreadsheet export: ";", decimal comma, thousands points,
// Windows-1252.
QByteArray germanExport()
{
    return "Produkt;Energie (kJ);Energie (kcal);Fett;davon ges\xE4ttigte Fetts\xE4uren;"
           "Kohlenhydrate;davon Zucker;Eiwei\xDF;Salz\r\n"
           "K\xE4se;1.612;388;30,5;19;0;0;25,4;1,8\r\n"
           "\"Br\xF6tchen; hell\";1.150;;1,5;0,3;56;k. A.;9;-1\r\n"
           ";100;24;0;0;0;0;0;0\r\n";
}

ImportSettings settingsFor(const ImportSample &sample, const QStringList &tableHeader)
{
    ImportSettings settings;
    settings.fileHeader = sample.header;
    settings.tableHeader = tableHeader;
    settings.sources = suggestedSources(tableHeader, sample.header);
    settings.decimalMarks = sample.decimalMarks;
    return settings;
}

} // namespace

// Reading delimited files, finding their columns and numbers, and turning
// their rows into table rows; the files written at the end.
class TestTableImport : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { m_data = std::make_unique<TestSupport::DataFolder>(); }
    void cleanup() { m_data.reset(); }

    void reader_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<char>("separator");
        QTest::addColumn<Records>("records");
        const Records two { { u"Name"_s, u"Fett"_s }, { u"Käse"_s, u"30,5"_s } };
        QTest::newRow("semicolon, Windows-1252")
            << QByteArray("Name;Fett\r\nK\xE4se;30,5\r\n") << ';' << two;
        QTest::newRow("TAB, UTF-8 mark, LF")
            << kBom + "Name\tFett\nK\xC3\xA4se\t30,5" << '\t' << two;
        QTest::newRow("UTF-16 LE") << utf16(u"Name\tFett\r\nKäse\t30,5\r\n"_s, true) << '\t' << two;
        QTest::newRow("UTF-16 BE, lone CR")
            << utf16(u"Name;Fett\rKäse;30,5"_s, false) << ';' << two;
        QTest::newRow("comma, quoted commas, quotes doubled")
            << QByteArray("id,name\r\n1,\"BUTTER,WITH \"\"SALT\"\"\"\r\n") << ','
            << Records { { u"id"_s, u"name"_s }, { u"1"_s, u"BUTTER,WITH \"SALT\""_s } };
        QTest::newRow("quoted line breaks of every kind")
            << QByteArray("a;b\r\n\"x\r\ny\ry\nz\";2\r\n3;4") << ';'
            << Records { { u"a"_s, u"b"_s }, { u"x\r\ny\ry\nz"_s, u"2"_s }, { u"3"_s, u"4"_s } };
        QTest::newRow("ragged rows; blank and empty lines skipped")
            << QByteArray("a;b;c\r\n\r\n1\r\n;;\r\n  \r\n1;2;3;4\r\n") << ';'
            << Records { { u"a"_s, u"b"_s, u"c"_s }, { u"1"_s },
                   { u"1"_s, u"2"_s, u"3"_s, u"4"_s } };
        QTest::newRow("text after a closing quote, a quote never closed")
            << QByteArray("a;b\n\"x\"y;\"open\nend") << ';'
            << Records { { u"a"_s, u"b"_s }, { u"xy"_s, u"open\nend"_s } };
        QTest::newRow("header commas do not win over a TAB")
            << QByteArray("Fett, g\tZucker, g\n1,5\t2\n") << '\t'
            << Records { { u"Fett, g"_s, u"Zucker, g"_s }, { u"1,5"_s, u"2"_s } };
        QTest::newRow("one column")
            << QByteArray("Name\nApfel\n") << '\t' << Records { { u"Name"_s }, { u"Apfel"_s } };
        QTest::newRow("one UTF-8 line among Windows-1252 ones")
            << QByteArray("a;b\nK\xC3\xA4se;\xE4\n") << ';'
            << Records { { u"a"_s, u"b"_s }, { u"KÃ¤se"_s, u"ä"_s } };
    }

    // Every piece size gives the same records: what stands across the end
    // of a piece (a CR LF, a doubled quote, a UTF-16 pair) is whole.
    void reader()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(char, separator);
        QFETCH(Records, records);
        for (const qsizetype piece : { 16, 17, 1 << 20 }) {
            const Read read = readAll(bytes, piece);
            QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
            QCOMPARE(read.separator, separator);
            QCOMPARE(read.records, records);
        }
    }

    void readerRefuses_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error");
        QTest::newRow("empty") << QByteArray() << u"Die Datei ist leer."_s;
        QTest::newRow("mark and blank lines") << kBom + "\r\n \r\n" << u"Die Datei ist leer."_s;
        QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16)
                                << u"Die Datei ist keine Tabelle in Textform."_s;
        QTest::newRow("quote never closed, too long")
            << "a;b\n1;2\n\"" + QByteArray(DelimitedReader::kLongestRecord + 10, 'x')
            << u"Zeile 3 ist länger als 4 MB: Ist ein Anführungszeichen nicht geschlossen?"_s;
    }

    void readerRefuses()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        QCOMPARE(readAll(bytes, 1 << 20).error, error);
    }

    void recognisesColumns_data()
    {
        QTest::addColumn<QString>("header");
        QTest::addColumn<ImportRole>("role");
        QTest::addColumn<bool>("milligrams");
        const QList<std::tuple<const char16_t *, ImportRole, bool>> cases {
            { u"product_name", ImportRole::Name, false },
            { u"Shrt_Desc", ImportRole::Name, false },
            { u"Lebensmittel 100g", ImportRole::Name, false },
            { u"energy-kj_100g", ImportRole::Kj, false },
            { u"energy_100g", ImportRole::Kj, false },
            { u"Brennwert|in kJ", ImportRole::Kj, false },
            { u"Energie (kJ)", ImportRole::Kj, false },
            { u"Energ_Kcal", ImportRole::Kcal, false },
            { u"|in kcal", ImportRole::Kcal, false },
            { u"Energie-|dichte", ImportRole::EnergyDensity, false },
            { u"Lipid_Tot_(g)", ImportRole::Fat, false },
            { u"FETT", ImportRole::Fat, false },
            { u"trans-fat_100g", ImportRole::Fat, false },
            { u"davon gesättigte Fettsäuren", ImportRole::SaturatedFat, false },
            { u"gesättigte|Fettsäuren", ImportRole::SaturatedFat, false },
            { u"FA_Sat_(g)", ImportRole::SaturatedFat, false },
            { u"Kohlen-|hydrate", ImportRole::Carbohydrates, false },
            { u"Carbohydrt_(g)", ImportRole::Carbohydrates, false },
            { u"davon|Zucker", ImportRole::Sugars, false },
            { u"Sugar_Tot_(g)", ImportRole::Sugars, false },
            { u"EIWEISS", ImportRole::Protein, false },
            { u"proteins_100g", ImportRole::Protein, false },
            { u"Salz (g)", ImportRole::Salt, false },
            { u"Sodium_(mg)", ImportRole::Sodium, true },
            { u"Natrium in mg", ImportRole::Sodium, true },
            { u"sodium_100g", ImportRole::Sodium, false },
            { u"alcohol_100g", ImportRole::AlcoholPercent, false },
            { u"Alkohol|vol.-%", ImportRole::AlcoholPercent, false },
            { u"Alkohol|in g", ImportRole::None, false }, // computed, never read
            { u"Kjeldahl-Faktor", ImportRole::None, false },
            { u"fiber_100g", ImportRole::None, false },
        };
        for (const auto &[header, role, milligrams] : cases) {
            const QString text = QString::fromUtf16(header);
            QTest::newRow(qPrintable(text)) << text << role << milligrams;
        }
    }

    void recognisesColumns()
    {
        QFETCH(QString, header);
        QFETCH(ImportRole, role);
        QFETCH(bool, milligrams);
        QCOMPARE(recogniseSourceColumn(header), (SourceColumn { role, milligrams }));
    }

    void suggestsColumns_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("table");
        QTest::addColumn<QList<int>>("sources");
        // Name, kJ, kcal, density, fat, saturated, carbohydrates, sugars,
        // protein, salt (, vol.-%, alcohol g)
        QTest::newRow("Open Food Facts, drinks")
            << offExport() << defaultDrinkHeader()
            << QList<int> { 2, 5, 6, -1, 9, 10, 11, 12, 14, 15, 17, -1 };
        QTest::newRow("USDA: salt from sodium, no kJ")
            << usdaExport() << defaultFoodHeader() << QList<int> { 1, -1, 3, -1, 5, 9, 6, 7, 4, 8 };
        QTest::newRow("German labels") << germanExport() << defaultFoodHeader()
                                       << QList<int> { 0, 1, 2, -1, 3, 4, 5, 6, 7, 8 };
        QTest::newRow("a table's own column by its title")
            << QByteArray("Bezeichnung;Preis;Fett\n") << QStringList { u"Obst"_s, u"PREIS"_s }
            << QList<int> { 0, 1 };
    }

    void suggestsColumns()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, table);
        QFETCH(QList<int>, sources);
        m_data->addFile(u"in.csv"_s, file);
        QString error;
        const std::optional<ImportSample> sample = readImportSample(path(u"in.csv"_s), &error);
        QVERIFY2(sample, qPrintable(error));
        QCOMPARE(suggestedSources(table, sample->header), sources);
    }

    void readsNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<DecimalMark>("mark");
        QTest::addColumn<int>("kind");
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("lessThan");
        const auto comma = DecimalMark::Comma;
        const auto point = DecimalMark::Point;
        const int number = ImportNumber::Number;
        const int notNumber = ImportNumber::NotNumber;
        const int unknown = ImportNumber::Unknown;
        QTest::newRow("German, grouped") << u"1.234,5"_s << comma << number << 1234.5 << false;
        QTest::newRow("English, grouped") << u"1,234.5"_s << point << number << 1234.5 << false;
        QTest::newRow("both marks decide") << u"1,234.5"_s << comma << number << 1234.5 << false;
        QTest::newRow("German thousands") << u"1.234"_s << comma << number << 1234.0 << false;
        QTest::newRow("English decimals") << u"1.234"_s << point << number << 1.234 << false;
        QTest::newRow("point, not grouped") << u"0.5"_s << comma << number << 0.5 << false;
        QTest::newRow("leading zero is no group") << u"0.500"_s << comma << number << 0.5 << false;
        QTest::newRow("comma in English column") << u"0,5"_s << point << number << 0.5 << false;
        QTest::newRow("millions") << u"1.234.567"_s << comma << number << 1234567.0 << false;
        QTest::newRow("blank groups") << u"12 345,6"_s << comma << number << 12345.6 << false;
        QTest::newRow("less than, blanks") << u" < 0,01 "_s << comma << number << 0.01 << true;
        QTest::newRow("exponent") << u"4.28e-2"_s << point << number << 0.0428 << false;
        QTest::newRow("negative") << u"-1"_s << comma << number << -1.0 << false;
        QTest::newRow("no digits before the mark") << u",5"_s << comma << number << 0.5 << false;
        QTest::newRow("empty") << u"  "_s << comma << unknown << 0.0 << false;
        QTest::newRow("question mark") << u"?"_s << comma << unknown << 0.0 << false;
        QTest::newRow("words") << u"k. A."_s << comma << notNumber << 0.0 << false;
        QTest::newRow("unit") << u"12 g"_s << comma << notNumber << 0.0 << false;
        QTest::newRow("two decimal commas") << u"1,2,3"_s << comma << notNumber << 0.0 << false;
        QTest::newRow("bad groups") << u"1.23.4"_s << comma << notNumber << 0.0 << false;
        QTest::newRow("mark alone") << u","_s << comma << notNumber << 0.0 << false;
        QTest::newRow("exponent too large") << u"1e400"_s << point << notNumber << 0.0 << false;
    }

    void readsNumbers()
    {
        QFETCH(QString, text);
        QFETCH(DecimalMark, mark);
        QFETCH(int, kind);
        QFETCH(double, value);
        QFETCH(bool, lessThan);
        const ImportNumber read = readImportNumber(text, mark);
        QCOMPARE(int(read.kind), kind);
        QCOMPARE(read.value, value);
        QCOMPARE(read.lessThan, lessThan);
    }

    void detectsDecimalMarks_data()
    {
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<DecimalMark>("mark");
        QTest::newRow("German") << QStringList { u"1.234,5"_s, u"0,5"_s, u"12"_s }
                                << DecimalMark::Comma;
        QTest::newRow("English") << QStringList { u"1,234.5"_s, u"0.5"_s } << DecimalMark::Point;
        QTest::newRow("grouping tells too") << QStringList { u"1.234.567"_s } << DecimalMark::Comma;
        QTest::newRow("nothing telling: the fallback")
            << QStringList { u"1.234"_s, u"12"_s, u"abc"_s } << DecimalMark::Point;
        QTest::newRow("the majority")
            << QStringList { u"0.5"_s, u"1,5"_s, u"2,5"_s } << DecimalMark::Comma;
    }

    void detectsDecimalMarks()
    {
        QFETCH(QStringList, values);
        QFETCH(DecimalMark, mark);
        QCOMPARE(detectDecimalMark(values, DecimalMark::Point), mark);
    }

    // Each kind of file through to the rows as they will be written: units,
    // computed cells, "?" for what is not a number or cannot be, and the
    // rows that are left out.
    void importsFiles_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("table");
        QTest::addColumn<QStringList>("rows");
        // taken, no name, no values, not numbers, implausible
        QTest::addColumn<QList<qint64>>("counts");
        QTest::newRow("Open Food Facts, drinks")
            << offExport() << defaultDrinkHeader()
            << QStringList {
                   u"Nuss-Nougat-Creme\t2252,00\t539,00\t5,39\t30,90\t10,60\t57,50\t56,30\t6,30\t0,11\t?\t?"_s,
                   u"Pils\t175,73\t42,00\t0,42\t0,00\t0,00\t3,10\t0,00\t0,50\t?\t4,90\t3,92"_s,
                   u"Baguette\t1100,00\t262,91\t2,6291\t0,10\t0,10\t0,10\t0,10\t0,10\t0,10\t0,10\t0,08"_s,
               }
            << QList<qint64> { 3, 1, 0, 0, 0 };
        QTest::newRow("USDA: salt from sodium in mg, kJ from kcal")
            << usdaExport() << defaultFoodHeader()
            << QStringList {
                   u"BUTTER,WITH SALT\t2999,93\t717,00\t7,17\t81,11\t51,37\t0,06\t0,06\t0,85\t1,61"_s,
                   u"EGG,WHL,RAW,FRSH\t598,31\t143,00\t1,43\t9,51\t3,13\t0,72\t0,37\t12,56\t0,35"_s,
               }
            << QList<qint64> { 2, 0, 0, 0, 0 };
        QTest::newRow("German export: thousands, words and negatives become ?")
            << germanExport() << defaultFoodHeader()
            << QStringList {
                   u"Käse\t1612,00\t388,00\t3,88\t30,50\t19,00\t0,00\t0,00\t25,40\t1,80"_s,
                   u"Brötchen; hell\t1150,00\t274,86\t2,7486\t1,50\t0,30\t56,00\t?\t9,00\t?"_s,
               }
            << QList<qint64> { 2, 1, 0, 1, 1 };
        QTest::newRow("UTF-16, absurd values, a row without any number")
            << utf16(u"Name\tkJ\tFett\r\nÖl\t3700\t100\r\nLuft\t5000\t101\r\nNichts\tk. A.\t\r\n"_s,
                   true)
            << QStringList { u"Obst"_s, u"kJ"_s, u"|in kcal"_s, u"Fett"_s }
            << QStringList { u"Öl\t3700,00\t884,32\t100,00"_s, u"Luft\t?\t?\t?"_s }
            << QList<qint64> { 2, 0, 1, 0, 2 };
        QTest::newRow("header only") << QByteArray("Name;Fett\r\n") << defaultFoodHeader()
                                     << QStringList {} << QList<qint64> { 0, 0, 0, 0, 0 };
    }

    void importsFiles()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, table);
        QFETCH(QStringList, rows);
        QFETCH(QList<qint64>, counts);
        m_data->addFile(u"in.txt"_s, file);
        const std::optional<ImportSample> sample = readImportSample(path(u"in.txt"_s), nullptr);
        QVERIFY(sample);
        const ImportOutcome outcome = importFile(path(u"in.txt"_s), settingsFor(*sample, table));
        QVERIFY2(outcome.error.isEmpty(), qPrintable(outcome.error));
        QCOMPARE(outcome.added.toStringList(), rows);
        const ImportCounts &c = outcome.counts;
        QCOMPARE((QList<qint64> { c.taken(), c.noName, c.noValues, c.notNumbers, c.implausible }),
            counts);
    }

    // Names the table holds, or an earlier row of the file: skipped,
    // replaced or kept under a name of their own; with a filter on a column.
    void namesAndFilter_data()
    {
        QTest::addColumn<DuplicateNames>("duplicates");
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QStringList>("replaced"); // "row index: row"
        QTest::addColumn<qint64>("skipped");
        // The file's "Müsli" is in decomposed form: the same name as the table's.
        QTest::newRow("skip") << DuplicateNames::Skip << QStringList { u"Kiwi\t1,00"_s }
                              << QStringList {} << qint64(4);
        QTest::newRow("replace") << DuplicateNames::Replace << QStringList { u"Kiwi\t5,00"_s }
                                 << QStringList { u"0: APFEL\t2,00"_s, u"1: Birne\t4,00"_s,
                                        u"3: Müsli\t6,00"_s }
                                 << qint64(1);
        QTest::newRow("keep both")
            << DuplicateNames::KeepBoth
            << QStringList { u"Kiwi\t1,00"_s, u"APFEL (2)\t2,00"_s, u"Birne (3)\t4,00"_s,
                   u"Kiwi (2)\t5,00"_s, u"Müsli (2)\t6,00"_s }
            << QStringList {} << qint64(0);
    }

    void namesAndFilter()
    {
        QFETCH(DuplicateNames, duplicates);
        QFETCH(QStringList, added);
        QFETCH(QStringList, replaced);
        QFETCH(qint64, skipped);
        m_data->addFile(u"in.csv"_s,
            "Name;Fett;Land\nKiwi;1;de\nAPFEL;2;DE\nMango;3;fr\nBirne;4;de\nKiwi;5;de\n"
            "Mu\xCC\x88sli;6;de\n");
        std::optional<ImportSample> sample = readImportSample(path(u"in.csv"_s), nullptr);
        QVERIFY(sample);
        ImportSettings settings = settingsFor(*sample, { u"Obst"_s, u"Fett"_s });
        settings.existingNames = { u"Apfel"_s, u"Birne"_s, u"Birne (2)"_s, u"Müsli"_s };
        settings.duplicates = duplicates;
        settings.filterColumn = 2;
        settings.filterText = u"De"_s;
        const ImportOutcome outcome = importFile(path(u"in.csv"_s), settings);
        QCOMPARE(outcome.added.toStringList(), added);
        QStringList replacedRows;
        for (auto it = outcome.replaced.cbegin(); it != outcome.replaced.cend(); ++it)
            replacedRows << u"%1: %2"_s.arg(it.key()).arg(it.value());
        replacedRows.sort();
        QCOMPARE(replacedRows, replaced);
        QCOMPARE(outcome.counts.filteredOut, 1);
        QCOMPARE(outcome.counts.duplicateName, skipped);
        QCOMPARE(outcome.counts.taken() + outcome.counts.skipped(), 5);
    }

    void stopsWhenCancelled()
    {
        QByteArray file = "Name;Fett\n";
        for (int i = 0; i < 5000; ++i)
            file += "Apfel " + QByteArray::number(i) + ";1\n";
        m_data->addFile(u"in.csv"_s, file);
        const std::optional<ImportSample> sample = readImportSample(path(u"in.csv"_s), nullptr);
        QVERIFY(sample);
        QVERIFY(!sample->wholeFile);
        qint64 reported = 0;
        qint64 size = 0;
        const ImportOutcome outcome = importFile(path(u"in.csv"_s),
            settingsFor(*sample, { u"Obst"_s, u"Fett"_s }), [&](qint64 done, qint64 total) {
                reported = done;
                size = total;
                return false;
            });
        QVERIFY(outcome.cancelled);
        QVERIFY(outcome.added.isEmpty());
        QCOMPARE(size, file.size());
        QVERIFY(reported > 0 && reported <= size);
    }

    void reportsInGerman()
    {
        ImportCounts counts;
        counts.added = 12000;
        counts.replaced = 1;
        counts.noName = 2;
        counts.noValues = 1;
        counts.notNumbers = 3;
        counts.filteredOut = 40;
        QCOMPARE(importReport(counts),
            u"12.001 Einträge übernommen, 3 übersprungen\n"
            "Davon ersetzt: 1 (gleicher Name).\n"
            "Übersprungen: 2 ohne Namen, 1 ohne Zahlenwerte.\n"
            "Als \"?\" übernommen: 3 keine Zahl.\n"
            "Vom Filter ausgelassen: 40 Zeilen."_s);
    }

    // A new table is its folder and its file, sorted as every save sorts;
    // a name taken or a file that cannot be written leaves the folder as it
    // was.
    void createsTable()
    {
        QString error;
        QVERIFY(createImportedTable(m_data->path(), u"Import"_s, { u"Obst"_s, u"Fett|in g"_s },
            { u"kiwi\t1,00"_s, u"Äpfel\t2,00"_s, u"Apfel\t3,00"_s, u"KIWI\t1,00"_s,
                u"../../Obst\t4,00"_s },
            &error));
        QCOMPARE(readBytes(path(u"Import.txt"_s)),
            kBom
                + u"Obst\tFett|in g\r\n../../Obst\t4,00\r\nÄpfel\t2,00\r\nApfel\t3,00\r\n"
                  "kiwi\t1,00\r\nKIWI\t1,00\r\n"_s.toUtf8());
        // A name is kept as it is; its files stay in the entry folder.
        TableSession session(m_data->path());
        QCOMPARE(session.load(u"Import"_s), TableSession::LoadResult::Loaded);
        QVERIFY(session.infoFilePath(session.entryName(0)).startsWith(path(u"Import/"_s)));
        QVERIFY(QFileInfo(path(u"Import"_s)).isDir());

        QVERIFY(
            !createImportedTable(m_data->path(), u"import"_s, { u"Obst"_s }, { u"x"_s }, &error));
        QVERIFY2(error.startsWith(u"Es gibt schon die Tabelle \"Import\"."_s), qPrintable(error));
    }

    void failedWriteLeavesTheFolder()
    {
        m_data->addTable(u"Obst"_s, kBom + "Obst\tFett\r\nApfel\t0,20\r\n");
        m_data->addFolder(u"Neu"_s); // an entry folder without its table stays
        const QStringList before = m_data->snapshot();
        TableSession session(m_data->path());
        QCOMPARE(session.load(u"Obst"_s), TableSession::LoadResult::Loaded);
        const TableRows rows = session.rows();
        TestSupport::Blocked blocked(m_data->path(), TestSupport::Blocked::Writing);
        if (!blocked.isActive())
            QSKIP(blocked.skipReason());
        QString error;
        QVERIFY(!createImportedTable(m_data->path(), u"Neu"_s, { u"Obst"_s }, { u"x"_s }, &error));
        QVERIFY(
            !createImportedTable(m_data->path(), u"Neuer"_s, { u"Obst"_s }, { u"x"_s }, &error));
        QVERIFY(!importRows(session, { u"Kiwi\t1,00"_s }, { { 0, u"Apfel\t9,00"_s } }, &error));
        QVERIFY(error.contains(u"Obst.txt"_s));
        QCOMPARE(session.rows(), rows);
        QCOMPARE(m_data->snapshot(), before);
    }

    void addsToTheOpenTable()
    {
        const QByteArray table = kBom + "Obst\tFett\r\nApfel\t0,20\r\nBirne\t0,10\r\n";
        m_data->addTable(u"Obst"_s, table);
        TableSession session(m_data->path());
        QCOMPARE(session.load(u"Obst"_s), TableSession::LoadResult::Loaded);
        QVERIFY(importRows(
            session, { u"Zitrone\t0,30"_s, u"Banane\t0,40"_s }, { { 1, u"Birne\t0,50"_s } }));
        QCOMPARE(readBytes(path(u"Obst.txt"_s)),
            kBom + "Obst\tFett\r\nApfel\t0,20\r\nBanane\t0,40\r\nBirne\t0,50\r\nZitrone\t0,30\r\n");
    }

private:
    QString path(const QString &relative) const { return m_data->path() + relative; }

    std::unique_ptr<TestSupport::DataFolder> m_data;
};

QTEST_MAIN(TestTableImport)
#include "tst_tableimport.moc"
