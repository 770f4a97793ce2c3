// What both start-up baselines do alike: register a window class, make the
// 150 x 75 top-most popup and run the message loop until it is destroyed.
#pragma once
#include <windows.h>

namespace baseline {

inline LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

inline HWND CreateTopmostPopup(HINSTANCE instance, const char* className, COLORREF background)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = CreateSolidBrush(background);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
    return CreateWindowExA(WS_EX_TOPMOST, className, "Baseline", WS_POPUP, 100, 100, 150, 75, nullptr, nullptr,
                           instance, nullptr);
}

inline int RunMessageLoop()
{
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

}  // namespace baseline
