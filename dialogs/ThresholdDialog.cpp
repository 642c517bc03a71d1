// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/ThresholdDialog.h"

#include "widgets/Fonts.h"
#include "widgets/MessageBox.h"
#include "widgets/SpinButton.h"
#include "widgets/WindowPlacement.h"

#include <QCheckBox>
#include <QColor>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Zestrola;

namespace {

const std::array<QString, 3> kMeaningTexts = {
    QStringLiteral("zu empfehlen"),
    QStringLiteral("in Maßen verzehren"),
    QStringLiteral("selten verzehren."),
};
constexpr std::array<quint32, 3> kBandRgbs = { kGreenRgb, kYellowRgb, kRedRgb };

QFont contentFont()
{
    return Fonts::unicodeSans();
}

QFont withBold(QFont font, bool bold)
{
    font.setBold(bold);
    return font;
}

QLabel *makeLabel(const QString &name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

// What the tabs of a nutrient share in both dialogs. Control names differ
// only in the prefix ("Fett_Edit_Wert1") and the numbers of the spin
// buttons; meaning labels are named after the band captions
// ("Fett_Label_Wert1_") where `namedMeaningLabels` is set.
struct NutrientTab
{
    const char16_t *prefix;
    int firstSpin;
    bool namedMeaningLabels;
    const char16_t *tabCaption;
    const char16_t *evaluateCaption;
};
constexpr std::array<NutrientTab, kNutrientCount> kNutrientTabs = { {
    { u"", 1, true, u"&Energiedichte", u"Energiedichte a&uswerten" },
    { u"Fett_", 3, true, u"&Fett", u"Fettgehalt a&uswerten" },
    { u"gesaettigte_Fettsaeuren_", 5, false, u"&Gesättigte Fettsäuren",
        u"gesättigte Fettsäuren a&uswerten" },
    { u"Zucker_", 7, false, u"&Zucker", u"Zuckergehalt a&uswerten" },
    { u"Salz_", 9, false, u"&Salz", u"Salzgehalt a&uswerten" },
} };

ThresholdTabDescription describeTab(bool drinks, Nutrient n, const ThresholdTabTexts &texts)
{
    const NutrientTab &shared = kNutrientTabs[index(n)];
    const QString prefix = QString::fromUtf16(shared.prefix);
    ThresholdTabDescription tab;
    tab.nutrient = n;
    tab.tabCaption = QString::fromUtf16(shared.tabCaption);
    tab.evaluateCaption = QString::fromUtf16(shared.evaluateCaption);
    tab.texts = texts;
    for (int band = 0; band < 3; ++band) {
        if (!hasEdge(drinks, n, band + 1))
            continue;
        const QString number = QString::number(band + 1);
        tab.editNames[band] = prefix + u"Edit_Wert" + number;
        tab.bandLabelNames[band] = prefix + u"Label_Wert" + number;
        if (shared.namedMeaningLabels)
            tab.meaningLabelNames[band] = tab.bandLabelNames[band] + u'_';
        if (band < 2)
            tab.spinNames[band] = QStringLiteral("SpinButton%1").arg(shared.firstSpin + band);
    }
    tab.cancelName = prefix + u"AbbrechenButton";
    return tab;
}

NutrientThreshold defaultThreshold(bool drinks, Nutrient n)
{
    return { true, defaultEdge(drinks, n, 1), defaultEdge(drinks, n, 2),
        defaultEdge(drinks, n, 3) };
}

} // namespace

ThresholdTab::ThresholdTab(const ThresholdTabDescription &tab, bool drinks, ThresholdSet &set,
    int &nextLabelNumber, QWidget *parent)
    : QWidget(parent)
    , m_set(set)
    , m_drinks(drinks)
    , m_nutrient(tab.nutrient)
{
    setFont(contentFont());
    buildControls(tab, nextLabelNumber);
    // Until the first showing, when the stored edges take their place.
    const NutrientThreshold defaults = defaultThreshold(drinks, m_nutrient);
    showCaptions(defaults);
    m_edits[2]->setText(edgePrefix(3) + completeToTwoDecimals(numberText(defaults.Wert3)));
    connectControls();
    setUnlocked(false);
}

void ThresholdTab::buildControls(const ThresholdTabDescription &tab, int &nextLabelNumber)
{
    auto *group = new QGroupBox(tab.texts.groupCaption, this);
    group->setObjectName(QStringLiteral("GroupBox%1").arg(index(m_nutrient) + 1));
    group->setFont(withBold(contentFont(), true));
    // The caption is bold; the controls inside are not.
    auto *content = new QWidget(group);
    content->setFont(withBold(contentFont(), false));
    auto *groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(content);

    auto *grid = new QGridLayout(content);
    m_evaluate = new QCheckBox(tab.evaluateCaption, content);
    m_evaluate->setObjectName(tab.texts.evaluateName);
    m_evaluate->setChecked(true);
    m_unlock = new QCheckBox(QStringLiteral("Die Werte &verändern"), content);
    m_unlock->setObjectName(tab.texts.unlockName);
    m_unlock->setLayoutDirection(Qt::RightToLeft); // text left of the box
    grid->addWidget(m_evaluate, 0, 0, 1, 2);
    grid->addWidget(m_unlock, 0, 2, Qt::AlignRight);
    for (int band = 0; band < 3; ++band) {
        if (!tab.editNames[band].isEmpty())
            grid->addWidget(buildBand(tab, band, nextLabelNumber), 1, band, Qt::AlignTop);
    }
    int row = 2;
    for (const QString &text : tab.texts.explanations) {
        QLabel *label = makeLabel(QStringLiteral("Label%1").arg(nextLabelNumber++), text, content);
        label->setWordWrap(true);
        grid->addWidget(label, row++, 0, 1, 3);
    }
    grid->setColumnMinimumWidth(1, 170);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buildButtons(tab));
}

