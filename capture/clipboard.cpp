#include "capture/clipboard.h"

#include <windows.h>

#include <cstring>
#include <cwchar>
#include <vector>

#include "capture/text_encoding.h"

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

std::vector<UINT> FormatsInOrder()
{
    std::vector<UINT> formats;
    for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format))
        formats.push_back(format);
    return formats;
}

// The block's size bounds the search for the terminating zero, in case
// another program left the text unterminated.
ClipboardText ReadAnsiText(Text& text)
{
    const HANDLE data = GetClipboardData(CF_TEXT);
    if (!data) return ClipboardText::Absent;
    const auto* bytes = static_cast<const char*>(GlobalLock(data));
    if (!bytes) return ClipboardText::Unknown;
    const SIZE_T size = GlobalSize(data);
    text.assign(bytes, size ? strnlen(bytes, size) : std::strlen(bytes));
    GlobalUnlock(data);
    return ClipboardText::Read;
}

ClipboardText ReadUnicodeText(Text& text)
{
    const HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (!data) return ClipboardText::Absent;
    const auto* units = static_cast<const WCHAR*>(GlobalLock(data));
    if (!units) return ClipboardText::Unknown;
    const SIZE_T size = GlobalSize(data);
    const std::size_t length = size ? wcsnlen(units, size / sizeof(WCHAR)) : std::wcslen(units);
    const bool converted = FileBytesOfUnicode(units, length, text);
    GlobalUnlock(data);
    if (converted) return ClipboardText::Read;
    text.clear();
    return ClipboardText::Unknown;
}

}  // namespace

ClipboardText ReadClipboardText(Text& text)
{
    text.clear();
    if (!OpenClipboardPatiently()) return ClipboardText::Unknown;
    // Text that a program put there as Unicode may hold characters that
    // Windows' own conversion to CF_TEXT would turn into '?'.
    const ClipboardText result = UnicodeTextIsOriginal(FormatsInOrder()) ? ReadUnicodeText(text) : ReadAnsiText(text);
    CloseClipboard();
    return result;
}
