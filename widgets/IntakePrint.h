// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/IntakeSheet.h"

#include <QDate>
#include <QSizeF>
#include <QString>
#include <memory>

class QPagedPaintDevice;
class QPaintDevice;
class QTextDocument;

// What goes on the printed pages of a calculation list: the title, the date,
// the list as a table with its totals, the report as the window shows it,
// the shares of the reference intakes as a table and as the chart.
struct IntakePrintout
{
    QString title;
    QDate date;
    Zestrola::IntakeSheet sheet;
    QString report; // plain text, one line per report line
};

// The pages' content, laid out for `device` with pages of `pageSize` (in
// the device's pixels). The chart is drawn as lines and text, never as a
// picture, so it stays sharp at any resolution.
std::unique_ptr<QTextDocument> intakeDocument(
    const IntakePrintout &printout, QPaintDevice *device, const QSizeF &pageSize);

// Paints every page onto a printer or PDF writer whose page layout is set,
// with "Seite n von m" at the foot of each page. Returns false when the
// device cannot be painted on.
bool printIntake(const IntakePrintout &printout, QPagedPaintDevice *device);

// A4 portrait, written atomically; false and a German message in
// *errorMessage on failure.
bool writeIntakePdf(
    const IntakePrintout &printout, const QString &path, QString *errorMessage = nullptr);

// The layout every printout starts from: A4 portrait, 15 mm margins.
void setIntakePageLayout(QPagedPaintDevice *device);
