#pragma once

#include "dialogs/ThresholdDialog.h"

// The food thresholds: "Einstellung: Lebensmittel".
class TEinstellFormLebensmittel : public ThresholdDialog
{
    Q_OBJECT
public:
    // The main window owns the set; the dialog changes it in place.
    explicit TEinstellFormLebensmittel(Zestrola::ThresholdSet &set, QWidget *parent = nullptr);
};
