// A program window's life: the window classes, creation, the shared window
// procedure (the window's state lives in GWLP_USERDATA), closing and the end.
#include "platform/program_window.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/control_events.h"
#include "platform/focus_rules.h"
#include "platform/label.h"
#include "platform/modality.h"
#include "platform/window_builder.h"
#include "platform/window_services.h"

namespace {

const char kProgramWindowClass[] = "ClipToTextWindow";
const char kHiddenOwnerClass[] = "ClipToTextOwner";
constexpr UINT kDestroyRequest = WM_APP + 1;  // posted by RequestWindowDestroy

HINSTANCE g_instance = nullptr;
HWND g_hiddenOwner = nullptr;
HICON g_bigIcon = nullptr;
HICON g_smallIcon = nullptr;
std::vector<ProgramWindow*> g_windows;
bool g_quitWhenNoneLeft = false;
ProgramWindow* g_unclaimed = nullptr;  // being created, not yet owned by its window

ProgramWindow* WindowOf(HWND hwnd)
{
    return reinterpret_cast<ProgramWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

void CloseProgramWindow(ProgramWindow& w)
{
    // The other windows get their state back before the destruction, so that
    // the platform can hand the activation back to them.
    w.modal.reset();
    DestroyWindow(w.hwnd);
}

void ForgetProgramWindow(ProgramWindow* w)
{
    g_windows.erase(std::remove(g_windows.begin(), g_windows.end(), w), g_windows.end());
    for (HGDIOBJ object : w->ownedObjects) DeleteObject(object);
    delete w;
    if (g_windows.empty() && g_quitWhenNoneLeft) PostQuitMessage(0);
}

// --- the shared window procedure -----------------------------------------

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
    case WM_DRAWITEM:
        if (DrawControl(*w, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
        break;
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
            RememberFocus(*w);
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

}  // namespace

int ProgramWindow::IndexOf(HWND control) const
{
    if (!control) return -1;
    const auto it = std::find(controls.begin(), controls.end(), control);
    return it == controls.end() ? -1 : static_cast<int>(it - controls.begin());
}

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
    CreateControls(*w, g_instance);
    if (layout.onCreate) layout.onCreate(*w);
    // Asked by handle: another window of this layout may still be closing.
    return FindProgramWindow(hwnd);
}

const std::vector<ProgramWindow*>& ProgramWindows() { return g_windows; }

ProgramWindow* FindOpenWindow(const WindowLayout& layout)
{
    for (ProgramWindow* w : g_windows)
        if (w->layout == &layout && !w->closing) return w;
    return nullptr;
}

ProgramWindow* FindProgramWindow(HWND hwnd)
{
    for (ProgramWindow* w : g_windows)
        if (w->hwnd == hwnd) return w;
    return nullptr;
}

void QuitWhenLastWindowCloses() { g_quitWhenNoneLeft = true; }

void RequestWindowDestroy(ProgramWindow& window)
{
    window.closing = true;
    PostMessageA(window.hwnd, kDestroyRequest, 0, 0);
}
