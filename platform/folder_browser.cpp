#include "platform/folder_browser.h"

#include <windows.h>
#include <shlobj.h>

#include <utility>
#include <vector>

#include "platform/program_window.h"

namespace {
void FreeItemList(LPITEMIDLIST items)
{
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator) {
        allocator->Free(items);
        allocator->Release();
    }
}
}  // namespace

Text BrowseForFolder(const Text& title)
{
    const HWND active = GetActiveWindow();
    const HWND foreground = GetForegroundWindow();
    const HWND owner = IsWindow(active) ? active : nullptr;

    std::vector<std::pair<HWND, BOOL>> disabled;
    for (const HWND window : ParentlessProgramWindows()) {
        disabled.emplace_back(window, IsWindowEnabled(window));
        EnableWindow(window, FALSE);
    }

    char displayName[MAX_PATH] = {};
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.pszDisplayName = displayName;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_EDITBOX;
    const LPITEMIDLIST chosen = SHBrowseForFolderA(&info);

    for (const auto& [window, wasEnabled] : disabled)
        if (IsWindow(window)) EnableWindow(window, wasEnabled);
    if (IsWindow(foreground)) SetForegroundWindow(foreground);
    if (IsWindow(active)) SetActiveWindow(active);

    Text folder;
    if (chosen) {
        char path[MAX_PATH] = {};
        if (SHGetPathFromIDListA(chosen, path) && path[0]) folder = path;
        FreeItemList(chosen);
    }
    return folder;
}
