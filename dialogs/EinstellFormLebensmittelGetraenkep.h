#pragma once

#include "dialogs/ThresholdDialog.h"

// The drink thresholds: "Einstellung: Getränke".
class TEinstellFormLebensmittelGetraenke : public ThresholdDialog
{
    Q_OBJECT
public:
    // The main window owns the set; the dialog changes it in place.
    explicit TEinstellFormLebensmittelGetraenke(
        Zestrola::ThresholdSet &set, QWidget *parent = nullptr);
};
