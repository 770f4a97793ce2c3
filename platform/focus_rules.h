// The keyboard focus inside a program window: the first focus, Tab order and
// the focus a window remembers while it is inactive.
#pragma once
#include "platform/program_window.h"

// Tab or Shift+Tab: the next or previous visible, enabled tab-stop control.
void MoveFocus(ProgramWindow& w, bool backwards);

// On deactivation: remembers the control that has the focus.
void RememberFocus(ProgramWindow& w);

// On getting the focus: back to the remembered control if it still exists,
// otherwise to the first tab-stop control.
void RestoreFocus(ProgramWindow& w);
