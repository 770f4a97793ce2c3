#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/e2e/harness.h"

#include <commctrl.h>

using namespace e2e;

namespace {

constexpr DWORD kSlow = 10000;  // the machine is shared and Wine is slow

// The main window's children in z-order, top first.
enum MainChild : std::size_t { kDefineNameBox, kTransparencyBox, kOpacitySlider, kPasteButton };

// Green background clear of every control, in client coordinates; above the
// slider, so it is background whether the window is collapsed or expanded.
constexpr POINT kBackground{4, 70};

// The window's constant alpha as another process sees it, or -1.
int AlphaOf(HWND window)
{
    BYTE alpha = 0;
    DWORD flags = 0;
    COLORREF key = 0;
    if (!GetLayeredWindowAttributes(window, &key, &alpha, &flags) || !(flags & LWA_ALPHA)) return -1;
    return alpha;
}


int HeightOf(HWND window)
{
    const RECT r = WindowRectOf(window);
    return r.bottom - r.top;
}

LRESULT SliderPos(HWND slider) { return SendMessageA(slider, TBM_GETPOS, 0, 0); }

class MainWindowBehaviour : public ::testing::Test {
protected:
    void StartProgram(const std::string& name)
    {
        desktop_ = DesktopFolder();
        EmptyFolder(desktop_);
        app_ = std::make_unique<App>(FreshProgramFolder(name));
        start_ = WindowRectOf(Main());
        ASSERT_TRUE(WaitForFocusOn(kPasteButton));
    }

    HWND Main() const { return app_->Main(); }
    HWND Child(MainChild which) const { return ChildrenOf(Main())[which]; }

    bool WaitForFocusOn(MainChild which) const
    {
        return WaitUntil([&] { return FocusOf(app_->Pid()) == Child(which); }, kSlow);
    }

    HWND VisiblePopup() const
    {
        const std::vector<HWND> popups = TopWindowsOf(app_->Pid(), "#32768");
        return popups.empty() ? nullptr : popups.front();
    }

    HWND SettingsWindow() const
    {
        for (HWND w : TopWindowsOf(app_->Pid(), "ClipToTextWindow"))
            if (TextOf(w) == kSettingsTitle) return w;
        return nullptr;
    }

    // Position, width and opacity stay whatever the height does.
    void ExpectOnlyTheHeight(int height) const
    {
        const RECT r = WindowRectOf(Main());
        EXPECT_EQ(r.left, start_.left);
        EXPECT_EQ(r.top, start_.top);
        EXPECT_EQ(r.right - r.left, 150);
        EXPECT_EQ(r.bottom - r.top, height);
        RECT client{};
        GetClientRect(Main(), &client);
        EXPECT_EQ(client.bottom, height) << "the client area is the whole window";
    }

    // Nothing but the main window, still running, enabled and unchanged.
    void ExpectUntouched() const
    {
        EXPECT_TRUE(app_->Running());
        EXPECT_EQ(TopWindowsOf(app_->Pid()).size(), 1u) << "another window is open";
        EXPECT_EQ(SettingsWindow(), nullptr);
        EXPECT_TRUE(IsWindowEnabled(Main()));
        EXPECT_EQ(AlphaOf(Main()), 150);
        EXPECT_TRUE(FileNamesIn(desktop_).empty());
    }

    std::string desktop_;
    std::unique_ptr<App> app_;
    RECT start_{};
};

}  // namespace

// --- opacity and height --------------------------------------------------------

TEST_F(MainWindowBehaviour, OpensAsALayeredWindowAtAlpha150)
{
    ASSERT_NO_FATAL_FAILURE(StartProgram("mwb_alpha"));
    EXPECT_EQ(AlphaOf(Main()), 150);
    // The extended style is written as WS_EX_LAYERED alone; Wine keeps the topmost bit.
    EXPECT_EQ(GetWindowLongPtrA(Main(), GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_TOPMOST), WS_EX_LAYERED);
    EXPECT_EQ(SliderPos(Child(kOpacitySlider)), 150) << "slider and opacity start in step";
}

