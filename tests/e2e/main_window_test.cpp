#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

#include "tests/e2e/harness.h"

#include <commctrl.h>

using namespace e2e;

namespace {

constexpr DWORD kSlow = 10000;  // the machine is shared and Wine is slow

// The main window's children in z-order, top first.
enum MainChild : std::size_t { kDefineNameBox, kTransparencyBox, kOpacitySlider, kPasteButton };

struct ExpectedControl {
    const char* label;
    const char* className;
    RECT rect;  // in the main window's client coordinates
    const char* text;
    DWORD typeMask;  // the control's own type field...
    DWORD type;      // ...and its value
    DWORD required;  // further style bits that must be set
    DWORD forbidden;
};

constexpr DWORD kChildStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP;
constexpr DWORD kNeverOnAControl = WS_DISABLED | WS_BORDER | WS_CAPTION | WS_POPUP;
// BS_LEFT with BS_RIGHT would centre; BS_VCENTER is BS_TOP and BS_BOTTOM together.
constexpr DWORD kCheckBoxRequired = BS_MULTILINE | BS_LEFT | BS_VCENTER;
constexpr DWORD kCheckBoxForbidden = BS_RIGHT | BS_PUSHLIKE | BS_FLAT | BS_LEFTTEXT | BS_BITMAP | BS_ICON;

const ExpectedControl kLayout[] = {
    {"定义文件名", "Button", {72, 39, 152, 63}, "定义文件名", BS_TYPEMASK, BS_AUTOCHECKBOX, kCheckBoxRequired,
     kCheckBoxForbidden},
    {"透明度", "Button", {8, 40, 64, 64}, "透明度", BS_TYPEMASK, BS_AUTOCHECKBOX, kCheckBoxRequired,
     kCheckBoxForbidden},
    {"slider", "msctls_trackbar32", {2, 77, 146, 120}, "", 0, 0, TBS_AUTOTICKS,
     TBS_VERT | TBS_TOP | TBS_BOTH | TBS_NOTICKS | TBS_ENABLESELRANGE | TBS_NOTHUMB},
    {"粘贴至文本文件", "Button", {12, 6, 136, 38}, "粘贴至文本文件", BS_TYPEMASK, BS_OWNERDRAW, 0, 0},
};

std::string Describe(const RECT& r)
{
    char text[64];
    std::snprintf(text, sizeof text, "(%ld,%ld)-(%ld,%ld)", r.left, r.top, r.right, r.bottom);
    return text;
}

// Green background of the collapsed window, clear of every control.
constexpr POINT kBackground{4, 70};

void MouseButton(DWORD flag)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flag;
    SendInput(1, &input, sizeof input);
    Sleep(30);
}

// A left-button drag in small steps, as a hand would move.
void Drag(POINT from, int dx, int dy)
{
    MoveMouse(from.x, from.y);
    Sleep(50);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    Sleep(150);
    constexpr int kSteps = 8;
    for (int i = 1; i <= kSteps; ++i) {
        MoveMouse(from.x + dx * i / kSteps, from.y + dy * i / kSteps);
        Sleep(40);
    }
    Sleep(100);
    MouseButton(MOUSEEVENTF_LEFTUP);
}

