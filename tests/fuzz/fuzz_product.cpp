// SPDX-License-Identifier: GPL-3.0-or-later
// Open Food Facts answers.
//
// Properties, for any bytes received as a product or search answer:
// - Reading never fails; a found product's photo address is http or https
//   and every search hit's code is digits only, so nothing odd reaches a
//   later request.
// - A product answer that is a well-formed JSON object reads the same as
//   that object written out anew by Qt: the quick reading that skips the
//   members not used agrees with the whole parse.
// - Filling the cells of a food and a drink table from a found product
//   gives one cell per column, "?" or a number for every value column.

#include "FuzzSupport.h"
#include "online/OpenFoodFacts.h"

#include <QJsonDocument>

using namespace Zestrola;
using namespace Zestrola::OpenFoodFacts;

namespace {

void checkProduct(const Product &product)
{
    FUZZ_CHECK(product.photo.isEmpty() || product.photo.scheme() == u"https"
        || product.photo.scheme() == u"http");
}

bool sameAnswer(const ProductAnswer &a, const ProductAnswer &b)
{
    const Product &p = a.product;
    const Product &q = b.product;
    return a.status == b.status && a.message == b.message && p.code == q.code && p.name == q.name
        && p.brand == q.brand && p.quantity == q.quantity && p.nutriScore == q.nutriScore
        && p.novaGroup == q.novaGroup && p.ingredients == q.ingredients
        && p.allergens == q.allergens && p.photo == q.photo && p.nutriments == q.nutriments;
}

void checkFilled(const Product &product, const QStringList &header)
{
    const QStringList cells(header.size(), QStringLiteral("0,00"));
    const FilledEntry filled = fillEntry(product, header, cells, QStringLiteral("https://x/p"));
    FUZZ_CHECK(filled.cells.size() == header.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray body = FuzzSupport::bytesOf(data, size).toByteArray();
    const ProductAnswer answer = parseProductAnswer(body);
    if (answer.status == ProductAnswer::Found)
        checkProduct(answer.product);

    QJsonParseError error;
    const QJsonDocument whole = QJsonDocument::fromJson(body, &error);
    if (error.error == QJsonParseError::NoError && whole.isObject())
        FUZZ_CHECK(sameAnswer(answer, parseProductAnswer(whole.toJson(QJsonDocument::Compact))));

    if (answer.status == ProductAnswer::Found) {
        checkFilled(answer.product,
            QStringLiteral("Lebensmittel 100g\tBrennwert|in kJ\t|in kcal\tEnergie-|dichte\tFett\t"
                           "gesättigte|Fettsäuren\tKohlen-|hydrate\tdavon|Zucker\tEiweiß\tSalz")
                .split(u'\t'));
        checkFilled(answer.product,
            QStringLiteral("Getränke je 100 ml\tBrennwert|in kJ\t|in kcal\tEnergie-|dichte\tFett\t"
                           "gesättigte|Fettsäuren\tKohlen-|hydrate\tdavon|Zucker\tEiweiß\tSalz\t"
                           "vol.-%\tAlkohol|in g")
                .split(u'\t'));
    }

    const SearchAnswer search = parseSearchAnswer(body);
    for (const SearchHit &hit : search.hits)
        FUZZ_CHECK(isProductCode(hit.code));
    return 0;
}
