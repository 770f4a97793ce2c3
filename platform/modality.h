// Modal windows: while one is open every other program window is disabled,
// and an activated disabled window hands the activation on to it.
#pragma once
#include <windows.h>

#include <vector>

#include "platform/window_layout.h"

// The program windows that have no parent, in creation order.
std::vector<HWND> ParentlessProgramWindows();

// Shows the layout's window modally: every other parentless program window
// is disabled until it has gone. Returns after its destruction; false when it
// could not be created.
bool RunModalWindow(const WindowLayout& layout);

// Gives the windows that a modal window disabled their state back.
void EndModalState(ProgramWindow& w);

// For a disabled window that was activated: activates the modal window instead.
void PassActivationToModalWindow(const ProgramWindow& w);
