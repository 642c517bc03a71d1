// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace Zestrola {

// Gives assistive technology the table view as read-only multi-line text
// (lines, caret, selection, the caret line's marks in words) and the header
// grid as a list of its column titles. The interfaces are registered when
// the program loads; the widgets call this so that the registration is
// linked in with them.
void installAccessibleViews();

} // namespace Zestrola
