// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Legend.h"

#include "model/Thresholds.h"

namespace Zestrola {

namespace {

struct WordMark
{
    QString word;
    int length; // may reach past the word: "Rot" takes the character after it
    quint32 rgb;
};

QString foodText()
{
    return QStringLiteral("Die Energiedichte gibt an wie viel Kalorien in 1g des Lebensmittels "
                          "sind. Je höher der Wert desto weniger sollte man davon verzehren. ")
        + QStringLiteral("Grün = uneingeschränkt zu empfehlen, Gelb = in Maßen verzehren, Rot = "
                         "selten verzehren. ");
}

QString drinkText()
{
    return QStringLiteral("Die Energiedichte gibt an wie viel Kalorien in 1g des Lebensmittels "
                          "(Getränk) sind. ")
        + QStringLiteral("Da Getränke nicht zur Sättigung beitragen ist die Energiedichte bereits "
                         "ab 0,1 kcal/g hoch (Rot) und damit nur selten zu verzehren. 0 kcal/g = "
                         "Grün = uneingeschränkt zu empfehlen, ab 0,1 kcal/g = Rot = in geringen "
                         "Mengen verzehren.");
}

QList<WordMark> foodWords()
{
    return {
        { QStringLiteral("Grün"), 4, kGreenRgb },
        { QStringLiteral("Gelb"), 4, kYellowRgb },
        { QStringLiteral("Rot"), 4, kRedRgb },
        { QStringLiteral("Energiedichte"), 13, kBlackRgb },
    };
}

QList<WordMark> drinkWords()
{
    return {
        { QStringLiteral("Grün"), 4, kGreenRgb },
        { QStringLiteral("Rot"), 4, kRedRgb },
        { QStringLiteral("Energiedichte"), 13, kBlackRgb },
        { QStringLiteral("Getränk"), 7, kBlackRgb },
        { QStringLiteral("Getränke"), 8, kBlackRgb },
    };
}

} // namespace

Legend legendFor(bool drinkTable)
{
    Legend legend;
    legend.text = drinkTable ? drinkText() : foodText();
    for (const WordMark &w : drinkTable ? drinkWords() : foodWords()) {
        const qsizetype start = legend.text.indexOf(w.word);
        if (start >= 0)
            legend.marks << LegendMark { int(start), w.length, w.rgb, true };
    }
    return legend;
}

} // namespace Zestrola
