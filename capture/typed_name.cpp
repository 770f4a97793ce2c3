// The name check of a typed file name: colons and device names.
#include "capture/typed_name.h"

#include <windows.h>

namespace {

// Bytes of double-byte characters stay as they are, so such a name never
// matches a device.
char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// `stem` is the file name's part before its first dot, without trailing blanks.
bool IsDeviceName(const Text& stem)
{
    Text upper;
    for (char c : stem) upper += UpperAscii(c);
    for (const char* device : {"CON", "PRN", "AUX", "NUL"})
        if (upper == device) return true;
    return upper.size() == 4 && (upper.compare(0, 3, "COM") == 0 || upper.compare(0, 3, "LPT") == 0) &&
           upper[3] >= '1' && upper[3] <= '9';
}

}  // namespace

bool IsSafeTypedName(const Text& name)
{
    // One walk finds a colon, the start of the last path part and its first dot.
    std::size_t fileStart = 0;
    std::size_t firstDot = Text::npos;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (IsDBCSLeadByte(static_cast<BYTE>(c)) && i + 1 < name.size()) {
            ++i;  // the trail byte, whatever its value
        } else if (c == ':') {
            return false;
        } else if (c == '\\' || c == '/') {
            fileStart = i + 1;
            firstDot = Text::npos;
        } else if (c == '.' && firstDot == Text::npos) {
            firstDot = i;
        }
    }
    const std::size_t stemEnd = firstDot == Text::npos ? name.size() : firstDot;
    Text stem = name.substr(fileStart, stemEnd - fileStart);
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    return !IsDeviceName(stem);
}
