// A one-window program that pays what ClipToText must at start-up and no
// more: the common-controls 6 manifest (baseline_required_window.rc), a
// 150 x 75 top-most popup made layered at alpha 150 before it is shown, and
// one trackbar in it.
#include <windows.h>
#include <commctrl.h>

#include "bench/baseline_window.h"
#include "bench/bench_protocol.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    const HWND window = baseline::CreateTopmostPopup(instance, kRequiredBaselineWindowClass, RGB(0, 128, 0));
    if (!window) return 1;
    CreateWindowExA(0, TRACKBAR_CLASSA, "", WS_CHILD | WS_VISIBLE | TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS, 2, 77,
                    144, 43, window, nullptr, instance, nullptr);
    SetWindowLongA(window, GWL_EXSTYLE, GetWindowLongA(window, GWL_EXSTYLE) | WS_EX_LAYERED);
    SetLayeredWindowAttributes(window, 0, 150, LWA_ALPHA);
    ShowWindow(window, SW_SHOW);
    return baseline::RunMessageLoop();
}
