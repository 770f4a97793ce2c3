#pragma once
// Windows and their controls described as data. Each program window has one
// WindowLayout table; CreateProgramWindow builds any of them the same way.
#include <windows.h>

#include <cstddef>
#include <span>

struct ProgramWindow;
using Handler = void (*)(ProgramWindow&);

// What the builder does for a control beyond creating its window.
enum class ControlKind {
    CheckBox,         // starts unchecked
    Slider,           // range, position, ticks, line and page sizes from SliderSettings
    SelfDrawnButton,  // painted by the window from ButtonLooks
    PushButton,
    EditBox,          // largest text limit, caret at the start
    Label,            // paints its own text, one line, vertically centred
    Placeholder,      // inert child window, never shown
};

// A face name makes a font of its own (CreateFontIndirectA); no face means
// the stock DEFAULT_GUI_FONT.
struct FontSpec {
    const char* face = nullptr;
    int height = 0;
};

struct ColorPair {
    COLORREF text;
    COLORREF back;
};

struct ButtonLooks {
    ColorPair normal;
    ColorPair pressed;
    ColorPair focused;  // has the focus and is not pressed
};

struct SliderSettings {
    int minimum;
    int maximum;
    int position;
    int tickFrequency;
    int lineSize;  // arrow keys
    int pageSize;  // Page Up, Page Down, clicks in the channel
};

struct ControlLayout {
    std::size_t id;  // the entry's position in its table
    ControlKind kind;
    const char* className;
    DWORD style;  // WS_CHILD and WS_CLIPSIBLINGS are always added
    DWORD exStyle;
    int left, top, width, height;  // client coordinates of the window
    const char* text;
    bool visible;
    FontSpec font;
    const ColorPair* colors = nullptr;  // the answer to WM_CTLCOLOR*; none: the platform's
    const ButtonLooks* looks = nullptr;
    const SliderSettings* slider = nullptr;
    Handler onClick = nullptr;   // BN_CLICKED
    Handler onChange = nullptr;  // slider notifications other than TB_ENDTRACK
};

// Menu entries get command identifiers from kFirstMenuCommand in table order.
// An entry one level deeper than the one before it is an item of that menu.
constexpr UINT kFirstMenuCommand = 20000;

struct MenuEntry {
    std::size_t id;  // the entry's position in its table
    const char* text;
    int level;
    bool hidden;
    bool disabled;
    bool checked;
    Handler onSelect;
};

// Handlers reach table entries through an enum of their positions. Each entry
// carries its position as its id, and every table is checked with
// static_assert(InIdOrder(table)), so a reordered table no longer compiles
// instead of wiring a handler to the wrong control.
template <typename Entry, std::size_t N>
constexpr bool InIdOrder(const Entry (&table)[N])
{
    for (std::size_t i = 0; i < N; ++i)
        if (table[i].id != i) return false;
    return true;
}

struct WindowLayout {
    const char* title;
    DWORD style;
    DWORD exStyle;
    int width, height;            // outer size; the window is centred on the screen
    bool borderless;              // the caption the platform adds is taken away again
    bool topmost;                 // made topmost right after creation
    bool escCloses;               // Esc sends WM_CLOSE
    bool dragByBackground;        // a left press on the background moves the window
    COLORREF background;          // used when backgroundSysColor is negative
    int backgroundSysColor;       // a COLOR_* index, or -1
    std::span<const ControlLayout> controls;  // top of the z-order first
    std::span<const MenuEntry> menu;
    Handler onCreate;
    Handler onRightButtonDown;    // a press on the window's own background
};
