// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonObject>
#include <QList>
#include <QNetworkReply>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

// Filling a new entry from the open product database Open Food Facts: what
// the lookup field holds, the addresses asked, and how an answer becomes
// value cells and a description. Plain functions, so that every rule is
// tested without a network; ProductClient does the asking.
namespace Zestrola::OpenFoodFacts {

// The settings value with the server's address, and its default.
inline const QString kServerSetting = QStringLiteral("OpenFoodFactsAdresse");
inline const QString kDefaultServer = QStringLiteral("https://world.openfoodfacts.org");

// Answers larger than these are not read: a product answer of the fields
// asked for is a few kilobytes, a front photo a few hundred.
inline constexpr qint64 kMaxAnswerBytes = 2 * 1024 * 1024;
inline constexpr qint64 kMaxPhotoBytes = 10 * 1024 * 1024;

inline const QString kNotFound
    = QStringLiteral("Zu diesem Strichcode ist bei Open Food Facts kein Produkt eingetragen.");
inline const QString kPerServingOnly
    = QStringLiteral("Für dieses Produkt sind keine Werte je 100 g eingetragen.");

// What the user typed into the lookup field.
struct Lookup
{
    enum Kind { Barcode, Words, Refused };
    Kind kind = Refused;
    QString text; // the barcode or the search words, trimmed
    QString message; // why nothing is sent (Refused)
};
// 8, 12 or 13 digits are a barcode and must carry a right check digit; a
// number of any other length is a barcode mistyped; anything else is
// searched for by name.
Lookup classifyLookup(const QString &typed);
// Digits only, as every code of the database (barcodes and its own codes
// for goods without one); nothing else is ever put into an address.
bool isProductCode(QStringView code);
// The GS1 check: the digits weighted 3, 1, 3, ... from the right, the
// check digit included, add up to a multiple of 10.
bool hasValidCheckDigit(QStringView digits);

// The server from the settings value (the default when it is empty),
// without a trailing "/"; an invalid URL when the value is no http or
// https address.
QUrl serverFromSetting(const QString &value);
QString invalidServerMessage(const QString &value);

// The documented product read (API v2, with only the fields used) and the
// full-text search, and the product's page for the source line.
QUrl productUrl(const QUrl &server, const QString &code);
QUrl searchUrl(const QUrl &server, const QString &words);
QString productPageAddress(const QUrl &server, const QString &code);

struct Product
{
    QString code;
    QString name; // German name when there is one, else the general one
    QString brand; // the first of the brands
    QString quantity;
    QString nutriScore; // "A" to "E", empty when not graded
    QString novaGroup; // "1" to "4"
    QString ingredients;
    QStringList allergens; // in German where known
    QUrl photo; // the front photo, http or https only
    QJsonObject nutriments;
};

struct ProductAnswer
{
    enum Status { Found, NotFound, Unreadable };
    Status status = Unreadable;
    Product product;
    QString message; // German, for NotFound and Unreadable
};
ProductAnswer parseProductAnswer(const QByteArray &body);

struct SearchHit
{
    QString code;
    QString text; // name, brand, quantity, Nutri-Score as the hit list shows them
};
struct SearchAnswer
{
    bool readable = false;
    QList<SearchHit> hits;
    QString message; // German, when !readable
};
SearchAnswer parseSearchAnswer(const QByteArray &body);

// What a found product puts into the new-entry dialog.
struct FilledEntry
{
    QString name; // product name and brand, fit for a value cell
    QStringList cells; // every value cell; "?" where the product has no value
    QString description;
    QStringList messages; // German: values per serving only, unusable values
};
// `cells` are the dialog's cells before: a column of no known role keeps an
// empty title's cell, every other unknown column becomes "?". The energy
// density and the grams of alcohol are computed by the dialog's own rule.
FilledEntry fillEntry(const Product &product, const QStringList &headerCells,
    const QStringList &cells, const QString &pageAddress);

// The German message naming why a request failed, from Qt's network error
// and the HTTP status; empty for a success. A product read answered 404 is
// a product not found.
enum class Request { Product, Search, Photo };
QString failureMessage(
    Request request, QNetworkReply::NetworkError error, int httpStatus, const QString &host);
QString timeoutMessage(Request request);
QString tooLargeMessage(Request request);
// A photo that is not taken leaves the values filled in.
QString photoLeftOutMessage(const QString &reason);

} // namespace Zestrola::OpenFoodFacts
