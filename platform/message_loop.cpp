// The message loops: the program's main loop and the nested loops of modal
// windows, both with the program windows' own keys (Esc, Tab).
#include "platform/message_loop.h"

#include <windows.h>

#include "platform/focus_rules.h"
#include "platform/program_window.h"

namespace {

// Keys a program window looks at before the focused control gets them.
bool PreTranslate(const MSG& msg)
{
    if (msg.message != WM_KEYDOWN) return false;
    const HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    ProgramWindow* w = root ? FindProgramWindow(root) : nullptr;
    if (!w) return false;
    if (msg.wParam == VK_ESCAPE && w->layout->escCloses) {
        SendMessageA(root, WM_CLOSE, 0, 0);
        return true;
    }
    if (msg.wParam == VK_TAB) {
        MoveFocus(*w, GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    return false;
}

bool PumpOneMessage(MSG& msg)
{
    if (GetMessageA(&msg, nullptr, 0, 0) <= 0) return false;
    if (!PreTranslate(msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

}  // namespace

int RunMessageLoop()
{
    if (ProgramWindows().empty()) return 0;
    QuitWhenLastWindowCloses();
    MSG msg{};
    while (PumpOneMessage(msg)) {
    }
    return static_cast<int>(msg.wParam);
}

void RunNestedMessageLoop(const std::function<bool()>& keepGoing)
{
    MSG msg{};
    while (keepGoing()) {
        if (!PumpOneMessage(msg)) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
    }
}
