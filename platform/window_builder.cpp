// Builds a program window's controls from its layout table: their windows,
// fonts, colours, first settings and z-order.
#include "platform/window_builder.h"

#include <commctrl.h>

#include <cstddef>
#include <span>

namespace {

constexpr int kFirstControlId = 1000;

HFONT MakeControlFont(ProgramWindow& w, const FontSpec& spec)
{
    if (!spec.face) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTA lf{};
    lf.lfHeight = spec.height;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = PROOF_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    lstrcpynA(lf.lfFaceName, spec.face, LF_FACESIZE);
    HFONT font = CreateFontIndirectA(&lf);
    if (font) w.ownedObjects.push_back(font);
    return font;
}

void InitialiseControl(HWND control, const ControlLayout& c)
{
    switch (c.kind) {
    case ControlKind::CheckBox:
        SendMessageA(control, BM_SETCHECK, BST_UNCHECKED, 0);
        break;
    case ControlKind::Slider: {
        const SliderSettings& s = *c.slider;
        SendMessageA(control, TBM_SETRANGE, FALSE, MAKELPARAM(s.minimum, s.maximum));
        SendMessageA(control, TBM_SETTICFREQ, s.tickFrequency, 0);
        SendMessageA(control, TBM_SETLINESIZE, 0, s.lineSize);
        SendMessageA(control, TBM_SETPAGESIZE, 0, s.pageSize);
        SendMessageA(control, TBM_SETPOS, TRUE, s.position);
        break;
    }
    case ControlKind::EditBox:
        SendMessageA(control, EM_LIMITTEXT, 0, 0);
        SendMessageA(control, EM_SETSEL, 0, 0);
        SendMessageA(control, EM_SCROLLCARET, 0, 0);
        break;
    default:
        break;
    }
}

}  // namespace

HBRUSH MakeBrush(ProgramWindow& w, COLORREF color)
{
    HBRUSH brush = CreateSolidBrush(color);
    w.ownedObjects.push_back(brush);
    return brush;
}

void MatchOuterSize(HWND hwnd, const WindowLayout& layout)
{
    if (layout.borderless) {
        const LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
        if (style & (WS_CAPTION | WS_SYSMENU)) {
            SetWindowLongPtrA(hwnd, GWL_STYLE,
                              (style & ~static_cast<LONG_PTR>(WS_CAPTION | WS_SYSMENU | WS_MAXIMIZEBOX)) |
                                  WS_MINIMIZEBOX);
            SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        }
    }
    RECT r;
    GetWindowRect(hwnd, &r);
    if (r.right - r.left != layout.width || r.bottom - r.top != layout.height) {
        MoveWindow(hwnd, (GetSystemMetrics(SM_CXSCREEN) - layout.width) / 2,
                   (GetSystemMetrics(SM_CYSCREEN) - layout.height) / 2, layout.width, layout.height, FALSE);
    }
}

void CreateControls(ProgramWindow& w, HINSTANCE instance)
{
    const std::span<const ControlLayout> layout = w.layout->controls;
    HWND above = HWND_TOP;
    for (std::size_t i = 0; i < layout.size(); ++i) {
        const ControlLayout& c = layout[i];
        const HWND control = CreateWindowExA(
            c.exStyle, c.className, c.text, WS_CHILD | WS_CLIPSIBLINGS | c.style, c.left, c.top, c.width,
            c.height, w.hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + i)), instance,
            nullptr);
        w.controls.push_back(control);
        w.colorBrushes.push_back(c.colors ? MakeBrush(w, c.colors->back) : nullptr);
        if (!control) continue;
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(MakeControlFont(w, c.font)), TRUE);
        InitialiseControl(control, c);
        // The layout order is the z-order, first on top.
        SetWindowPos(control, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        above = control;
    }
    for (std::size_t i = 0; i < layout.size(); ++i)
        if (layout[i].visible && w.controls[i]) ShowWindow(w.controls[i], SW_SHOWNA);
}
