#include "platform/window_services.h"

#include <commctrl.h>

namespace {
using SetLayeredWindowAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

bool IsNtFamily()
{
    OSVERSIONINFOEXA ex{};
    ex.dwOSVersionInfoSize = sizeof ex;
    if (GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&ex))) return ex.dwPlatformId == VER_PLATFORM_WIN32_NT;
    OSVERSIONINFOA plain{};
    plain.dwOSVersionInfoSize = sizeof plain;
    return GetVersionExA(&plain) && plain.dwPlatformId == VER_PLATFORM_WIN32_NT;
}
}  // namespace

BOOL SetWindowAlpha(HWND window, int alpha)
{
    if (alpha < 0 || alpha > 255) alpha = 255;
    if (!IsNtFamily()) return 0;
    // Looked up at run time: systems before Windows 2000 have no layered windows.
    const HMODULE user32 = GetModuleHandleA("USER32.DLL");
    const auto setAttributes = user32 ? reinterpret_cast<SetLayeredWindowAttributesFn>(
                                            reinterpret_cast<void*>(GetProcAddress(user32, "SetLayeredWindowAttributes")))
                                      : nullptr;
    if (!setAttributes) return 0;
    SetWindowLongA(window, GWL_EXSTYLE, WS_EX_LAYERED);
    return setAttributes(window, 0, static_cast<BYTE>(alpha), LWA_ALPHA);
}

void SetWindowHeight(HWND window, int height)
{
    if (height > 32627) height = 32627;
    if (height < 0) height = 0;
    RECT r;
    if (!IsWindow(window) || !GetWindowRect(window, &r)) return;
    SetWindowPos(window, nullptr, 0, 0, r.right - r.left, height, SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
}

void SetWindowTopmost(HWND window)
{
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

bool IsChecked(HWND checkBox) { return SendMessageA(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED; }

int SliderPosition(HWND slider) { return static_cast<int>(SendMessageA(slider, TBM_GETPOS, 0, 0)); }

Text ReadWindowText(HWND window)
{
    const int length = GetWindowTextLengthA(window);
    if (length <= 0) return Text();
    Text text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(window, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

void WriteWindowText(HWND window, const Text& text) { SetWindowTextA(window, text.c_str()); }
