#include <gtest/gtest.h>

#include "tests/e2e/harness.h"

using namespace e2e;

TEST(MainWindow, EscEndsTheProgramWithExitCodeZero)
{
    App app(FreshProgramFolder("esc"));
    PressKey(VK_ESCAPE);
    EXPECT_EQ(app.WaitForExit(), 0u);
}

TEST(SmallScreen, MainWindowIsCentred)
{
    App app(FreshProgramFolder("small"));
    const RECT r = WindowRectOf(app.Main());
    EXPECT_EQ(r.left, 437);
    EXPECT_EQ(r.top, 346);
}
