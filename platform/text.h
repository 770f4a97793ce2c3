#pragma once
#include <cstddef>
#include <string>

// A Text is a zero-terminated byte string in the ANSI code page (936 for the
// program's own texts). The empty string stands for an absent Text as well.
using Text = std::string;

// Bytes view a Text's bytes without its terminating zero. They never own
// memory, so a save keeps a single copy of the clipboard text.
struct Bytes {
    const char* data;
    std::size_t size;
};

inline Bytes BytesOf(const Text& text) { return Bytes{text.data(), text.size()}; }
