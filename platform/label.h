#pragma once
#include <windows.h>

// Labels are child windows of the class "ClipToTextLabel" that paint their own
// text: black, one line, left-aligned, vertically centred, on the button face.
void RegisterLabelClass(HINSTANCE instance);
