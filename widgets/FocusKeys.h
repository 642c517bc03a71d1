// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QMenuBar;
class QWidget;

namespace Zestrola {

// A control that takes Tab itself (a text box) is left by Ctrl+Tab, and by
// Ctrl+Shift+Tab backwards, to the next control of its window that Tab
// reaches.
void leaveByCtrlTab(QWidget *widget);

// F10 in the window opens the first menu of its menu bar, as Alt and the
// arrow keys would.
void openMenuBarByF10(QWidget *window, QMenuBar *bar);

} // namespace Zestrola
