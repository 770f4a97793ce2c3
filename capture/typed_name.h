#pragma once
// Which names typed into the input box a save may use.
#include "platform/text.h"

// False for a name that would hide or lose the text although the save looks
// successful: one holding a colon (NTFS takes "a:b" for the stream b of the
// file a) or one whose file name is a device (CON, PRN, AUX, NUL, COM1-COM9,
// LPT1-LPT9, in any case, as the part before the first dot with trailing
// blanks removed: "con", "NUL.log", "com1 .backup"). The name is read
// character by character in the ANSI code page, so the second byte of a
// double-byte character is never taken for a backslash or a dot.
bool IsSafeTypedName(const Text& name);
