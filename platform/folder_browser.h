#pragma once
#include "platform/text.h"

// The shell's folder-browse dialog over the program's windows, which stay
// disabled while it is open. The chosen folder's file-system path, or ""
// when the user cancelled or chose an item without such a path.
Text BrowseForFolder(const Text& title);

// Shuts OLE down at the end of the program if the dialog started it.
void StopOle();
