#pragma once

class QWidget;

namespace Zestrola {

// A control that takes Tab itself (a text box) is left by Ctrl+Tab, and by
// Ctrl+Shift+Tab backwards, to the next control of its window that Tab
// reaches.
void leaveByCtrlTab(QWidget *widget);

} // namespace Zestrola
