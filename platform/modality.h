// Modal windows: while one is open every other program window is disabled,
// and an activated disabled window hands the activation on to it.
#pragma once
#include <windows.h>

#include <vector>

#include "platform/window_layout.h"

// Disables every parentless program window but `except` while it lives and
// then gives each its earlier state back. Scopes may nest and may even end
// out of order (a modal window closed under its own browse dialog): a window
// held by several gets back the state it had before the first, once the last
// has ended.
class ProgramWindowsDisabled {
public:
    explicit ProgramWindowsDisabled(HWND except = nullptr);
    ~ProgramWindowsDisabled();
    ProgramWindowsDisabled(const ProgramWindowsDisabled&) = delete;
    ProgramWindowsDisabled& operator=(const ProgramWindowsDisabled&) = delete;

private:
    std::vector<HWND> held_;
};

// Shows the layout's window modally: every other parentless program window
// is disabled until it has gone. Returns after its destruction; false when it
// could not be created.
bool RunModalWindow(const WindowLayout& layout);

// For a disabled window that was activated: activates the modal window instead.
void PassActivationToModalWindow(const ProgramWindow& w);