QWidget *ThresholdTab::buildBand(const ThresholdTabDescription &tab, int band, int &nextLabelNumber)
{
    auto *box = new QWidget;
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    m_bandLabels[band] = makeLabel(tab.bandLabelNames[band], QString(), box);
    const QString meaningName = tab.meaningLabelNames[band].isEmpty()
        ? QStringLiteral("Label%1").arg(nextLabelNumber++)
        : tab.meaningLabelNames[band];
    layout->addWidget(m_bandLabels[band]);
    layout->addWidget(makeLabel(meaningName, kMeaningTexts[band], box));

    auto *edgeRow = new QHBoxLayout;
    edgeRow->setSpacing(0);
    m_edits[band] = makeEdgeBox(tab.editNames[band], kBandRgbs[band]);
    m_edits[band]->setText(QStringLiteral("0"));
    edgeRow->addWidget(m_edits[band]);
    if (band < 2 && !tab.spinNames[band].isEmpty()) {
        m_spins[band] = new SpinButton(box);
        m_spins[band]->setObjectName(tab.spinNames[band]);
        edgeRow->addWidget(m_spins[band]);
    }
    edgeRow->addStretch();
    layout->addLayout(edgeRow);
    return box;
}

QLineEdit *ThresholdTab::makeEdgeBox(const QString &name, quint32 rgb)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setFont(withBold(contentFont(), true));
    edit->setFixedWidth(110);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, QColor::fromRgb(rgb));
    palette.setColor(QPalette::Text, Qt::black);
    edit->setPalette(palette);
    return edit;
}

QWidget *ThresholdTab::buildButtons(const ThresholdTabDescription &tab)
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch();
    m_ok = new QPushButton(QStringLiteral("&OK"), row);
    m_ok->setObjectName(tab.texts.okName);
    auto *cancel = new QPushButton(QStringLiteral("&Abbrechen"), row);
    cancel->setObjectName(tab.cancelName);
    cancel->setAutoDefault(false);
    layout->addWidget(m_ok);
    layout->addWidget(cancel);
    connect(m_ok, &QPushButton::clicked, this, &ThresholdTab::okClick);
    connect(cancel, &QPushButton::clicked, this, &ThresholdTab::cancelClicked);
    return row;
}

