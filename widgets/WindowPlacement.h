// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace Zestrola {

// Places a window in the middle of the available area of its screen. Before
// a window is first shown its frame is not known yet; the client area is
// centred then.
void centreOnScreen(QWidget *window);

} // namespace Zestrola
