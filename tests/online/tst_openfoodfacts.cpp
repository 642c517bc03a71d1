// SPDX-License-Identifier: GPL-3.0-or-later
#include "online/OpenFoodFacts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <QUrlQuery>

using namespace Zestrola::OpenFoodFacts;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Zestrola::OpenFoodFacts::Lookup::Kind)
Q_DECLARE_METATYPE(Zestrola::OpenFoodFacts::Request)

namespace {

const QStringList kFoodHeader = { u"Lebensmittel 100g"_s, u"Brennwert|in kJ"_s, u"|in kcal"_s,
    u"Energie-|dichte"_s, u"Fett"_s, u"gesättigte|Fettsäuren"_s, u"Kohlen-|hydrate"_s,
    u"davon|Zucker"_s, u"Eiweiß"_s, u"Salz"_s };
const QStringList kDrinkHeader
    = kFoodHeader + QStringList { u"Alkohol|vol.-%"_s, u"Alkohol|in g"_s };

// A product answer as the product API (v2) gives it.
QByteArray productAnswer(const QJsonObject &product)
{
    return QJsonDocument(QJsonObject { { "code", product.value("code") }, { "status", 1 },
                             { "status_verbose", "product found" }, { "product", product } })
        .toJson();
}

Product productWith(const QByteArray &nutrimentsJson)
{
    const QJsonObject nutriments = QJsonDocument::fromJson(nutrimentsJson).object();
    const ProductAnswer answer = parseProductAnswer(productAnswer(
        { { "code", "4001234567891" }, { "product_name", "Test" }, { "nutriments", nutriments } }));
    return answer.product;
}

QStringList startCells(int count)
{
    QStringList cells(count, u"0,00"_s);
    cells[0] = u"Produktname"_s;
    return cells;
}

} // namespace

