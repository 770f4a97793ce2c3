// The keyboard focus inside a program window: the first focus, Tab order and
// the focus a window remembers while it is inactive.
#include "platform/focus_rules.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace {

bool CanTakeFocus(const ProgramWindow& w, std::size_t i)
{
    const HWND c = w.controls[i];
    return c && (GetWindowLongPtrA(c, GWL_STYLE) & WS_TABSTOP) && IsWindowVisible(c) && IsWindowEnabled(c);
}

// All tab positions are equal, so the focus order is the layout order reversed.
std::vector<std::size_t> FocusOrder(const ProgramWindow& w)
{
    std::vector<std::size_t> order;
    for (std::size_t i = w.controls.size(); i-- > 0;)
        if (CanTakeFocus(w, i)) order.push_back(i);
    return order;
}

void FocusFirstControl(ProgramWindow& w)
{
    const std::vector<std::size_t> order = FocusOrder(w);
    if (!order.empty()) SetFocus(w.controls[order.front()]);
}

}  // namespace

void MoveFocus(ProgramWindow& w, bool backwards)
{
    const std::vector<std::size_t> order = FocusOrder(w);
    if (order.empty()) return;
    const int current = w.IndexOf(GetFocus());
    const auto at = std::find(order.begin(), order.end(), static_cast<std::size_t>(current));
    std::size_t next = 0;
    if (at != order.end()) {
        const std::size_t pos = static_cast<std::size_t>(at - order.begin());
        next = backwards ? (pos + order.size() - 1) % order.size() : (pos + 1) % order.size();
    } else if (backwards) {
        next = order.size() - 1;
    }
    SetFocus(w.controls[order[next]]);
}

void RememberFocus(ProgramWindow& w)
{
    const HWND focus = GetFocus();
    if (focus && IsChild(w.hwnd, focus)) w.focusMemory = focus;
}

void RestoreFocus(ProgramWindow& w)
{
    if (w.focusMemory && IsWindow(w.focusMemory) && IsChild(w.hwnd, w.focusMemory))
        SetFocus(w.focusMemory);
    else
        FocusFirstControl(w);
}
