#include <gtest/gtest.h>

#include "tests/e2e/harness.h"

using namespace e2e;

TEST(ClipboardSave, TimeNamedFileHoldsTheClipboardBytes)
{
    EmptyFolder(DesktopFolder());
    App app(FreshProgramFolder("timed"));
    SetClipboardBytes("中文\r\nabc");
    SendMessageA(app.PasteButton(), BM_CLICK, 0, 0);
    std::vector<std::string> files;
    ASSERT_TRUE(WaitUntil([&] { return !(files = FileNamesIn(DesktopFolder())).empty(); }));
    EXPECT_EQ(ReadFileBytes(DesktopFolder() + files[0]), "中文\r\nabc");
}
