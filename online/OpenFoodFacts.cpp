// SPDX-License-Identifier: GPL-3.0-or-later
#include "online/OpenFoodFacts.h"

#include "model/EntryRules.h"
#include "model/TableFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>
#include <QUrlQuery>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <vector>

namespace Zestrola::OpenFoodFacts {

namespace {

// The members of a product that are asked for and read.
constexpr QByteArrayView kProductFields
    = "code,product_name,product_name_de,brands,quantity,nutriscore_grade,nova_group,"
      "ingredients_text,ingredients_text_de,allergens_tags,image_front_url,nutriments";
const QString kHitFields
    = QStringLiteral("code,product_name,product_name_de,brands,quantity,nutriscore_grade");
constexpr int kHitsShown = 20;

const QString kNotJson = QStringLiteral("Die Antwort von Open Food Facts ist kein gültiges JSON.");
const QString kWrongShape
    = QStringLiteral("Die Antwort von Open Food Facts hat nicht die erwartete Form.");

// A value cell filled from one figure of the product, per 100 g or 100 ml.
struct ValueSource
{
    int column;
    QStringView title; // as the message names it
    QLatin1StringView key;
    QLatin1StringView fallback; // used, times `factor`, when `key` is missing
    double factor;
    double most; // anything above is absurd
    QStringView unit; // of `most`
    bool whole; // energies are given in whole numbers, as on the label
};

const ValueSource kSources[] = {
    { 1, u"Brennwert in kJ", QLatin1StringView("energy-kj_100g"),
        QLatin1StringView("energy-kcal_100g"), kKilojoulesPerKilocalorie, kMostKilojoules, u"kJ",
        true },
    { kKcalColumn, u"Brennwert in kcal", QLatin1StringView("energy-kcal_100g"),
        QLatin1StringView("energy-kj_100g"), 1 / kKilojoulesPerKilocalorie, kMostKilocalories,
        u"kcal", true },
    { kFirstNutrientColumn, u"Fett", QLatin1StringView("fat_100g"), {}, 1, kMostGrams, u"g",
        false },
    { 5, u"gesättigte Fettsäuren", QLatin1StringView("saturated-fat_100g"), {}, 1, kMostGrams, u"g",
        false },
    { 6, u"Kohlenhydrate", QLatin1StringView("carbohydrates_100g"), {}, 1, kMostGrams, u"g",
        false },
    { 7, u"Zucker", QLatin1StringView("sugars_100g"), {}, 1, kMostGrams, u"g", false },
    { 8, u"Eiweiß", QLatin1StringView("proteins_100g"), {}, 1, kMostGrams, u"g", false },
    { 9, u"Salz", QLatin1StringView("salt_100g"), QLatin1StringView("sodium_100g"), kSaltPerSodium,
        kMostGrams, u"g", false },
    { kAlcoholPercentColumn, u"Alkohol", QLatin1StringView("alcohol_100g"), {}, 1, 100, u"vol.-%",
        false },
};

// The allergens of the EU labelling rules, as Open Food Facts tags them.
const std::pair<QLatin1StringView, QStringView> kAllergenNames[] = {
    { QLatin1StringView("en:celery"), u"Sellerie" },
    { QLatin1StringView("en:crustaceans"), u"Krebstiere" },
    { QLatin1StringView("en:eggs"), u"Eier" },
    { QLatin1StringView("en:fish"), u"Fisch" },
    { QLatin1StringView("en:gluten"), u"Gluten" },
    { QLatin1StringView("en:lupin"), u"Lupinen" },
    { QLatin1StringView("en:milk"), u"Milch" },
    { QLatin1StringView("en:molluscs"), u"Weichtiere" },
    { QLatin1StringView("en:mustard"), u"Senf" },
    { QLatin1StringView("en:nuts"), u"Schalenfrüchte" },
    { QLatin1StringView("en:peanuts"), u"Erdnüsse" },
    { QLatin1StringView("en:sesame-seeds"), u"Sesam" },
    { QLatin1StringView("en:soybeans"), u"Soja" },
    { QLatin1StringView("en:sulphur-dioxide-and-sulphites"), u"Schwefeldioxid und Sulfite" },
};

QString allergenName(const QString &tag)
{
    for (const auto &[known, name] : kAllergenNames) {
        if (tag == known)
            return name.toString();
    }
    // "de:senfsaat" reads "senfsaat".
    QString name = tag.section(u':', -1);
    name.replace(u'-', u' ');
    return name;
}

// A text field, its white space (line breaks included) made single blanks.
QString textOf(const QJsonObject &object, QLatin1StringView key)
{
    return object.value(key).toString().simplified();
}

QString firstOf(const QString &a, const QString &b)
{
    return a.isEmpty() ? b : a;
}

Product productFrom(const QJsonObject &object)
{
    Product product;
    product.code = textOf(object, QLatin1StringView("code"));
    product.name = firstOf(textOf(object, QLatin1StringView("product_name_de")),
        textOf(object, QLatin1StringView("product_name")));
    product.brand = textOf(object, QLatin1StringView("brands")).section(u',', 0, 0).trimmed();
    product.quantity = textOf(object, QLatin1StringView("quantity"));
    const QString grade = textOf(object, QLatin1StringView("nutriscore_grade")).toUpper();
    if (grade.size() == 1 && grade >= u"A" && grade <= u"E")
        product.nutriScore = grade;
    const int nova = object.value(QLatin1StringView("nova_group")).toInt();
    if (nova >= 1 && nova <= 4)
        product.novaGroup = QString::number(nova);
    product.ingredients = firstOf(textOf(object, QLatin1StringView("ingredients_text_de")),
        textOf(object, QLatin1StringView("ingredients_text")));
    for (const QJsonValue &tag : object.value(QLatin1StringView("allergens_tags")).toArray()) {
        if (const QString name = allergenName(tag.toString()); !name.isEmpty())
            product.allergens.append(name);
    }
    const QUrl photo(object.value(QLatin1StringView("image_front_url")).toString());
    if (photo.isValid() && (photo.scheme() == u"https" || photo.scheme() == u"http"))
        product.photo = photo;
    product.nutriments = object.value(QLatin1StringView("nutriments")).toObject();
    return product;
}

// Walks JSON text without building it. An answer that carries every field
// of a product (when a server ignores the field list: 300 KB of analysed
// ingredients and images) costs several milliseconds to parse whole; only a
// dozen members are used, and skipping the rest costs a fraction of that.
class JsonSkim
{
public:
    using Members = QList<std::pair<QByteArrayView, QByteArrayView>>; // key, raw value

