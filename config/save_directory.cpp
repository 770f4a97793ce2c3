#include "config/save_directory.h"

#include <windows.h>
#include <shlobj.h>

#include "app/program_state.h"
#include "platform/ansi_path.h"

namespace {
const char kSection[] = "Set";
const char kKey[] = "HH";
constexpr DWORD kValueBufferSize = 10240;

// Always the full path: a bare file name would resolve to the Windows folder.
Text SettingsFilePath() { return RunDirectory() + "\\Set.dat"; }
}  // namespace

Text RunDirectory() { return ProgramFolder(); }

Text DesktopDirectory()
{
    char path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, path, CSIDL_DESKTOPDIRECTORY, FALSE)) return Text();
    Text folder(path);
    // Double-byte aware: a last byte of 0x5C may be the second half of a character.
    if (!folder.empty() && FindLastBackslash(folder) != folder.size() - 1) folder += '\\';
    return folder;
}

void LoadSaveDirectory()
{
    Text value(kValueBufferSize, '\0');
    const DWORD length =
        GetPrivateProfileStringA(kSection, kKey, "", value.data(), kValueBufferSize, SettingsFilePath().c_str());
    value.resize(length);
    ReplaceSaveDirectory(value.empty() ? DesktopDirectory() : std::move(value));
}

void StoreSaveDirectory(const Text& value)
{
    WritePrivateProfileStringA(kSection, kKey, value.c_str(), SettingsFilePath().c_str());
}
