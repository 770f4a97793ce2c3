// Modal windows: while one is open every other program window is disabled,
// and an activated disabled window hands the activation on to it.
#include "platform/modality.h"

#include "platform/message_loop.h"
#include "platform/program_window.h"

std::vector<HWND> ParentlessProgramWindows()
{
    std::vector<HWND> windows;
    for (const ProgramWindow* w : ProgramWindows())
        if (!GetParent(w->hwnd)) windows.push_back(w->hwnd);
    return windows;
}

bool RunModalWindow(const WindowLayout& layout)
{
    if (ProgramWindow* open = FindProgramWindow(layout); open && !open->closing) {
        if (IsIconic(open->hwnd))
            ShowWindow(open->hwnd, SW_RESTORE);
        else
            SetActiveWindow(open->hwnd);
        return true;
    }
    ProgramWindow* w = CreateProgramWindow(layout, HiddenOwnerWindow());
    if (!w) return false;
    ShowWindow(w->hwnd, SW_SHOW);

    w->modal = true;
    for (const HWND other : ParentlessProgramWindows()) {
        if (other == w->hwnd) continue;
        w->disabledWindows.emplace_back(other, IsWindowEnabled(other));
        EnableWindow(other, FALSE);
    }

    RunNestedMessageLoop([&layout] { return FindProgramWindow(layout) != nullptr; });
    return true;
}

void EndModalState(ProgramWindow& w)
{
    if (!w.modal) return;
    for (const auto& [hwnd, wasEnabled] : w.disabledWindows)
        if (IsWindow(hwnd)) EnableWindow(hwnd, wasEnabled);
    w.disabledWindows.clear();
    w.modal = false;
}

void PassActivationToModalWindow(const ProgramWindow& w)
{
    for (const ProgramWindow* other : ProgramWindows()) {
        if (other != &w && other->modal && !GetParent(other->hwnd) && IsWindowVisible(other->hwnd) &&
            IsWindowEnabled(other->hwnd)) {
            SetActiveWindow(other->hwnd);
            return;
        }
    }
}
