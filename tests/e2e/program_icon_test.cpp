// The program's icon: the one image in the exe's resources, and on both windows.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/harness.h"

using namespace e2e;

namespace {

constexpr DWORD kSlow = 10000;  // the machine is shared and Wine is slow
constexpr int kImageSize = 256;

// --- reading the resources ---------------------------------------------------

#pragma pack(push, 2)
struct GroupIconHeader {  // GRPICONDIR without its entries
    WORD reserved, type, count;
};
struct GroupIconEntry {  // GRPICONDIRENTRY
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

struct ResourceBytes {
    const BYTE* data = nullptr;
    DWORD size = 0;
};

ResourceBytes Resource(HMODULE module, LPCSTR name, LPCSTR type)
{
    const HRSRC found = FindResourceA(module, name, type);
    const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    if (!loaded) return {};
    return {static_cast<const BYTE*>(LockResource(loaded)), SizeofResource(module, found)};
}

// Names as FindResourceA takes them; a number as "#<number>".
BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR names)
{
    std::string text = "#";
    if (IS_INTRESOURCE(name))
        text += std::to_string(reinterpret_cast<ULONG_PTR>(name));
    else
        text = name;
    reinterpret_cast<std::vector<std::string>*>(names)->push_back(text);
    return TRUE;
}

std::vector<std::string> NamesOf(HMODULE module, LPCSTR type)
{
    std::vector<std::string> names;
    EnumResourceNamesA(module, type, CollectName, reinterpret_cast<LONG_PTR>(&names));
    return names;
}

DWORD BigEndian(const BYTE* p) { return DWORD{p[0]} << 24 | DWORD{p[1]} << 16 | DWORD{p[2]} << 8 | p[3]; }

// What the image data itself declares: a PNG's header, or a bitmap's (whose
// height counts the mask too).
struct Declared {
    LONG width = 0, height = 0, bitsPerPixel = 0;
};

Declared DeclaredBy(const ResourceBytes& image)
{
    static const BYTE kPng[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (image.size >= 33 && std::memcmp(image.data, kPng, 8) == 0 && std::memcmp(image.data + 12, "IHDR", 4) == 0) {
        const BYTE depth = image.data[24], colourType = image.data[25];
        const LONG channels = colourType == 6 ? 4 : colourType == 2 ? 3 : colourType == 4 ? 2 : 1;
        return {static_cast<LONG>(BigEndian(image.data + 16)), static_cast<LONG>(BigEndian(image.data + 20)),
                channels * depth};
    }
    BITMAPINFOHEADER h{};
    if (image.size >= sizeof h) std::memcpy(&h, image.data, sizeof h);
    if (h.biSize < sizeof h) return {};
    return {h.biWidth, h.biHeight / 2, h.biBitCount};
}

// The pixels of an icon as 32-bit BGRA, rows from the top; empty if unreadable.
std::vector<RGBQUAD> PixelsOf(HICON icon, int size)
{
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return {};
    std::vector<RGBQUAD> pixels(static_cast<std::size_t>(size) * size);
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = size;
    bmi.bmiHeader.biHeight = -size;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    BITMAP colour{};
    const HDC dc = GetDC(nullptr);
    const bool read = info.hbmColor && GetObjectA(info.hbmColor, sizeof colour, &colour) && colour.bmWidth == size &&
                      colour.bmHeight == size &&
                      GetDIBits(dc, info.hbmColor, 0, size, pixels.data(), &bmi, DIB_RGB_COLORS) == size;
    ReleaseDC(nullptr, dc);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (!read) pixels.clear();
    return pixels;
}

std::array<BYTE, 4> Rgba(const RGBQUAD& p) { return {p.rgbRed, p.rgbGreen, p.rgbBlue, p.rgbReserved}; }

// --- the image in the program file ----------------------------------------------

struct ProgramFile {
    const char* name;
    std::string (*path)();
};

// The 32-bit product is only read here (this machine runs 64-bit Windows
// code); the scripts build it beside the test build.
const ProgramFile kProgramFiles[] = {
    {"TestedBuild", [] { return FreshProgramFolder("icon") + "\\ClipToText.exe"; }},
    {"Product32", [] { return OwnFolder() + "\\..\\..\\i686\\bin\\ClipToText.exe"; }},
};

void PrintTo(const ProgramFile& file, std::ostream* out) { *out << file.name; }

class ProgramIconResource : public ::testing::TestWithParam<ProgramFile> {
protected:
    void SetUp() override
    {
        const std::string exe = GetParam().path();
        if (GetFileAttributesA(exe.c_str()) == INVALID_FILE_ATTRIBUTES)
            GTEST_SKIP() << exe << " is not built (scripts/test.sh builds it)";
        module_ = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_TRUE(module_) << "cannot read the resources of " << exe;
    }
    void TearDown() override
    {
        if (module_) FreeLibrary(module_);
    }

    // The one icon's directory entry; fails the test unless there is exactly one.
    void OnlyEntry(GroupIconEntry& entry, ResourceBytes& group) const
    {
        const std::vector<std::string> groups = NamesOf(module_, RT_GROUP_ICON);
        ASSERT_EQ(groups.size(), 1u) << "one icon";
        EXPECT_EQ(NamesOf(module_, RT_ICON).size(), 1u) << "one image";
        group = Resource(module_, groups[0].c_str(), RT_GROUP_ICON);
        ASSERT_GE(group.size, sizeof(GroupIconHeader) + sizeof(GroupIconEntry));
        GroupIconHeader header;
        std::memcpy(&header, group.data, sizeof header);
        ASSERT_EQ(header.type, 1) << "an icon, not a cursor";
        ASSERT_EQ(header.count, 1);
        std::memcpy(&entry, group.data + sizeof header, sizeof entry);
    }

    HMODULE module_ = nullptr;
};

TEST_P(ProgramIconResource, HoldsOneImageOf256By256At32Bits)
{
    GroupIconEntry entry{};
    ResourceBytes group;
    ASSERT_NO_FATAL_FAILURE(OnlyEntry(entry, group));
    EXPECT_EQ(entry.width, 0) << "0 stands for 256";
    EXPECT_EQ(entry.height, 0) << "0 stands for 256";
    EXPECT_EQ(entry.planes, 1);
    EXPECT_EQ(entry.bitCount, 32);

    const ResourceBytes image = Resource(module_, MAKEINTRESOURCEA(entry.id), RT_ICON);
    ASSERT_TRUE(image.data);
    EXPECT_EQ(image.size, entry.bytes);
    const Declared declared = DeclaredBy(image);
    EXPECT_EQ(declared.width, kImageSize);
    EXPECT_EQ(declared.height, kImageSize);
    EXPECT_EQ(declared.bitsPerPixel, 32);
}

// Decoded at full size the image keeps its alpha: clear corners around the
// window's green and the white sheet.
TEST_P(ProgramIconResource, DecodesWithClearCornersGreenAndTheSheet)
{
    GroupIconEntry entry{};
    ResourceBytes group;
    ASSERT_NO_FATAL_FAILURE(OnlyEntry(entry, group));
    const int id = LookupIconIdFromDirectoryEx(const_cast<BYTE*>(group.data), TRUE, kImageSize, kImageSize,
                                               LR_DEFAULTCOLOR);
    const ResourceBytes image = Resource(module_, MAKEINTRESOURCEA(id), RT_ICON);
    ASSERT_TRUE(image.data);
    const HICON icon = CreateIconFromResourceEx(const_cast<BYTE*>(image.data), image.size, TRUE, 0x00030000,
                                                kImageSize, kImageSize, LR_DEFAULTCOLOR);
    ASSERT_TRUE(icon) << "the image does not decode";
    const std::vector<RGBQUAD> pixels = PixelsOf(icon, kImageSize);
    DestroyIcon(icon);
    ASSERT_EQ(pixels.size(), std::size_t{kImageSize} * kImageSize);
    auto at = [&](int x, int y) { return pixels[static_cast<std::size_t>(y) * kImageSize + x]; };
    for (const auto& [x, y] : {std::pair{0, 0}, {255, 0}, {0, 255}, {255, 255}})
        EXPECT_EQ(at(x, y).rgbReserved, 0) << "corner (" << x << "," << y << ") is clear";
    EXPECT_EQ(Rgba(at(128, 20)), (std::array<BYTE, 4>{0, 128, 0, 255})) << "green above the sheet";
    EXPECT_EQ(Rgba(at(100, 60)), (std::array<BYTE, 4>{255, 255, 255, 255})) << "the white sheet";
}

INSTANTIATE_TEST_SUITE_P(Files, ProgramIconResource, ::testing::ValuesIn(kProgramFiles),
                         [](const auto& info) { return std::string(info.param.name); });

// --- the icon on the windows ----------------------------------------------------

struct IconAnswer {
    bool answered = false;
    DWORD error = 0;
    HICON icon = nullptr;
};

IconAnswer AskIcon(HWND window, WPARAM which)
{
    DWORD_PTR icon = 0;
    SetLastError(0);
    IconAnswer a;
    a.answered = SendMessageTimeoutA(window, WM_GETICON, which, 0, SMTO_NORMAL, kSlow, &icon) != 0;
    a.error = GetLastError();
    a.icon = reinterpret_cast<HICON>(icon);
    return a;
}

class ProgramIconOnWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = FreshProgramFolder("icon_windows");
        app_ = std::make_unique<App>(folder_);
    }

