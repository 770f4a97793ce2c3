// The least a program with one window does at start-up: register a class,
// create a 150 x 75 top-most popup window, show it and run the message loop.
#include <windows.h>

#include "bench/baseline_window.h"
#include "bench/bench_protocol.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    const HWND window = baseline::CreateTopmostPopup(instance, kBaselineWindowClass, RGB(0, 160, 0));
    if (!window) return 1;
    ShowWindow(window, SW_SHOW);
    return baseline::RunMessageLoop();
}