bool IsCheckedFromOutside(HWND box) { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// A fresh program; the desktop (the save folder) is emptied so that a save
// that should not happen shows.
class MainWindowTest : public ::testing::Test {
protected:
    void StartProgram(const std::string& name)
    {
        desktop_ = DesktopFolder();
        EmptyFolder(desktop_);
        app_ = std::make_unique<App>(FreshProgramFolder(name));
        ASSERT_TRUE(WaitForFocusOn(kPasteButton)) << "the paste button should have the focus at start";
    }

    HWND Child(MainChild which) const { return ChildrenOf(app_->Main())[which]; }
    HWND Main() const { return app_->Main(); }

    bool WaitForFocusOn(MainChild which) const
    {
        return WaitUntil([&] { return FocusOf(app_->Pid()) == Child(which); }, kSlow);
    }

    // Tab from the paste button: 0 stays there, 1 the slider, 2 透明度, 3 定义文件名.
    void TabTo(MainChild which) const
    {
        while (FocusOf(app_->Pid()) != Child(which)) {
            const HWND before = FocusOf(app_->Pid());
            PressKey(VK_TAB);
            ASSERT_TRUE(WaitUntil([&] { return FocusOf(app_->Pid()) != before; }, kSlow)) << "Tab moved nothing";
        }
    }

    std::string desktop_;
    std::unique_ptr<App> app_;
};

// A top-level window of the test program with its own message loop, so that
// the program's activation messages to it are answered. Shown inactive.
class OtherWindow {
public:
    OtherWindow()
    {
        HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this, ready] {
            window_ = CreateWindowExA(0, "STATIC", "e2e other window", WS_OVERLAPPEDWINDOW, 60, 60, 240, 120,
                                      nullptr, nullptr, nullptr, nullptr);
            ShowWindow(window_, SW_SHOWNOACTIVATE);
            threadId_ = GetCurrentThreadId();
            SetEvent(ready);
            MSG msg;
            while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
            DestroyWindow(window_);
        });
        WaitForSingleObject(ready, 10000);
        CloseHandle(ready);
    }
    ~OtherWindow()
    {
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    OtherWindow(const OtherWindow&) = delete;
    OtherWindow& operator=(const OtherWindow&) = delete;

    HWND Handle() const { return window_; }

private:
    std::thread thread_;
    HWND window_ = nullptr;
    DWORD threadId_ = 0;
};

}  // namespace

// --- the window and its controls ---------------------------------------------

TEST_F(MainWindowTest, IsACentredBorderlessTopmostWindowWithoutOwner)
{
    ASSERT_NO_FATAL_FAILURE(StartProgram("mw_frame"));

    const RECT r = WindowRectOf(Main());
    EXPECT_TRUE(SameRect(r, {885, 502, 1035, 577})) << Describe(r);
    EXPECT_TRUE(SameRect(ClientRectOnScreen(Main()), r)) << "client " << Describe(ClientRectOnScreen(Main()));

    const LONG_PTR style = StyleOf(Main());
    for (const auto& [bit, name] : {std::pair<LONG_PTR, const char*>{WS_CAPTION, "WS_CAPTION"},
                                    {WS_DLGFRAME, "WS_DLGFRAME"},
                                    {WS_BORDER, "WS_BORDER"},
                                    {WS_THICKFRAME, "WS_THICKFRAME"},
                                    {WS_SYSMENU, "WS_SYSMENU"},
                                    {WS_MAXIMIZEBOX, "WS_MAXIMIZEBOX"},
                                    {WS_POPUP, "WS_POPUP"},
                                    {WS_CHILD, "WS_CHILD"},
                                    {WS_DISABLED, "WS_DISABLED"}})
        EXPECT_FALSE(style & bit) << name;
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(style & WS_CLIPCHILDREN);
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_TRUE(ExStyleOf(Main()) & WS_EX_TOPMOST);

    EXPECT_EQ(GetWindow(Main(), GW_OWNER), nullptr);
    EXPECT_EQ(GetParent(Main()), nullptr);
    EXPECT_EQ(TextOf(Main()), "");
    EXPECT_EQ(GetMenu(Main()), nullptr) << "the settings menu is only ever a popup";
    EXPECT_EQ(GetForegroundWindow(), Main());
    EXPECT_EQ(TopWindowsOf(app_->Pid()).size(), 1u) << "nothing else is shown at start";
}

TEST(SmallScreen, MainWindowIsCentred)
{
    App app(FreshProgramFolder("small"));
    const RECT r = WindowRectOf(app.Main());
    EXPECT_TRUE(SameRect(r, {437, 346, 587, 421})) << Describe(r);
    EXPECT_TRUE(SameRect(ClientRectOnScreen(app.Main()), r));
}

