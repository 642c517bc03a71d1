#include "dialogs/EinstellFormLebensmittel.h"

using namespace Zestrola;

namespace {

const QString kSource = QStringLiteral("Werte nach Empfehlung der Verbraucherzentrale: ");

ThresholdTabDescription energyTab()
{
    ThresholdTabDescription tab = namedTabDescription(Nutrient::EnergyDensity, QString(), 1, true);
    tab.tabCaption = QStringLiteral("Energiedichte");
    tab.groupCaption = QStringLiteral("Energiedichte: Lebensmittel (Nahrung)");
    tab.evaluateName = QStringLiteral("EnergiedichteCheckBox");
    tab.evaluateCaption = QStringLiteral("Energiedichte auswerten");
    tab.unlockName = QStringLiteral("WerteAendernCheckBox");
    tab.edit3DesignText = QStringLiteral("ab 2,41");
    tab.bandLabelTexts = { QStringLiteral("0 bis 1,59 kcal/g = "),
        QStringLiteral("1,60 bis 2,40 kcal/g ="), QStringLiteral(" ab 2,41 kcal/g = ") };
    tab.explanations = {
        QStringLiteral("Von der Deutschen Gesellschaft für Ernährung e.V empfohlen: "),
        QStringLiteral("0 - 1,59 = zu empfehlen, 1,60 - 2,40 = in Maßen verzehren, über 2,40 = "
                       "selten verzehren."),
        QStringLiteral("Die Energiedichte gibt an wie viel Kalorien in 1 Gramm des Lebensmittels "
                       "sind. "),
        QStringLiteral("Je höher der Wert desto weniger sollte man davon verzehren. "),
    };
    tab.okName = QStringLiteral("OKButton");
    return tab;
}

ThresholdTabDescription fatTab()
{
    ThresholdTabDescription tab
        = namedTabDescription(Nutrient::Fat, QStringLiteral("Fett_"), 3, true);
    tab.tabCaption = QStringLiteral("Fett");
    tab.groupCaption = QStringLiteral("Fett: Lebensmittel (Nahrung)");
    tab.evaluateName = QStringLiteral("FettAuswertenCheckBox");
    tab.evaluateCaption = QStringLiteral("Fettgehalt auswerten");
    tab.unlockName = QStringLiteral("Fett_WerteAendernCheckBox");
    tab.edit3DesignText = QStringLiteral("ab 17,51");
    tab.bandLabelTexts = { QStringLiteral("0 bis 3 g = "), QStringLiteral("3,01 bis 17,5 g ="),
        QStringLiteral(" ab 17,51g = ") };
    tab.explanations = {
        kSource,
        QStringLiteral("0-3 g = zu empfehlen, 3-17,5 g = in Maßen verzehren, über 17,5 g = "
                       "selten verzehren."),
    };
    tab.okName = QStringLiteral("Fett_OKButton");
    return tab;
}

ThresholdTabDescription saturatedFatTab()
{
    ThresholdTabDescription tab = namedTabDescription(
        Nutrient::SaturatedFat, QStringLiteral("gesaettigte_Fettsaeuren_"), 5, false);
    tab.tabCaption = QStringLiteral("Gesättigte Fettsäuren");
    tab.groupCaption = QStringLiteral("gesättigte Fettsäuren: Lebensmittel (Nahrung)");
    tab.evaluateName = QStringLiteral("gesaettigte_FettsaeurenAuswertenCheckBox");
    tab.evaluateCaption = QStringLiteral("gesättigte Fettsäuren auswerten");
    tab.unlockName = QStringLiteral("gesaettigte_Fettsaeuren_WerteAendernCheckBox");
    tab.edit3DesignText = QStringLiteral("ab 5");
    tab.bandLabelTexts = { QStringLiteral("0 bis 1,5 g = "), QStringLiteral("1,51 bis 5 g ="),
        QStringLiteral(" ab 5,01 g = ") };
    tab.explanations = {
        kSource,
        QStringLiteral("0 - 1,5 g = zu empfehlen, 1,51 - 5 g = in Maßen verzehren, über 5 g = "
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
    tab.groupCaption = QStringLiteral("Zucker: Lebensmittel (Nahrung)");
    tab.evaluateName = QStringLiteral("ZuckerAuswertenCheckBox");
    tab.evaluateCaption = QStringLiteral("Zuckergehalt auswerten");
    tab.unlockName = QStringLiteral("Zucker_WerteAendernCheckBox");
    tab.edit3DesignText = QStringLiteral("ab 22,51");
    tab.bandLabelTexts = { QStringLiteral("0 bis 5 g = "), QStringLiteral("5,01 bis 22,5 g ="),
        QStringLiteral(" ab 22,51g = ") };
    tab.explanations = {
        kSource,
        QStringLiteral("0 - 5 g = zu empfehlen, 5 - 22,5 g = in Maßen verzehren, über 22,5 g = "
                       "selten verzehren."),
    };
    tab.okName = QStringLiteral("Zucker_OKButtonClick");
    return tab;
}

ThresholdTabDescription saltTab()
{
    ThresholdTabDescription tab
        = namedTabDescription(Nutrient::Salt, QStringLiteral("Salz_"), 9, false);
    tab.tabCaption = QStringLiteral("Salz");
    tab.groupCaption = QStringLiteral("Salz: Lebensmittel (Nahrung)");
    tab.evaluateName = QStringLiteral("SalzAuswertenCheckBox");
    tab.evaluateCaption = QStringLiteral("Salzgehalt auswerten");
    tab.unlockName = QStringLiteral("Salz_WerteAendernCheckBox");
    tab.edit3DesignText = QStringLiteral("ab 1,51");
    tab.bandLabelTexts = { QStringLiteral("0 bis 0,3 g = "), QStringLiteral("0,31 bis 1,5 g ="),
        QStringLiteral(" ab 1,51g = ") };
    tab.explanations = {
        kSource,
        QStringLiteral("0 - 0,3 g = zu empfehlen, 0,31 - 1,5 g = in Maßen verzehren, über 1,51 g "
                       "= selten verzehren."),
    };
    tab.okName = QStringLiteral("Salz_OKButtonClick");
    return tab;
}

} // namespace

TEinstellFormLebensmittel::TEinstellFormLebensmittel(QWidget *parent)
    : ThresholdDialog(false, QStringLiteral("Einstellung: Lebensmittel"),
        { energyTab(), fatTab(), saturatedFatTab(), sugarTab(), saltTab() }, parent)
{
    setObjectName(QStringLiteral("EinstellFormLebensmittel"));
}