    // The window answers with icons of the system's two sizes that show the
    // program's own image. A platform that does not answer WM_GETICON from
    // another process skips the test.
    void ExpectProgramIcons(HWND window, const char* name)
    {
        const HMODULE program =
            LoadLibraryExA((folder_ + "\\ClipToText.exe").c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_TRUE(program);
        for (const auto& [which, metric] : {std::pair{ICON_BIG, SM_CXICON}, {ICON_SMALL, SM_CXSMICON}}) {
            const char* kind = which == ICON_BIG ? "large" : "small";
            const IconAnswer answer = AskIcon(window, which);
            if (!answer.answered && answer.error != ERROR_TIMEOUT) {
                FreeLibrary(program);
                GTEST_SKIP() << "WM_GETICON from another process is refused here (error " << answer.error
                             << "), as Wine does; the windows' icons cannot be read from outside";
            }
            ASSERT_TRUE(answer.answered) << name << " does not answer";
            EXPECT_TRUE(answer.icon) << name << " has no " << kind << " icon";
            const int size = GetSystemMetrics(metric);
            const HICON own =
                static_cast<HICON>(LoadImageA(program, "DEFAULT_ICON", IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
            const std::vector<RGBQUAD> expected = PixelsOf(own, size);
            if (own) DestroyIcon(own);
            ASSERT_FALSE(expected.empty());
            const std::vector<RGBQUAD> shown = PixelsOf(answer.icon, size);
            EXPECT_EQ(shown.size(), expected.size()) << name << "'s " << kind << " icon is not " << size << " pixels";
            EXPECT_TRUE(shown.size() == expected.size() &&
                        std::memcmp(shown.data(), expected.data(), shown.size() * sizeof(RGBQUAD)) == 0)
                << name << "'s " << kind << " icon is not the program's image";
        }
        FreeLibrary(program);
    }

    std::string folder_;
    std::unique_ptr<App> app_;
};

TEST_F(ProgramIconOnWindows, MainAndSettingsWindowsCarryTheProgramIcon)
{
    ExpectProgramIcons(app_->Main(), "the main window");
    if (IsSkipped() || HasFatalFailure()) return;
    const HWND settings = OpenSettingsByCommand(*app_, kSlow);
    ASSERT_TRUE(settings) << "the settings window did not appear";
    ExpectProgramIcons(settings, "the settings window");
}

}  // namespace
