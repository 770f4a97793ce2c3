#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <thread>

#include "tests/e2e/harness.h"

using namespace e2e;

namespace {

const char kBoxCaption[] = "请输入要保存的文件名(不包含后缀)";
const char kBoxPrompt[] = "请输入自定义文件名,不包含后缀";
constexpr DWORD kSlow = 20000;  // generous: the machine is shared and Wine is slow to start

// --- the clipboard as copying programs fill it -------------------------------

// Exactly these bytes as CF_TEXT, with no zero added at the end.
void PutRawText(const Bytes& raw) { ASSERT_TRUE(PutOnClipboard({{CF_TEXT, raw}})); }

// Unicode text alone, as a program copies it while the keyboard layout of
// `locale` is active; Windows makes CF_TEXT from it in that locale's code page.
void PutUnicodeCopiedIn(const std::wstring& text, LCID locale)
{
    ASSERT_TRUE(PutOnClipboard({{CF_UNICODETEXT, UnicodeData(text)}, {CF_LOCALE, LocaleData(locale)}}));
}

// Both texts, put by the copying program in this order.
void PutAnsiThenUnicode(const Bytes& ansi, const std::wstring& unicode)
{
    ASSERT_TRUE(PutOnClipboard({{CF_TEXT, AnsiData(ansi)}, {CF_UNICODETEXT, UnicodeData(unicode)}}));
}

void PutUnicodeThenAnsi(const std::wstring& unicode, const Bytes& ansi)
{
    ASSERT_TRUE(PutOnClipboard({{CF_UNICODETEXT, UnicodeData(unicode)}, {CF_TEXT, AnsiData(ansi)}}));
}

// Narrow literals are code page 936; these bytes stay UTF-8.
Bytes Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }
const Bytes kUtf8Bom = "\xEF\xBB\xBF";

// --- names and files ---------------------------------------------------------

Bytes Ansi(const std::wstring& text)
{
    const int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                      nullptr);
    Bytes bytes(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), n, nullptr, nullptr);
    return bytes;
}

// The calendar words of a local time, trailing zero fields left out.
std::string CalendarName(const SYSTEMTIME& t)
{
    char name[64];
    const int n = std::snprintf(name, sizeof name, "%d年%d月%d日", t.wYear, t.wMonth, t.wDay);
    if (t.wSecond)
        std::snprintf(name + n, sizeof name - n, "%d时%d分%d秒", t.wHour, t.wMinute, t.wSecond);
    else if (t.wMinute)
        std::snprintf(name + n, sizeof name - n, "%d时%d分", t.wHour, t.wMinute);
    else if (t.wHour)
        std::snprintf(name + n, sizeof name - n, "%d时", t.wHour);
    return name;
}

// The file names of every whole second from `from` to `to`.
std::vector<std::string> NamesBetween(SYSTEMTIME from, SYSTEMTIME to)
{
    from.wMilliseconds = to.wMilliseconds = 0;
    FILETIME f, t;
    SystemTimeToFileTime(&from, &f);
    SystemTimeToFileTime(&to, &t);
    ULARGE_INTEGER at{{f.dwLowDateTime, f.dwHighDateTime}};
    const ULARGE_INTEGER end{{t.dwLowDateTime, t.dwHighDateTime}};
    std::vector<std::string> names;
    for (; at.QuadPart <= end.QuadPart; at.QuadPart += 10000000) {
        const FILETIME ft{at.LowPart, at.HighPart};
        SYSTEMTIME st;
        FileTimeToSystemTime(&ft, &st);
        names.push_back(CalendarName(st) + ".txt");
    }
    return names;
}

