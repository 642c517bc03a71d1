// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The report: runs each measuring process on fresh data, prints its figures
// beside the goals and tells whether every goal was met.

namespace Bench {

// The whole benchmark: the table sizes and the wide table, the steps, the
// calculation window, the info box and the import; with `million` a table
// of 1,000,000 rows as well. Returns the exit code: 0 when every goal is
// met, 1 when one is missed.
int reportAll(bool million = false);
// One section alone, with the same exit codes.
int reportCalculation();
int reportInfoBox();
int reportOnline();
int reportImport();
int reportScreenReader();

} // namespace Bench
