#pragma once
// The save folder survives between runs as key HH of section Set in Set.dat,
// a profile file in the program folder.
#include "platform/text.h"

// The folder of the program file, never ending with a backslash ("C:" for a
// program in the root of drive C).
Text RunDirectory();

// The user's desktop folder, always ending with a backslash, or "" when the
// shell cannot name it.
Text DesktopDirectory();

// The save folder that Set.dat in `folder` names, or the desktop folder when
// the file gives no value. Creates no file.
Text LoadSaveDirectory(const Text& folder = RunDirectory());

// Writes the value as key HH of Set.dat in `folder` (kept even when the value
// is empty); other sections and keys stay as they are. Failure is silent.
void StoreSaveDirectory(const Text& value, const Text& folder = RunDirectory());
