#include "config/save_directory.h"

#include <windows.h>
#include <shlobj.h>

#include "platform/ansi_path.h"

namespace {
const char kSection[] = "Set";
const char kKey[] = "HH";
constexpr DWORD kValueBufferSize = 10240;

// Always the full path: a bare file name would resolve to the Windows folder.
Text SettingsFilePath(const Text& folder) { return folder + "\\Set.dat"; }
}  // namespace

Text RunDirectory()
{
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return FolderOfFile(Text(path, length));
}

Text DesktopDirectory()
{
    char path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, path, CSIDL_DESKTOPDIRECTORY, FALSE)) return Text();
    Text folder(path);
    // Double-byte aware: a last byte of 0x5C may be the second half of a character.
    if (!folder.empty() && FindLastBackslash(folder) != folder.size() - 1) folder += '\\';
    return folder;
}

Text LoadSaveDirectory(const Text& folder)
{
    Text value(kValueBufferSize, '\0');
    const DWORD length = GetPrivateProfileStringA(kSection, kKey, "", value.data(), kValueBufferSize,
                                                  SettingsFilePath(folder).c_str());
    value.resize(length);
    return value.empty() ? DesktopDirectory() : value;
}

void StoreSaveDirectory(const Text& value, const Text& folder)
{
    WritePrivateProfileStringA(kSection, kKey, value.c_str(), SettingsFilePath(folder).c_str());
}