std::vector<std::string> SortedFilesIn(const std::string& folder)
{
    std::vector<std::string> names = FileNamesIn(folder);
    std::sort(names.begin(), names.end());
    return names;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// --- driving the program -----------------------------------------------------

// A click on the paste button with 定义文件名 not ticked; returns when the
// program has handled it (the save runs inside the click).
void ClickPaste(const App& app)
{
    DWORD_PTR ignored = 0;
    ASSERT_TRUE(SendMessageTimeoutA(app.PasteButton(), BM_CLICK, 0, 0, SMTO_NORMAL, 60000, &ignored));
}

HWND ChildWithClass(HWND parent, const char* className)
{
    for (HWND c : ChildrenOf(parent))
        if (_stricmp(ClassOf(c).c_str(), className) == 0) return c;
    return nullptr;
}

// Ticks 定义文件名 and clicks the paste button; the input box is modal, so
// the click is posted. Returns the box once it has the focus in its entry field.
HWND OpenInputBox(const App& app)
{
    if (SendMessageA(app.DefineNameBox(), BM_GETCHECK, 0, 0) != BST_CHECKED)
        SendMessageA(app.DefineNameBox(), BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageA(app.DefineNameBox(), BM_GETCHECK, 0, 0), BST_CHECKED);
    PostMessageA(app.PasteButton(), BM_CLICK, 0, 0);
    const HWND box = WaitForTopWindow(app.Pid(), "#32770", kBoxCaption, kSlow);
    if (!box) return nullptr;
    const HWND entry = ChildWithClass(box, "Edit");
    WaitUntil([&] { return FocusOf(app.Pid()) == entry && GetForegroundWindow() == box; }, kSlow);
    return box;
}

HWND EntryOf(HWND box) { return ChildWithClass(box, "Edit"); }

void TypeName(HWND box, const std::wstring& name)
{
    TypeText(name);
    const Bytes expected = Ansi(name);
    EXPECT_TRUE(WaitUntil([&] { return TextOf(EntryOf(box)) == expected; })) << TextOf(EntryOf(box));
}

// Waits until the box has gone and the click that opened it has ended.
void WaitForBoxToClose(const App& app, HWND box)
{
    // Without a window manager Wine takes about two seconds to withdraw the box.
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, kSlow));
    EXPECT_TRUE(IsWindowEnabled(app.Main()));
    ASSERT_TRUE(app.WaitForMessageLoop(kSlow)) << "the click did not end";
}

// A save under a typed name, confirmed with the confirm button.
void SaveNamed(const App& app, const std::wstring& name)
{
    const HWND box = OpenInputBox(app);
    ASSERT_TRUE(box) << "the input box did not open";
    TypeName(box, name);
    PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    WaitForBoxToClose(app, box);
}

// Every test starts from an empty desktop (the default save folder) and must
// leave no temporary file of the writer behind.
class SaveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        desktop_ = DesktopFolder();
        EmptyFolder(desktop_);
        SetClipboardBytes("");
    }
    void TearDown() override
    {
        for (const std::string& name : FileNamesIn(desktop_))
            EXPECT_NE(name.rfind("~cliptext", 0), 0u) << "temporary file left behind: " << name;
    }
    std::string desktop_;
};

template <typename Param>
class SaveTable : public SaveTest, public ::testing::WithParamInterface<Param> {};

template <typename Row>
std::string RowName(const ::testing::TestParamInfo<Row>& info)
{
    return info.param.label;
}

}  // namespace

// --- time-named saves ----------------------------------------------------------

TEST_F(SaveTest, TimeNamedFileLandsOnTheDesktopUnderTheClickTime)
{
    App app(FreshProgramFolder("cs_timed"));
    SetClipboardBytes("中文\r\nabc");
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    ClickPaste(app);
    GetLocalTime(&after);

    // The desktop folder ends with a backslash, so the path holds two in a row.
    const std::vector<std::string> files = FileNamesIn(desktop_);
    ASSERT_EQ(files.size(), 1u);
    const std::vector<std::string> allowed = NamesBetween(before, after);
    EXPECT_NE(std::find(allowed.begin(), allowed.end(), files[0]), allowed.end())
        << files[0] << " is not a time between " << allowed.front() << " and " << allowed.back();
    EXPECT_EQ(ReadFileBytes(desktop_ + files[0]), "中文\r\nabc");
    EXPECT_EQ(TopWindowsOf(app.Pid(), "#32770").size(), 0u) << "no input box without 定义文件名";
}

namespace {
struct ClipboardCase {
    const char* label;
    std::function<void()> put;
    Bytes saved;
};
void PrintTo(const ClipboardCase& row, std::ostream* os) { *os << row.label; }
}  // namespace

using ClipboardContents = SaveTable<ClipboardCase>;

