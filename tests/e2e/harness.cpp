#include "tests/e2e/harness.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace e2e {

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= end) return false;
        // Pumps this thread's messages meanwhile: the test's clipboard owner
        // window must answer the program while the test waits on it.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
}

// --- files and folders ----------------------------------------------------

std::string DesktopFolder()
{
    char path[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, path, CSIDL_DESKTOPDIRECTORY, FALSE);
    std::string folder(path);
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}

std::optional<Bytes> ReadFileBytes(const std::string& path)
{
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    LARGE_INTEGER size{};
    GetFileSizeEx(file, &size);
    Bytes bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
        if (!ReadFile(file, bytes.data() + done, want, &got, nullptr) || got == 0) break;
        done += got;
    }
    CloseHandle(file);
    bytes.resize(done);
    return bytes;
}

bool WriteFileBytes(const std::string& path, const Bytes& bytes)
{
    const HANDLE file =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = bytes.empty() ||
                    (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                     written == bytes.size());
    CloseHandle(file);
    return ok;
}

std::vector<std::string> FileNamesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

void WalkFolder(const std::string& folder, const std::function<void(const std::string& path)>& onFile,
                const std::function<void(const std::string& path)>& onFolder)
{
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = folder + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            WalkFolder(path, onFile, onFolder);
            if (onFolder) onFolder(path);
        } else {
            onFile(path);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void EmptyFolder(const std::string& folder)
{
    WalkFolder(
        folder,
        [](const std::string& file) {
            SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(file.c_str());
        },
        [](const std::string& subfolder) { RemoveDirectoryA(subfolder.c_str()); });
}

void MakeFolder(const std::string& folder)
{
    for (std::size_t i = 3; i <= folder.size(); ++i)
        if (i == folder.size() || folder[i] == '\\') CreateDirectoryA(folder.substr(0, i).c_str(), nullptr);
}

std::string OwnFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path);
    return s.substr(0, s.rfind('\\'));
}

std::string FreshProgramFolder(const std::string& name)
{
    const std::string folder = "C:\\e2e\\" + name;
    MakeFolder(folder);
    EmptyFolder(folder);
    for (const char* exe : {"ClipToText.exe", "fatal_probe.exe"})
        CopyFileA((OwnFolder() + "\\" + exe).c_str(), (folder + "\\" + exe).c_str(), FALSE);
    return folder;
}

// --- the clipboard --------------------------------------------------------

namespace {
constexpr DWORD kClipboardWaitMs = 20000;  // Wine's link to the X clipboard is slow on a loaded machine

HWND NewMessageWindow(const char* title)
{
    return CreateWindowExA(0, "STATIC", title, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
}

HWND ClipboardWindow()
{
    static const HWND window = NewMessageWindow("e2e clipboard");
    return window;
}

HGLOBAL GlobalCopy(const Bytes& bytes)
{
    const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, std::max<std::size_t>(bytes.size(), 1));
    if (!block) return nullptr;
    memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    return block;
}

// Empties the clipboard and lets `fill` put formats on it.
bool FillClipboard(const std::function<bool()>& fill)
{
    if (!WaitUntil([] { return OpenClipboard(ClipboardWindow()) != 0; }, kClipboardWaitMs)) return false;
    EmptyClipboard();
    const bool filled = fill();
    CloseClipboard();
    return filled;
}

Bytes BytesOf(const void* data, std::size_t size) { return Bytes(static_cast<const char*>(data), size); }
}  // namespace

Bytes AnsiData(const Bytes& text) { return text + '\0'; }

Bytes UnicodeData(const std::wstring& text) { return BytesOf(text.c_str(), (text.size() + 1) * sizeof(wchar_t)); }

Bytes LocaleData(LCID locale) { return BytesOf(&locale, sizeof locale); }

bool PutOnClipboard(const std::vector<ClipboardItem>& items)
{
    return FillClipboard([&] {
        bool all = true;
        for (const ClipboardItem& item : items) all = SetClipboardData(item.format, GlobalCopy(item.data)) && all;
        return all;
    });
}

bool PutPictureAsBitmap()
{
    const DWORD pixels[4] = {0x00ff0000, 0x0000ff00, 0x000000ff, 0x00ffffff};
    return FillClipboard([&] { return SetClipboardData(CF_BITMAP, CreateBitmap(2, 2, 1, 32, pixels)) != nullptr; });
}