TEST_F(MainWindowTest, ControlsFollowTheLayoutInZOrder)
{
    ASSERT_NO_FATAL_FAILURE(StartProgram("mw_controls"));
    const std::vector<HWND> children = ChildrenOf(Main());
    ASSERT_EQ(children.size(), std::size(kLayout));

    for (std::size_t i = 0; i < children.size(); ++i) {
        const ExpectedControl& want = kLayout[i];
        const HWND c = children[i];
        SCOPED_TRACE(want.label);
        EXPECT_EQ(_stricmp(ClassOf(c).c_str(), want.className), 0) << ClassOf(c);
        const RECT r = RectInClient(c, Main());
        EXPECT_TRUE(SameRect(r, want.rect)) << Describe(r);
        EXPECT_EQ(TextOf(c), want.text);

        const DWORD style = static_cast<DWORD>(StyleOf(c));
        EXPECT_EQ(style & kChildStyle, kChildStyle) << std::hex << style;
        EXPECT_EQ(style & kNeverOnAControl, 0u) << std::hex << style;
        EXPECT_EQ(style & want.typeMask, want.type) << std::hex << style;
        EXPECT_EQ(style & want.required, want.required) << std::hex << style;
        EXPECT_EQ(style & want.forbidden, 0u) << std::hex << style;
        EXPECT_EQ(ExStyleOf(c), 0);
        EXPECT_TRUE(IsWindowVisible(c));
        EXPECT_TRUE(IsWindowEnabled(c));
    }
}

