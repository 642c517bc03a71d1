#include "dialogs/EinstellFormLebensmittelGetraenke.h"

using namespace Zestrola;

namespace {

const QString kSource = QStringLiteral("Werte nach Empfehlung der Verbraucherzentrale: ");

// Drinks rate energy density green or red only: no band-2 controls.
ThresholdTabDescription energyTab()
{
    ThresholdTabDescription tab = namedTabDescription(Nutrient::EnergyDensity, QString(), 1, true);
    tab.editNames[1].clear();
    tab.spinNames[1].clear();
    tab.bandLabelNames[1].clear();
    tab.meaningLabelNames[1].clear();
    tab.tabCaption = QStringLiteral("Energiedichte");
    tab.groupCaption = QStringLiteral("Energiedichte: Lebensmittel (Getränke)");
    tab.evaluateName = QStringLiteral("GetraenkeEnergiedichteCheckBox");
    tab.evaluateCaption = QStringLiteral("Energiedichte auswerten");
    tab.unlockName = QStringLiteral("GetraenkeWerteAendernCheckBox");
    tab.edit3DesignText = QStringLiteral("ab 0,10");
    tab.bandLabelTexts = { QStringLiteral("0 bis 0,09 kcal/g = "), QString(),
        QStringLiteral(" ab 0,10 kcal/g = ") };
    tab.explanations = {
        QStringLiteral("Getränke tragen nicht zur Sättigung bei u. somit ist die Energiedichte ab "
                       "0,1 kcal/g hoch."),
        QStringLiteral("0 kcal/g = uneingeschränkt zu empfehlen, ab 0,1 kcal/g = in geringen "
                       "Mengen verzehren."),
        QStringLiteral(
            "Die Energiedichte gibt an wie viel Kalorien in 1 Gramm des Getränks sind. "),
    };
    tab.okName = QStringLiteral("OKButton");
    return tab;
}

ThresholdTabDescription fatTab()
{
    ThresholdTabDescription tab
        = namedTabDescription(Nutrient::Fat, QStringLiteral("Fett_"), 3, true);
    tab.tabCaption = QStringLiteral("Fett");
    tab.groupCaption = QStringLiteral("Fett: Lebensmittel (Getränke)");
    tab.evaluateName = QStringLiteral("GetraenkeFettAuswertenCheckBox");
    tab.evaluateCaption = QStringLiteral("Fettgehalt auswerten");
    tab.unlockName = QStringLiteral("GetraenkeFett_WerteAendernCheckBox");
    tab.edit3DesignText = QStringLiteral("ab 8,76");
    tab.bandLabelTexts = { QStringLiteral("0 bis 1,5 g = "), QStringLiteral("1,51 bis 8,75 g ="),
        QStringLiteral(" ab 8,76 g = ") };
    tab.explanations = {
        kSource,
        QStringLiteral("0 - 1,5 g = zu empfehlen, 1,51 - 8,75 g = in Maßen verzehren, über 8,76 g "
                       "= selten verzehren."),
    };
    tab.okName = QStringLiteral("Fett_OKButton");
    return tab;
}

ThresholdTabDescription saturatedFatTab()
{
    ThresholdTabDescription tab = namedTabDescription(
        Nutrient::SaturatedFat, QStringLiteral("gesaettigte_Fettsaeuren_"), 5, false);
    tab.tabCaption = QStringLiteral("Gesättigte Fettsäuren");
    tab.groupCaption = QStringLiteral("Gesättigte Fettsäuren: Lebensmittel (Getränke)");
    tab.evaluateName = QStringLiteral("GetraenkeGesaettigte_FettsaeurenAuswertenCheckBox");
    tab.evaluateCaption = QStringLiteral("gesättigte Fettsäuren auswerten");
    tab.unlockName = QStringLiteral("GetraenkeGesaettigte_Fettsaeuren_WerteAendernCheckBox");
    tab.edit3DesignText = QStringLiteral("ab 2,51");
    tab.bandLabelTexts = { QStringLiteral("0 bis 0,75 g = "), QStringLiteral("0,76 bis 2,5 g ="),
        QStringLiteral(" ab 2,51 g = ") };
    tab.explanations = {
        kSource,
        QStringLiteral("0 - 0,75 g = zu empfehlen, 0,76 - 2,5 g = in Maßen verzehren, über 2,5 g = "
                       "selten verzehren."),
    };
    tab.okName = QStringLiteral("gesaettigte_Fettsaeuren_OKButtonClick");
    return tab;
}

ThresholdTabDescription sugarTab()
{
    ThresholdTabDescription tab
        = namedTabDescription(Nutrient::Sugar, QStringLiteral("Zucker_"), 7, false);
    tab.tabCaption = QStringLiteral("Zucker");
    tab.groupCaption = QStringLiteral("Zucker: Lebensmittel (Getränke)");
    tab.evaluateName = QStringLiteral("GetraenkeZuckerAuswertenCheckBox");
    tab.evaluateCaption = QStringLiteral("Zuckergehalt auswerten");
    tab.unlockName = QStringLiteral("Getraenke_Zucker_WerteAendernCheckBox");
    tab.edit3DesignText = QStringLiteral("ab 11,26");
    tab.bandLabelTexts = { QStringLiteral("0 bis 2,5 g = "), QStringLiteral("2,51 bis 11,25 g ="),
        QStringLiteral(" ab 11,26 g = ") };
    tab.explanations = {
        kSource,
        QStringLiteral("0 - 2,5 g = zu empfehlen, 2,5 - 11,25 g = in Maßen verzehren, über 11,25 g "
                       "= selten verzehren."),
    };
    tab.okName = QStringLiteral("Zucker_OKButton");
    return tab;
}

ThresholdTabDescription saltTab()
{
    ThresholdTabDescription tab
        = namedTabDescription(Nutrient::Salt, QStringLiteral("Salz_"), 9, false);
    tab.tabCaption = QStringLiteral("Salz");
    tab.groupCaption = QStringLiteral("Salz: Lebensmittel (Getränke)");
    tab.evaluateName = QStringLiteral("GetraenkeSalzAuswertenCheckBox");
    tab.evaluateCaption = QStringLiteral("Salzgehalt auswerten");
    tab.unlockName = QStringLiteral("Getraenke_Salz_WerteAendernCheckBox");
    tab.edit3DesignText = QStringLiteral("ab 1,51");
    tab.bandLabelTexts = { QStringLiteral("0 bis 0,3 g = "), QStringLiteral("0,31 bis 1,5 g ="),
        QStringLiteral(" ab 1,51g = ") };
    tab.explanations = {
        kSource,
        QStringLiteral("0 - 0,3 g = zu empfehlen, 0,31 - 1,5 g = in Maßen verzehren, über 1,51 g "
                       "= selten verzehren."),
    };
    tab.okName = QStringLiteral("Salz_OKButton");
    return tab;
}

} // namespace

TEinstellFormLebensmittelGetraenke::TEinstellFormLebensmittelGetraenke(QWidget *parent)
    : ThresholdDialog(true, QStringLiteral("Einstellung: Getränke"),
        { energyTab(), fatTab(), saturatedFatTab(), sugarTab(), saltTab() }, parent)
{
    setObjectName(QStringLiteral("EinstellFormLebensmittelGetraenke"));
}
