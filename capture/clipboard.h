#pragma once
#include "platform/text.h"

// What the clipboard held for a save.
enum class ClipboardText {
    Read,     // its text, possibly empty
    Absent,   // no text at all: nothing, a picture, copied files
    Unknown,  // it stayed busy, or its text could not be locked or converted
};

// Reads the clipboard's text up to its first zero into `text` as the bytes a
// file should hold; `text` is left empty unless the result is Read. Text put
// there as CF_TEXT gives exactly its bytes. Text put there as Unicode gives
// its bytes in the ANSI code page, or UTF-8 with a byte-order mark when that
// code page lacks one of its characters. Another program holding the
// clipboard is waited for a few tries.
ClipboardText ReadClipboardText(Text& text);