// The rules that turn what the user typed and what Open Food Facts answered
// into a request and an entry, without a network.
class TestOpenFoodFacts : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void classifyLookup_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<Lookup::Kind>("kind");
        QTest::addColumn<QString>("textOrMessage");
        QTest::newRow("EAN-13") << u" 4006381333931 "_s << Lookup::Barcode << u"4006381333931"_s;
        QTest::newRow("EAN-8") << u"96385074"_s << Lookup::Barcode << u"96385074"_s;
        QTest::newRow("UPC-A") << u"036000291452"_s << Lookup::Barcode << u"036000291452"_s;
        QTest::newRow("check digit wrong")
            << u"4006381333932"_s << Lookup::Refused
            << u"Die Prüfziffer des Strichcodes \"4006381333932\" stimmt nicht. Bitte prüfen Sie "
               "die Eingabe."_s;
        QTest::newRow("digits, wrong length")
            << u"400638133393"_s.left(10) << Lookup::Refused
            << u"Ein Strichcode (EAN) hat 8, 12 oder 13 Ziffern, \"4006381333\" hat 10. Bitte "
               "prüfen Sie die Eingabe."_s;
        QTest::newRow("blank") << u"  "_s << Lookup::Refused
                               << u"Bitte geben Sie einen Strichcode (EAN) oder den Namen eines "
                                  "Produkts ein."_s;
        QTest::newRow("name") << u"Haferdrink Barista "_s << Lookup::Words
                              << u"Haferdrink Barista"_s;
        QTest::newRow("name with digits") << u"7up"_s << Lookup::Words << u"7up"_s;
    }

    void classifyLookup()
    {
        QFETCH(QString, typed);
        QFETCH(Lookup::Kind, kind);
        QFETCH(QString, textOrMessage);
        const Lookup lookup = Zestrola::OpenFoodFacts::classifyLookup(typed);
        QCOMPARE(lookup.kind, kind);
        QCOMPARE(kind == Lookup::Refused ? lookup.message : lookup.text, textOrMessage);
    }

    void addresses()
    {
        QCOMPARE(serverFromSetting({}), QUrl(kDefaultServer));
        QCOMPARE(
            serverFromSetting(u" https://127.0.0.1:8443/ "_s), QUrl(u"https://127.0.0.1:8443"_s));
        for (const QString &bad :
            { u"127.0.0.1:8080"_s, u"ftp://x.org"_s, u"https://x.org/?a=1"_s, u"http:///pfad"_s })
            QVERIFY2(!serverFromSetting(bad).isValid(), qPrintable(bad));

        const QUrl server = serverFromSetting(u"http://127.0.0.1:8080/off/"_s);
        QCOMPARE(productUrl(server, u"4001234567891"_s).toString(),
            u"http://127.0.0.1:8080/off/api/v2/product/4001234567891?fields=code,product_name,"
            "product_name_de,brands,quantity,nutriscore_grade,nova_group,ingredients_text,"
            "ingredients_text_de,allergens_tags,image_front_url,nutriments"_s);
        QCOMPARE(productPageAddress(server, u"4001234567891"_s),
            u"http://127.0.0.1:8080/off/product/4001234567891"_s);
        // Whatever the words hold arrives as the words.
        const QString words = u"Milch 1,5% & Honig+Zimt=süß #1"_s;
        const QUrl search = searchUrl(server, words);
        QCOMPARE(search.path(), u"/off/cgi/search.pl"_s);
        const QUrlQuery query(QUrl::fromEncoded(search.toEncoded()));
        QCOMPARE(query.queryItemValue(u"search_terms"_s, QUrl::FullyDecoded), words);
        QCOMPARE(query.queryItemValue(u"json"_s), u"1"_s);
        QCOMPARE(query.queryItemValue(u"fields"_s),
            u"code,product_name,product_name_de,brands,quantity,nutriscore_grade"_s);
    }

    void parseAnswers_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        const QString notJson = u"Die Antwort von Open Food Facts ist kein gültiges JSON."_s;
        const QString shape = u"Die Antwort von Open Food Facts hat nicht die erwartete Form."_s;
        QTest::newRow("found") << productAnswer({ { "code", "1" } }) << int(ProductAnswer::Found)
                               << QString();
        QTest::newRow("not found") << QByteArray(
            R"({"code":"4001234567891","status":0,"status_verbose":"product not found"})")
                                   << int(ProductAnswer::NotFound) << kNotFound;
        QTest::newRow("html") << QByteArray("<html>Wartung</html>")
                              << int(ProductAnswer::Unreadable) << notJson;
        QTest::newRow("cut off") << productAnswer({ { "code", "1" } }).chopped(5)
                                 << int(ProductAnswer::Unreadable) << notJson;
        QTest::newRow("broken in a member not used")
            << QByteArray(R"({"status":1,"product":{"code":"1","images":{"1":[1,2}}})")
            << int(ProductAnswer::Unreadable) << notJson;
        QTest::newRow("text after the object") << productAnswer({ { "code", "1" } }) + "x"
                                               << int(ProductAnswer::Unreadable) << notJson;
        QTest::newRow("array") << QByteArray("[]") << int(ProductAnswer::Unreadable) << shape;
        QTest::newRow("no product")
            << QByteArray(R"({"status":1})") << int(ProductAnswer::Unreadable) << shape;
        QTest::newRow("status as text") << QByteArray(R"({"status":"1","product":{}})")
                                        << int(ProductAnswer::Unreadable) << shape;
    }

    void parseAnswers()
    {
        QFETCH(QByteArray, body);
        QFETCH(int, status);
        QFETCH(QString, message);
        const ProductAnswer answer = parseProductAnswer(body);
        QCOMPARE(int(answer.status), status);
        QCOMPARE(answer.message, message);
    }

    // Members that are not used are skipped unparsed, whatever they hold.
    void unusedMembersAreSkipped()
    {
        // Written without a raw string, which moc misreads.
        const ProductAnswer answer = parseProductAnswer(
            " {\"skip\":{\"a\":\"\\\"}{[\",\"b\":[{\"c\":\"\\\\\"},-1.5e3,true,null,[]],"
            "\"d\":{}},\"status\" : 1,\"product\":{\"images\":{\"1\":{\"sizes\":[]}},"
            "\"product_name\":\"Tee \\\"grün\\\" \\u00e4\",\"brands\":\"Nuxo\","
            "\"nutriments\":{\"fat_100g\":1.5}},\"code\":\"4001234567891\"} ");
        QCOMPARE(answer.status, ProductAnswer::Found);
        QCOMPARE(answer.product.name, u"Tee \"grün\" ä"_s);
        QCOMPARE(answer.product.code, u"4001234567891"_s);
        QCOMPARE(answer.product.nutriments.value("fat_100g").toDouble(), 1.5);
        QVERIFY(!answer.product.nutriments.contains("images"));

        // An answer cut off anywhere is no product.
        const QByteArray whole
            = productAnswer({ { "code", "1" }, { "product_name", "Tee \\ \"x\"" },
                { "nutriments", QJsonObject { { "fat_100g", 1.5 } } } });
        for (qsizetype size = 0; size < whole.trimmed().size(); ++size)
            QCOMPARE(parseProductAnswer(whole.first(size)).status, ProductAnswer::Unreadable);

        // Skipping reads an escaped key and a key given twice as the whole
        // parse does: the escape decoded, the last one kept.
        const ProductAnswer escaped
            = parseProductAnswer("{\"st\\u0061tus\":1,\"product\":{\"c\\u006fde\":\"7\"}}");
        QCOMPARE(escaped.status, ProductAnswer::Found);
        QCOMPARE(escaped.product.code, u"7"_s);
        const ProductAnswer twice = parseProductAnswer(
            "{\"status\":1,\"product\":{\"code\":\"1\"},\"product\":{\"code\":\"2\"}}");
        QCOMPARE(twice.product.code, u"2"_s);
    }

    void searchHits()
    {
        const SearchAnswer answer = parseSearchAnswer(R"({"count":3,"page":1,"page_size":20,
            "products":[
              {"code":"4001234567891","product_name":"Haferdrink","product_name_de":"Haferdrink Barista",
               "brands":"Oatly, Oatly AB","quantity":"1 l","nutriscore_grade":"b"},
              {"code":"../../admin","product_name":"Falle"},
              {"code":"4005550001114","product_name":"","nutriscore_grade":"not-applicable"}]})");
        QVERIFY(answer.readable);
        QCOMPARE(answer.hits.size(), 2);
        QCOMPARE(answer.hits[0].code, u"4001234567891"_s);
        QCOMPARE(answer.hits[0].text, u"Haferdrink Barista – Oatly – 1 l – Nutri-Score B"_s);
        QCOMPARE(answer.hits[1].text, u"(ohne Namen)"_s);
        QVERIFY(!parseSearchAnswer(R"({"products":{}})").readable);
    }

    void fillValues_data()
    {
        QTest::addColumn<QStringList>("header");
        QTest::addColumn<QByteArray>("nutriments");
        QTest::addColumn<QStringList>("values"); // cells after the name
        QTest::addColumn<QString>("message");

        QTest::newRow("food, every value")
            << kFoodHeader
            << QByteArray(R"({"energy-kj_100g":2252,"energy-kcal_100g":539,"fat_100g":30.9,
                "saturated-fat_100g":10.6,"carbohydrates_100g":57.5,"sugars_100g":56.3,
                "proteins_100g":6.3,"salt_100g":0.107,"fat_serving":4.6})")
            << QStringList { "2252,00", "539,00", "5,39", "30,90", "10,60", "57,50", "56,30",
                   "6,30", "0,11" }
            << QString();
        QTest::newRow("drink with alcohol")
            << kDrinkHeader
            << QByteArray(R"({"energy-kj_100g":180,"energy-kcal_100g":43,"fat_100g":0,
                "saturated-fat_100g":0,"carbohydrates_100g":3.1,"sugars_100g":0.2,
                "proteins_100g":0.5,"salt_100g":0.01,"alcohol_100g":4.9})")
            << QStringList { "180,00", "43,00", "0,43", "0,00", "0,00", "3,10", "0,20", "0,50",
                   "0,01", "4,90", "3,92" }
            << QString();
        QTest::newRow("kcal only, sodium only")
            << kFoodHeader << QByteArray(R"({"energy-kcal_100g":100,"sodium_100g":"0.4"})")
            << QStringList { "418,00", "100,00", "1,00", "?", "?", "?", "?", "?", "1,00" }
            << QString();
        QTest::newRow("kJ only; no alcohol column in a food table")
            << kFoodHeader + QStringList { u"Alkohol"_s, u"Ballaststoffe"_s, QString() }
            << QByteArray(R"({"energy-kj_100g":1000,"alcohol_100g":5})")
            << QStringList { "1000,00", "239,00", "2,39", "?", "?", "?", "?", "?", "?", "?", "?",
                   "0,00" }
            << QString();
        QTest::newRow("per serving only")
            << kFoodHeader << QByteArray(R"({"energy-kcal_serving":120,"fat_serving":3})")
            << QStringList { "?", "?", "?", "?", "?", "?", "?", "?", "?" } << kPerServingOnly;
        QTest::newRow("no values")
            << kFoodHeader.mid(0, 5) << QByteArray("{}") << QStringList { "?", "?", "?", "?" }
            << u"Für dieses Produkt sind bei Open Food Facts keine Nährwerte eingetragen."_s;
        QTest::newRow("unusable values")
            << kDrinkHeader
            << QByteArray(R"({"energy-kj_100g":5000,"energy-kcal_100g":200,"fat_100g":"viel",
                "saturated-fat_100g":{"wert":1},"carbohydrates_100g":"12,5","sugars_100g":-1,
                "proteins_100g":100,"salt_100g":120,"alcohol_100g":101})")
            << QStringList { "?", "200,00", "2,00", "?", "?", "12,50", "?", "100,00", "?", "?",
                   "?" }
            << u"Diese Werte von Open Food Facts sind nicht brauchbar und stehen als \"?\" in der "
               "Zeile: Brennwert in kJ (mehr als 4.000 kJ), Fett (keine Zahl), gesättigte "
               "Fettsäuren (keine Zahl), Zucker (negativ), Salz (mehr als 100 g), Alkohol (mehr "
               "als 100 vol.-%)."_s;
        QTest::newRow("energy from an absurd kcal")
            << kFoodHeader.mid(0, 4) << QByteArray(R"({"energy-kcal_100g":1000})")
            << QStringList { "?", "?", "?" }
            << u"Diese Werte von Open Food Facts sind nicht brauchbar und stehen als \"?\" in der "
               "Zeile: Brennwert in kJ (mehr als 4.000 kJ), Brennwert in kcal (mehr als 956 "
               "kcal)."_s;
    }

    void fillValues()
    {
        QFETCH(QStringList, header);
        QFETCH(QByteArray, nutriments);
        QFETCH(QStringList, values);
        QFETCH(QString, message);
        const FilledEntry filled
            = fillEntry(productWith(nutriments), header, startCells(header.size()), u"x"_s);
        QCOMPARE(filled.cells, QStringList { u"Test"_s } + values);
        QCOMPARE(filled.messages, message.isEmpty() ? QStringList() : QStringList { message });
    }

    void nameAndDescription()
    {
        const QByteArray json = productAnswer({ { "code", "4001234567891" },
            { "product_name", "Chocolate spread" }, { "product_name_de", "Nuss-Nougat-\nCreme" },
            { "brands", "Nuxo,Nuxo AG" }, { "quantity", "400 g" }, { "nutriscore_grade", "e" },
            { "nova_group", 4 }, { "ingredients_text", "sugar" },
            { "ingredients_text_de", "Zucker, Palmöl, Haselnüsse" },
            { "allergens_tags", QJsonArray { "en:milk", "en:nuts", "de:senf-saat" } },
            { "image_front_url", "https://images.example/front_de.jpg" } });
        const Product product = parseProductAnswer(json).product;
        QCOMPARE(product.photo, QUrl(u"https://images.example/front_de.jpg"_s));
        const FilledEntry filled
            = fillEntry(product, kFoodHeader, startCells(10), u"https://o.example/product/1"_s);
        QCOMPARE(filled.name, u"Nuss-Nougat- Creme, Nuxo"_s);
        QCOMPARE(filled.description,
            u"Marke: Nuxo\nMenge: 400 g\nStrichcode (EAN): 4001234567891\nNutri-Score: E\n"
            "NOVA-Gruppe: 4\nZutaten: Zucker, Palmöl, Haselnüsse\nAllergene: Milch, "
            "Schalenfrüchte, senf saat\nQuelle: Open Food Facts, https://o.example/product/1 "
            "(Daten unter der Open Database License ODbL, Foto unter der Lizenz CC BY-SA)"_s);
    }

    void names_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("brands");
        QTest::addColumn<QString>("cell");
        QTest::newRow("brand in the name") << u"Nuxo Creme"_s << u"NUXO"_s << u"Nuxo Creme"_s;
        QTest::newRow("brand only") << QString() << u"Nuxo"_s << u"Nuxo"_s;
        QTest::newRow("nothing") << QString() << QString() << u"Produktname"_s;
        QTest::newRow("too long for a cell")
            << u"Bio Vollmilch-Schokolade mit ganzen Haselnüssen"_s << u"Nuxo"_s
            << u"Bio Vollmilch-Schokolade mit ganze"_s;
        QTest::newRow("cut at the comma") << u"Bio Vollmilch-Schokolade mit 30 %"_s << u"Nuxo"_s
                                          << u"Bio Vollmilch-Schokolade mit 30 %"_s;
        QTest::newRow("no TAB in a cell") << u"Tee\tgrün"_s << QString() << u"Tee grün"_s;
    }

    void names()
    {
        QFETCH(QString, name);
        QFETCH(QString, brands);
        QFETCH(QString, cell);
        const Product product = parseProductAnswer(
            productAnswer({ { "code", "1" }, { "product_name", name }, { "brands", brands } }))
                                    .product;
        QCOMPARE(fillEntry(product, kFoodHeader, startCells(10), {}).name, cell);
    }

    void failureMessages_data()
    {
        QTest::addColumn<Request>("request");
        QTest::addColumn<QNetworkReply::NetworkError>("error");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        const QString photo = u"Das Foto des Produkts wird nicht übernommen, die übrigen Angaben "
                              "bleiben erhalten. "_s;
        QTest::newRow("success") << Request::Product << QNetworkReply::NoError << 200 << QString();
        QTest::newRow("DNS")
            << Request::Search << QNetworkReply::HostNotFoundError << 0
            << u"Der Server \"h.example\" wurde nicht gefunden. Bitte prüfen Sie die "
               "Internetverbindung und die Einstellung OpenFoodFactsAdresse."_s;
        QTest::newRow("no connection")
            << Request::Product << QNetworkReply::ConnectionRefusedError << 0
            << u"Keine Verbindung zum Server \"h.example\". Bitte prüfen Sie die "
               "Internetverbindung."_s;
        QTest::newRow("photo, connection closed")
            << Request::Photo << QNetworkReply::RemoteHostClosedError << 0
            << photo
                + u"Keine Verbindung zum Server \"h.example\". Bitte prüfen Sie die "
                  "Internetverbindung."_s;
        QTest::newRow("product 404")
            << Request::Product << QNetworkReply::ContentNotFoundError << 404 << kNotFound;
        QTest::newRow("photo 404")
            << Request::Photo << QNetworkReply::ContentNotFoundError << 404
            << photo + u"Open Food Facts hat die Anfrage mit dem Fehler 404 beantwortet."_s;
        QTest::newRow("429") << Request::Product << QNetworkReply::UnknownContentError << 429
                             << u"Open Food Facts hat gerade zu viele Anfragen erhalten (Fehler "
                                "429). Bitte warten Sie eine Minute und versuchen Sie es dann "
                                "noch einmal."_s;
        QTest::newRow("503") << Request::Search << QNetworkReply::ServiceUnavailableError << 503
                             << u"Open Food Facts ist gerade überlastet (Fehler 503). Bitte "
                                "versuchen Sie es in einigen Minuten noch einmal."_s;
        QTest::newRow("redirect loop")
            << Request::Product << QNetworkReply::TooManyRedirectsError << 302
            << u"Der Server \"h.example\" leitet die Anfrage immer wieder weiter "
               "(Umleitungsschleife)."_s;
        QTest::newRow("TLS") << Request::Product << QNetworkReply::SslHandshakeFailedError << 0
                             << u"Die sichere Verbindung zum Server \"h.example\" ist "
                                "fehlgeschlagen."_s;
    }

    void failureMessages()
    {
        QFETCH(Request, request);
        QFETCH(QNetworkReply::NetworkError, error);
        QFETCH(int, status);
        QFETCH(QString, message);
        QCOMPARE(failureMessage(request, error, status, u"h.example"_s), message);
    }
};

QTEST_GUILESS_MAIN(TestOpenFoodFacts)
#include "tst_openfoodfacts.moc"