TEST_F(MainWindowBehaviour, TransparencyBoxTogglesTheHeightAlone)
{
    ASSERT_NO_FATAL_FAILURE(StartProgram("mwb_height"));
    for (const int height : {130, 75, 130, 75}) {
        SCOPED_TRACE(height);
        ClickWindowCentre(Child(kTransparencyBox));
        ASSERT_TRUE(WaitUntil([&] { return HeightOf(Main()) == height; }, kSlow)) << HeightOf(Main());
        app_->Sync();
        ExpectOnlyTheHeight(height);
        EXPECT_EQ(SendMessageA(Child(kTransparencyBox), BM_GETCHECK, 0, 0), height == 130 ? BST_CHECKED : BST_UNCHECKED);
        EXPECT_EQ(AlphaOf(Main()), 150);
        EXPECT_EQ(SliderPos(Child(kOpacitySlider)), 150);
    }
}

TEST_F(MainWindowBehaviour, SliderKeysSetTheOpacityWhileTheWindowIsCollapsed)
{
    ASSERT_NO_FATAL_FAILURE(StartProgram("mwb_keys"));
    PressKey(VK_TAB);
    ASSERT_TRUE(WaitForFocusOn(kOpacitySlider));

    struct Step {
        const char* key;
        WORD vk;
        int position;
    };
    // Arrows move by the line size 20, Page Up and Page Down by the page size 5.
    const Step kSteps[] = {
        {"Right", VK_RIGHT, 170}, {"Right", VK_RIGHT, 190},    {"Left", VK_LEFT, 170},
        {"Down", VK_DOWN, 190},   {"Up", VK_UP, 170},          {"PageUp", VK_PRIOR, 165},
        {"PageUp", VK_PRIOR, 160}, {"PageDown", VK_NEXT, 165}, {"End", VK_END, 255},
        {"Right", VK_RIGHT, 255}, {"PageUp", VK_PRIOR, 250},   {"Home", VK_HOME, 0},
        {"Left", VK_LEFT, 0},     {"PageDown", VK_NEXT, 5},    {"Right", VK_RIGHT, 25},
    };
    for (const Step& step : kSteps) {
        SCOPED_TRACE(std::string(step.key) + " to " + std::to_string(step.position));
        PressKey(step.vk);
        EXPECT_TRUE(WaitUntil([&] { return SliderPos(Child(kOpacitySlider)) == step.position; }, kSlow))
            << "slider at " << SliderPos(Child(kOpacitySlider));
        EXPECT_TRUE(WaitUntil([&] { return AlphaOf(Main()) == step.position; }, kSlow))
            << "alpha " << AlphaOf(Main());
    }
    ExpectOnlyTheHeight(75);
    EXPECT_EQ(FocusOf(app_->Pid()), Child(kOpacitySlider));
    EXPECT_EQ(GetWindowLongPtrA(Main(), GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_TOPMOST), WS_EX_LAYERED);
}

// --- the settings popup ------------------------------------------------------------

TEST_F(MainWindowBehaviour, RightClickOnTheBackgroundOpensThePopupBesideThePointer)
{
    ASSERT_NO_FATAL_FAILURE(StartProgram("mwb_popup"));
    const POINT at = OnScreen(Main(), kBackground.x, kBackground.y);
    ClickAt(at.x, at.y, true);
    HWND popup = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (popup = VisiblePopup()) != nullptr; }, kSlow)) << "no popup";

    POINT pointer{};
    GetCursorPos(&pointer);
    EXPECT_EQ(pointer.x, at.x);
    EXPECT_EQ(pointer.y, at.y);
    const RECT r = WindowRectOf(popup);
    EXPECT_EQ(r.left, at.x + 3);
    EXPECT_EQ(r.top, at.y + 3);

    // Escape closes it and nothing is run.
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return VisiblePopup() == nullptr; }, kSlow));
    SettleInput(*app_);
    ExpectUntouched();
    EXPECT_TRUE(SameRect(WindowRectOf(Main()), start_)) << "the window moved";

    // The popup can be opened again, and Escape now reaches the window.
    ClickAt(at.x, at.y, true);
    ASSERT_TRUE(WaitUntil([&] { return VisiblePopup() != nullptr; }, kSlow)) << "no popup the second time";
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return VisiblePopup() == nullptr; }, kSlow));
    SettleInput(*app_);
    EXPECT_TRUE(app_->Running());
    PressKey(VK_ESCAPE);
    EXPECT_EQ(app_->WaitForExit(kSlow), std::optional<DWORD>(0));
}