    // The members of the one object `text` holds; nullopt when the text is
    // anything else or not well formed.
    static std::optional<Members> objectMembers(QByteArrayView text)
    {
        JsonSkim skim(text);
        Members members;
        skim.skipBlanks();
        if (!skim.object(0, &members))
            return std::nullopt;
        skim.skipBlanks();
        if (skim.m_at != skim.m_end || !plainUniqueKeys(members))
            return std::nullopt;
        return members;
    }

private:
    static constexpr int kDeepest = 256;

    // Keys are compared as they stand. An escaped key, or one that occurs
    // twice (the whole parse keeps the last), is left to the whole parse, so
    // that skimming never reads an answer differently.
    static bool plainUniqueKeys(const Members &members)
    {
        std::vector<QByteArrayView> keys;
        keys.reserve(members.size());
        for (const auto &member : members) {
            if (member.first.contains('\\'))
                return false;
            keys.push_back(member.first);
        }
        std::sort(keys.begin(), keys.end());
        return std::adjacent_find(keys.begin(), keys.end()) == keys.end();
    }

    explicit JsonSkim(QByteArrayView text)
        : m_at(text.data())
        , m_end(text.data() + text.size())
    { }

    void skipBlanks()
    {
        while (m_at < m_end && (*m_at == ' ' || *m_at == '\n' || *m_at == '\r' || *m_at == '\t'))
            ++m_at;
    }

