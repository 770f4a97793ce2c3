#pragma once
// Thin services over windows and controls that the handlers share.
#include <windows.h>

#include "platform/text.h"

constexpr int kAlphaOmitted = -1;

// Makes the window layered with the given constant alpha. Out-of-range or
// omitted alpha counts as 255. Does nothing (result 0) outside the NT family
// or where user32 lacks SetLayeredWindowAttributes. The extended style is
// written as WS_EX_LAYERED alone on every call.
BOOL SetWindowAlpha(HWND window, int alpha = kAlphaOmitted);

// Sets the outer height (clamped to 0..32627), keeping the top-left corner,
// the width, the z-order and the activation.
void SetWindowHeight(HWND window, int height);

// Makes the window topmost without showing, moving or activating it.
void SetWindowTopmost(HWND window);

// A check box is checked exactly when it answers BM_GETCHECK with BST_CHECKED.
bool IsChecked(HWND checkBox);

// The slider's current position.
int SliderPosition(HWND slider);

Text ReadWindowText(HWND window);
void WriteWindowText(HWND window, const Text& text);
