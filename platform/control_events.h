// Routes what a window's controls report (colours, drawing, clicks, slider
// moves, menu commands) to the window's layout and its handlers.
#pragma once
#include <windows.h>

#include "platform/program_window.h"

// WM_CTLCOLOR*: the layout's colours for the control, or the platform's answer.
LRESULT AnswerControlColor(ProgramWindow& w, UINT message, WPARAM wParam, LPARAM lParam);

// WM_DRAWITEM: paints a self-drawn button; false when the control is none.
bool DrawControl(ProgramWindow& w, const DRAWITEMSTRUCT& item);

// WM_COMMAND: runs a menu entry's or a button's handler; false when the
// command is neither.
bool RunCommand(ProgramWindow& w, WPARAM wParam, LPARAM lParam);

// WM_HSCROLL: runs the slider's handler for every change but the end of a drag.
void RunSliderChange(ProgramWindow& w, WPARAM wParam, LPARAM lParam);
