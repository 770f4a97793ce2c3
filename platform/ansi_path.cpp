#include "platform/ansi_path.h"

#include <windows.h>

std::size_t FindLastBackslash(const Text& path)
{
    std::size_t last = kNoBackslash;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(path[i]);
        if (IsDBCSLeadByte(c) && i + 1 < path.size()) {
            ++i;  // skip the trail byte, whatever its value
        } else if (c == '\\') {
            last = i;
        }
    }
    return last;
}

Text FolderOfFile(const Text& path)
{
    const std::size_t cut = FindLastBackslash(path);
    return cut == kNoBackslash ? Text() : path.substr(0, cut);
}

Text DirectoryPrefixOf(const Text& path)
{
    const std::size_t cut = FindLastBackslash(path);
    return cut == kNoBackslash ? Text() : path.substr(0, cut + 1);
}
