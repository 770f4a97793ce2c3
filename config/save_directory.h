#pragma once
// The save folder survives between runs as key HH of section Set in Set.dat,
// a profile file beside the program file.
#include "platform/text.h"

// A copy of the program folder, never ending with a backslash.
Text RunDirectory();

// The user's desktop folder, always ending with a backslash, or "" when the
// shell cannot name it.
Text DesktopDirectory();

// Sets SaveDirectory from Set.dat, or to the desktop folder when the file
// gives no value. Creates no file.
void LoadSaveDirectory();

// Writes the value as key HH (kept even when the value is empty); other
// sections and keys stay as they are. Failure is silent.
void StoreSaveDirectory(const Text& value);
