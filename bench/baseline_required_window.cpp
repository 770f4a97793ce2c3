// A one-window program that pays what ClipToText must at start-up and no
// more: the common-controls 6 manifest (baseline_required_window.rc), a
// 150 x 75 top-most popup made layered at alpha 150 before it is shown, and
// one trackbar in it.
#include <windows.h>
#include <commctrl.h>

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
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = CreateSolidBrush(RGB(0, 128, 0));
    windowClass.lpszClassName = kRequiredBaselineWindowClass;
    RegisterClassA(&windowClass);
    const HWND window = CreateWindowExA(WS_EX_TOPMOST, kRequiredBaselineWindowClass, "Baseline", WS_POPUP, 100, 100,
                                        150, 75, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    CreateWindowExA(0, TRACKBAR_CLASSA, "", WS_CHILD | WS_VISIBLE | TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS, 2, 77,
                    144, 43, window, nullptr, instance, nullptr);
    SetWindowLongA(window, GWL_EXSTYLE, GetWindowLongA(window, GWL_EXSTYLE) | WS_EX_LAYERED);
    SetLayeredWindowAttributes(window, 0, 150, LWA_ALPHA);
    ShowWindow(window, SW_SHOW);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
