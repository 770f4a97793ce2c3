#include "platform/self_drawn_button.h"

namespace {

// The raised edge: two lines on each side, light on the left and top, dark on
// the right and bottom. `inset` 0 is the outer line, 1 the inner one.
struct EdgeLine {
    bool vertical;
    bool farSide;  // right or bottom
    int inset;
    int color;
};

const EdgeLine kRaisedEdge[] = {
    {false, false, 0, COLOR_BTNHIGHLIGHT}, {true, false, 0, COLOR_BTNHIGHLIGHT},
    {false, false, 1, COLOR_3DLIGHT},      {true, false, 1, COLOR_3DLIGHT},
    {false, true, 0, COLOR_3DDKSHADOW},    {true, true, 0, COLOR_3DDKSHADOW},
    {false, true, 1, COLOR_BTNSHADOW},     {true, true, 1, COLOR_BTNSHADOW},
};

void DrawRaisedEdge(HDC dc, const RECT& r)
{
    for (const EdgeLine& line : kRaisedEdge) {
        RECT strip{r.left + line.inset, r.top + line.inset, r.right - line.inset, r.bottom - line.inset};
        if (line.vertical) {
            strip.left = line.farSide ? strip.right - 1 : strip.left;
            strip.right = strip.left + 1;
        } else {
            strip.top = line.farSide ? strip.bottom - 1 : strip.top;
            strip.bottom = strip.top + 1;
        }
        FillRect(dc, &strip, GetSysColorBrush(line.color));
    }
}

void DrawCaption(HDC dc, const char* text, int length, RECT place, COLORREF color)
{
    SetTextColor(dc, color);
    DrawTextA(dc, text, length, &place, DT_WORDBREAK | DT_CENTER);
}

}  // namespace

void DrawSelfDrawnButton(const DRAWITEMSTRUCT& item, const ButtonLooks& looks)
{
    const HDC dc = item.hDC;
    const bool pressed = item.itemState & ODS_SELECTED;
    const bool focused = item.itemState & ODS_FOCUS;
    const bool disabled = item.itemState & ODS_DISABLED;
    const ColorPair& colors = pressed ? looks.pressed : focused ? looks.focused : looks.normal;
    RECT r = item.rcItem;
    SetBkMode(dc, TRANSPARENT);

    if (focused) {
        FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&r, -1, -1);
    }
    const HBRUSH back = CreateSolidBrush(colors.back);
    FillRect(dc, &r, back);
    DeleteObject(back);
    if (pressed)
        FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
    else
        DrawRaisedEdge(dc, r);

    char text[256];
    const int length = GetWindowTextA(item.hwndItem, text, sizeof text);
    const HGDIOBJ oldFont =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(item.hwndItem, WM_GETFONT, 0, 0)));
    RECT measured = r;
    DrawTextA(dc, text, length, &measured, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    const int width = measured.right - measured.left;
    const int height = measured.bottom - measured.top;
    RECT place;
    place.left = r.left + (r.right - r.left - width) / 2;
    place.top = r.top + (r.bottom - r.top - height) / 2;
    place.right = place.left + width;
    place.bottom = place.top + height;
    if (pressed) OffsetRect(&place, 1, 1);

    if (disabled) {
        RECT shifted = place;
        OffsetRect(&shifted, 1, 1);
        DrawCaption(dc, text, length, shifted, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawCaption(dc, text, length, place, GetSysColor(COLOR_BTNSHADOW));
    } else {
        DrawCaption(dc, text, length, place, colors.text);
    }
    SelectObject(dc, oldFont);

    if (focused) {
        RECT focus = r;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}
