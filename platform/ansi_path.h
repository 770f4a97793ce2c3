#pragma once
#include "platform/text.h"

// Path helpers that walk a path character by character in the ANSI code page,
// so the second byte of a double-byte character (which may be 0x5C) is never
// taken for a backslash.

constexpr std::size_t kNoBackslash = static_cast<std::size_t>(-1);

// Index of the last real backslash, or kNoBackslash.
std::size_t FindLastBackslash(const Text& path);

// The folder of a file path without its trailing backslash: "C:\a\b.exe" gives
// "C:\a", "C:\b.exe" gives "C:", a path without a backslash gives "".
Text FolderOfFile(const Text& path);

// Everything up to and including the last backslash ("" when there is none).
Text DirectoryPrefixOf(const Text& path);