    bool take(char c)
    {
        skipBlanks();
        if (m_at == m_end || *m_at != c)
            return false;
        ++m_at;
        return true;
    }

    bool string(QByteArrayView *content = nullptr)
    {
        if (!take('"'))
            return false;
        const char *start = m_at;
        while (m_at < m_end && *m_at != '"') {
            if (static_cast<unsigned char>(*m_at) < 0x20)
                return false;
            if (*m_at == '\\' && m_end - m_at < 2)
                return false;
            m_at += *m_at == '\\' ? 2 : 1;
        }
        if (m_at >= m_end)
            return false;
        if (content)
            *content = QByteArrayView(start, m_at - start);
        ++m_at;
        return true;
    }

    bool scalar()
    {
        const char *start = m_at;
        while (m_at < m_end
            && (std::isalnum(static_cast<unsigned char>(*m_at)) || *m_at == '-' || *m_at == '+'
                || *m_at == '.'))
            ++m_at;
        const QByteArrayView token(start, m_at - start);
        return token == "true" || token == "false" || token == "null"
            || (!token.isEmpty()
                && (std::isdigit(static_cast<unsigned char>(token[0])) || token[0] == '-'));
    }

    bool value(int depth)
    {
        skipBlanks();
        if (m_at == m_end || depth > kDeepest)
            return false;
        switch (*m_at) {
        case '{':
            return object(depth + 1, nullptr);
        case '[':
            return array(depth + 1);
        case '"':
            return string();
        default:
            return scalar();
        }
    }

    bool object(int depth, Members *members)
    {
        if (!take('{'))
            return false;
        if (take('}'))
            return true;
        do {
            QByteArrayView key;
            if (!string(&key) || !take(':'))
                return false;
            skipBlanks();
            const char *start = m_at;
            if (!value(depth))
                return false;
            if (members)
                members->append({ key, QByteArrayView(start, m_at - start) });
        } while (take(','));
        return take('}');
    }

    bool array(int depth)
    {
        if (!take('['))
            return false;
        if (take(']'))
            return true;
        do {
            if (!value(depth))
                return false;
        } while (take(','));
        return take(']');
    }

    const char *m_at;
    const char *m_end;
};

bool listed(QByteArrayView commaSeparated, QByteArrayView key)
{
    for (qsizetype start = 0; start <= commaSeparated.size();) {
        qsizetype end = commaSeparated.indexOf(',', start);
        if (end < 0)
            end = commaSeparated.size();
        if (commaSeparated.sliced(start, end - start) == key)
            return true;
        start = end + 1;
    }
    return false;
}

// The members named in `keys` (separated by commas) as an object, parsed;
// only they are.
std::optional<QJsonObject> skimmedObject(const JsonSkim::Members &members, QByteArrayView keys)
{
    QByteArray picked = "{";
    for (const auto &[key, value] : members) {
        if (listed(keys, key))
            picked += '"' + key.toByteArray() + "\":" + value.toByteArray() + ',';
    }
    if (picked.size() > 1)
        picked.chop(1);
    picked += '}';
    const QJsonDocument document = QJsonDocument::fromJson(picked);
    if (!document.isObject())
        return std::nullopt;
    return document.object();
}

QByteArrayView memberValue(const JsonSkim::Members &members, QByteArrayView key)
{
    for (const auto &[name, value] : members) {
        if (name == key)
            return value;
    }
    return {};
}

std::optional<QJsonObject> jsonObject(const QByteArray &body, QString *message)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError) {
        *message = kNotJson;
        return std::nullopt;
    }
    if (!document.isObject()) {
        *message = kWrongShape;
        return std::nullopt;
    }
    return document.object();
}

