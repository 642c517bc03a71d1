// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ImportColumns.h"

#include "model/EntryRules.h"

#include <array>
#include <cmath>

namespace Zestrola {

namespace {

struct KnownName
{
    const char16_t *name; // normalised: lower case, single blanks
    ImportRole role;
    bool milligrams = false;
};

// Column names of exports and labels, compared whole. German labels,
// English ones, Open Food Facts exports ("…_100g") and the USDA SR
// abbreviated file ("Energ_Kcal", "Lipid_Tot_(g)").
// clang-format off
constexpr std::array kKnownNames = {
    KnownName { u"name", ImportRole::Name },
    KnownName { u"produkt", ImportRole::Name },
    KnownName { u"produktname", ImportRole::Name },
    KnownName { u"bezeichnung", ImportRole::Name },
    KnownName { u"lebensmittel", ImportRole::Name },
    KnownName { u"product", ImportRole::Name },
    KnownName { u"product name", ImportRole::Name },
    KnownName { u"product_name", ImportRole::Name },
    KnownName { u"product_name_de", ImportRole::Name },
    KnownName { u"food", ImportRole::Name },
    KnownName { u"food name", ImportRole::Name },
    KnownName { u"description", ImportRole::Name },
    KnownName { u"shrt_desc", ImportRole::Name },
    KnownName { u"long_desc", ImportRole::Name },

    KnownName { u"energie (kj)", ImportRole::Kj },
    KnownName { u"brennwert (kj)", ImportRole::Kj },
    KnownName { u"kj", ImportRole::Kj },
    KnownName { u"energy (kj)", ImportRole::Kj },
    KnownName { u"energy-kj_100g", ImportRole::Kj },
    KnownName { u"energy_100g", ImportRole::Kj }, // Open Food Facts gives it in kJ
    KnownName { u"energ_kj", ImportRole::Kj },

    KnownName { u"energie (kcal)", ImportRole::Kcal },
    KnownName { u"brennwert (kcal)", ImportRole::Kcal },
    KnownName { u"kcal", ImportRole::Kcal },
    KnownName { u"kalorien", ImportRole::Kcal },
    KnownName { u"energy (kcal)", ImportRole::Kcal },
    KnownName { u"calories", ImportRole::Kcal },
    KnownName { u"energy-kcal_100g", ImportRole::Kcal },
    KnownName { u"energ_kcal", ImportRole::Kcal },

    KnownName { u"fett", ImportRole::Fat },
    KnownName { u"fat", ImportRole::Fat },
    KnownName { u"total fat", ImportRole::Fat },
    KnownName { u"fat_100g", ImportRole::Fat },
    KnownName { u"lipid_tot_(g)", ImportRole::Fat },

    KnownName { u"davon gesättigte fettsäuren", ImportRole::SaturatedFat },
    KnownName { u"gesättigte fettsäuren", ImportRole::SaturatedFat },
    KnownName { u"saturated fat", ImportRole::SaturatedFat },
    KnownName { u"saturated-fat_100g", ImportRole::SaturatedFat },
    KnownName { u"fa_sat_(g)", ImportRole::SaturatedFat },

    KnownName { u"kohlenhydrate", ImportRole::Carbohydrates },
    KnownName { u"carbohydrate", ImportRole::Carbohydrates },
    KnownName { u"carbohydrates", ImportRole::Carbohydrates },
    KnownName { u"carbohydrates_100g", ImportRole::Carbohydrates },
    KnownName { u"carbohydrt_(g)", ImportRole::Carbohydrates },

    KnownName { u"davon zucker", ImportRole::Sugars },
    KnownName { u"zucker", ImportRole::Sugars },
    KnownName { u"sugar", ImportRole::Sugars },
    KnownName { u"sugars", ImportRole::Sugars },
    KnownName { u"sugars_100g", ImportRole::Sugars },
    KnownName { u"sugar_tot_(g)", ImportRole::Sugars },

    KnownName { u"eiweiß", ImportRole::Protein },
    KnownName { u"eiweiss", ImportRole::Protein },
    KnownName { u"protein", ImportRole::Protein },
    KnownName { u"proteins", ImportRole::Protein },
    KnownName { u"proteins_100g", ImportRole::Protein },
    KnownName { u"protein_(g)", ImportRole::Protein },

    KnownName { u"salz", ImportRole::Salt },
    KnownName { u"salt", ImportRole::Salt },
    KnownName { u"salt_100g", ImportRole::Salt },

    KnownName { u"natrium", ImportRole::Sodium },
    KnownName { u"sodium", ImportRole::Sodium },
    KnownName { u"sodium_100g", ImportRole::Sodium },
    KnownName { u"natrium (mg)", ImportRole::Sodium, true },
    KnownName { u"sodium (mg)", ImportRole::Sodium, true },
    KnownName { u"sodium_(mg)", ImportRole::Sodium, true },

    KnownName { u"alkohol", ImportRole::AlcoholPercent },
    KnownName { u"alkoholgehalt", ImportRole::AlcoholPercent },
    KnownName { u"alkohol (vol.-%)", ImportRole::AlcoholPercent },
    KnownName { u"vol.-%", ImportRole::AlcoholPercent },
    KnownName { u"alcohol", ImportRole::AlcoholPercent },
    KnownName { u"alcohol_100g", ImportRole::AlcoholPercent }, // % vol
};
// clang-format on

struct Keyword
{
    const char16_t *word;
    ImportRole role;
};

// Keywords for any other title, tried in this order, so that "gesättigte
// Fettsäuren" is not fat and "Alkohol|vol.-%" not grams of alcohol. The
// program's own column titles ("Brennwert|in kJ", "Energie-|dichte") are
// found this way.
// clang-format off
constexpr std::array kKeywords = {
    Keyword { u"vol.-%", ImportRole::AlcoholPercent },
    Keyword { u"vol%", ImportRole::AlcoholPercent },
    Keyword { u"% vol", ImportRole::AlcoholPercent },
    Keyword { u"alkohol", ImportRole::AlcoholGrams },
    Keyword { u"kcal", ImportRole::Kcal },
    Keyword { u"kj", ImportRole::Kj },
    Keyword { u"dichte", ImportRole::EnergyDensity },
    Keyword { u"energie", ImportRole::EnergyDensity },
    Keyword { u"fettsäuren", ImportRole::SaturatedFat },
    Keyword { u"gesättigt", ImportRole::SaturatedFat },
    Keyword { u"saturated", ImportRole::SaturatedFat },
    Keyword { u"fett", ImportRole::Fat },
    Keyword { u"fat", ImportRole::Fat },
    Keyword { u"kohlenhydrat", ImportRole::Carbohydrates },
    Keyword { u"kohlen- hydrat", ImportRole::Carbohydrates },
    Keyword { u"carbohydrate", ImportRole::Carbohydrates },
    Keyword { u"zucker", ImportRole::Sugars },
    Keyword { u"sugar", ImportRole::Sugars },
    Keyword { u"eiweiß", ImportRole::Protein },
    Keyword { u"eiweiss", ImportRole::Protein },
    Keyword { u"protein", ImportRole::Protein },
    Keyword { u"salz", ImportRole::Salt },
    Keyword { u"salt", ImportRole::Salt },
    Keyword { u"natrium", ImportRole::Sodium },
    Keyword { u"sodium", ImportRole::Sodium },
    Keyword { u"calories", ImportRole::Kcal },
    Keyword { u"brennwert", ImportRole::Kj },
};
// clang-format on

// Lower case, "|" (a line break in a table header) and runs of blanks as
// one blank.
QString normalised(const QString &header)
{
    QString text = header.toLower();
    text.replace(u'|', u' ');
    return text.simplified();
}

// "kj" as a word of its own: "energy-kj_100g" but not "kjeldahl".
bool containsWord(const QString &text, QStringView word)
{
    for (qsizetype at = text.indexOf(word); at >= 0; at = text.indexOf(word, at + 1)) {
        const qsizetype end = at + word.size();
        const bool startsWord = at == 0 || !text[at - 1].isLetter();
        const bool endsWord = end == text.size() || !text[end].isLetter();
        if (startsWord && endsWord)
            return true;
    }
    return false;
}

bool mentionsMilligrams(const QString &text)
{
    return containsWord(text, u"mg");
}

std::optional<ImportRole> knownRole(const QString &text)
{
    for (const KnownName &known : kKnownNames) {
        if (text == QStringView(known.name))
            return known.role;
    }
    return std::nullopt;
}

ImportRole keywordRole(const QString &text)
{
    for (const Keyword &keyword : kKeywords) {
        const QStringView word(keyword.word);
        // Short unit names must stand alone; words may be part of a word.
        if (word.size() <= 4 ? containsWord(text, word) : text.contains(word))
            return keyword.role;
    }
    return ImportRole::None;
}

bool isGramRole(ImportRole role)
{
    switch (role) {
    case ImportRole::Fat:
    case ImportRole::SaturatedFat:
    case ImportRole::Carbohydrates:
    case ImportRole::Sugars:
    case ImportRole::Protein:
    case ImportRole::Salt:
    case ImportRole::AlcoholGrams:
        return true;
    default:
        return false;
    }
}

// The file columns that may fill a table column of `role`, best first.
QList<ImportRole> sourceRolesFor(ImportRole role)
{
    if (role == ImportRole::Salt)
        return { ImportRole::Salt, ImportRole::Sodium };
    return { role };
}

} // namespace

SourceColumn recogniseSourceColumn(const QString &header)
{
    const QString text = normalised(header);
    if (const std::optional<ImportRole> role = knownRole(text))
        return { *role, mentionsMilligrams(text) };
    // Names as a table's first column has them ("Lebensmittel 100g").
    for (const QStringView word : { u"name", u"bezeichnung", u"lebensmittel", u"getränke" }) {
        if (text.contains(word))
            return { ImportRole::Name, false };
    }
    const ImportRole role = keywordRole(text);
    return { role == ImportRole::AlcoholGrams ? ImportRole::None : role, mentionsMilligrams(text) };
}

ImportRole tableColumnRole(int column, const QString &headerCell)
{
    if (column == 0)
        return ImportRole::Name;
    const QString text = normalised(headerCell);
    if (const std::optional<ImportRole> role = knownRole(text); role && *role != ImportRole::Name)
        return *role == ImportRole::Sodium ? ImportRole::None : *role;
    const ImportRole role = keywordRole(text);
    return role == ImportRole::Sodium ? ImportRole::None : role;
}

bool isComputedRole(ImportRole role)
{
    return role == ImportRole::EnergyDensity || role == ImportRole::AlcoholGrams;
}

QList<int> suggestedSources(const QStringList &tableHeader, const QStringList &fileHeader)
{
    QList<SourceColumn> sources;
    QStringList titles;
    for (const QString &header : fileHeader) {
        sources.append(recogniseSourceColumn(header));
        titles.append(normalised(header));
    }
    // A known name beats a keyword: "fat_100g" is fat, "trans-fat_100g"
    // before it is not.
    auto find = [&](ImportRole role) {
        int byKeyword = -1;
        for (int column = 0; column < sources.size(); ++column) {
            if (sources[column].role != role)
                continue;
            if (knownRole(titles[column]))
                return column;
            if (byKeyword < 0)
                byKeyword = column;
        }
        return byKeyword;
    };
    QList<int> chosen;
    for (int column = 0; column < tableHeader.size(); ++column) {
        const ImportRole role = tableColumnRole(column, tableHeader[column]);
        int source = -1;
        if (role == ImportRole::None) {
            source = int(titles.indexOf(normalised(tableHeader[column])));
        } else if (!isComputedRole(role)) {
            for (const ImportRole candidate : sourceRolesFor(role)) {
                if ((source = find(candidate)) >= 0)
                    break;
            }
        }
        chosen.append(source);
    }
    return chosen;
}

double unitFactor(ImportRole role, const SourceColumn &source)
{
    double factor = 1.0;
    if (role == ImportRole::Salt && source.role == ImportRole::Sodium)
        factor = kSaltPerSodium;
    else if (role == ImportRole::Kj && source.role == ImportRole::Kcal)
        factor = kKilojoulesPerKilocalorie;
    else if (role == ImportRole::Kcal && source.role == ImportRole::Kj)
        factor = 1.0 / kKilojoulesPerKilocalorie;
    if (source.milligrams && isGramRole(role))
        factor /= 1000.0;
    return factor;
}

bool isPlausible(ImportRole role, double value)
{
    if (!(value >= 0.0) || !std::isfinite(value))
        return false;
    if (role == ImportRole::Kj)
        return value <= kMostKilojoules;
    if (role == ImportRole::Kcal)
        return value <= kMostKilocalories;
    if (isGramRole(role) || role == ImportRole::AlcoholPercent)
        return value <= kMostGrams;
    return true;
}

} // namespace Zestrola
