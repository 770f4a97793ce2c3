// Routes what a window's controls report (colours, drawing, clicks, slider
// moves, menu commands) to the window's layout and its handlers.
#include "platform/control_events.h"

#include <commctrl.h>

#include "platform/self_drawn_button.h"

LRESULT AnswerControlColor(ProgramWindow& w, UINT message, WPARAM wParam, LPARAM lParam)
{
    const int i = w.IndexOf(reinterpret_cast<HWND>(lParam));
    const ColorPair* colors = i < 0 ? nullptr : w.layout->controls[static_cast<std::size_t>(i)].colors;
    if (!colors) return DefWindowProcA(w.hwnd, message, wParam, lParam);
    const HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, colors->text);
    SetBkColor(dc, colors->back);
    return reinterpret_cast<LRESULT>(w.colorBrushes[static_cast<std::size_t>(i)]);
}

bool DrawControl(ProgramWindow& w, const DRAWITEMSTRUCT& item)
{
    const int i = w.IndexOf(item.hwndItem);
    if (i < 0 || !w.layout->controls[static_cast<std::size_t>(i)].looks) return false;
    DrawSelfDrawnButton(item, *w.layout->controls[static_cast<std::size_t>(i)].looks);
    return true;
}

bool RunCommand(ProgramWindow& w, WPARAM wParam, LPARAM lParam)
{
    if (lParam == 0) {
        const UINT id = LOWORD(wParam);
        if (id < kFirstMenuCommand) return false;
        const std::size_t entry = id - kFirstMenuCommand;
        if (entry < w.layout->menu.size() && w.layout->menu[entry].onSelect) w.layout->menu[entry].onSelect(w);
        return true;
    }
    const int i = w.IndexOf(reinterpret_cast<HWND>(lParam));
    if (i < 0) return false;
    const ControlLayout& c = w.layout->controls[static_cast<std::size_t>(i)];
    if (HIWORD(wParam) == BN_CLICKED && c.onClick) c.onClick(w);
    return true;
}

void RunSliderChange(ProgramWindow& w, WPARAM wParam, LPARAM lParam)
{
    const int i = w.IndexOf(reinterpret_cast<HWND>(lParam));
    if (i < 0 || LOWORD(wParam) == TB_ENDTRACK) return;
    const ControlLayout& c = w.layout->controls[static_cast<std::size_t>(i)];
    if (c.onChange) c.onChange(w);
}
