#include "EinstellFormLebensmittelGetraenkep.h"

using namespace Zestrola;

namespace {

const QString kSource = QStringLiteral("Werte nach Empfehlung der Verbraucherzentrale: ");

// Drinks rate energy density green or red only: no band-2 controls.
ThresholdTabSpec energyTab()
{
    ThresholdTabSpec spec = namedTabSpec(Nutrient::EnergyDensity, QString(), 1, true);
    spec.editNames[1].clear();
    spec.spinNames[1].clear();
    spec.bandLabelNames[1].clear();
    spec.meaningLabelNames[1].clear();
    spec.tabCaption = QStringLiteral("Energiedichte");
    spec.groupCaption = QStringLiteral("Energiedichte: Lebensmittel (Getränke)");
    spec.evaluateName = QStringLiteral("GetraenkeEnergiedichteCheckBox");
    spec.evaluateCaption = QStringLiteral("Energiedichte auswerten");
    spec.unlockName = QStringLiteral("GetraenkeWerteAendernCheckBox");
    spec.edit3DesignText = QStringLiteral("ab 0,10");
    spec.bandLabelTexts = { QStringLiteral("0 bis 0,09 kcal/g = "), QString(),
        QStringLiteral(" ab 0,10 kcal/g = ") };
    spec.explanations = {
        QStringLiteral("Getränke tragen nicht zur Sättigung bei u. somit ist die Energiedichte ab "
                       "0,1 kcal/g hoch."),
        QStringLiteral("0 kcal/g = uneingeschränkt zu empfehlen, ab 0,1 kcal/g = in geringen "
                       "Mengen verzehren."),
        QStringLiteral(
            "Die Energiedichte gibt an wie viel Kalorien in 1 Gramm des Getränks sind. "),
    };
    spec.okName = QStringLiteral("OKButton");
    return spec;
}

ThresholdTabSpec fatTab()
{
    ThresholdTabSpec spec = namedTabSpec(Nutrient::Fat, QStringLiteral("Fett_"), 3, true);
    spec.tabCaption = QStringLiteral("Fett");
    spec.groupCaption = QStringLiteral("Fett: Lebensmittel (Getränke)");
    spec.evaluateName = QStringLiteral("GetraenkeFettAuswertenCheckBox");
    spec.evaluateCaption = QStringLiteral("Fettgehalt auswerten");
    spec.unlockName = QStringLiteral("GetraenkeFett_WerteAendernCheckBox");
    spec.edit3DesignText = QStringLiteral("ab 8,76");
    spec.bandLabelTexts = { QStringLiteral("0 bis 1,5 g = "), QStringLiteral("1,51 bis 8,75 g ="),
        QStringLiteral(" ab 8,76 g = ") };
    spec.explanations = {
        kSource,
        QStringLiteral("0 - 1,5 g = zu empfehlen, 1,51 - 8,75 g = in Maßen verzehren, über 8,76 g "
                       "= selten verzehren."),
    };
    spec.okName = QStringLiteral("Fett_OKButton");
    return spec;
}

ThresholdTabSpec saturatedFatTab()
{
    ThresholdTabSpec spec = namedTabSpec(
        Nutrient::SaturatedFat, QStringLiteral("gesaettigte_Fettsaeuren_"), 5, false);
    spec.tabCaption = QStringLiteral("Gesättigte Fettsäuren");
    spec.groupCaption = QStringLiteral("Gesättigte Fettsäuren: Lebensmittel (Getränke)");
    spec.evaluateName = QStringLiteral("GetraenkeGesaettigte_FettsaeurenAuswertenCheckBox");
    spec.evaluateCaption = QStringLiteral("gesättigte Fettsäuren auswerten");
    spec.unlockName = QStringLiteral("GetraenkeGesaettigte_Fettsaeuren_WerteAendernCheckBox");
    spec.edit3DesignText = QStringLiteral("ab 2,51");
    spec.bandLabelTexts = { QStringLiteral("0 bis 0,75 g = "), QStringLiteral("0,76 bis 2,5 g ="),
        QStringLiteral(" ab 2,51 g = ") };
    spec.explanations = {
        kSource,
        QStringLiteral("0 - 0,75 g = zu empfehlen, 0,76 - 2,5 g = in Maßen verzehren, über 2,5 g = "
                       "selten verzehren."),
    };
    spec.okName = QStringLiteral("gesaettigte_Fettsaeuren_OKButtonClick");
    return spec;
}

ThresholdTabSpec sugarTab()
{
    ThresholdTabSpec spec = namedTabSpec(Nutrient::Sugar, QStringLiteral("Zucker_"), 7, false);
    spec.tabCaption = QStringLiteral("Zucker");
    spec.groupCaption = QStringLiteral("Zucker: Lebensmittel (Getränke)");
    spec.evaluateName = QStringLiteral("GetraenkeZuckerAuswertenCheckBox");
    spec.evaluateCaption = QStringLiteral("Zuckergehalt auswerten");
    spec.unlockName = QStringLiteral("Getraenke_Zucker_WerteAendernCheckBox");
    spec.edit3DesignText = QStringLiteral("ab 11,26");
    spec.bandLabelTexts = { QStringLiteral("0 bis 2,5 g = "), QStringLiteral("2,51 bis 11,25 g ="),
        QStringLiteral(" ab 11,26 g = ") };
    spec.explanations = {
        kSource,
        QStringLiteral("0 - 2,5 g = zu empfehlen, 2,5 - 11,25 g = in Maßen verzehren, über 11,25 g "
                       "= selten verzehren."),
    };
    spec.okName = QStringLiteral("Zucker_OKButton");
    return spec;
}

ThresholdTabSpec saltTab()
{
    ThresholdTabSpec spec = namedTabSpec(Nutrient::Salt, QStringLiteral("Salz_"), 9, false);
    spec.tabCaption = QStringLiteral("Salz");
    spec.groupCaption = QStringLiteral("Salz: Lebensmittel (Getränke)");
    spec.evaluateName = QStringLiteral("GetraenkeSalzAuswertenCheckBox");
    spec.evaluateCaption = QStringLiteral("Salzgehalt auswerten");
    spec.unlockName = QStringLiteral("Getraenke_Salz_WerteAendernCheckBox");
    spec.edit3DesignText = QStringLiteral("ab 1,51");
    spec.bandLabelTexts = { QStringLiteral("0 bis 0,3 g = "), QStringLiteral("0,31 bis 1,5 g ="),
        QStringLiteral(" ab 1,51g = ") };
    spec.explanations = {
        kSource,
        QStringLiteral("0 - 0,3 g = zu empfehlen, 0,31 - 1,5 g = in Maßen verzehren, über 1,51 g "
                       "= selten verzehren."),
    };
    spec.okName = QStringLiteral("Salz_OKButton");
    return spec;
}

} // namespace

TEinstellFormLebensmittelGetraenke::TEinstellFormLebensmittelGetraenke(
    ThresholdSet &set, QWidget *parent)
    : ThresholdDialog(true, set, QStringLiteral("Einstellung: Getränke"),
        { energyTab(), fatTab(), saturatedFatTab(), sugarTab(), saltTab() }, parent)
{
    setObjectName(QStringLiteral("EinstellFormLebensmittelGetraenke"));
}
