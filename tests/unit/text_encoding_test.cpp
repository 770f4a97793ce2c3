// Which clipboard text a save reads, and the bytes Unicode text becomes.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "capture/text_encoding.h"

namespace {

// --- which text is the original ----------------------------------------------

constexpr UINT kHtmlFormat = 0xC0A1;  // a registered format, as browsers add

struct OrderCase {
    const char* label;
    std::vector<UINT> formats;  // in the order EnumClipboardFormats gives them
    bool unicode;
};
void PrintTo(const OrderCase& row, std::ostream* os) { *os << row.label; }

class TextOrigin : public testing::TestWithParam<OrderCase> {};

TEST_P(TextOrigin, UnicodeIsReadOnlyWhenAProgramPutItThere)
{
    EXPECT_EQ(UnicodeTextIsOriginal(GetParam().formats), GetParam().unicode);
}

// The orders are those Wine and Windows list after a program put the first format.
INSTANTIATE_TEST_SUITE_P(
    Formats, TextOrigin,
    testing::Values(OrderCase{"UnicodeOnly", {CF_UNICODETEXT, CF_LOCALE, CF_TEXT, CF_OEMTEXT}, true},
                    OrderCase{"AnsiOnly", {CF_TEXT, CF_LOCALE, CF_OEMTEXT, CF_UNICODETEXT}, false},
                    OrderCase{"OemOnly", {CF_OEMTEXT, CF_LOCALE, CF_TEXT, CF_UNICODETEXT}, false},
                    OrderCase{"AnsiThenUnicode", {CF_TEXT, CF_UNICODETEXT, CF_LOCALE, CF_OEMTEXT}, false},
                    OrderCase{"UnicodeThenAnsi", {CF_UNICODETEXT, CF_TEXT, CF_LOCALE, CF_OEMTEXT}, true},
                    OrderCase{"UnicodeAfterAnotherFormat",
                              {kHtmlFormat, CF_UNICODETEXT, CF_LOCALE, CF_TEXT, CF_OEMTEXT}, true},
                    OrderCase{"AnsiAfterAnotherFormat", {kHtmlFormat, CF_TEXT, CF_UNICODETEXT}, false},
                    OrderCase{"PictureOnly", {CF_BITMAP, CF_DIB}, false},
                    OrderCase{"Nothing", {}, false}));

// --- Unicode text as file bytes ----------------------------------------------

std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }
const std::string kBom = "\xEF\xBB\xBF";

struct BytesCase {
    const char* label;
    std::wstring text;
    std::string bytes;  // narrow literals are code page 936
};
void PrintTo(const BytesCase& row, std::ostream* os) { *os << row.label; }

class UnicodeFileBytes : public testing::TestWithParam<BytesCase> {};

TEST_P(UnicodeFileBytes, AreAnsiUnlessACharacterWouldBeLost)
{
    ASSERT_EQ(GetACP(), 936u);
    std::string bytes = "left over";
    ASSERT_TRUE(FileBytesOfUnicode(GetParam().text.data(), GetParam().text.size(), bytes));
    EXPECT_EQ(bytes, GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, UnicodeFileBytes,
    testing::Values(
        BytesCase{"Empty", L"", ""},
        BytesCase{"Chinese", L"中文剪贴板abc", "中文剪贴板abc"},
        BytesCase{"LineBreaks", L"第一行\r\n第二行\r\n", "第一行\r\n第二行\r\n"},
        BytesCase{"EuroSign", L"€", "\x80"},
        BytesCase{"KanaAndPinyin", L"アā", "アā"},
        BytesCase{"Emoji", L"😀", kBom + Utf8(u8"😀")},
        BytesCase{"Korean", L"한국어", kBom + Utf8(u8"한국어")},
        BytesCase{"HanOutsideTheCodePage", L"𠮷䶮", kBom + Utf8(u8"𠮷䶮")},
        BytesCase{"ChineseWithOneLostCharacter", L"中文😀\r\n", kBom + Utf8(u8"中文😀\r\n")},
        // Windows would write à for À without asking; only an exact form counts.
        BytesCase{"LetterWithOnlyALookAlike", L"À", kBom + Utf8(u8"À")},
        BytesCase{"MicroSign", L"µ", kBom + Utf8(u8"µ")}));

TEST(UnicodeFileBytes, StopAtTheGivenLength)
{
    const std::wstring text = L"中文😀";
    std::string bytes;
    ASSERT_TRUE(FileBytesOfUnicode(text.data(), 2, bytes));
    EXPECT_EQ(bytes, "中文");
}

}  // namespace
