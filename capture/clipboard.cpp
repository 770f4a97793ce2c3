#include "capture/clipboard.h"

#include <windows.h>

#include <cstring>

namespace {
// Another program may hold the clipboard for a moment; a few tries within
// about a quarter of a second ride that out without keeping the user waiting.
constexpr int kOpenTries = 5;
constexpr DWORD kPauseBetweenTriesMs = 50;

bool OpenClipboardPatiently()
{
    for (int attempt = 0; attempt < kOpenTries; ++attempt) {
        if (attempt > 0) Sleep(kPauseBetweenTriesMs);
        if (OpenClipboard(nullptr)) return true;
    }
    return false;
}
}  // namespace

ClipboardText ReadClipboardText(Text& text)
{
    text.clear();
    if (!OpenClipboardPatiently()) return ClipboardText::Unknown;
    ClipboardText result = ClipboardText::Absent;
    if (const HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const auto* bytes = static_cast<const char*>(GlobalLock(data))) {
            // The block's size bounds the search for the zero byte, in case
            // another program left the text unterminated.
            const SIZE_T size = GlobalSize(data);
            text.assign(bytes, size ? strnlen(bytes, size) : std::strlen(bytes));
            GlobalUnlock(data);
            result = ClipboardText::Read;
        } else {
            result = ClipboardText::Unknown;
        }
    }
    CloseClipboard();
    return result;
}
