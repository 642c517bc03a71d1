#include "einstellformLebensmittelp.h"

using namespace Zestrola;

namespace {

const QString kSource = QStringLiteral("Werte nach Empfehlung der Verbraucherzentrale: ");

ThresholdTabSpec energyTab()
{
    ThresholdTabSpec spec = namedTabSpec(Nutrient::EnergyDensity, QString(), 1, true);
    spec.tabCaption = QStringLiteral("Energiedichte");
    spec.groupCaption = QStringLiteral("Energiedichte: Lebensmittel (Nahrung)");
    spec.evaluateName = QStringLiteral("EnergiedichteCheckBox");
    spec.evaluateCaption = QStringLiteral("Energiedichte auswerten");
    spec.unlockName = QStringLiteral("WerteAendernCheckBox");
    spec.edit3DesignText = QStringLiteral("ab 2,41");
    spec.bandLabelTexts = { QStringLiteral("0 bis 1,59 kcal/g = "),
        QStringLiteral("1,60 bis 2,40 kcal/g ="), QStringLiteral(" ab 2,41 kcal/g = ") };
    spec.explanations = {
        QStringLiteral("Von der Deutschen Gesellschaft für Ernährung e.V empfohlen: "),
        QStringLiteral("0 - 1,59 = zu empfehlen, 1,60 - 2,40 = in Maßen verzehren, über 2,40 = "
                       "selten verzehren."),
        QStringLiteral("Die Energiedichte gibt an wie viel Kalorien in 1 Gramm des Lebensmittels "
                       "sind. "),
        QStringLiteral("Je höher der Wert desto weniger sollte man davon verzehren. "),
    };
    spec.okName = QStringLiteral("OKButton");
    return spec;
}

ThresholdTabSpec fatTab()
{
    ThresholdTabSpec spec = namedTabSpec(Nutrient::Fat, QStringLiteral("Fett_"), 3, true);
    spec.tabCaption = QStringLiteral("Fett");
    spec.groupCaption = QStringLiteral("Fett: Lebensmittel (Nahrung)");
    spec.evaluateName = QStringLiteral("FettAuswertenCheckBox");
    spec.evaluateCaption = QStringLiteral("Fettgehalt auswerten");
    spec.unlockName = QStringLiteral("Fett_WerteAendernCheckBox");
    spec.edit3DesignText = QStringLiteral("ab 17,51");
    spec.bandLabelTexts = { QStringLiteral("0 bis 3 g = "), QStringLiteral("3,01 bis 17,5 g ="),
        QStringLiteral(" ab 17,51g = ") };
    spec.explanations = {
        kSource,
        QStringLiteral("0-3 g = zu empfehlen, 3-17,5 g = in Maßen verzehren, über 17,5 g = "
                       "selten verzehren."),
    };
    spec.okName = QStringLiteral("Fett_OKButton");
    return spec;
}

ThresholdTabSpec saturatedFatTab()
{
    ThresholdTabSpec spec = namedTabSpec(
        Nutrient::SaturatedFat, QStringLiteral("gesaettigte_Fettsaeuren_"), 5, false);
    spec.tabCaption = QStringLiteral("Gesättigte Fettsäuren");
    spec.groupCaption = QStringLiteral("gesättigte Fettsäuren: Lebensmittel (Nahrung)");
    spec.evaluateName = QStringLiteral("gesaettigte_FettsaeurenAuswertenCheckBox");
    spec.evaluateCaption = QStringLiteral("gesättigte Fettsäuren auswerten");
    spec.unlockName = QStringLiteral("gesaettigte_Fettsaeuren_WerteAendernCheckBox");
    spec.edit3DesignText = QStringLiteral("ab 5");
    spec.bandLabelTexts = { QStringLiteral("0 bis 1,5 g = "), QStringLiteral("1,51 bis 5 g ="),
        QStringLiteral(" ab 5,01 g = ") };
    spec.explanations = {
        kSource,
        QStringLiteral("0 - 1,5 g = zu empfehlen, 1,51 - 5 g = in Maßen verzehren, über 5 g = "
                       "selten verzehren."),
    };
    spec.okName = QStringLiteral("gesaettigte_Fettsaeuren_OKButtonClick");
    return spec;
}

ThresholdTabSpec sugarTab()
{
    ThresholdTabSpec spec = namedTabSpec(Nutrient::Sugar, QStringLiteral("Zucker_"), 7, false);
    spec.tabCaption = QStringLiteral("Zucker");
    spec.groupCaption = QStringLiteral("Zucker: Lebensmittel (Nahrung)");
    spec.evaluateName = QStringLiteral("ZuckerAuswertenCheckBox");
    spec.evaluateCaption = QStringLiteral("Zuckergehalt auswerten");
    spec.unlockName = QStringLiteral("Zucker_WerteAendernCheckBox");
    spec.edit3DesignText = QStringLiteral("ab 22,51");
    spec.bandLabelTexts = { QStringLiteral("0 bis 5 g = "), QStringLiteral("5,01 bis 22,5 g ="),
        QStringLiteral(" ab 22,51g = ") };
    spec.explanations = {
        kSource,
        QStringLiteral("0 - 5 g = zu empfehlen, 5 - 22,5 g = in Maßen verzehren, über 22,5 g = "
                       "selten verzehren."),
    };
    spec.okName = QStringLiteral("Zucker_OKButtonClick");
    return spec;
}

ThresholdTabSpec saltTab()
{
    ThresholdTabSpec spec = namedTabSpec(Nutrient::Salt, QStringLiteral("Salz_"), 9, false);
    spec.tabCaption = QStringLiteral("Salz");
    spec.groupCaption = QStringLiteral("Salz: Lebensmittel (Nahrung)");
    spec.evaluateName = QStringLiteral("SalzAuswertenCheckBox");
    spec.evaluateCaption = QStringLiteral("Salzgehalt auswerten");
    spec.unlockName = QStringLiteral("Salz_WerteAendernCheckBox");
    spec.edit3DesignText = QStringLiteral("ab 1,51");
    spec.bandLabelTexts = { QStringLiteral("0 bis 0,3 g = "), QStringLiteral("0,31 bis 1,5 g ="),
        QStringLiteral(" ab 1,51g = ") };
    spec.explanations = {
        kSource,
        QStringLiteral("0 - 0,3 g = zu empfehlen, 0,31 - 1,5 g = in Maßen verzehren, über 1,51 g "
                       "= selten verzehren."),
    };
    spec.okName = QStringLiteral("Salz_OKButtonClick");
    return spec;
}

} // namespace

TEinstellFormLebensmittel::TEinstellFormLebensmittel(ThresholdSet &set, QWidget *parent)
    : ThresholdDialog(false, set, QStringLiteral("Einstellung: Lebensmittel"),
        { energyTab(), fatTab(), saturatedFatTab(), sugarTab(), saltTab() }, parent)
{
    setObjectName(QStringLiteral("EinstellFormLebensmittel"));
}
