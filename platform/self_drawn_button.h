#pragma once
#include <windows.h>

#include "platform/window_layout.h"

// Paints an owner-drawn push button for WM_DRAWITEM: a black frame and a focus
// rectangle while it has the focus, a raised edge (a shadow frame while
// pressed), and its text centred in the colours of its state.
void DrawSelfDrawnButton(const DRAWITEMSTRUCT& item, const ButtonLooks& looks);
