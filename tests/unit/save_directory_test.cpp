#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <ostream>

#include "config/save_directory.h"

namespace {

// Each test works in its own program folder under the Windows temp folder.
class SetDatTest : public testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "cliptext_setdat";
        CreateDirectoryA(folder_.c_str(), nullptr);
        DeleteFileA(SetDat().c_str());
    }
    void TearDown() override { DeleteFileA(SetDat().c_str()); }

    std::string SetDat() const { return folder_ + "\\Set.dat"; }
    void Write(const std::string& bytes) const { std::ofstream(SetDat(), std::ios::binary) << bytes; }
    std::string Read() const
    {
        std::ifstream in(SetDat(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    bool Exists() const { return GetFileAttributesA(SetDat().c_str()) != INVALID_FILE_ATTRIBUTES; }

    std::string folder_;
};

TEST_F(SetDatTest, DesktopFolderEndsWithABackslash)
{
    const Text desktop = DesktopDirectory();
    ASSERT_FALSE(desktop.empty());
    EXPECT_EQ(desktop.back(), '\\');
    EXPECT_NE(GetFileAttributesA(desktop.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(SetDatTest, FirstStartFallsBackToTheDesktopAndCreatesNoFile)
{
    EXPECT_EQ(LoadSaveDirectory(folder_), DesktopDirectory());
    EXPECT_FALSE(Exists());
}

struct ReadCase {
    const char* name;
    std::string file;
    std::string expected;  // empty: the desktop folder
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class SetDatReading : public SetDatTest, public testing::WithParamInterface<ReadCase> {};

TEST_P(SetDatReading, GivesTheSaveDirectory)
{
    Write(GetParam().file);
    EXPECT_EQ(LoadSaveDirectory(folder_), GetParam().expected.empty() ? DesktopDirectory() : GetParam().expected);
}

const std::string kLongValue = "C:\\" + std::string(20000, 'a');

INSTANTIATE_TEST_SUITE_P(
    Files, SetDatReading,
    testing::Values(ReadCase{"Plain", "[Set]\r\nHH=D:\\texts\r\n", "D:\\texts"},
                    ReadCase{"EmptyValue", "[Set]\r\nHH=\r\n", ""},
                    ReadCase{"OnlyBlanks", "[Set]\r\nHH=    \r\n", ""},
                    ReadCase{"BlanksAround", "[Set]\r\nHH=   D:\\texts  \r\n", "D:\\texts"},
                    ReadCase{"OtherLetterCase", "[set]\r\nhh=D:\\lower\r\n", "D:\\lower"},
                    ReadCase{"Chinese", "[Set]\r\nHH=D:\\\xD6\xD0\xCE\xC4\r\n", "D:\\\xD6\xD0\xCE\xC4"},
                    ReadCase{"NoKey", "[Set]\r\nOther=D:\\x\r\n", ""},
                    ReadCase{"OtherSection", "[Else]\r\nHH=D:\\x\r\n", ""},
                    ReadCase{"LongValueCut", "[Set]\r\nHH=" + kLongValue + "\r\n", kLongValue.substr(0, 10239)}));

TEST_F(SetDatTest, StoringIntoANewFileWritesTwoLines)
{
    StoreSaveDirectory("D:\\texts", folder_);
    EXPECT_EQ(Read(), "[Set]\r\nHH=D:\\texts\r\n");
}

TEST_F(SetDatTest, StoringAnEmptyValueKeepsTheKey)
{
    StoreSaveDirectory("", folder_);
    EXPECT_EQ(Read(), "[Set]\r\nHH=\r\n");
    EXPECT_EQ(LoadSaveDirectory(folder_), DesktopDirectory());
}

TEST_F(SetDatTest, StoringReplacesOnlyTheKeyLine)
{
    Write("[First]\r\na=1\r\n[Set]\r\nX=2\r\nHH=old\r\nY=3\r\n[Last]\r\nb=4\r\n");
    StoreSaveDirectory("C:\\new", folder_);
    EXPECT_EQ(Read(), "[First]\r\na=1\r\n[Set]\r\nX=2\r\nHH=C:\\new\r\nY=3\r\n[Last]\r\nb=4\r\n");
}

}  // namespace