TEST_P(ClipboardContents, FileHoldsExactlyTheClipboardText)
{
    App app(FreshProgramFolder("cs_contents"));
    GetParam().put();
    ClickPaste(app);
    const std::vector<std::string> files = FileNamesIn(desktop_);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(ReadFileBytes(desktop_ + files[0]), GetParam().saved);
}

INSTANTIATE_TEST_SUITE_P(
    Clipboard, ClipboardContents,
    ::testing::Values(
        ClipboardCase{"ChineseText", [] { SetClipboardBytes("中文剪贴板abc"); }, "中文剪贴板abc"},
        ClipboardCase{"LineBreaks", [] { SetClipboardBytes("第一行\r\n第二行\r\n\r\n"); }, "第一行\r\n第二行\r\n\r\n"},
        ClipboardCase{"CutAtTheFirstZeroByte", [] { PutRawText(Bytes("ab中\0cd\0ef", 9)); }, "ab中"},
        ClipboardCase{"ZeroByteFirst", [] { PutRawText(Bytes("\0abc", 4)); }, ""},
        ClipboardCase{"EmptyText", [] { SetClipboardBytes(""); }, ""},
        ClipboardCase{"NothingOnTheClipboard", [] { EmptyTheClipboard(); }, ""},
        ClipboardCase{"BitmapOnly", [] { ASSERT_TRUE(PutPictureAsBitmap()); }, ""},
        ClipboardCase{"FilesOnly", [] { ASSERT_TRUE(PutCopiedFiles()); }, ""},
        ClipboardCase{"UnicodeOnly", [] { SetClipboardUnicode(L"中文Unicode文本\r\n€"); }, Ansi(L"中文Unicode文本\r\n€")},
        // Characters code page 936 lacks (emoji, Korean, Han outside GBK, a
        // letter it would only approximate): the file is UTF-8 with a BOM.
        ClipboardCase{"UnicodeOnlyBeyondTheCodePage", [] { SetClipboardUnicode(L"表情😀 한국어 𠮷 À\r\n"); },
                      kUtf8Bom + Utf8(u8"表情😀 한국어 𠮷 À\r\n")},
        ClipboardCase{"UnicodeOnlyChineseGivesGbkWithoutBom", [] { SetClipboardUnicode(L"简体中文，全角标点。\r\n"); },
                      "简体中文，全角标点。\r\n"},
        ClipboardCase{"UnicodeOnlyCopiedUnderAnEnglishLayout",
                      [] { PutUnicodeCopiedIn(L"英文键盘下复制的中文", MAKELCID(0x0409, SORT_DEFAULT)); },
                      "英文键盘下复制的中文"},
        ClipboardCase{"AnsiOriginalKeepsBytesNoCharacterHas",
                      [] { SetClipboardBytes("ab\xFF中\x80\xA1"); }, "ab\xFF中\x80\xA1"},
        ClipboardCase{"AnsiPutBeforeUnicode", [] { PutAnsiThenUnicode("ANSI 文本", L"Unicode 文本😀"); }, "ANSI 文本"},
        ClipboardCase{"UnicodePutBeforeAnsi", [] { PutUnicodeThenAnsi(L"Unicode 文本😀", "ANSI 文本"); },
                      kUtf8Bom + Utf8(u8"Unicode 文本😀")}),
    RowName<ClipboardCase>);

namespace {
struct NoTextCase {
    const char* label;
    std::function<void()> put;
    bool byTime;  // a time name taken in the same second as an earlier save, else a typed name
};
void PrintTo(const NoTextCase& row, std::ostream* os) { *os << row.label; }

SYSTEMTIME SecondsLater(const SYSTEMTIME& t, int seconds)
{
    FILETIME f;
    SystemTimeToFileTime(&t, &f);
    ULARGE_INTEGER at{{f.dwLowDateTime, f.dwHighDateTime}};
    at.QuadPart += 10000000ull * static_cast<unsigned>(seconds);
    const FILETIME later{at.LowPart, at.HighPart};
    SYSTEMTIME result;
    FileTimeToSystemTime(&later, &result);
    return result;
}
}  // namespace

using NoTextOnTheClipboard = SaveTable<NoTextCase>;

