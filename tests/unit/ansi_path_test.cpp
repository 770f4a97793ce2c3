#include <gtest/gtest.h>
#include <windows.h>

#include "platform/ansi_path.h"

// The cuts below rely on the code page of the Chinese locale (936), in which
// 0xB1 0x5C is one character whose second byte looks like a backslash.
TEST(AnsiPath, RunsInCodePage936) { EXPECT_EQ(GetACP(), 936u); }

struct FolderCase {
    const char* path;
    const char* folder;
};

class ProgramFolderCut : public testing::TestWithParam<FolderCase> {};

TEST_P(ProgramFolderCut, CutsAtTheLastRealBackslash)
{
    EXPECT_EQ(FolderOfFile(GetParam().path), GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ProgramFolderCut,
    testing::Values(FolderCase{"C:\\Program Files\\Clip\\ClipToText.exe", "C:\\Program Files\\Clip"},
                    FolderCase{"C:\\dir\\\xB1\x5C" "clip.exe", "C:\\dir"},        // trail byte 0x5C in the name
                    FolderCase{"C:\\\xB1\x5C\\clip.exe", "C:\\\xB1\x5C"},         // and in the folder
                    FolderCase{"C:\\\xD6\xD0\xCE\xC4\\clip.exe", "C:\\\xD6\xD0\xCE\xC4"},
                    FolderCase{"C:\\ClipToText.exe", "C:"},                      // a drive root
                    FolderCase{"ClipToText.exe", ""},                            // no backslash
                    FolderCase{"", ""}));