bool PutPictureAsDib()
{
    BITMAPINFOHEADER head{};
    head.biSize = sizeof head;
    head.biWidth = 2;
    head.biHeight = 2;
    head.biPlanes = 1;
    head.biBitCount = 32;
    head.biCompression = BI_RGB;
    return PutOnClipboard({{CF_DIB, BytesOf(&head, sizeof head) + Bytes(16, '\x7f')}});
}

bool PutCopiedFiles()
{
    DROPFILES head{};
    head.pFiles = sizeof head;
    const char files[] = "C:\\windows\\win.ini\0";  // the list ends with a second zero
    return PutOnClipboard({{CF_HDROP, BytesOf(&head, sizeof head) + BytesOf(files, sizeof files)}});
}

void SetClipboardBytes(const Bytes& bytes, UINT format)
{
    if (!PutOnClipboard({{format, AnsiData(bytes)}})) throw std::runtime_error("cannot fill the clipboard");
}

void SetClipboardUnicode(const std::wstring& text)
{
    if (!PutOnClipboard({{CF_UNICODETEXT, UnicodeData(text)}})) throw std::runtime_error("cannot fill the clipboard");
}

void EmptyTheClipboard()
{
    if (!PutOnClipboard({})) throw std::runtime_error("cannot empty the clipboard");
}

ClipboardHolder::ClipboardHolder()
    : opened_(CreateEventA(nullptr, TRUE, FALSE, nullptr)), go_(CreateEventA(nullptr, TRUE, FALSE, nullptr))
{
    thread_ = std::thread([this] {
        // A window of this thread: Wine lets an OpenClipboard(NULL) holder be overtaken.
        const HWND window = NewMessageWindow("e2e holder");
        held_ = WaitUntil([&] { return OpenClipboard(window) != 0; }, kClipboardWaitMs);
        SetEvent(opened_);
        WaitForSingleObject(go_, INFINITE);
        const ULONGLONG called = GetTickCount64();
        Sleep(delayMs_);
        if (held_) CloseClipboard();
        heldAfterCall_ = GetTickCount64() - called;
        DestroyWindow(window);
    });
    WaitForSingleObject(opened_, INFINITE);
}

ClipboardHolder::~ClipboardHolder()
{
    Join();
    CloseHandle(opened_);
    CloseHandle(go_);
}

void ClipboardHolder::ReleaseAfter(DWORD delayMs)
{
    delayMs_ = delayMs;
    SetEvent(go_);
}

ULONGLONG ClipboardHolder::HeldAfterReleaseCallMs()
{
    Join();
    return heldAfterCall_;
}

void ClipboardHolder::Join()
{
    if (!thread_.joinable()) return;
    SetEvent(go_);  // a holder never told to let go does so now
    thread_.join();
}

// --- windows --------------------------------------------------------------

namespace {
struct TopSearch {
    DWORD pid;
    const char* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<TopSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == search->pid && IsWindowVisible(window) &&
        (!search->className || ClassOf(window) == search->className))
        search->found.push_back(window);
    return TRUE;
}
}  // namespace

std::vector<HWND> TopWindowsOf(DWORD pid, const char* className)
{
    TopSearch search{pid, className, {}};
    EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForTopWindow(DWORD pid, const char* className, const char* title, DWORD timeoutMs)
{
    HWND result = nullptr;
    WaitUntil(
        [&] {
            for (HWND w : TopWindowsOf(pid, className))
                if (!title || TextOf(w) == title) {
                    result = w;
                    return true;
                }
            return false;
        },
        timeoutMs);
    return result;
}

std::vector<HWND> ChildrenOf(HWND parent)
{
    std::vector<HWND> children;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) children.push_back(c);
    return children;
}

std::string ClassOf(HWND window)
{
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window)
{
    DWORD_PTR length = 0;
    SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length);
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        2000, &copied);
    text.resize(copied);
    return text;
}

