#pragma once
#include <cstddef>

#include "platform/program_window.h"

// Shows the items of the window's menu entry `menu` as a popup 3 pixels right
// of and below the mouse pointer. A chosen item reaches the window as its
// WM_COMMAND after the popup has closed.
void ShowPopupMenu(ProgramWindow& window, std::size_t menu);
