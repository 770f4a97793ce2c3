// Modal program windows: every opening builds its own window, and the other
// windows are disabled while a modal window or dialog is open (nested scopes,
// scopes that end out of order, windows disabled beforehand).
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>

#include "platform/modality.h"
#include "platform/program_window.h"

namespace {

const WindowLayout kPlainLayout{
    .title = "",
    .style = WS_POPUP,
    .exStyle = 0,
    .width = 40,
    .height = 30,
    .borderless = false,
    .topmost = false,
    .escCloses = false,
    .dragByBackground = false,
    .background = 0,
    .backgroundSysColor = COLOR_BTNFACE,
    .controls = {},
    .menu = {},
    .onCreate = nullptr,
    .onRightButtonDown = nullptr,
};
const WindowLayout kMainLayout = kPlainLayout;
const WindowLayout kModalLayout = kPlainLayout;

// Program windows need the frame's window classes.
class ProgramWindowTest : public testing::Test {
protected:
    static void SetUpTestSuite() { InitWindowFrame(GetModuleHandleA(nullptr)); }
};

TEST_F(ProgramWindowTest, EachBuildOfALayoutGetsItsOwnWindow)
{
    // A settings command may arrive while the window of the last one is closing.
    ProgramWindow* closing = CreateProgramWindow(kModalLayout, nullptr);
    ASSERT_TRUE(closing);
    RequestWindowDestroy(*closing);
    ProgramWindow* fresh = CreateProgramWindow(kModalLayout, nullptr);
    ASSERT_TRUE(fresh);
    const HWND closingWindow = closing->hwnd;
    const HWND freshWindow = fresh->hwnd;
    EXPECT_NE(freshWindow, closingWindow);
    EXPECT_EQ(FindOpenWindow(kModalLayout), fresh);
    DestroyWindow(closingWindow);
    DestroyWindow(freshWindow);
}

// Two parentless program windows, hidden: a main window and a modal one.
class WindowsDisabledTest : public ProgramWindowTest {
protected:
    void SetUp() override
    {
        ProgramWindow* main = CreateProgramWindow(kMainLayout, nullptr);
        ProgramWindow* modal = CreateProgramWindow(kModalLayout, nullptr);
        ASSERT_TRUE(main && modal);
        main_ = main->hwnd;
        modal_ = modal->hwnd;
    }
    void TearDown() override
    {
        DestroyWindow(main_);
        DestroyWindow(modal_);
    }

    bool MainEnabled() const { return IsWindowEnabled(main_) != 0; }
    bool ModalEnabled() const { return IsWindowEnabled(modal_) != 0; }

    HWND main_ = nullptr;
    HWND modal_ = nullptr;
};

TEST_F(WindowsDisabledTest, NestedScopesGiveBackTheStateBeforeEach)
{
    {
        const ProgramWindowsDisabled modal(modal_);
        EXPECT_FALSE(MainEnabled());
        EXPECT_TRUE(ModalEnabled());
        {
            const ProgramWindowsDisabled dialog;
            EXPECT_FALSE(MainEnabled());
            EXPECT_FALSE(ModalEnabled());
        }
        EXPECT_FALSE(MainEnabled()) << "the modal window still holds it";
        EXPECT_TRUE(ModalEnabled());
    }
    EXPECT_TRUE(MainEnabled());
    EXPECT_TRUE(ModalEnabled());
}

TEST_F(WindowsDisabledTest, OuterScopeEndingFirstLeavesTheWindowDisabledUntilTheLast)
{
    std::optional<ProgramWindowsDisabled> modal(std::in_place, modal_);
    std::optional<ProgramWindowsDisabled> dialog(std::in_place);
    modal.reset();
    EXPECT_FALSE(MainEnabled()) << "the dialog still holds it";
    EXPECT_FALSE(ModalEnabled());
    dialog.reset();
    EXPECT_TRUE(MainEnabled());
    EXPECT_TRUE(ModalEnabled());
}

TEST_F(WindowsDisabledTest, AWindowDisabledBeforeStaysDisabled)
{
    EnableWindow(main_, FALSE);
    {
        const ProgramWindowsDisabled modal(modal_);
        const ProgramWindowsDisabled dialog;
    }
    EXPECT_FALSE(MainEnabled());
    EXPECT_TRUE(ModalEnabled());
}

TEST_F(WindowsDisabledTest, AWindowDestroyedMeanwhileIsLeftAlone)
{
    {
        const ProgramWindowsDisabled dialog;
        DestroyWindow(modal_);
    }
    EXPECT_TRUE(MainEnabled());
}

}  // namespace
