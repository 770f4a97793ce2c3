#pragma once
#include "platform/text.h"

// What the clipboard held for a save.
enum class ClipboardText {
    Read,     // its text, possibly empty
    Absent,   // no text at all: nothing, a picture, copied files
    Unknown,  // it stayed busy, or its text could not be locked
};

// Reads the clipboard's CF_TEXT up to its first zero byte into `text`, which
// is left empty unless the result is Read. Another program holding the
// clipboard is waited for a few tries.
ClipboardText ReadClipboardText(Text& text);
