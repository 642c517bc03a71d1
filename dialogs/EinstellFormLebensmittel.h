// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dialogs/ThresholdDialog.h"

// The food thresholds: "Einstellung: Lebensmittel".
class TEinstellFormLebensmittel : public ThresholdDialog
{
    Q_OBJECT
public:
    // Works on a copy of the set; see thresholds() and thresholdsChanged().
    explicit TEinstellFormLebensmittel(QWidget *parent = nullptr);
};