TEST_P(NoTextOnTheClipboard, LeavesAnExistingFileUntouched)
{
    App app(FreshProgramFolder("cs_notext"));
    GetParam().put();
    if (GetParam().byTime) {
        // Every name the click can take in the next half minute exists already.
        SYSTEMTIME now;
        GetLocalTime(&now);
        for (const std::string& name : NamesBetween(now, SecondsLater(now, 30)))
            ASSERT_TRUE(WriteFileBytes(desktop_ + name, "已有的内容"));
        const std::size_t existing = FileNamesIn(desktop_).size();
        ClickPaste(app);
        EXPECT_EQ(FileNamesIn(desktop_).size(), existing);
    } else {
        ASSERT_TRUE(WriteFileBytes(desktop_ + "已有.txt", "已有的内容"));
        SaveNamed(app, L"已有");
        EXPECT_EQ(FileNamesIn(desktop_).size(), 1u);
    }
    for (const std::string& name : FileNamesIn(desktop_))
        EXPECT_EQ(ReadFileBytes(desktop_ + name), "已有的内容") << name;
}

INSTANTIATE_TEST_SUITE_P(Clipboard, NoTextOnTheClipboard,
                         ::testing::Values(NoTextCase{"NothingByTypedName", [] { EmptyTheClipboard(); }, false},
                                           NoTextCase{"BitmapByTypedName", [] { ASSERT_TRUE(PutPictureAsBitmap()); }, false},
                                           NoTextCase{"FilesByTypedName", [] { ASSERT_TRUE(PutCopiedFiles()); }, false},
                                           NoTextCase{"NothingByTime", [] { EmptyTheClipboard(); }, true},
                                           NoTextCase{"BitmapByTime", [] { ASSERT_TRUE(PutPictureAsBitmap()); }, true}),
                         RowName<NoTextCase>);

TEST_F(SaveTest, SixtyFourMegabytesAreSavedWhole)
{
    const std::string line = "中文0123456789abcdefghijklmnopqrstuvwxyz\r\n";  // 44 bytes
    Bytes text;
    text.reserve(64u << 20);
    while (text.size() < (64u << 20)) text += line;
    text.resize(64u << 20);
    App app(FreshProgramFolder("cs_large"));
    ASSERT_TRUE(PutOnClipboard({{CF_TEXT, AnsiData(text)}}));

    ClickPaste(app);
    const std::vector<std::string> files = FileNamesIn(desktop_);
    ASSERT_EQ(files.size(), 1u);
    const std::optional<Bytes> saved = ReadFileBytes(desktop_ + files[0]);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->size(), text.size());
    EXPECT_TRUE(*saved == text) << "the content differs";
}

// --- the input box -------------------------------------------------------------

TEST_F(SaveTest, InputBoxLooksAsExpectedAndDisablesTheMainWindow)
{
    App app(FreshProgramFolder("cs_box"));
    const HWND box = OpenInputBox(app);
    ASSERT_TRUE(box);
    EXPECT_EQ(GetWindow(box, GW_OWNER), app.Main());
    EXPECT_FALSE(IsWindowEnabled(app.Main()));

    const HWND prompt = ChildWithClass(box, "Static");
    ASSERT_TRUE(prompt);
    EXPECT_EQ(TextOf(prompt), kBoxPrompt);
    const HWND entry = EntryOf(box);
    ASSERT_TRUE(entry);
    EXPECT_EQ(TextOf(entry), "");
    EXPECT_EQ(FocusOf(app.Pid()), entry);
    EXPECT_EQ(TextOf(GetDlgItem(box, IDOK)), "确认输入(&O)");
    EXPECT_EQ(TextOf(GetDlgItem(box, IDCANCEL)), "取消(&C)");
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(box, IDOK), GWL_STYLE) & BS_DEFPUSHBUTTON);
    EXPECT_TRUE(GetWindowLongA(box, GWL_STYLE) & WS_SYSMENU) << "the box has a close box";

    PostMessageA(GetDlgItem(box, IDCANCEL), BM_CLICK, 0, 0);
    WaitForBoxToClose(app, box);
    EXPECT_TRUE(IsWindowEnabled(app.Main()));
}

enum class Confirm { Button, Enter, AltO };

namespace {
struct NamedCase {
    const char* label;
    std::wstring typed;
    Confirm confirm;
    const char* file;
};
void PrintTo(const NamedCase& row, std::ostream* os) { *os << row.label; }
}  // namespace

