// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/EinstellFormLebensmittel.h"

using namespace Zestrola;

namespace {

const ThresholdTabTable kFoodTabs = { {
    { QStringLiteral("Energiedichte: Lebensmittel (Nahrung)"),
        QStringLiteral("EnergiedichteCheckBox"), QStringLiteral("WerteAendernCheckBox"),
        QStringLiteral("OKButton"),
        { QStringLiteral("Von der Deutschen Gesellschaft für Ernährung e.V empfohlen: "),
            QStringLiteral("0 - 1,59 = zu empfehlen, 1,60 - 2,40 = in Maßen verzehren, über 2,40 = "
                           "selten verzehren."),
            QStringLiteral("Die Energiedichte gibt an wie viel Kalorien in 1 Gramm des "
                           "Lebensmittels sind. "),
            QStringLiteral("Je höher der Wert desto weniger sollte man davon verzehren. ") } },
    { QStringLiteral("Fett: Lebensmittel (Nahrung)"), QStringLiteral("FettAuswertenCheckBox"),
        QStringLiteral("Fett_WerteAendernCheckBox"), QStringLiteral("Fett_OKButton"),
        { kThresholdSource,
            QStringLiteral("0-3 g = zu empfehlen, 3-17,5 g = in Maßen verzehren, über 17,5 g = "
                           "selten verzehren.") } },
    { QStringLiteral("gesättigte Fettsäuren: Lebensmittel (Nahrung)"),
        QStringLiteral("gesaettigte_FettsaeurenAuswertenCheckBox"),
        QStringLiteral("gesaettigte_Fettsaeuren_WerteAendernCheckBox"),
        QStringLiteral("gesaettigte_Fettsaeuren_OKButtonClick"),
        { kThresholdSource,
            QStringLiteral("0 - 1,5 g = zu empfehlen, 1,51 - 5 g = in Maßen verzehren, über 5 g = "
                           "selten verzehren.") } },
    { QStringLiteral("Zucker: Lebensmittel (Nahrung)"), QStringLiteral("ZuckerAuswertenCheckBox"),
        QStringLiteral("Zucker_WerteAendernCheckBox"), QStringLiteral("Zucker_OKButtonClick"),
        { kThresholdSource,
            QStringLiteral("0 - 5 g = zu empfehlen, 5 - 22,5 g = in Maßen verzehren, über 22,5 g = "
                           "selten verzehren.") } },
    { QStringLiteral("Salz: Lebensmittel (Nahrung)"), QStringLiteral("SalzAuswertenCheckBox"),
        QStringLiteral("Salz_WerteAendernCheckBox"), QStringLiteral("Salz_OKButtonClick"),
        { kThresholdSource,
            QStringLiteral("0 - 0,3 g = zu empfehlen, 0,31 - 1,5 g = in Maßen verzehren, über "
                           "1,51 g = selten verzehren.") } },
} };

} // namespace

TEinstellFormLebensmittel::TEinstellFormLebensmittel(QWidget *parent)
    : ThresholdDialog(false, QStringLiteral("Einstellung: Lebensmittel"), kFoodTabs, parent)
{
    setObjectName(QStringLiteral("EinstellFormLebensmittel"));
}
