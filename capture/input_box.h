#pragma once
#include <windows.h>

#include "platform/text.h"

// A modal input box owned by `owner` (disabled while it is open): the prompt,
// an empty entry field with the focus, "确认输入(&O)" (default) and "取消(&C)".
// Confirming copies the field's text into `name` unchanged and gives true;
// cancelling leaves `name` as it was and gives false.
bool PromptForText(HWND owner, const Text& prompt, const Text& caption, Text& name);