TEST_F(MainWindowTest, ControlsStartUncheckedAndTheSliderAt150Of0To255)
{
    ASSERT_NO_FATAL_FAILURE(StartProgram("mw_initial"));
    EXPECT_EQ(SendMessageA(Child(kDefineNameBox), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageA(Child(kTransparencyBox), BM_GETCHECK, 0, 0), BST_UNCHECKED);

    const HWND slider = Child(kOpacitySlider);
    EXPECT_EQ(SendMessageA(slider, TBM_GETRANGEMIN, 0, 0), 0);
    EXPECT_EQ(SendMessageA(slider, TBM_GETRANGEMAX, 0, 0), 255);
    EXPECT_EQ(SendMessageA(slider, TBM_GETPOS, 0, 0), 150);
    EXPECT_EQ(SendMessageA(slider, TBM_GETLINESIZE, 0, 0), 20);
    EXPECT_EQ(SendMessageA(slider, TBM_GETPAGESIZE, 0, 0), 5);
    EXPECT_EQ(SendMessageA(slider, TBM_GETSELSTART, 0, 0), 0);
    EXPECT_EQ(SendMessageA(slider, TBM_GETSELEND, 0, 0), 0);

    // A tick every 10 units: 10, 20, ... 250, plus the two at the ends.
    const LRESULT tics = SendMessageA(slider, TBM_GETNUMTICS, 0, 0);
    EXPECT_EQ(tics, 27);
    for (int i = 0; i + 2 < tics; ++i) EXPECT_EQ(SendMessageA(slider, TBM_GETTIC, i, 0), 10 * (i + 1)) << i;
}

// The fonts cannot be read from outside (Wine answers no WM_GETFONT sent from
// another process), so the paste button's caption is measured on the screen:
// a 14-pixel font, not the 11-pixel default GUI font.
TEST_F(MainWindowTest, PasteButtonLooksFollowFocusAndPressNotThePointer)
{
    ASSERT_NO_FATAL_FAILURE(StartProgram("mw_looks"));
    const COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255), kLightGrey = RGB(240, 240, 240),
                   kTeal = RGB(0, 128, 128), kGreen = RGB(0, 128, 0);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW);
    // The button lies at (12,6)-(136,38); this area is clear of its frames and
    // of the focus rectangle, so it holds only the background and the caption.
    const RECT caption{18, 12, 130, 32};
    constexpr POINT kInside{18, 12};
    constexpr POINT kLeftEdge{12, 22};

    // Waits until the button shows the background `back` and, at its left
    // edge, `edge`: the repaint has reached the screen.
    auto shotWith = [&](COLORREF back, COLORREF edge) {
        std::unique_ptr<ScreenShot> shot;
        WaitUntil(
            [&] {
                shot = std::make_unique<ScreenShot>(Main());
                return shot->At(kInside.x, kInside.y) == back && shot->At(kLeftEdge.x, kLeftEdge.y) == edge;
            },
            kSlow);
        return shot;
    };

    RECT focusedInk{};
    {
        SCOPED_TRACE("focused, right after start");
        const auto shot = shotWith(kLightGrey, kBlack);
        EXPECT_EQ(shot->At(kInside.x, kInside.y), kLightGrey);
        EXPECT_EQ(shot->At(kLeftEdge.x, kLeftEdge.y), kBlack) << "black outer frame";
        EXPECT_EQ(shot->At(kLeftEdge.x + 1, kLeftEdge.y), highlight) << "raised edge inside the frame";
        EXPECT_GT(shot->Count(caption, kBlack), 0) << "black caption";
        EXPECT_EQ(shot->Count(caption, kTeal), 0);
        focusedInk = shot->Ink(caption, kLightGrey);
        EXPECT_GE(focusedInk.bottom - focusedInk.top, 12) << "caption drawn too small for a 14-pixel font";
        EXPECT_LE(focusedInk.bottom - focusedInk.top, 16);
        for (const POINT p : {POINT{4, 4}, kBackground, POINT{145, 70}, POINT{68, 50}, POINT{145, 2}})
            EXPECT_EQ(shot->At(p.x, p.y), kGreen) << "background at " << p.x << "," << p.y;
    }

    TabTo(kOpacitySlider);
    for (const bool pointerOver : {false, true}) {
        SCOPED_TRACE(pointerOver ? "not focused, pointer over it" : "not focused");
        if (pointerOver) {
            const POINT centre = OnScreen(Main(), 74, 22);
            MoveMouse(centre.x, centre.y);
            SettleInput(*app_);
        }
        const auto shot = shotWith(kWhite, highlight);
        EXPECT_EQ(shot->At(kInside.x, kInside.y), kWhite);
        EXPECT_EQ(shot->At(kLeftEdge.x, kLeftEdge.y), highlight) << "no black frame";
        EXPECT_GT(shot->Count(caption, kTeal), 0) << "teal caption";
        EXPECT_EQ(shot->Count(caption, kBlack), 0);
        EXPECT_EQ(shot->Count(caption, kLightGrey), 0);
    }

    {
        SCOPED_TRACE("pressed");
        SetClipboardBytes("not to be saved");
        MouseButton(MOUSEEVENTF_LEFTDOWN);  // the pointer is over the button
        ASSERT_TRUE(WaitForFocusOn(kPasteButton)) << "pressing gives the button the focus";
        const auto shot = shotWith(kWhite, kBlack);
        // Let go off the button, which then does not click.
        const POINT away = OnScreen(Main(), kBackground.x, kBackground.y);
        MoveMouse(away.x, away.y);
        Sleep(100);
        MouseButton(MOUSEEVENTF_LEFTUP);
        SettleInput(*app_);
        EXPECT_TRUE(FileNamesIn(desktop_).empty()) << "released outside, yet the button clicked";
        EXPECT_EQ(shot->At(kInside.x, kInside.y), kWhite) << "white while pressed";
        EXPECT_EQ(shot->At(kLeftEdge.x, kLeftEdge.y), kBlack) << "black outer frame";
        EXPECT_EQ(shot->At(kLeftEdge.x + 1, kLeftEdge.y), shadow) << "one-pixel shadow frame";
        EXPECT_GT(shot->Count(caption, kBlack), 0) << "black caption";
        EXPECT_EQ(shot->Count(caption, kTeal), 0);
        const RECT ink = shot->Ink(caption, kWhite);
        EXPECT_EQ(ink.left, focusedInk.left + 1) << "caption shifted right while pressed";
        EXPECT_EQ(ink.top, focusedInk.top + 1) << "caption shifted down while pressed";
    }
}

// --- keyboard ------------------------------------------------------------------

TEST_F(MainWindowTest, TabAndShiftTabCycleThroughTheControls)
{
    ASSERT_NO_FATAL_FAILURE(StartProgram("mw_tab"));
    struct Step {
        bool shift;
        MainChild focus;
    };
    const Step kSteps[] = {
        {false, kOpacitySlider}, {false, kTransparencyBox}, {false, kDefineNameBox}, {false, kPasteButton},
        {true, kDefineNameBox},  {true, kTransparencyBox},  {true, kOpacitySlider},  {true, kPasteButton},
    };
    for (const Step& step : kSteps) {
        PressKey(VK_TAB, step.shift);
        EXPECT_TRUE(WaitForFocusOn(step.focus))
            << (step.shift ? "Shift+Tab" : "Tab") << " should reach child " << step.focus;
    }
    // Tab reaches the slider although it lies outside the 75-pixel window.
    EXPECT_EQ(WindowRectOf(Main()).bottom - WindowRectOf(Main()).top, 75);
}

