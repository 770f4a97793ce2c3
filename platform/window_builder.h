// Builds a program window's controls from its layout table: their windows,
// fonts, colours, first settings and z-order.
#pragma once
#include <windows.h>

#include "platform/program_window.h"

// A solid brush that lives as long as the window.
HBRUSH MakeBrush(ProgramWindow& w, COLORREF color);

// Gives the window the layout's outer size, centred, after taking away the
// caption of a borderless layout.
void MatchOuterSize(HWND hwnd, const WindowLayout& layout);

// Creates the layout's controls hidden, stacked with the first on top, then
// shows the visible ones without activation.
void CreateControls(ProgramWindow& w, HINSTANCE instance);
