#include "platform/program_window.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/label.h"
#include "platform/self_drawn_button.h"
#include "platform/window_services.h"

namespace {

const char kProgramWindowClass[] = "ClipToTextWindow";
const char kHiddenOwnerClass[] = "ClipToTextOwner";
constexpr UINT kDestroyRequest = WM_APP + 1;  // posted by RequestWindowDestroy
constexpr int kFirstControlId = 1000;

HINSTANCE g_instance = nullptr;
HWND g_hiddenOwner = nullptr;
HICON g_bigIcon = nullptr;
HICON g_smallIcon = nullptr;
std::vector<ProgramWindow*> g_windows;
bool g_loopStarted = false;
ProgramWindow* g_unclaimed = nullptr;  // being created, not yet owned by its window

ProgramWindow* WindowOf(HWND hwnd)
{
    return reinterpret_cast<ProgramWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

int ControlIndexOf(const ProgramWindow& w, HWND control)
{
    if (!control) return -1;
    const auto it = std::find(w.controls.begin(), w.controls.end(), control);
    return it == w.controls.end() ? -1 : static_cast<int>(it - w.controls.begin());
}

// --- keyboard focus ------------------------------------------------------

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

void MoveFocus(ProgramWindow& w, bool backwards)
{
    const std::vector<std::size_t> order = FocusOrder(w);
    if (order.empty()) return;
    const int current = ControlIndexOf(w, GetFocus());
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

void RestoreFocus(ProgramWindow& w)
{
    if (w.focusMemory && IsWindow(w.focusMemory) && IsChild(w.hwnd, w.focusMemory))
        SetFocus(w.focusMemory);
    else
        FocusFirstControl(w);
}

// Keys a program window looks at before the focused control gets them.
bool PreTranslate(const MSG& msg)
{
    if (msg.message != WM_KEYDOWN) return false;
    const HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    const auto found = std::find_if(g_windows.begin(), g_windows.end(),
                                    [root](const ProgramWindow* w) { return w->hwnd == root; });
    if (!root || found == g_windows.end()) return false;
    ProgramWindow* w = *found;
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

// --- closing ---------------------------------------------------------------

void CloseProgramWindow(ProgramWindow& w)
{
    // The other windows get their state back before the destruction, so that
    // the platform can hand the activation back to them.
    if (w.modal) {
        for (const auto& [hwnd, wasEnabled] : w.disabledWindows)
            if (IsWindow(hwnd)) EnableWindow(hwnd, wasEnabled);
        w.disabledWindows.clear();
        w.modal = false;
    }
    DestroyWindow(w.hwnd);
}

void ForgetProgramWindow(ProgramWindow* w)
{
    g_windows.erase(std::remove(g_windows.begin(), g_windows.end(), w), g_windows.end());
    for (HGDIOBJ object : w->ownedObjects) DeleteObject(object);
    delete w;
    if (g_windows.empty() && g_loopStarted) PostQuitMessage(0);
}

// A disabled window that is activated hands the activation on to the modal window.
void PassActivationToModalWindow(const ProgramWindow& w)
{
    for (ProgramWindow* other : g_windows) {
        if (other != &w && other->modal && !GetParent(other->hwnd) && IsWindowVisible(other->hwnd) &&
            IsWindowEnabled(other->hwnd)) {
            SetActiveWindow(other->hwnd);
            return;
        }
    }
}

// --- the shared window procedure -----------------------------------------

LRESULT AnswerControlColor(ProgramWindow& w, UINT message, WPARAM wParam, LPARAM lParam)
{
    const int i = ControlIndexOf(w, reinterpret_cast<HWND>(lParam));
    const ColorPair* colors = i < 0 ? nullptr : w.layout->controls[static_cast<std::size_t>(i)].colors;
    if (!colors) return DefWindowProcA(w.hwnd, message, wParam, lParam);
    const HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, colors->text);
    SetBkColor(dc, colors->back);
    return reinterpret_cast<LRESULT>(w.colorBrushes[static_cast<std::size_t>(i)]);
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
    const int i = ControlIndexOf(w, reinterpret_cast<HWND>(lParam));
    if (i < 0) return false;
    const ControlLayout& c = w.layout->controls[static_cast<std::size_t>(i)];
    if (HIWORD(wParam) == BN_CLICKED && c.onClick) c.onClick(w);
    return true;
}

void RunSliderChange(ProgramWindow& w, WPARAM wParam, LPARAM lParam)
{
    const int i = ControlIndexOf(w, reinterpret_cast<HWND>(lParam));
    if (i < 0 || LOWORD(wParam) == TB_ENDTRACK) return;
    const ControlLayout& c = w.layout->controls[static_cast<std::size_t>(i)];
    if (c.onChange) c.onChange(w);
}

LRESULT CALLBACK ProgramWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* w = static_cast<ProgramWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        w->hwnd = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(w));
        g_windows.push_back(w);
        g_unclaimed = nullptr;  // from now on WM_NCDESTROY frees it
    }
    ProgramWindow* w = WindowOf(hwnd);
    if (!w) return DefWindowProcA(hwnd, message, wParam, lParam);