// One figure of the product: a number, or a text holding one (older
// answers give some figures as text).
struct Figure
{
    bool present = false;
    std::optional<double> value;
};

Figure figureOf(const QJsonObject &nutriments, QLatin1StringView key)
{
    const QJsonValue value = nutriments.value(key);
    if (value.isUndefined() || value.isNull())
        return {};
    if (value.isDouble())
        return { true, value.toDouble() };
    bool ok = false;
    const double number
        = QLocale::c().toDouble(value.toString().trimmed().replace(u',', u'.'), &ok);
    return { true, ok && std::isfinite(number) ? std::optional(number) : std::nullopt };
}

// Two decimals, as the table's cells have them; energies are rounded to
// whole numbers first, as the label gives them.
QString cellText(double value, bool whole)
{
    const double rounded = whole ? std::round(value) : std::round(value * 100) / 100;
    return QString::number(rounded, 'f', 2).replace(u'.', u',');
}

// The cell of one source, or "?" with the reason in *problem.
QString valueCell(const ValueSource &source, const QJsonObject &nutriments, QString *problem)
{
    Figure figure = figureOf(nutriments, source.key);
    double factor = 1;
    if (!figure.present && !source.fallback.isEmpty()) {
        figure = figureOf(nutriments, source.fallback);
        factor = source.factor;
    }
    if (!figure.present)
        return QStringLiteral("?");
    if (!figure.value)
        *problem = QStringLiteral("keine Zahl");
    else if (*figure.value < 0)
        *problem = QStringLiteral("negativ");
    else if (*figure.value * factor > source.most)
        *problem = QStringLiteral("mehr als %1 %2")
                       .arg(QLocale(QLocale::German).toString(std::floor(source.most), 'f', 0),
                           source.unit);
    else
        return cellText(*figure.value * factor, source.whole);
    return QStringLiteral("?");
}

bool hasAnyPer100(const QJsonObject &nutriments)
{
    for (const ValueSource &source : kSources) {
        if (figureOf(nutriments, source.key).present
            || (!source.fallback.isEmpty() && figureOf(nutriments, source.fallback).present))
            return true;
    }
    return false;
}

bool hasAnyPerServing(const QJsonObject &nutriments)
{
    for (auto it = nutriments.begin(); it != nutriments.end(); ++it) {
        if (it.key().endsWith(u"_serving"))
            return true;
    }
    return false;
}

// A name fit for a value cell and a file: one line, no longer than a cell
// may be.
QString cellName(const Product &product)
{
    QString name = product.name;
    if (!product.brand.isEmpty() && !name.contains(product.brand, Qt::CaseInsensitive))
        name = name.isEmpty() ? product.brand : name + QStringLiteral(", ") + product.brand;
    if (name.size() > kLongestCell)
        name = name.first(kLongestCell).trimmed();
    while (name.endsWith(u','))
        name.chop(1);
    return name.isEmpty() ? kProductNamePlaceholder : name;
}

QString descriptionOf(const Product &product, const QString &pageAddress)
{
    QStringList lines;
    auto add = [&lines](const QString &label, const QString &value) {
        if (!value.isEmpty())
            lines.append(label + QStringLiteral(": ") + value);
    };
    add(QStringLiteral("Marke"), product.brand);
    add(QStringLiteral("Menge"), product.quantity);
    add(QStringLiteral("Strichcode (EAN)"), product.code);
    add(QStringLiteral("Nutri-Score"), product.nutriScore);
    add(QStringLiteral("NOVA-Gruppe"), product.novaGroup);
    add(QStringLiteral("Zutaten"), product.ingredients);
    add(QStringLiteral("Allergene"), product.allergens.join(QStringLiteral(", ")));
    lines.append(QStringLiteral("Quelle: Open Food Facts, ") + pageAddress
        + QStringLiteral(" (Daten unter der Open Database License ODbL, Foto unter der Lizenz "
                         "CC BY-SA)"));
    return lines.join(u'\n');
}