using NamedSave = SaveTable<NamedCase>;

TEST_P(NamedSave, TypedNameGetsTxtAppended)
{
    App app(FreshProgramFolder("cs_named"));
    SetClipboardBytes("命名的内容");
    const HWND box = OpenInputBox(app);
    ASSERT_TRUE(box);
    TypeName(box, GetParam().typed);
    switch (GetParam().confirm) {
    case Confirm::Button: PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0); break;
    case Confirm::Enter: PressKey(VK_RETURN); break;
    case Confirm::AltO: PressKey('O', false, true); break;
    }
    WaitForBoxToClose(app, box);
    EXPECT_EQ(SortedFilesIn(desktop_), std::vector<std::string>{GetParam().file});
    EXPECT_EQ(ReadFileBytes(desktop_ + GetParam().file), "命名的内容");
}

INSTANTIATE_TEST_SUITE_P(Box, NamedSave,
                         ::testing::Values(NamedCase{"ChineseByButton", L"笔记1", Confirm::Button, "笔记1.txt"},
                                           NamedCase{"TxtKeptByEnter", L"a.txt", Confirm::Enter, "a.txt.txt"},
                                           NamedCase{"EmptyByAltO", L"", Confirm::AltO, ".txt"},
                                           NamedCase{"BlanksInsideByButton", L"x y z", Confirm::Button,
                                                     "x y z.txt"},
                                           // Only alike to device names: 乗 ends in the byte of a backslash.
                                           NamedCase{"TrailByteBeforeCon", L"乗CON", Confirm::Button, "乗CON.txt"},
                                           NamedCase{"LongerThanADevice", L"CONSOLE", Confirm::Button,
                                                     "CONSOLE.txt"}),
                         RowName<NamedCase>);

namespace {
struct CancelCase {
    const char* label;
    std::function<void(HWND box)> cancel;
};
void PrintTo(const CancelCase& row, std::ostream* os) { *os << row.label; }
}  // namespace

using CancelledBox = SaveTable<CancelCase>;

TEST_P(CancelledBox, WritesNoFile)
{
    App app(FreshProgramFolder("cs_cancel"));
    SetClipboardBytes("不应保存");
    const HWND box = OpenInputBox(app);
    ASSERT_TRUE(box);
    TypeName(box, L"取消了");
    GetParam().cancel(box);
    WaitForBoxToClose(app, box);
    EXPECT_TRUE(FileNamesIn(desktop_).empty());
    EXPECT_TRUE(IsWindowEnabled(app.Main()));
    EXPECT_TRUE(app.Running());
}

INSTANTIATE_TEST_SUITE_P(
    Box, CancelledBox,
    ::testing::Values(
        CancelCase{"CancelButton", [](HWND box) { PostMessageA(GetDlgItem(box, IDCANCEL), BM_CLICK, 0, 0); }},
        CancelCase{"AltC", [](HWND) { PressKey('C', false, true); }},
        CancelCase{"Esc", [](HWND) { PressKey(VK_ESCAPE); }},
        CancelCase{"CloseMessage", [](HWND box) { PostMessageA(box, WM_CLOSE, 0, 0); }},
        CancelCase{"CloseBox", [](HWND box) { PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0); }}),
    RowName<CancelCase>);

namespace {
struct PathNameCase {
    const char* label;
    std::wstring typed;
    const char* madeFolder;  // made on the desktop beforehand, or null
    const char* written;     // the file expected, relative to the desktop, or null for none
};
void PrintTo(const PathNameCase& row, std::ostream* os) { *os << row.label; }
}  // namespace

using NameWithPathCharacters = SaveTable<PathNameCase>;

