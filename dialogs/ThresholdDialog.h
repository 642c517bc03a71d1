// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Thresholds.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QShowEvent;
class QTabWidget;

class SpinButton;

namespace Zestrola {

// What the food and the drink dialog write differently on one nutrient's
// tab; the rest of a tab follows from the nutrient (ThresholdDialog.cpp)
// and its default edges (model/Thresholds.cpp).
struct ThresholdTabTexts
{
    QString groupCaption;
    QString evaluateName;
    QString unlockName;
    QString okName;
    QStringList explanations;
};
using ThresholdTabTable = std::array<ThresholdTabTexts, kNutrientCount>;

// The first explanation line of the tabs other than the energy density.
inline const QString kThresholdSource
    = QStringLiteral("Werte nach Empfehlung der Verbraucherzentrale: ");

// One tab as it is built: its texts and the names of its controls. An
// empty name means the tab has no such control (the drink energy density
// has no band 2).
struct ThresholdTabDescription
{
    Nutrient nutrient = Nutrient::EnergyDensity;
    QString tabCaption;
    QString evaluateCaption;
    ThresholdTabTexts texts;
    std::array<QString, 3> editNames;
    std::array<QString, 2> spinNames;
    std::array<QString, 3> bandLabelNames;
    std::array<QString, 3> meaningLabelNames; // empty: numbered "LabelN"
    QString cancelName;
};

} // namespace Zestrola

// One nutrient's tab: evaluate switch, unlock box, edge boxes with spin
// buttons and band captions. Works on the nutrient's threshold in its
// dialog's set and stores every change at once.
class ThresholdTab : public QWidget
{
    Q_OBJECT
public:
    ThresholdTab(const Zestrola::ThresholdTabDescription &tab, bool drinks,
        Zestrola::ThresholdSet &set, int &nextLabelNumber, QWidget *parent = nullptr);

    void showLoaded(const Zestrola::LoadedThresholds &loaded);
    // The edges were taken from the store into the set; `boxTexts` holds
    // the edge-box texts of those that were read (empty: left alone).
    void showRefreshed(const std::array<QString, 3> &boxTexts);
    QPushButton *okButton() const { return m_ok; }

Q_SIGNALS:
    void tableReloadRequested();
    void recolourRequested();
    void okClicked();
    void cancelClicked();

private:
    void buildControls(const Zestrola::ThresholdTabDescription &tab, int &nextLabelNumber);
    QWidget *buildBand(
        const Zestrola::ThresholdTabDescription &tab, int band, int &nextLabelNumber);
    QWidget *buildButtons(const Zestrola::ThresholdTabDescription &tab);
    QLineEdit *makeEdgeBox(const QString &name, quint32 rgb);
    void connectControls();

    void setUnlocked(bool unlocked);
    void storeSwitch(bool on);
    void storeEdge(int edge, double value) const;
    void evaluateToggled(bool on);
    void okClick();
    void stepBand1(int direction);
    void stepBand2(int direction);
    void stepTwoBands(int direction);
    void showEdge1(double edge1);
    void showEdge3(double edge3);
    // The band captions for the edges of `t`.
    void showCaptions(const Zestrola::NutrientThreshold &t);

    Zestrola::NutrientThreshold &threshold() const { return m_set[m_nutrient]; }
    bool hasBand2() const { return m_edits[1] != nullptr; }
    QString unitText() const;

    Zestrola::ThresholdSet &m_set;
    bool m_drinks;
    Zestrola::Nutrient m_nutrient;
    QCheckBox *m_evaluate = nullptr;
    QCheckBox *m_unlock = nullptr;
    std::array<QLineEdit *, 3> m_edits {};
    std::array<SpinButton *, 2> m_spins {};
    std::array<QLabel *, 3> m_bandLabels {};
    QPushButton *m_ok = nullptr;
};

// The frame shared by the food and the drink threshold dialog: one tab per
// nutrient in `PageControl1`.
class ThresholdDialog : public QDialog
{
    Q_OBJECT
public:
    // At start-up: the set as loaded, every tab locked, evaluate boxes from
    // the switches (without running their click handling), edge boxes from
    // the texts.
    void showLoaded(const Zestrola::LoadedThresholds &loaded);
    void showFirstTab();
    // The dialog's own copy of the set, with every change made so far.
    const Zestrola::ThresholdSet &thresholds() const { return m_set; }

Q_SIGNALS:
    // A switch or an edge changed; sent before the requests below, so that
    // the table is reloaded or marked with the new set.
    void thresholdsChanged(const Zestrola::ThresholdSet &set);
    // The current table is to be reloaded from its file, which drops the
    // marks of a nutrient that was switched off.
    void tableReloadRequested();
    // The visible lines are to be marked again.
    void recolourRequested();

protected:
    ThresholdDialog(bool drinks, const QString &caption, const Zestrola::ThresholdTabTable &tabs,
        QWidget *parent);
    // Edges may have been changed in the store since the last showing.
    void showEvent(QShowEvent *event) override;

private:
    void makeCurrentOkDefault(int tabIndex);

    Zestrola::ThresholdSet m_set;
    QTabWidget *PageControl1 = nullptr;
    std::array<ThresholdTab *, Zestrola::kNutrientCount> m_tabs {};
};
