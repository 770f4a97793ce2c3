#include <gtest/gtest.h>

#include "tests/e2e/harness.h"

using namespace e2e;

namespace {

enum class Lands { InOut, OnDesktop, Nowhere };

struct FolderCase {
    const char* label;
    // Set.dat beside the program, "%s" standing for the program folder; null for none.
    const char* settings;
    Lands lands;
};

std::string Expand(const char* pattern, const std::string& folder)
{
    std::string text(pattern);
    const std::size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, folder);
    return text;
}

void PrintTo(const FolderCase& row, std::ostream* os) { *os << row.label; }

class SaveFolder : public ::testing::TestWithParam<FolderCase> {};

}  // namespace

TEST_P(SaveFolder, SaveFollowsSetDat)
{
    const FolderCase& c = GetParam();
    const std::string program = FreshProgramFolder(std::string("sf_") + c.label);
    const std::string out = program + "\\out";
    const std::string desktop = DesktopFolder();
    const std::string settingsFile = program + "\\Set.dat";
    EmptyFolder(desktop);
    MakeFolder(out);
    std::optional<Bytes> settings;
    if (c.settings) {
        settings = Expand(c.settings, program);
        ASSERT_TRUE(WriteFileBytes(settingsFile, *settings));
    }

    App app(program);
    SetClipboardBytes("保存位置");
    DWORD_PTR ignored = 0;
    ASSERT_TRUE(SendMessageTimeoutA(app.PasteButton(), BM_CLICK, 0, 0, SMTO_NORMAL, 30000, &ignored));

    const std::vector<std::string> inOut = FileNamesIn(out);
    const std::vector<std::string> onDesktop = FileNamesIn(desktop);
    EXPECT_EQ(inOut.size(), c.lands == Lands::InOut ? 1u : 0u);
    EXPECT_EQ(onDesktop.size(), c.lands == Lands::OnDesktop ? 1u : 0u);
    if (c.lands == Lands::InOut && inOut.size() == 1) {
        EXPECT_EQ(ReadFileBytes(out + "\\" + inOut[0]), "保存位置");
    }
    if (c.lands == Lands::OnDesktop && onDesktop.size() == 1) {
        EXPECT_EQ(ReadFileBytes(desktop + onDesktop[0]), "保存位置");
    }
    if (c.lands == Lands::Nowhere) {
        // Neither the folder is made nor a file put beside the program instead.
        EXPECT_EQ(GetFileAttributesA((program + "\\missing").c_str()), INVALID_FILE_ATTRIBUTES);
        std::size_t txt = 0;
        for (const std::string& name : FileNamesIn(program))
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".txt") == 0) ++txt;
        EXPECT_EQ(txt, 0u);
        EXPECT_TRUE(SendMessageTimeoutA(app.Main(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored))
            << "the program no longer answers";
    }

    PressKey(VK_ESCAPE);
    EXPECT_EQ(app.WaitForExit(10000), 0u);
    // Neither a save nor the start and end write Set.dat.
    EXPECT_EQ(ReadFileBytes(settingsFile), settings);
}

INSTANTIATE_TEST_SUITE_P(
    SetDat, SaveFolder,
    ::testing::Values(FolderCase{"Plain", "[Set]\r\nHH=%s\\out\r\n", Lands::InOut},
                      FolderCase{"BlanksAndLetterCase", "[set]\r\n  hh  =   %s\\out   \r\n", Lands::InOut},
                      FolderCase{"AmongOtherKeys", "[Other]\r\nHH=C:\\\r\n[Set]\r\nX=1\r\nHH=%s\\out\r\nY=2\r\n",
                                 Lands::InOut},
                      FolderCase{"FolderMissing", "[Set]\r\nHH=%s\\missing\r\n", Lands::Nowhere},
                      FolderCase{"EmptyValue", "[Set]\r\nHH=\r\n", Lands::OnDesktop},
                      FolderCase{"NoKey", "[Set]\r\nXX=%s\\out\r\n", Lands::OnDesktop},
                      FolderCase{"NoSetDat", nullptr, Lands::OnDesktop}),
    [](const ::testing::TestParamInfo<FolderCase>& info) { return std::string(info.param.label); });