TEST_F(MainWindowBehaviour, RightClickOnAControlOpensNoPopup)
{
    ASSERT_NO_FATAL_FAILURE(StartProgram("mwb_popup_controls"));
    // Expanded, so that the slider can be clicked too.
    ClickWindowCentre(Child(kTransparencyBox));
    ASSERT_TRUE(WaitUntil([&] { return HeightOf(Main()) == 130; }, kSlow));

    for (const MainChild control : {kDefineNameBox, kTransparencyBox, kOpacitySlider, kPasteButton}) {
        SCOPED_TRACE(control);
        ClickWindowCentre(Child(control), true);
        SettleInput(*app_);
        EXPECT_EQ(VisiblePopup(), nullptr);
        if (VisiblePopup()) {  // one popup must not spoil the next case
            PressKey(VK_ESCAPE);
            WaitUntil([&] { return VisiblePopup() == nullptr; }, kSlow);
        }
    }
    EXPECT_EQ(HeightOf(Main()), 130) << "a right click toggles nothing";
    EXPECT_EQ(SliderPos(Child(kOpacitySlider)), 150);
    EXPECT_TRUE(FileNamesIn(desktop_).empty()) << "a right click pressed the paste button";

    // The background of the expanded window still opens it.
    const POINT at = OnScreen(Main(), kBackground.x, kBackground.y);
    ClickAt(at.x, at.y, true);
    EXPECT_TRUE(WaitUntil([&] { return VisiblePopup() != nullptr; }, kSlow));
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return VisiblePopup() == nullptr; }, kSlow));
}

// --- menu commands from outside ---------------------------------------------------

namespace {

struct CommandCase {
    const char* label;
    WORD id;
    bool opensSettings;
};

void PrintTo(const CommandCase& c, std::ostream* os) { *os << c.label; }

class MainWindowCommand : public MainWindowBehaviour, public ::testing::WithParamInterface<CommandCase> {};

}  // namespace

TEST_P(MainWindowCommand, OnlyTheParameterSettingsItemOpensTheSettings)
{
    ASSERT_NO_FATAL_FAILURE(StartProgram("mwb_command"));
    PostMessageA(Main(), WM_COMMAND, MAKEWPARAM(GetParam().id, 0), 0);
    if (!GetParam().opensSettings) {
        // Handled once a message posted behind it has been taken.
        ASSERT_TRUE(app_->WaitForMessageLoop(kSlow));
        ExpectUntouched();
        return;
    }
    HWND settings = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (settings = SettingsWindow()) != nullptr; }, kSlow));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(Main()); }, kSlow));
    PostMessageA(settings, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(settings); }, kSlow));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(Main()) != 0; }, kSlow));
    SettleInput(*app_);
    ExpectUntouched();
}

INSTANTIATE_TEST_SUITE_P(Id, MainWindowCommand,
                         ::testing::Values(CommandCase{"SettingsMenu20000", 20000, false},
                                           CommandCase{"ParameterSettings20001", 20001, true},
                                           CommandCase{"Unknown20002", 20002, false},
                                           CommandCase{"Unknown30000", 30000, false}),
                         [](const auto& info) { return std::string(info.param.label); });
