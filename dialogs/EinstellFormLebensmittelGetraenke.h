// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dialogs/ThresholdDialog.h"

// The drink thresholds: "Einstellung: Getränke".
class TEinstellFormLebensmittelGetraenke : public ThresholdDialog
{
    Q_OBJECT
public:
    // Works on a copy of the set; see thresholds() and thresholdsChanged().
    explicit TEinstellFormLebensmittelGetraenke(QWidget *parent = nullptr);
};
