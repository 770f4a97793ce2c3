// What a user sees that no window message tells: the colours of the check
// boxes and of the settings window, and the text of the popup menu's item.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/harness.h"

using namespace e2e;

namespace {

constexpr DWORD kSlow = 10000;
constexpr COLORREF kGreen = RGB(0, 128, 0), kWhite = RGB(255, 255, 255);
constexpr POINT kBackground{4, 70};  // green, clear of every control

// The most frequent colours of a picture, for a failure message.
std::string Colours(const ScreenShot& shot)
{
    std::map<COLORREF, int> counts;
    for (int y = 0; y < shot.Height(); ++y)
        for (int x = 0; x < shot.Width(); ++x) ++counts[shot.At(x, y)];
    std::vector<std::pair<int, COLORREF>> byCount;
    for (const auto& [colour, n] : counts) byCount.emplace_back(n, colour);
    std::sort(byCount.rbegin(), byCount.rend());
    std::ostringstream text;
    text << shot.Width() << "x" << shot.Height() << ":" << std::hex;
    for (std::size_t i = 0; i < byCount.size() && i < 8; ++i)
        text << " " << byCount[i].second << "*" << std::dec << byCount[i].first << std::hex;
    return text.str();
}

// White over green, or a smoothed edge between the two.
bool IsWhiteOnGreen(COLORREF c)
{
    return GetRValue(c) == GetBValue(c) && GetGValue(c) >= 128 && GetGValue(c) >= GetRValue(c);
}

bool IsNearlyWhite(COLORREF c) { return IsWhiteOnGreen(c) && GetRValue(c) >= 0xe0; }

// Grey as a smoothed black or grey text is, at most `level` bright.
bool IsGreyUpTo(COLORREF c, int level)
{
    return GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c) && GetRValue(c) <= level;
}

template <typename Test>
int CountWhere(const ScreenShot& shot, const RECT& area, Test test)
{
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) n += test(shot.At(x, y));
    return n;
}

class Looks : public ::testing::Test {
protected:
    void SetUp() override
    {
        EmptyFolder(DesktopFolder());
        app_ = std::make_unique<App>(FreshProgramFolder("looks"));
    }

    std::unique_ptr<App> app_;
};

}  // namespace

TEST_F(Looks, CheckBoxesShowWhiteTextOnTheGreenBackground)
{
    struct Box {
        const char* label;
        HWND window;
    };
    for (const Box& box : {Box{"定义文件名", app_->DefineNameBox()}, Box{"透明度", app_->TransparencyBox()}}) {
        SCOPED_TRACE(box.label);
        // Right of the check square, and within the main window, which the
        // box of 定义文件名 overhangs by two pixels.
        RECT text = RectInClient(box.window, app_->Main());
        RECT client{};
        GetClientRect(app_->Main(), &client);
        IntersectRect(&text, &text, &client);
        OffsetRect(&text, -RectInClient(box.window, app_->Main()).left, -RectInClient(box.window, app_->Main()).top);
        text.left = GetSystemMetrics(SM_CXMENUCHECK) + 4;
        ASSERT_TRUE(WaitUntil([&] { return CountWhere(ScreenShot(box.window), text, IsNearlyWhite) > 10; }, kSlow))
            << "no white text: " << Colours(ScreenShot(box.window));
        const ScreenShot shot(box.window);
        EXPECT_EQ(CountWhere(shot, text, [](COLORREF c) { return !IsWhiteOnGreen(c); }), 0)
            << "pixels neither green nor white: " << Colours(shot.Cut(text));
        EXPECT_GT(shot.Count(text, kGreen), (text.right - text.left) * (text.bottom - text.top) / 2);
    }
}

// The folder box asks for black text on white; a disabled edit control draws
// its text grey whatever it is given, so only the white shows.
TEST_F(Looks, SettingsWindowIsGreyWithTheFolderBoxWhite)
{
    const HWND settings = OpenSettingsByCommand(*app_, kSlow);
    ASSERT_TRUE(settings);
    HWND folderBox = nullptr;
    for (HWND child : ChildrenOf(settings))
        if (ClassOf(child) == "Edit") folderBox = child;
    ASSERT_TRUE(folderBox);
    RECT all{};
    GetClientRect(folderBox, &all);
    ASSERT_TRUE(WaitUntil([&] {
        return CountWhere(ScreenShot(folderBox), all, [](COLORREF c) { return IsGreyUpTo(c, 0xd0); }) > 20;
    }, kSlow)) << "no text: " << Colours(ScreenShot(folderBox));

    const ScreenShot window(settings);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (const POINT p : {POINT{20, 80}, POINT{120, 100}, POINT{260, 60}, POINT{380, 60}})
        EXPECT_EQ(window.At(p.x, p.y), face) << "background at " << p.x << "," << p.y;

    const ScreenShot box(folderBox);
    EXPECT_GT(box.Count(all, kWhite), box.Width() * box.Height() / 2) << "not white, though disabled: " << Colours(box);
    EXPECT_EQ(CountWhere(box, all, [](COLORREF c) { return !IsGreyUpTo(c, 0xff); }), 0)
        << "coloured pixels: " << Colours(box);
    PostMessageA(settings, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(settings); }, kSlow));
}

TEST_F(Looks, PopupItemReadsParameterSettings)
{
    // Another process cannot read a popup menu's items, so its pixels are
    // compared with the text drawn here in the same menu font.
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    const HFONT menuFont = CreateFontIndirectA(&metrics.lfMenuFont);
    const COLORREF ink = GetSysColor(COLOR_MENUTEXT), paper = GetSysColor(COLOR_MENU);
    // Inside the popup's frame.
    constexpr int kFrame = 3;
    auto inkOf = [&](const ScreenShot& shot, int frame) {
        return shot.Cut(shot.Ink({frame, frame, shot.Width() - frame, shot.Height() - frame}, paper));
    };
    const ScreenShot expected = inkOf(TextAsDrawn("参数设置", menuFont, ink, paper), 0);
    const ScreenShot nearMiss = inkOf(TextAsDrawn("参数设定", menuFont, ink, paper), 0);
    DeleteObject(menuFont);
    ASSERT_FALSE(expected == nearMiss) << "the font cannot tell the texts apart";

    const POINT at = OnScreen(app_->Main(), kBackground.x, kBackground.y);
    ClickAt(at.x, at.y, true);
    HWND popup = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        const std::vector<HWND> popups = TopWindowsOf(app_->Pid(), "#32768");
        return (popup = popups.empty() ? nullptr : popups.front()) != nullptr;
    }, kSlow));
    EXPECT_TRUE(WaitUntil([&] { return inkOf(ScreenShot(popup), kFrame) == expected; }, kSlow))
        << "the item's text is not 参数设置: expected " << Colours(expected) << ", shown "
        << Colours(inkOf(ScreenShot(popup), kFrame)) << " in " << Colours(ScreenShot(popup));
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return TopWindowsOf(app_->Pid(), "#32768").empty(); }, kSlow));
}
