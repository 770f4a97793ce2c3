// Which typed file names a save refuses: colons and device names.
#include <gtest/gtest.h>
#include <windows.h>

#include "capture/typed_name.h"

namespace {

struct NameCase {
    const char* label;
    const char* name;  // code page 936 bytes
    bool safe;
};
void PrintTo(const NameCase& row, std::ostream* os) { *os << row.label; }

class TypedName : public testing::TestWithParam<NameCase> {};

TEST_P(TypedName, IsRefusedOnlyWhenItHidesTheText)
{
    EXPECT_EQ(IsSafeTypedName(GetParam().name), GetParam().safe) << GetParam().name;
}

// 乗 is 0x81 0x5C in code page 936: its second byte looks like a backslash.
TEST(TypedName, TrailByteLikeABackslashIsPartOfACharacter)
{
    ASSERT_EQ(GetACP(), 936u);
    EXPECT_EQ(std::string("乗"), std::string("\x81\x5C"));
}

INSTANTIATE_TEST_SUITE_P(
    Names, TypedName,
    testing::Values(
        NameCase{"Plain", "笔记", true},
        NameCase{"Empty", "", true},
        NameCase{"Subfolder", "子\\笔记", true},
        NameCase{"Colon", "a:b", false},
        NameCase{"ColonAtTheEnd", "笔记:", false},
        NameCase{"ColonInASubfolder", "子\\a:b", false},
        NameCase{"DriveLetter", "C:\\笔记", false},
        NameCase{"Con", "CON", false},
        NameCase{"LowerCase", "con", false},
        NameCase{"MixedCase", "nUl", false},
        NameCase{"Prn", "PRN", false},
        NameCase{"Aux", "aux", false},
        NameCase{"Com1", "COM1", false},
        NameCase{"Com9", "com9", false},
        NameCase{"Lpt1", "LPT1", false},
        NameCase{"Lpt9", "lpt9", false},
        NameCase{"WithExtension", "NUL.log", false},
        NameCase{"WithTwoExtensions", "com1.backup.old", false},
        NameCase{"TrailingBlanks", "CON  ", false},
        NameCase{"BlankBeforeTheDot", "com1 .backup", false},
        NameCase{"DotsOnly", "PRN...", false},
        NameCase{"DeviceInASubfolder", "子\\Con", false},
        NameCase{"DeviceAfterASlash", "子/nul.txt", false},
        NameCase{"DeviceAsAFolderOnly", "con\\笔记", true},
        NameCase{"Com0", "COM0", true},
        NameCase{"Com10", "COM10", true},
        NameCase{"LongerWord", "CONSOLE", true},
        NameCase{"DeviceAfterTheDot", "a.CON", true},
        NameCase{"DeviceWithAChineseSuffix", "CON文", true},
        NameCase{"TrailByteBeforeADeviceWord", "乗CON", true},
        NameCase{"TrailByteBeforeADeviceWithExtension", "乗nul.log", true},
        NameCase{"LoneLeadByteAtTheEnd", "CON\x81", true}));

}  // namespace
