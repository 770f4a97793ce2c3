// Modal windows: while one is open every other program window is disabled,
// and an activated disabled window hands the activation on to it.
#include "platform/modality.h"

#include <algorithm>

#include "platform/message_loop.h"
#include "platform/program_window.h"

namespace {

// A window some scope has disabled: its state before the first of them, and
// how many scopes hold it now.
struct DisabledWindow {
    HWND hwnd;
    BOOL wasEnabled;
    int holders;
};
std::vector<DisabledWindow> g_disabled;

std::vector<DisabledWindow>::iterator Entry(HWND hwnd)
{
    return std::find_if(g_disabled.begin(), g_disabled.end(),
                        [hwnd](const DisabledWindow& d) { return d.hwnd == hwnd; });
}

}  // namespace

ProgramWindowsDisabled::ProgramWindowsDisabled(HWND except)
{
    for (const ProgramWindow* w : ProgramWindows()) {
        const HWND hwnd = w->hwnd;
        if (hwnd == except || GetParent(hwnd)) continue;
        auto entry = Entry(hwnd);
        if (entry == g_disabled.end()) entry = g_disabled.insert(entry, {hwnd, IsWindowEnabled(hwnd), 0});
        ++entry->holders;
        held_.push_back(hwnd);
        EnableWindow(hwnd, FALSE);
    }
}

ProgramWindowsDisabled::~ProgramWindowsDisabled()
{
    for (const HWND hwnd : held_) {
        const auto entry = Entry(hwnd);
        if (entry == g_disabled.end() || --entry->holders > 0) continue;
        if (IsWindow(hwnd)) EnableWindow(hwnd, entry->wasEnabled);
        g_disabled.erase(entry);
    }
}

bool RunModalWindow(const WindowLayout& layout)
{
    if (ProgramWindow* open = FindOpenWindow(layout)) {
        if (IsIconic(open->hwnd))
            ShowWindow(open->hwnd, SW_RESTORE);
        else
            SetActiveWindow(open->hwnd);
        return true;
    }
    ProgramWindow* w = CreateProgramWindow(layout, HiddenOwnerWindow());
    if (!w) return false;
    const HWND hwnd = w->hwnd;
    ShowWindow(hwnd, SW_SHOW);
    w->modal.emplace(hwnd);
    // Until this window has gone; one of an earlier opening may still be closing.
    RunNestedMessageLoop([hwnd] { return FindProgramWindow(hwnd) != nullptr; });
    return true;
}

void PassActivationToModalWindow(const ProgramWindow& w)
{
    for (const ProgramWindow* other : ProgramWindows()) {
        if (other != &w && other->modal.has_value() && !GetParent(other->hwnd) && IsWindowVisible(other->hwnd) &&
            IsWindowEnabled(other->hwnd)) {
            SetActiveWindow(other->hwnd);
            return;
        }
    }
}