void ThresholdTab::connectControls()
{
    connect(m_unlock, &QCheckBox::toggled, this, &ThresholdTab::setUnlocked);
    connect(m_evaluate, &QCheckBox::toggled, this, &ThresholdTab::evaluateToggled);
    const bool twoBands = !hasBand2();
    connect(m_spins[0], &SpinButton::upClick, this,
        [this, twoBands] { twoBands ? stepTwoBands(1) : stepBand1(1); });
    connect(m_spins[0], &SpinButton::downClick, this,
        [this, twoBands] { twoBands ? stepTwoBands(-1) : stepBand1(-1); });
    if (m_spins[1]) {
        connect(m_spins[1], &SpinButton::upClick, this, [this] { stepBand2(1); });
        connect(m_spins[1], &SpinButton::downClick, this, [this] { stepBand2(-1); });
    }
}

void ThresholdTab::showLoaded(const LoadedThresholds &loaded)
{
    m_unlock->setChecked(false);
    setUnlocked(false);
    {
        // The switch is already stored; ticking the box must not store it
        // again nor reload the table.
        const QSignalBlocker blocker(m_evaluate);
        m_evaluate->setChecked(loaded.set[m_nutrient].Auswerten);
    }
    for (int band = 0; band < 3; ++band) {
        if (m_edits[band])
            m_edits[band]->setText(loaded.edgeTexts[index(m_nutrient)][band]);
    }
}

void ThresholdTab::showRefreshed(const std::array<QString, 3> &boxTexts)
{
    for (int band = 0; band < 3; ++band) {
        if (m_edits[band] && !boxTexts[band].isEmpty())
            m_edits[band]->setText(boxTexts[band]);
    }
    showCaptions(threshold());
}

// The captions follow the edges from the first showing on, not only after
// the first spin step, so that they never contradict the edge boxes.
void ThresholdTab::showCaptions(const NutrientThreshold &t)
{
    m_bandLabels[0]->setText(
        edgePrefix(1) + completeToTwoDecimals(numberText(t.Wert1)) + unitText());
    if (hasBand2()) {
        m_bandLabels[1]->setText(numberText(stepEdge(t.Wert1, 1)) + u" bis "
            + completeToTwoDecimals(numberText(t.Wert2)) + unitText());
    }
    m_bandLabels[2]->setText(u" ab " + numberText(t.Wert3) + unitText());
}

void ThresholdTab::setUnlocked(bool unlocked)
{
    for (QLineEdit *edit : m_edits) {
        if (edit)
            edit->setEnabled(unlocked);
    }
    for (SpinButton *spin : m_spins) {
        if (spin)
            spin->setEnabled(unlocked);
    }
}

void ThresholdTab::storeSwitch(bool on)
{
    threshold().Auswerten = on;
    Zestrola::storeSwitch(m_drinks, m_nutrient, on);
}

void ThresholdTab::storeEdge(int edge, double value) const
{
    Zestrola::storeEdge(m_drinks, m_nutrient, edge, value);
}

void ThresholdTab::evaluateToggled(bool on)
{
    storeSwitch(on);
    Q_EMIT tableReloadRequested();
    Q_EMIT recolourRequested();
}

void ThresholdTab::okClick()
{
    storeSwitch(m_evaluate->isChecked());
    Q_EMIT tableReloadRequested();
    m_unlock->setChecked(false);
    Q_EMIT okClicked();
}

void ThresholdTab::showEdge1(double edge1)
{
    threshold().Wert1 = edge1;
    storeEdge(1, edge1);
    const QString completed = completeToTwoDecimals(numberText(edge1));
    m_edits[0]->setText(edgePrefix(1) + completed);
    m_bandLabels[0]->setText(edgePrefix(1) + completed + unitText());
}

// The red band starts 0,01 above the edge below it; its edge is stored with
// its prefix.
void ThresholdTab::showEdge3(double edge3)
{
    threshold().Wert3 = edge3;
    m_bandLabels[2]->setText(u" ab " + numberText(edge3) + unitText());
    m_edits[2]->setText(edgePrefix(3) + completeToTwoDecimals(numberText(edge3)));
    storeEdge(3, edge3);
}