RECT WindowRectOf(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

RECT RectInClient(HWND child, HWND parent)
{
    RECT r = WindowRectOf(child);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

LONG_PTR StyleOf(HWND window) { return GetWindowLongPtrA(window, GWL_STYLE); }
LONG_PTR ExStyleOf(HWND window) { return GetWindowLongPtrA(window, GWL_EXSTYLE); }

RECT ClientRectOnScreen(HWND window)
{
    RECT r{};
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

HWND FocusOf(DWORD pid)
{
    for (HWND w : TopWindowsOf(pid)) {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &info)) return info.hwndFocus;
    }
    return nullptr;
}

// --- the program ----------------------------------------------------------

Process::Process(const std::string& exe)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + exe + "\"";
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, "C:\\", &startup,
                        &info_))
        throw std::runtime_error("cannot start " + exe);
}

Process::~Process()
{
    if (Running()) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

std::optional<DWORD> Process::WaitForExit(DWORD timeoutMs)
{
    if (WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

bool Process::Running() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

App::App(const std::string& folder, const std::string& exeName) : process_(folder + "\\" + exeName)
{
    WaitForInputIdle(process_.Handle(), 10000);
    main_ = WaitForTopWindow(process_.Pid(), "ClipToTextWindow", nullptr, 10000);
    if (!main_) throw std::runtime_error("the main window did not appear");
}

namespace {
// The main window's controls in layout order.
HWND NthChild(HWND parent, int index)
{
    const std::vector<HWND> children = ChildrenOf(parent);
    return index < static_cast<int>(children.size()) ? children[static_cast<std::size_t>(index)] : nullptr;
}
}  // namespace

HWND App::DefineNameBox() const { return NthChild(main_, 0); }
HWND App::TransparencyBox() const { return NthChild(main_, 1); }
HWND App::OpacitySlider() const { return NthChild(main_, 2); }
HWND App::PasteButton() const { return NthChild(main_, 3); }


void App::Sync() const
{
    // Input goes through the hardware queue; give it a moment, then make sure
    // the program's thread has come back to its message loop.
    Sleep(100);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(main_, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
}

namespace {
LRESULT SliderPositionOf(HWND slider)
{
    DWORD_PTR position = 0;
    SendMessageTimeoutA(slider, TBM_GETPOS, 0, 0, SMTO_NORMAL, 5000, &position);
    return static_cast<LRESULT>(position);
}
}  // namespace

bool App::WaitForMessageLoop(DWORD timeoutMs) const
{
    // The slider moved without notification changes nothing else, and is put back.
    const HWND slider = OpacitySlider();
    const LRESULT position = SliderPositionOf(slider);
    const LRESULT marker = position > 0 ? position - 1 : position + 1;
    PostMessageA(slider, TBM_SETPOS, FALSE, marker);
    const bool reached = WaitUntil([&] { return SliderPositionOf(slider) == marker; }, timeoutMs);
    PostMessageA(slider, TBM_SETPOS, TRUE, position);
    return WaitUntil([&] { return SliderPositionOf(slider) == position; }, timeoutMs) && reached;
}

HWND OpenSettingsByCommand(const App& app, DWORD timeoutMs)
{
    PostMessageA(app.Main(), WM_COMMAND, kParameterSettingsCommand, 0);
    return WaitForTopWindow(app.Pid(), "ClipToTextWindow", kSettingsTitle, timeoutMs);
}

void SettleInput(const App& app)
{
    app.Sync();
    Sleep(300);
    app.Sync();
}

POINT OnScreen(HWND window, int x, int y)
{
    POINT p{x, y};
    ClientToScreen(window, &p);
    return p;
}

// --- pixels ---------------------------------------------------------------

namespace {
RECT ClientOnScreen(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    const POINT origin = OnScreen(window, 0, 0);
    OffsetRect(&client, origin.x, origin.y);
    return client;
}

HBITMAP NewDib(HDC compatible, int width, int height, void** bits)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(compatible, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

class ScreenDc {
public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc() { ReleaseDC(nullptr, dc_); }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};
}  // namespace

ScreenShot::ScreenShot(HWND window) : ScreenShot(ScreenDc().Get(), ClientOnScreen(window)) {}

ScreenShot::ScreenShot(HDC source, const RECT& area)
    : width_(area.right - area.left), height_(area.bottom - area.top)
{
    const HDC memory = CreateCompatibleDC(source);
    void* bits = nullptr;
    const HBITMAP bitmap = NewDib(source, width_, height_, &bits);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width_, height_, source, area.left, area.top, SRCCOPY);
    GdiFlush();
    const auto* first = static_cast<const DWORD*>(bits);
    pixels_.assign(first, first + width_ * height_);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

COLORREF ScreenShot::At(int x, int y) const
{
    const DWORD p = pixels_[static_cast<std::size_t>(y * width_ + x)];
    return RGB((p >> 16) & 0xff, (p >> 8) & 0xff, p & 0xff);
}

int ScreenShot::Count(const RECT& area, COLORREF colour) const
{
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) n += At(x, y) == colour;
    return n;
}

RECT ScreenShot::Ink(const RECT& area, COLORREF background) const
{
    RECT ink{area.right, area.bottom, area.left, area.top};
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (At(x, y) != background) {
                ink.left = std::min<LONG>(ink.left, x);
                ink.top = std::min<LONG>(ink.top, y);
                ink.right = std::max<LONG>(ink.right, x + 1);
                ink.bottom = std::max<LONG>(ink.bottom, y + 1);
            }
    return ink;
}

ScreenShot ScreenShot::Cut(const RECT& area) const
{
    ScreenShot part;
    part.width_ = std::max<int>(0, area.right - area.left);
    part.height_ = std::max<int>(0, area.bottom - area.top);
    for (int y = area.top; y < area.top + part.height_; ++y)
        for (int x = area.left; x < area.left + part.width_; ++x)
            part.pixels_.push_back(pixels_[static_cast<std::size_t>(y * width_ + x)]);
    return part;
}

ScreenShot TextAsDrawn(const Bytes& text, HFONT font, COLORREF ink, COLORREF paper)
{
    const ScreenDc screen;
    const HDC memory = CreateCompatibleDC(screen.Get());
    const HGDIOBJ oldFont = SelectObject(memory, font);
    SIZE size{};
    GetTextExtentPoint32A(memory, text.c_str(), static_cast<int>(text.size()), &size);
    void* bits = nullptr;
    const HBITMAP bitmap = NewDib(screen.Get(), size.cx, size.cy, &bits);
    const HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    SetTextColor(memory, ink);
    SetBkColor(memory, paper);
    const RECT area{0, 0, size.cx, size.cy};
    ExtTextOutA(memory, 0, 0, ETO_OPAQUE, &area, text.c_str(), static_cast<UINT>(text.size()), nullptr);
    ScreenShot shot(memory, area);
    SelectObject(memory, oldBitmap);
    SelectObject(memory, oldFont);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return shot;
}

// --- real input -----------------------------------------------------------

namespace {
void SendKey(WORD vk, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

void SendMouse(DWORD flags, int x = 0, int y = 0)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        // Rounded up: truncation lands one pixel short.
        const int w = GetSystemMetrics(SM_CXSCREEN);
        const int h = GetSystemMetrics(SM_CYSCREEN);
        input.mi.dx = (x * 65536 + w - 1) / w;
        input.mi.dy = (y * 65536 + h - 1) / h;
    }
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}
}  // namespace

void PressKey(WORD vk, bool shift, bool alt)
{
    if (shift) SendKey(VK_SHIFT, false);
    if (alt) SendKey(VK_MENU, false);
    SendKey(vk, false);
    SendKey(vk, true);
    if (alt) SendKey(VK_MENU, true);
    if (shift) SendKey(VK_SHIFT, true);
    Sleep(30);
}

void TypeText(const std::wstring& text)
{
    for (wchar_t c : text) {
        INPUT input[2]{};
        for (int i = 0; i < 2; ++i) {
            input[i].type = INPUT_KEYBOARD;
            input[i].ki.wScan = c;
            input[i].ki.dwFlags = KEYEVENTF_UNICODE | (i ? KEYEVENTF_KEYUP : 0);
        }
        SendInput(2, input, sizeof input[0]);
    }
    Sleep(30);
}

void MoveMouse(int x, int y) { SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, x, y); }

void ClickAt(int x, int y, bool right)
{
    MoveMouse(x, y);
    Sleep(30);
    SendMouse(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
    Sleep(30);
    SendMouse(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
    Sleep(30);
}

void ClickWindowCentre(HWND window, bool right)
{
    const RECT r = WindowRectOf(window);
    ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2, right);
}

}  // namespace e2e