QString hitText(const Product &product)
{
    QStringList parts { product.name.isEmpty() ? QStringLiteral("(ohne Namen)") : product.name };
    for (const QString &part : { product.brand, product.quantity })
        if (!part.isEmpty())
            parts.append(part);
    if (!product.nutriScore.isEmpty())
        parts.append(QStringLiteral("Nutri-Score ") + product.nutriScore);
    return parts.join(QStringLiteral(" – "));
}

} // namespace

bool isProductCode(QStringView code)
{
    return !code.isEmpty() && code.size() <= 24
        && std::all_of(code.begin(), code.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

bool hasValidCheckDigit(QStringView digits)
{
    int sum = 0;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        const int digit = digits[digits.size() - 1 - i].unicode() - u'0';
        sum += i % 2 == 0 ? digit : 3 * digit;
    }
    return sum % 10 == 0;
}

Lookup classifyLookup(const QString &typed)
{
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return { Lookup::Refused, text,
            QStringLiteral(
                "Bitte geben Sie einen Strichcode (EAN) oder den Namen eines Produkts ein.") };
    if (!isProductCode(text))
        return { Lookup::Words, text, {} };
    if (text.size() != 8 && text.size() != 12 && text.size() != 13)
        return { Lookup::Refused, text,
            QStringLiteral("Ein Strichcode (EAN) hat 8, 12 oder 13 Ziffern, \"%1\" hat %2. Bitte "
                           "prüfen Sie die Eingabe.")
                .arg(text)
                .arg(text.size()) };
    if (!hasValidCheckDigit(text))
        return { Lookup::Refused, text,
            QStringLiteral("Die Prüfziffer des Strichcodes \"%1\" stimmt nicht. Bitte prüfen Sie "
                           "die Eingabe.")
                .arg(text) };
    return { Lookup::Barcode, text, {} };
}

QUrl serverFromSetting(const QString &value)
{
    QString address = value.trimmed();
    if (address.isEmpty())
        address = kDefaultServer;
    while (address.endsWith(u'/'))
        address.chop(1);
    QUrl server(address, QUrl::StrictMode);
    const bool web = server.scheme() == u"https" || server.scheme() == u"http";
    if (!server.isValid() || !web || server.host().isEmpty() || server.hasQuery()
        || server.hasFragment())
        return {};
    return server;
}

QString invalidServerMessage(const QString &value)
{
    return QStringLiteral("Die Adresse \"%1\" in der Einstellung %2 ist keine gültige Adresse "
                          "eines Servers (http:// oder https://).")
        .arg(value, kServerSetting);
}

namespace {

QUrl withPath(const QUrl &server, const QString &path)
{
    QUrl url = server;
    url.setPath(server.path() + path);
    return url;
}

} // namespace

QUrl productUrl(const QUrl &server, const QString &code)
{
    QUrl url = withPath(server, QStringLiteral("/api/v2/product/") + code);
    url.setQuery(QUrlQuery { { QStringLiteral("fields"), QString::fromLatin1(kProductFields) } });
    return url;
}

QUrl searchUrl(const QUrl &server, const QString &words)
{
    QUrl url = withPath(server, QStringLiteral("/cgi/search.pl"));
    QUrlQuery query;
    query.addQueryItem(
        QStringLiteral("search_terms"), QString::fromUtf8(QUrl::toPercentEncoding(words)));
    query.addQueryItem(QStringLiteral("search_simple"), QStringLiteral("1"));
    query.addQueryItem(QStringLiteral("action"), QStringLiteral("process"));
    query.addQueryItem(QStringLiteral("json"), QStringLiteral("1"));
    query.addQueryItem(QStringLiteral("page_size"), QString::number(kHitsShown));
    query.addQueryItem(QStringLiteral("fields"), kHitFields);
    url.setQuery(query);
    return url;
}

QString productPageAddress(const QUrl &server, const QString &code)
{
    return withPath(server, QStringLiteral("/product/") + code).toString();
}

namespace {

ProductAnswer answerFrom(const QJsonObject &object, const QJsonValue &product)
{
    ProductAnswer answer;
    const QJsonValue status = object.value(QLatin1StringView("status"));
    if (status.isDouble() && status.toInt() == 0) {
        answer.status = ProductAnswer::NotFound;
        answer.message = kNotFound;
    } else if (status.isDouble() && status.toInt() == 1 && product.isObject()) {
        answer.status = ProductAnswer::Found;
        answer.product = productFrom(product.toObject());
        if (answer.product.code.isEmpty())
            answer.product.code = textOf(object, QLatin1StringView("code"));
    } else {
        answer.message = kWrongShape;
    }
    return answer;
}

// Only the members used are parsed; see JsonSkim.
std::optional<ProductAnswer> skimmedProductAnswer(const QByteArray &body)
{
    const std::optional<JsonSkim::Members> members = JsonSkim::objectMembers(body);
    if (!members)
        return std::nullopt;
    const std::optional<QJsonObject> head = skimmedObject(*members, "status,code");
    const QByteArrayView productText = memberValue(*members, "product");
    if (!head || !productText.startsWith('{'))
        return std::nullopt;
    const std::optional<JsonSkim::Members> productMembers = JsonSkim::objectMembers(productText);
    const std::optional<QJsonObject> product
        = productMembers ? skimmedObject(*productMembers, kProductFields) : std::nullopt;
    if (!product)
        return std::nullopt;
    return answerFrom(*head, *product);
}

} // namespace

ProductAnswer parseProductAnswer(const QByteArray &body)
{
    if (std::optional<ProductAnswer> skimmed = skimmedProductAnswer(body))
        return *std::move(skimmed);
    // Whatever the skim does not take is parsed whole, which names the fault.
    QString message;
    const std::optional<QJsonObject> object = jsonObject(body, &message);
    if (!object) {
        ProductAnswer answer;
        answer.message = message;
        return answer;
    }
    return answerFrom(*object, object->value(QLatin1StringView("product")));
}

SearchAnswer parseSearchAnswer(const QByteArray &body)
{
    SearchAnswer answer;
    const std::optional<QJsonObject> object = jsonObject(body, &answer.message);
    if (!object)
        return answer;
    const QJsonValue products = object->value(QLatin1StringView("products"));
    if (!products.isArray()) {
        answer.message = kWrongShape;
        return answer;
    }
    answer.readable = true;
    for (const QJsonValue &value : products.toArray()) {
        const Product product = productFrom(value.toObject());
        if (isProductCode(product.code))
            answer.hits.append({ product.code, hitText(product) });
    }
    return answer;
}

FilledEntry fillEntry(const Product &product, const QStringList &headerCells,
    const QStringList &cells, const QString &pageAddress)
{
    FilledEntry filled;
    filled.name = cellName(product);
    filled.description = descriptionOf(product, pageAddress);
    filled.cells = cells;
    for (int column = 1; column < filled.cells.size(); ++column) {
        if (!trimBlanks(headerCells.value(column)).isEmpty())
            filled.cells[column] = QStringLiteral("?");
    }
    if (!filled.cells.isEmpty())
        filled.cells[kNameColumn] = filled.name;

    const bool drinks = headerHolds(headerCells, kAlcoholPercentColumn, u"vol.-%");
    QStringList problems;
    for (const ValueSource &source : kSources) {
        if (source.column >= filled.cells.size()
            || (source.column == kAlcoholPercentColumn && !drinks))
            continue;
        QString problem;
        filled.cells[source.column] = valueCell(source, product.nutriments, &problem);
        if (!problem.isEmpty())
            problems.append(source.title.toString() + QStringLiteral(" (") + problem + u')');
    }
    filled.cells = withComputedCells(filled.cells, headerCells);

    if (!hasAnyPer100(product.nutriments))
        filled.messages.append(hasAnyPerServing(product.nutriments)
                ? kPerServingOnly
                : QStringLiteral("Für dieses Produkt sind bei Open Food Facts keine Nährwerte "
                                 "eingetragen."));
    if (!problems.isEmpty())
        filled.messages.append(QStringLiteral("Diese Werte von Open Food Facts sind nicht "
                                              "brauchbar und stehen als \"?\" in der Zeile: ")
            + problems.join(QStringLiteral(", ")) + u'.');
    return filled;
}

QString failureMessage(
    Request request, QNetworkReply::NetworkError error, int httpStatus, const QString &host)
{
    QString cause;
    if (httpStatus == 404 && request == Request::Product)
        return kNotFound;
    switch (error) {
    case QNetworkReply::NoError:
        break;
    case QNetworkReply::HostNotFoundError:
        cause = QStringLiteral("Der Server \"%1\" wurde nicht gefunden. Bitte prüfen Sie die "
                               "Internetverbindung und die Einstellung %2.")
                    .arg(host, kServerSetting);
        break;
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
        cause = QStringLiteral("Keine Verbindung zum Server \"%1\". Bitte prüfen Sie die "
                               "Internetverbindung.")
                    .arg(host);
        break;
    case QNetworkReply::SslHandshakeFailedError:
        cause = QStringLiteral("Die sichere Verbindung zum Server \"%1\" ist fehlgeschlagen.")
                    .arg(host);
        break;
    case QNetworkReply::TooManyRedirectsError:
        cause = QStringLiteral("Der Server \"%1\" leitet die Anfrage immer wieder weiter "
                               "(Umleitungsschleife).")
                    .arg(host);
        break;
    case QNetworkReply::InsecureRedirectError:
        cause = QStringLiteral("Der Server \"%1\" leitet auf eine unverschlüsselte Adresse um; "
                               "die Anfrage wurde nicht weitergeführt.")
                    .arg(host);
        break;
    default:
        if (httpStatus < 400)
            cause = QStringLiteral("Die Anfrage an Open Food Facts ist fehlgeschlagen "
                                   "(Netzwerkfehler %1).")
                        .arg(int(error));
        break;
    }
    if (cause.isEmpty() && httpStatus == 429)
        cause
            = QStringLiteral("Open Food Facts hat gerade zu viele Anfragen erhalten (Fehler 429). "
                             "Bitte warten Sie eine Minute und versuchen Sie es dann noch "
                             "einmal.");
    else if (cause.isEmpty() && httpStatus == 503)
        cause = QStringLiteral("Open Food Facts ist gerade überlastet (Fehler 503). Bitte "
                               "versuchen Sie es in einigen Minuten noch einmal.");
    else if (cause.isEmpty() && httpStatus >= 400)
        cause = QStringLiteral("Open Food Facts hat die Anfrage mit dem Fehler %1 beantwortet.")
                    .arg(httpStatus);
    if (cause.isEmpty() || request != Request::Photo)
        return cause;
    return photoLeftOutMessage(cause);
}

QString timeoutMessage(Request request)
{
    const QString cause = QStringLiteral(
        "Open Food Facts hat nicht innerhalb von 20 Sekunden geantwortet. Bitte versuchen Sie es "
        "später noch einmal.");
    return request == Request::Photo ? photoLeftOutMessage(cause) : cause;
}

QString tooLargeMessage(Request request)
{
    if (request == Request::Photo)
        return photoLeftOutMessage(QStringLiteral("Das Foto ist größer als 10 MB."));
    return QStringLiteral(
        "Die Antwort von Open Food Facts ist größer als 2 MB und wird nicht gelesen.");
}

QString photoLeftOutMessage(const QString &reason)
{
    return QStringLiteral("Das Foto des Produkts wird nicht übernommen, die übrigen Angaben "
                          "bleiben erhalten. ")
        + reason;
}

} // namespace Zestrola::OpenFoodFacts
