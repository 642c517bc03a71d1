// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/EinstellFormLebensmittelGetraenke.h"

using namespace Zestrola;

namespace {

const ThresholdTabTable kDrinkTabs = { {
    { QStringLiteral("Energiedichte: Lebensmittel (Getränke)"),
        QStringLiteral("GetraenkeEnergiedichteCheckBox"),
        QStringLiteral("GetraenkeWerteAendernCheckBox"), QStringLiteral("OKButton"),
        { QStringLiteral("Getränke tragen nicht zur Sättigung bei u. somit ist die Energiedichte "
                         "ab 0,1 kcal/g hoch."),
            QStringLiteral("0 kcal/g = uneingeschränkt zu empfehlen, ab 0,1 kcal/g = in geringen "
                           "Mengen verzehren."),
            QStringLiteral(
                "Die Energiedichte gibt an wie viel Kalorien in 1 Gramm des Getränks sind. ") } },
    { QStringLiteral("Fett: Lebensmittel (Getränke)"),
        QStringLiteral("GetraenkeFettAuswertenCheckBox"),
        QStringLiteral("GetraenkeFett_WerteAendernCheckBox"), QStringLiteral("Fett_OKButton"),
        { kThresholdSource,
            QStringLiteral("0 - 1,5 g = zu empfehlen, 1,51 - 8,75 g = in Maßen verzehren, über "
                           "8,76 g = selten verzehren.") } },
    { QStringLiteral("Gesättigte Fettsäuren: Lebensmittel (Getränke)"),
        QStringLiteral("GetraenkeGesaettigte_FettsaeurenAuswertenCheckBox"),
        QStringLiteral("GetraenkeGesaettigte_Fettsaeuren_WerteAendernCheckBox"),
        QStringLiteral("gesaettigte_Fettsaeuren_OKButtonClick"),
        { kThresholdSource,
            QStringLiteral("0 - 0,75 g = zu empfehlen, 0,76 - 2,5 g = in Maßen verzehren, über "
                           "2,5 g = selten verzehren.") } },
    { QStringLiteral("Zucker: Lebensmittel (Getränke)"),
        QStringLiteral("GetraenkeZuckerAuswertenCheckBox"),
        QStringLiteral("Getraenke_Zucker_WerteAendernCheckBox"), QStringLiteral("Zucker_OKButton"),
        { kThresholdSource,
            QStringLiteral("0 - 2,5 g = zu empfehlen, 2,5 - 11,25 g = in Maßen verzehren, über "
                           "11,25 g = selten verzehren.") } },
    { QStringLiteral("Salz: Lebensmittel (Getränke)"),
        QStringLiteral("GetraenkeSalzAuswertenCheckBox"),
        QStringLiteral("Getraenke_Salz_WerteAendernCheckBox"), QStringLiteral("Salz_OKButton"),
        { kThresholdSource,
            QStringLiteral("0 - 0,3 g = zu empfehlen, 0,31 - 1,5 g = in Maßen verzehren, über "
                           "1,51 g = selten verzehren.") } },
} };

} // namespace

TEinstellFormLebensmittelGetraenke::TEinstellFormLebensmittelGetraenke(QWidget *parent)
    : ThresholdDialog(true, QStringLiteral("Einstellung: Getränke"), kDrinkTabs, parent)
{
    setObjectName(QStringLiteral("EinstellFormLebensmittelGetraenke"));
}
