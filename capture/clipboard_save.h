#pragma once
#include <windows.h>

#include "platform/text.h"

// What a click on the paste button does: the clipboard's text goes into
// SaveDirectory + "\" + name + ".txt", the name typed into an input box owned
// by `owner` when `nameByUser`, otherwise the local time in calendar words.
// A cancelled input box, or a typed name holding a colon or naming a
// device, saves nothing.
void SaveClipboard(HWND owner, bool nameByUser);

// Writes the clipboard's text to `path`. A clipboard without text gives an
// empty file, but only where there was no file; one that cannot be read
// writes nothing.
void SaveClipboardToFile(const Text& path);
