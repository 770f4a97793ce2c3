// The choice between the clipboard's ANSI and Unicode text, and the encoding
// of Unicode text for a file.
#include "capture/text_encoding.h"

#include <climits>

namespace {

const char kUtf8ByteOrderMark[] = {'\xEF', '\xBB', '\xBF'};

// Converts `text` into `bytes` after its first `offset` bytes. `lost`, where
// given, tells whether a character had no exact form in the code page.
bool Convert(UINT codePage, DWORD flags, const WCHAR* text, int length, Text& bytes, std::size_t offset, BOOL* lost)
{
    const int size = WideCharToMultiByte(codePage, flags, text, length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return false;
    bytes.resize(offset + static_cast<std::size_t>(size));
    return WideCharToMultiByte(codePage, flags, text, length, bytes.data() + offset, size, nullptr, lost) == size;
}

}  // namespace

bool UnicodeTextIsOriginal(const std::vector<UINT>& formats)
{
    for (const UINT format : formats) {
        if (format == CF_UNICODETEXT) return true;
        if (format == CF_TEXT || format == CF_OEMTEXT) return false;
    }
    return false;
}

bool FileBytesOfUnicode(const WCHAR* text, std::size_t length, Text& bytes)
{
    bytes.clear();
    if (length == 0) return true;
    // UTF-8 takes up to three bytes a unit, and the converter counts in int.
    if (length > INT_MAX / 3) return false;
    const int units = static_cast<int>(length);
    BOOL lost = FALSE;
    if (!Convert(CP_ACP, WC_NO_BEST_FIT_CHARS, text, units, bytes, 0, &lost)) return false;
    if (!lost) return true;
    bytes.assign(kUtf8ByteOrderMark, sizeof kUtf8ByteOrderMark);
    return Convert(CP_UTF8, 0, text, units, bytes, sizeof kUtf8ByteOrderMark, nullptr);
}