TEST_P(NameWithPathCharacters, WritesOnlyWhereTheNameIsAPossiblePath)
{
    const PathNameCase& c = GetParam();
    if (c.madeFolder) MakeFolder(desktop_ + c.madeFolder);
    App app(FreshProgramFolder("cs_pathname"));
    SetClipboardBytes("子目录内容");
    SaveNamed(app, c.typed);

    EXPECT_TRUE(FileNamesIn(desktop_).empty());
    if (c.madeFolder) {
        const std::vector<std::string> inFolder = FileNamesIn(desktop_ + c.madeFolder);
        if (c.written) {
            EXPECT_EQ(inFolder.size(), 1u);
            EXPECT_EQ(ReadFileBytes(desktop_ + c.written), "子目录内容");
        } else {
            EXPECT_TRUE(inFolder.empty());
        }
    }
    // A folder named in the name is never made.
    EXPECT_FALSE(Exists(desktop_ + "没有"));
    EXPECT_TRUE(app.Running());
    DWORD_PTR ignored = 0;
    EXPECT_TRUE(SendMessageTimeoutA(app.Main(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored));
    EXPECT_TRUE(IsWindowEnabled(app.Main()));
}

INSTANTIATE_TEST_SUITE_P(
    Box, NameWithPathCharacters,
    ::testing::Values(PathNameCase{"ExistingSubfolder", L"子\\笔记", "子", "子\\笔记.txt"},
                      PathNameCase{"MissingSubfolder", L"没有\\笔记", nullptr, nullptr},
                      PathNameCase{"QuestionMark", L"为什么?", nullptr, nullptr},
                      PathNameCase{"Asterisk", L"a*b", nullptr, nullptr},
                      PathNameCase{"VerticalBar", L"a|b", nullptr, nullptr},
                      PathNameCase{"Colon", L"a:b", nullptr, nullptr},
                      PathNameCase{"ColonInAnExistingSubfolder", L"子\\a:b", "子", nullptr},
                      PathNameCase{"DeviceName", L"con", nullptr, nullptr},
                      PathNameCase{"DeviceNameWithExtension", L"NUL.log", nullptr, nullptr},
                      PathNameCase{"DeviceNameWithBlank", L"com1 .backup", nullptr, nullptr},
                      PathNameCase{"DeviceNameInAnExistingSubfolder", L"子\\Prn", "子", nullptr}),
    RowName<PathNameCase>);

TEST_F(SaveTest, ClipboardIsReadAfterTheInputBoxCloses)
{
    App app(FreshProgramFolder("cs_late"));
    SetClipboardBytes("点击时的内容");
    const HWND box = OpenInputBox(app);
    ASSERT_TRUE(box);
    SetClipboardBytes("输入框打开后复制的内容");
    TypeName(box, L"后来");
    PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    WaitForBoxToClose(app, box);
    EXPECT_EQ(ReadFileBytes(desktop_ + "后来.txt"), "输入框打开后复制的内容");
}

// --- a busy clipboard ----------------------------------------------------------

TEST_F(SaveTest, ClipboardHeldBeyondTheRetriesWritesNothingAndKeepsTheOldFile)
{
    WriteFileBytes(desktop_ + "保留.txt", "旧的内容");
    App app(FreshProgramFolder("cs_held"));
    SetClipboardBytes("新的内容");
    const HWND box = OpenInputBox(app);
    ASSERT_TRUE(box);
    TypeName(box, L"保留");
    {
        // Held from before the confirmation until the program has given up.
        ClipboardHolder holder;
        ASSERT_TRUE(holder.Held());
        PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        WaitForBoxToClose(app, box);
        EXPECT_EQ(ReadFileBytes(desktop_ + "保留.txt"), "旧的内容");
        EXPECT_EQ(FileNamesIn(desktop_).size(), 1u);
    }
    // With the clipboard free again the same save goes through.
    SaveNamed(app, L"保留");
    EXPECT_EQ(ReadFileBytes(desktop_ + "保留.txt"), "新的内容");

    // A time-named save behaves alike: no file at all.
    EmptyFolder(desktop_);
    SendMessageA(app.DefineNameBox(), BM_CLICK, 0, 0);
    ASSERT_EQ(SendMessageA(app.DefineNameBox(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    ClipboardHolder holder;
    ASSERT_TRUE(holder.Held());
    ClickPaste(app);
    EXPECT_TRUE(FileNamesIn(desktop_).empty());
}

TEST_F(SaveTest, ClipboardReleasedDuringTheRetriesIsSaved)
{
    App app(FreshProgramFolder("cs_brief"));
    SetClipboardBytes("稍等一下");
    ClipboardHolder holder;
    ASSERT_TRUE(holder.Held());
    // The click starts at once; the clipboard is let go while the program retries.
    holder.ReleaseAfter(100);
    ClickPaste(app);
    const std::vector<std::string> files = FileNamesIn(desktop_);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(ReadFileBytes(desktop_ + files[0]), "稍等一下");
}

// --- replacing an existing file -------------------------------------------------

namespace {
struct ReplaceCase {
    const char* label;
    Bytes before;
    Bytes after;
};
void PrintTo(const ReplaceCase& row, std::ostream* os) { *os << row.label; }
}  // namespace

using ExistingFile = SaveTable<ReplaceCase>;

TEST_P(ExistingFile, IsReplacedWithExactlyTheNewBytes)
{
    WriteFileBytes(desktop_ + "同名.txt", GetParam().before);
    App app(FreshProgramFolder("cs_replace"));
    SetClipboardBytes(GetParam().after);
    SaveNamed(app, L"同名");
    EXPECT_EQ(ReadFileBytes(desktop_ + "同名.txt"), GetParam().after);
    EXPECT_EQ(FileNamesIn(desktop_).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Save, ExistingFile,
    ::testing::Values(ReplaceCase{"Shorter", "很长很长的旧内容\r\n第二行\r\n第三行", "短"},
                      ReplaceCase{"Longer", "短", "比原来长得多的新内容\r\n第二行"},
                      ReplaceCase{"NowEmpty", "旧内容", ""}),
    RowName<ReplaceCase>);

namespace {
struct KeptCase {
    const char* label;
    DWORD attribute;
};
void PrintTo(const KeptCase& row, std::ostream* os) { *os << row.label; }
}  // namespace

using ProtectedFile = SaveTable<KeptCase>;

TEST_P(ProtectedFile, IsLeftUntouched)
{
    const std::string path = desktop_ + "受保护.txt";
    WriteFileBytes(path, "原来的内容");
    SetFileAttributesA(path.c_str(), GetParam().attribute);
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (!(attributes & GetParam().attribute))
        GTEST_SKIP() << "Wine cannot keep this attribute on the file system here";
    App app(FreshProgramFolder("cs_protected"));
    SetClipboardBytes("新内容");
    SaveNamed(app, L"受保护");
    EXPECT_EQ(ReadFileBytes(path), "原来的内容");
    EXPECT_EQ(GetFileAttributesA(path.c_str()), attributes);
    EXPECT_EQ(FileNamesIn(desktop_).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Save, ProtectedFile,
                         ::testing::Values(KeptCase{"ReadOnly", FILE_ATTRIBUTE_READONLY},
                                           KeptCase{"Hidden", FILE_ATTRIBUTE_HIDDEN},
                                           KeptCase{"System", FILE_ATTRIBUTE_SYSTEM}),
                         RowName<KeptCase>);

TEST_F(SaveTest, FileHeldOpenElsewhereIsKeptThenReplacedOnceFree)
{
    const std::string path = desktop_ + "占用.txt";
    WriteFileBytes(path, "打开着的旧文件内容");
    App app(FreshProgramFolder("cs_busyfile"));
    SetClipboardBytes("新");
    const HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    SaveNamed(app, L"占用");
    CloseHandle(held);
    EXPECT_EQ(ReadFileBytes(path), "打开着的旧文件内容");
    EXPECT_EQ(FileNamesIn(desktop_).size(), 1u);

    SaveNamed(app, L"占用");
    EXPECT_EQ(ReadFileBytes(path), "新");
    EXPECT_EQ(FileNamesIn(desktop_).size(), 1u);
}

namespace {
constexpr DWORD kNotHeld = ~0u;
struct FailedReplaceCase {
    const char* label;
    bool diskFull;    // the save folder is on the 1 MB drive, too small for both copies
    DWORD holdShare;  // another program holds the old file open with this sharing, or not at all
};
void PrintTo(const FailedReplaceCase& row, std::ostream* os) { *os << row.label; }
}  // namespace

using FailedReplace = SaveTable<FailedReplaceCase>;

TEST_P(FailedReplace, KeepsTheOldFileAndLeavesNoTemporaryFile)
{
    const FailedReplaceCase& c = GetParam();
    const std::string program = FreshProgramFolder("cs_failedreplace");
    std::string folder = desktop_;
    Bytes old = "旧的内容，必须保留\r\n";
    Bytes text = "新的内容";
    if (c.diskFull) {
        const char* drive = std::getenv("CLIPTEXT_SMALL_DRIVE");
        if (!drive || !*drive) GTEST_SKIP() << "no small drive: scripts/test.sh mounts a 1 MB one as S:";
        folder = std::string(drive);
        if (folder.back() != '\\') folder += '\\';
        folder += "cs_failedreplace\\";
        MakeFolder(folder);
        EmptyFolder(folder);
        ASSERT_TRUE(WriteFileBytes(program + "\\Set.dat", "[Set]\r\nHH=" + folder + "\r\n"));
        old = Bytes(600u << 10, 'o');
        text = Bytes(600u << 10, 'n');
    }
    const std::string path = folder + "保留.txt";
    ASSERT_TRUE(WriteFileBytes(path, old));
    App app(program);
    SetClipboardBytes(text);
    HANDLE held = INVALID_HANDLE_VALUE;
    if (c.holdShare != kNotHeld) {
        held = CreateFileA(path.c_str(), GENERIC_READ, c.holdShare, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
    }
    SaveNamed(app, L"保留");
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);

    EXPECT_EQ(FileNamesIn(folder), std::vector<std::string>{"保留.txt"});
    EXPECT_TRUE(ReadFileBytes(path) == old) << "the old file changed";
    if (c.diskFull) EmptyFolder(folder);
}

INSTANTIATE_TEST_SUITE_P(
    Save, FailedReplace,
    ::testing::Values(FailedReplaceCase{"DiskFull", true, kNotHeld},
                      FailedReplaceCase{"HeldOpenWithoutSharing", false, 0},
                      FailedReplaceCase{"HeldOpenSharingEverything", false,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE}),
    RowName<FailedReplaceCase>);

// --- out of memory -------------------------------------------------------------

namespace {

// fatal_probe.exe runs into an allocation that cannot succeed; it has no main
// window, so it is started as a plain Process, not as an App.
struct DismissCase {
    const char* label;
    std::function<void(HWND box)> dismiss;
};
void PrintTo(const DismissCase& row, std::ostream* os) { *os << row.label; }

class OutOfMemory : public ::testing::TestWithParam<DismissCase> {};

}  // namespace

TEST_P(OutOfMemory, ShowsAnErrorBoxThenEndsWithMinusOneWithoutTheExitRoutine)
{
    const std::string folder = FreshProgramFolder("cs_fatal");
    Process probe(folder + "\\fatal_probe.exe");
    const HWND box = WaitForTopWindow(probe.Pid(), "#32770", "错误", kSlow);
    ASSERT_TRUE(box) << "no error box";
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);

    bool mentionsMemory = false, hasIcon = false;
    std::vector<HWND> buttons;
    for (HWND c : ChildrenOf(box)) {
        if (!IsWindowVisible(c)) continue;
        const std::string cls = ClassOf(c);
        if (_stricmp(cls.c_str(), "Static") == 0) {
            if (TextOf(c).find("内存不足") != std::string::npos) mentionsMemory = true;
            if ((GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && SendMessageA(c, STM_GETICON, 0, 0))
                hasIcon = true;
        } else if (_stricmp(cls.c_str(), "Button") == 0) {
            buttons.push_back(c);
        }
    }
    EXPECT_TRUE(mentionsMemory);
    EXPECT_TRUE(hasIcon) << "an error box shows its icon";
    ASSERT_EQ(buttons.size(), 1u) << "an OK box";
    EXPECT_EQ(GetDlgCtrlID(buttons[0]), IDOK);
    EXPECT_EQ(probe.WaitForExit(300), std::nullopt) << "the process waits for the box";

    WaitUntil([&] { return GetForegroundWindow() == box; }, 5000);
    GetParam().dismiss(box);
    EXPECT_EQ(probe.WaitForExit(kSlow), 0xFFFFFFFFu);
    EXPECT_FALSE(Exists(folder + "\\exit_routine_ran"));
}

INSTANTIATE_TEST_SUITE_P(
    Fatal, OutOfMemory,
    ::testing::Values(DismissCase{"OkButton", [](HWND box) { PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0); }},
                      DismissCase{"Enter", [](HWND) { PressKey(VK_RETURN); }}),
    [](const ::testing::TestParamInfo<DismissCase>& info) { return std::string(info.param.label); });
