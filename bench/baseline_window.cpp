// The least a program with one window does at start-up: register a class,
// create a 150 x 75 top-most popup window, show it and run the message loop.
#include <windows.h>

#include "bench/bench_protocol.h"

namespace {
LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = CreateSolidBrush(RGB(0, 160, 0));
    windowClass.lpszClassName = kBaselineWindowClass;
    RegisterClassA(&windowClass);
    const HWND window = CreateWindowExA(WS_EX_TOPMOST, kBaselineWindowClass, "Baseline", WS_POPUP, 100, 100, 150, 75,
                                        nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, SW_SHOW);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
