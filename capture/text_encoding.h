#pragma once
// How the clipboard's text becomes the bytes of a file.
#include <windows.h>

#include <cstddef>
#include <vector>

#include "platform/text.h"

// True when the program that copied the text put it on the clipboard as
// Unicode: CF_UNICODETEXT comes before CF_TEXT and CF_OEMTEXT in `formats`,
// given in the order of EnumClipboardFormats, which lists the formats a
// program put there before those Windows makes from them.
bool UnicodeTextIsOriginal(const std::vector<UINT>& formats);

// The file bytes of `length` UTF-16 units: the ANSI code page's bytes when
// it holds every character exactly, otherwise UTF-8 after a byte-order mark,
// so that no character turns into '?'. False when the text cannot be
// converted at all.
bool FileBytesOfUnicode(const WCHAR* text, std::size_t length, Text& bytes);