namespace {

struct FocusCase {
    const char* label;
    MainChild focus;
};

void PrintTo(const FocusCase& c, std::ostream* os) { *os << c.label; }

const FocusCase kFocusCases[] = {
    {"PasteButton", kPasteButton},
    {"Slider", kOpacitySlider},
    {"TransparencyBox", kTransparencyBox},
    {"DefineNameBox", kDefineNameBox},
};

class MainWindowEsc : public MainWindowTest, public ::testing::WithParamInterface<FocusCase> {};

}  // namespace

TEST_P(MainWindowEsc, ClosesTheProgramWithExitCodeZero)
{
    ASSERT_NO_FATAL_FAILURE(StartProgram("mw_esc"));
    ASSERT_NO_FATAL_FAILURE(TabTo(GetParam().focus));
    PressKey(VK_ESCAPE);
    EXPECT_EQ(app_->WaitForExit(kSlow), std::optional<DWORD>(0));
}

INSTANTIATE_TEST_SUITE_P(Focus, MainWindowEsc, ::testing::ValuesIn(kFocusCases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(MainWindowTest, CloseRequestFromOutsideEndsWithExitCodeZero)
{
    ASSERT_NO_FATAL_FAILURE(StartProgram("mw_wmclose"));
    PostMessageA(Main(), WM_CLOSE, 0, 0);
    EXPECT_EQ(app_->WaitForExit(kSlow), std::optional<DWORD>(0));
}

TEST_F(MainWindowTest, EnterDoesNothingWhateverHasTheFocus)
{
    ASSERT_NO_FATAL_FAILURE(StartProgram("mw_enter"));
    SetClipboardBytes("Enter must not save this");
    const RECT start = WindowRectOf(Main());
    for (const FocusCase& c : kFocusCases) {
        SCOPED_TRACE(c.label);
        ASSERT_NO_FATAL_FAILURE(TabTo(c.focus));
        PressKey(VK_RETURN);
        SettleInput(*app_);
        ASSERT_TRUE(app_->Running());
        EXPECT_EQ(FocusOf(app_->Pid()), Child(c.focus));
        EXPECT_TRUE(FileNamesIn(desktop_).empty()) << "a file was saved";
        EXPECT_EQ(TopWindowsOf(app_->Pid()).size(), 1u) << "a window opened";
        EXPECT_FALSE(IsCheckedFromOutside(Child(kDefineNameBox)));
        EXPECT_FALSE(IsCheckedFromOutside(Child(kTransparencyBox)));
        EXPECT_EQ(SendMessageA(Child(kOpacitySlider), TBM_GETPOS, 0, 0), 150);
        EXPECT_TRUE(SameRect(WindowRectOf(Main()), start)) << Describe(WindowRectOf(Main()));
    }
}

TEST_F(MainWindowTest, SpaceTogglesTheFocusedCheckBox)
{
    ASSERT_NO_FATAL_FAILURE(StartProgram("mw_space"));
    for (const MainChild box : {kTransparencyBox, kDefineNameBox}) {
        SCOPED_TRACE(box == kTransparencyBox ? "透明度" : "定义文件名");
        ASSERT_NO_FATAL_FAILURE(TabTo(box));
        for (const bool checked : {true, false}) {
            PressKey(VK_SPACE);
            EXPECT_TRUE(WaitUntil([&] { return IsCheckedFromOutside(Child(box)) == checked; }, kSlow));
            EXPECT_EQ(FocusOf(app_->Pid()), Child(box));
        }
    }
    SettleInput(*app_);
    EXPECT_TRUE(FileNamesIn(desktop_).empty());
}

TEST_F(MainWindowTest, SpaceOnThePasteButtonSavesTheClipboard)
{
    ASSERT_NO_FATAL_FAILURE(StartProgram("mw_space_paste"));
    SetClipboardBytes("空格保存");
    PressKey(VK_SPACE);
    std::vector<std::string> files;
    ASSERT_TRUE(WaitUntil([&] { return !(files = FileNamesIn(desktop_)).empty(); }, kSlow));
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(ReadFileBytes(desktop_ + files[0]), "空格保存");
}

TEST_F(MainWindowTest, FocusReturnsToItsControlWhenTheWindowIsActivatedAgain)
{
    ASSERT_NO_FATAL_FAILURE(StartProgram("mw_refocus"));
    OtherWindow other;
    ASSERT_TRUE(other.Handle());
    for (const MainChild target : {kOpacitySlider, kDefineNameBox}) {
        SCOPED_TRACE(target == kOpacitySlider ? "slider" : "定义文件名");
        ASSERT_NO_FATAL_FAILURE(TabTo(target));
        SetForegroundWindow(other.Handle());
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == other.Handle(); }, kSlow));
        ASSERT_TRUE(WaitUntil([&] { return FocusOf(app_->Pid()) != Child(target); }, kSlow))
            << "the program kept the focus";

        // A click on the green background activates the window again.
        const POINT back = OnScreen(Main(), kBackground.x, kBackground.y);
        ClickAt(back.x, back.y);
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == Main(); }, kSlow));
        EXPECT_TRUE(WaitForFocusOn(target));
    }
}

