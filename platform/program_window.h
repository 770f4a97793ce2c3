#pragma once
// The frame of the program's windows: building a window from its layout,
// the window procedure they share, the list of program windows, the message
// loops and the invisible owner of modal windows.
#include <windows.h>

#include <cstddef>
#include <utility>
#include <vector>

#include "platform/window_layout.h"

struct ProgramWindow {
    const WindowLayout* layout = nullptr;
    HWND hwnd = nullptr;
    std::vector<HWND> controls;        // parallel to layout->controls
    std::vector<HGDIOBJ> ownedObjects; // fonts and brushes, deleted with the window
    std::vector<HBRUSH> colorBrushes;  // parallel to layout->controls, may be null
    HBRUSH backgroundBrush = nullptr;
    HWND focusMemory = nullptr;        // the control that had the focus at deactivation
    bool modal = false;
    bool closing = false;              // set by RequestWindowDestroy
    std::vector<std::pair<HWND, BOOL>> disabledWindows;

    HWND Control(std::size_t index) const { return index < controls.size() ? controls[index] : nullptr; }
};

// Registers the window classes, loads the icon and creates the hidden owner.
void InitWindowFrame(HINSTANCE instance);
void ShutdownWindowFrame();

// The invisible tool window that owns every modal window.
HWND HiddenOwnerWindow();

// Creates the window and its controls hidden, shows the visible controls
// without activation and runs the creation handler. The caller shows the
// window. Null when the window cannot be created or its creation handler
// destroyed it.
ProgramWindow* CreateProgramWindow(const WindowLayout& layout, HWND owner);

// The live window built from this layout, or null.
ProgramWindow* FindProgramWindow(const WindowLayout& layout);

// The program windows that have no parent, in creation order.
std::vector<HWND> ParentlessProgramWindows();

// The main message loop; returns the quit message's code. When the last
// program window has been destroyed the loop is told to quit with code 0.
int RunMessageLoop();

// Shows the layout's window modally: every other parentless program window
// is disabled until it has gone. Returns after its destruction; false when it
// could not be created.
bool RunModalWindow(const WindowLayout& layout);

// Marks the window closing and posts it a message that destroys it once the
// calling handler has returned.
void RequestWindowDestroy(ProgramWindow& window);