void ThresholdTab::stepBand1(int direction)
{
    const NutrientThreshold &t = threshold();
    showEdge1(stepEdge(t.Wert1, direction));
    m_bandLabels[1]->setText(
        numberText(stepEdge(t.Wert1, 1)) + u" bis " + numberText(t.Wert2) + unitText());
}

void ThresholdTab::stepBand2(int direction)
{
    NutrientThreshold &t = threshold();
    t.Wert2 = stepEdge(t.Wert2, direction);
    storeEdge(2, t.Wert2);
    const QString completed = completeToTwoDecimals(numberText(t.Wert2));
    m_edits[1]->setText(edgePrefix(2) + completed);
    m_bandLabels[1]->setText(numberText(stepEdge(t.Wert1, 1)) + u" bis " + completed + unitText());
    showEdge3(stepEdge(t.Wert2, 1));
}

void ThresholdTab::stepTwoBands(int direction)
{
    const NutrientThreshold &t = threshold();
    showEdge1(stepEdge(t.Wert1, direction));
    showEdge3(stepEdge(t.Wert1, 1));
}

QString ThresholdTab::unitText() const
{
    return m_nutrient == Nutrient::EnergyDensity ? QStringLiteral(" kcal/g =")
                                                 : QStringLiteral(" g =");
}

ThresholdDialog::ThresholdDialog(
    bool drinks, const QString &caption, const ThresholdTabTable &tabs, QWidget *parent)
    : QDialog(parent)
{
    m_set.drinks = drinks;
    setWindowTitle(caption);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    int nextLabelNumber = 1;
    for (const Nutrient n : kNutrients) {
        const ThresholdTabDescription description = describeTab(drinks, n, tabs[index(n)]);
        auto *tab = new ThresholdTab(description, drinks, m_set, nextLabelNumber, PageControl1);
        tab->setObjectName(QStringLiteral("TabSheet%1").arg(index(description.nutrient) + 1));
        PageControl1->addTab(tab, description.tabCaption);
        m_tabs[index(description.nutrient)] = tab;
        connect(tab, &ThresholdTab::tableReloadRequested, this, [this] {
            Q_EMIT thresholdsChanged(m_set);
            Q_EMIT tableReloadRequested();
        });
        connect(tab, &ThresholdTab::recolourRequested, this, [this] {
            Q_EMIT thresholdsChanged(m_set);
            Q_EMIT recolourRequested();
        });
        connect(tab, &ThresholdTab::okClicked, this, &QDialog::accept);
        connect(tab, &ThresholdTab::cancelClicked, this, &QDialog::reject);
    }
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(
        PageControl1, &QTabWidget::currentChanged, this, &ThresholdDialog::makeCurrentOkDefault);
    // Spin steps are stored at once, "Abbrechen" included: the owner's set
    // follows when the dialog closes.
    connect(this, &QDialog::finished, this, [this] { Q_EMIT thresholdsChanged(m_set); });
    makeCurrentOkDefault(0);
}

void ThresholdDialog::showLoaded(const LoadedThresholds &loaded)
{
    m_set = loaded.set;
    for (ThresholdTab *tab : m_tabs)
        tab->showLoaded(loaded);
}

void ThresholdDialog::showFirstTab()
{
    PageControl1->setCurrentIndex(0);
}

void ThresholdDialog::showEvent(QShowEvent *event)
{
    centreOnScreen(this);
    QDialog::showEvent(event);
    const RefreshedEdges refreshed = refreshEdgesFromStore(m_set);
    for (const Nutrient n : kNutrients)
        m_tabs[index(n)]->showRefreshed(refreshed.boxTexts[index(n)]);
    for (const QString &message : refreshed.errors)
        MessageBox::error(this, message);
}

// Each tab has its own OK button; Enter means the one on the visible tab.
void ThresholdDialog::makeCurrentOkDefault(int tabIndex)
{
    if (tabIndex >= 0 && tabIndex < int(m_tabs.size()))
        m_tabs[tabIndex]->okButton()->setDefault(true);
}
