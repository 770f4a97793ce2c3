// A program window's life: its state, the window procedure all program windows
// share, the list of live windows, and closing.
#pragma once
#include <windows.h>

#include <cstddef>
#include <optional>
#include <vector>

#include "platform/modality.h"
#include "platform/window_layout.h"

struct ProgramWindow {
    const WindowLayout* layout = nullptr;
    HWND hwnd = nullptr;
    std::vector<HWND> controls;        // parallel to layout->controls
    std::vector<HGDIOBJ> ownedObjects; // fonts and brushes, deleted with the window
    std::vector<HBRUSH> colorBrushes;  // parallel to layout->controls, may be null
    HBRUSH backgroundBrush = nullptr;
    HWND focusMemory = nullptr;        // the control that had the focus at deactivation
    std::optional<ProgramWindowsDisabled> modal;  // the other windows, while this one is modal
    bool closing = false;              // set by RequestWindowDestroy

    HWND Control(std::size_t index) const { return index < controls.size() ? controls[index] : nullptr; }
    // The control's position in the layout, or -1 when it is none of this window's.
    int IndexOf(HWND control) const;
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

// The live windows in creation order.
const std::vector<ProgramWindow*>& ProgramWindows();

// The live window built from this layout that is not closing, or null.
ProgramWindow* FindOpenWindow(const WindowLayout& layout);

// The live program window with this handle, or null.
ProgramWindow* FindProgramWindow(HWND hwnd);

// From now on the thread is told to quit (code 0) when the last program
// window has been destroyed.
void QuitWhenLastWindowCloses();

// Marks the window closing and posts it a message that destroys it once the
// calling handler has returned.
void RequestWindowDestroy(ProgramWindow& window);