// --- dragging ---------------------------------------------------------------------

namespace {

enum class DragEffect { MovesWindow, TogglesBox, SavesClipboard };

struct DragCase {
    const char* label;
    POINT start;  // client coordinates
    POINT by;
    DragEffect effect;
};

void PrintTo(const DragCase& c, std::ostream* os) { *os << c.label; }

class MainWindowDrag : public MainWindowTest, public ::testing::WithParamInterface<DragCase> {};

}  // namespace

TEST_P(MainWindowDrag, MovesOnlyFromTheBackground)
{
    const DragCase& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(StartProgram("mw_drag"));
    SetClipboardBytes("拖动");
    const RECT before = WindowRectOf(Main());
    Drag(OnScreen(Main(), c.start.x, c.start.y), c.by.x, c.by.y);

    if (c.effect == DragEffect::MovesWindow) {
        const RECT want{before.left + c.by.x, before.top + c.by.y, before.right + c.by.x, before.bottom + c.by.y};
        EXPECT_TRUE(WaitUntil([&] { return SameRect(WindowRectOf(Main()), want); }, kSlow))
            << Describe(WindowRectOf(Main())) << " instead of " << Describe(want);
    } else if (c.effect == DragEffect::TogglesBox) {
        EXPECT_TRUE(WaitUntil([&] { return IsCheckedFromOutside(Child(kDefineNameBox)); }, kSlow));
    } else {
        std::vector<std::string> files;
        EXPECT_TRUE(WaitUntil([&] { return !(files = FileNamesIn(desktop_)).empty(); }, kSlow))
            << "the button was not clicked";
    }
    SettleInput(*app_);
    if (c.effect != DragEffect::MovesWindow) {
        EXPECT_TRUE(SameRect(WindowRectOf(Main()), before)) << Describe(WindowRectOf(Main()));
    }
    if (c.effect != DragEffect::TogglesBox) {
        EXPECT_FALSE(IsCheckedFromOutside(Child(kDefineNameBox)));
    }
    if (c.effect != DragEffect::SavesClipboard) {
        EXPECT_TRUE(FileNamesIn(desktop_).empty());
    }
    EXPECT_TRUE(app_->Running());
}

// Drags on a control stay inside it, so that letting go is a click.
INSTANTIATE_TEST_SUITE_P(
    From, MainWindowDrag,
    ::testing::Values(DragCase{"Background", kBackground, {120, 80}, DragEffect::MovesWindow},
                      DragCase{"BackgroundUpLeft", {145, 70}, {-200, -150}, DragEffect::MovesWindow},
                      DragCase{"DefineNameBox", {80, 51}, {60, 4}, DragEffect::TogglesBox},
                      DragCase{"PasteButton", {20, 14}, {100, 18}, DragEffect::SavesClipboard}),
    [](const auto& info) { return std::string(info.param.label); });
