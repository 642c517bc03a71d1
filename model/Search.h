// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/TableRows.h"

#include <QString>

namespace Zestrola {

// Index of the first row that begins with `term` (atLineStart) or holds it
// anywhere, without regard to letter case ("ÄPFEL" finds "Äpfel"); -1 when
// no row does or the term is empty. The term is taken as typed, blanks
// included, and every search starts at the first row.
int findRow(const TableRows &rows, const QString &term, bool atLineStart);

} // namespace Zestrola
