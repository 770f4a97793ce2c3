#include "platform/folder_browser.h"

#include <windows.h>
#include <shlobj.h>

#include "platform/modality.h"

namespace {
// The shell dialog needs OLE. It is started when the dialog is first wanted,
// and ole32 is loaded only then, which keeps both out of the program's start-up.
HMODULE g_ole = nullptr;

template <typename Function>
Function OleFunction(const char* name)
{
    return g_ole ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(g_ole, name))) : nullptr;
}

void StartOle()
{
    if (g_ole) return;
    g_ole = LoadLibraryA("ole32.dll");
    const auto initialize = OleFunction<HRESULT(WINAPI*)(LPVOID)>("OleInitialize");
    if (!initialize || FAILED(initialize(nullptr))) {
        if (g_ole) FreeLibrary(g_ole);
        g_ole = nullptr;
    }
}

void FreeItemList(LPITEMIDLIST items)
{
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator) {
        allocator->Free(items);
        allocator->Release();
    }
}
}  // namespace

void StopOle()
{
    if (!g_ole) return;
    if (const auto uninitialize = OleFunction<void(WINAPI*)()>("OleUninitialize")) uninitialize();
    FreeLibrary(g_ole);
    g_ole = nullptr;
}

Text BrowseForFolder(const Text& title)
{
    StartOle();
    const HWND active = GetActiveWindow();
    const HWND foreground = GetForegroundWindow();
    const HWND owner = IsWindow(active) ? active : nullptr;

    char displayName[MAX_PATH] = {};
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.pszDisplayName = displayName;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_EDITBOX;
    LPITEMIDLIST chosen = nullptr;
    {
        const ProgramWindowsDisabled disabled;
        chosen = SHBrowseForFolderA(&info);
    }
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