    switch (message) {
    case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, w->backgroundBrush);
        return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
        return AnswerControlColor(*w, message, wParam, lParam);
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        const int i = ControlIndexOf(*w, item->hwndItem);
        if (i < 0 || !w->layout->controls[static_cast<std::size_t>(i)].looks) break;
        DrawSelfDrawnButton(*item, *w->layout->controls[static_cast<std::size_t>(i)].looks);
        return TRUE;
    }
    case WM_COMMAND:
        if (RunCommand(*w, wParam, lParam)) return 0;
        break;
    case WM_HSCROLL:
        RunSliderChange(*w, wParam, lParam);
        return 0;
    case WM_LBUTTONDOWN:
        if (!w->layout->dragByBackground) break;
        // Moves the window as if the press had been on a title bar.
        PostMessageA(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, static_cast<LPARAM>(GetMessagePos()));
        return 0;
    case WM_RBUTTONDOWN:
        if (w->layout->onRightButtonDown) w->layout->onRightButtonDown(*w);
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus && IsChild(hwnd, focus)) w->focusMemory = focus;
        } else if (!IsWindowEnabled(hwnd)) {
            PassActivationToModalWindow(*w);
            return 0;
        }
        break;
    case WM_SETFOCUS:
        RestoreFocus(*w);
        return 0;
    case kDestroyRequest:
        if (w->closing) {
            w->closing = false;
            CloseProgramWindow(*w);
        }
        return 0;
    case WM_CLOSE:
        CloseProgramWindow(*w);
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        ForgetProgramWindow(w);
        return DefWindowProcA(hwnd, message, wParam, lParam);
    default:
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// --- building from a layout -----------------------------------------------

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

HBRUSH MakeBrush(ProgramWindow& w, COLORREF color)
{
    HBRUSH brush = CreateSolidBrush(color);
    w.ownedObjects.push_back(brush);
    return brush;
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

void CreateControls(ProgramWindow& w)
{
    const std::span<const ControlLayout> layout = w.layout->controls;
    HWND above = HWND_TOP;
    for (std::size_t i = 0; i < layout.size(); ++i) {
        const ControlLayout& c = layout[i];
        const HWND control = CreateWindowExA(
            c.exStyle, c.className, c.text, WS_CHILD | WS_CLIPSIBLINGS | c.style, c.left, c.top, c.width,
            c.height, w.hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + i)), g_instance,
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

}  // namespace

void InitWindowFrame(HINSTANCE instance)
{
    g_instance = instance;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);

    g_bigIcon = static_cast<HICON>(LoadImageA(instance, "DEFAULT_ICON", IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                              GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
    g_smallIcon = static_cast<HICON>(LoadImageA(instance, "DEFAULT_ICON", IMAGE_ICON,
                                                GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                                LR_DEFAULTCOLOR));

    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ProgramWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hIcon = g_bigIcon;
    wc.hIconSm = g_smallIcon;
    wc.lpszClassName = kProgramWindowClass;
    RegisterClassExA(&wc);

    WNDCLASSEXA owner{};
    owner.cbSize = sizeof owner;
    owner.lpfnWndProc = DefWindowProcA;
    owner.hInstance = instance;
    owner.lpszClassName = kHiddenOwnerClass;
    RegisterClassExA(&owner);
    g_hiddenOwner = CreateWindowExA(WS_EX_TOOLWINDOW, kHiddenOwnerClass, "", 0, 0, 0, 0, 0, nullptr, nullptr,
                                    instance, nullptr);

    RegisterLabelClass(instance);
}

void ShutdownWindowFrame()
{
    if (g_hiddenOwner) DestroyWindow(g_hiddenOwner);
    g_hiddenOwner = nullptr;
}

HWND HiddenOwnerWindow() { return g_hiddenOwner; }

ProgramWindow* CreateProgramWindow(const WindowLayout& layout, HWND owner)
{
    auto* w = new ProgramWindow;
    w->layout = &layout;
    w->backgroundBrush = layout.backgroundSysColor >= 0 ? GetSysColorBrush(layout.backgroundSysColor)
                                                        : MakeBrush(*w, layout.background);
    g_unclaimed = w;
    const HWND hwnd = CreateWindowExA(layout.exStyle, kProgramWindowClass, layout.title, layout.style,
                                      (GetSystemMetrics(SM_CXSCREEN) - layout.width) / 2,
                                      (GetSystemMetrics(SM_CYSCREEN) - layout.height) / 2, layout.width,
                                      layout.height, owner, nullptr, g_instance, w);
    if (!hwnd) {
        if (g_unclaimed == w) {  // the window never existed
            for (HGDIOBJ object : w->ownedObjects) DeleteObject(object);
            delete w;
        }
        g_unclaimed = nullptr;
        return nullptr;
    }
    MatchOuterSize(hwnd, layout);
    SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(g_bigIcon));
    SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(g_smallIcon));
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    if (layout.topmost) SetWindowTopmost(hwnd);
    CreateControls(*w);
    if (layout.onCreate) layout.onCreate(*w);
    return FindProgramWindow(layout);
}

ProgramWindow* FindProgramWindow(const WindowLayout& layout)
{
    for (ProgramWindow* w : g_windows)
        if (w->layout == &layout) return w;
    return nullptr;
}

std::vector<HWND> ParentlessProgramWindows()
{
    std::vector<HWND> windows;
    for (const ProgramWindow* w : g_windows)
        if (!GetParent(w->hwnd)) windows.push_back(w->hwnd);
    return windows;
}

int RunMessageLoop()
{
    if (g_windows.empty()) return 0;
    g_loopStarted = true;
    MSG msg{};
    while (PumpOneMessage(msg)) {
    }
    return static_cast<int>(msg.wParam);
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

    MSG msg{};
    while (FindProgramWindow(layout)) {
        if (!PumpOneMessage(msg)) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // leaves the quit for the outer loop
            break;
        }
    }
    return true;
}

void RequestWindowDestroy(ProgramWindow& window)
{
    window.closing = true;
    PostMessageA(window.hwnd, kDestroyRequest, 0, 0);
}
