#pragma once
#include "platform/text.h"

// Reads the clipboard's CF_TEXT up to its first zero byte into `text`.
// A clipboard without text gives the empty Text and true. False when the
// clipboard could not be opened within a few tries (another program holds
// it) or its data could not be locked: the text is unknown then.
bool ReadClipboardText(Text& text);
