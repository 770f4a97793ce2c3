#pragma once
// Drives the real ClipToText.exe from a second Windows process in the same
// Wine session, as a user would: it starts the program, finds its windows,
// sends real input, puts text on the clipboard and reads the files written.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace e2e {

// Strings are code-page-936 bytes, like the program's own texts.
using Bytes = std::string;

// Waits up to `timeoutMs` for `condition`, polling every 20 ms and handling
// the messages of the test's own windows meanwhile.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

// --- files and folders ----------------------------------------------------

std::string DesktopFolder();  // with a trailing backslash
std::optional<Bytes> ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const Bytes& bytes);
std::vector<std::string> FileNamesIn(const std::string& folder);  // plain names, no folders
void EmptyFolder(const std::string& folder);                      // deletes files and subfolders
// Calls `onFile` for every file below `folder`, and `onFolder` for every
// subfolder after its content has been visited.
void WalkFolder(const std::string& folder, const std::function<void(const std::string& path)>& onFile,
                const std::function<void(const std::string& path)>& onFolder = nullptr);
void MakeFolder(const std::string& folder);                       // with its parents

// The folder of the test program, where the build puts ClipToText.exe too.
std::string OwnFolder();

// A fresh folder C:\e2e\<name> holding a copy of the program (ClipToText.exe
// from the folder of the test program), so Set.dat lies beside it.
std::string FreshProgramFolder(const std::string& name);

// --- the clipboard --------------------------------------------------------

// The clipboard is opened with a window of this process: Wine lets a second
// OpenClipboard(NULL) in, so a NULL owner would not keep others out.

// One format's data as the copying program hands it to SetClipboardData.
struct ClipboardItem {
    UINT format;
    Bytes data;
};
Bytes AnsiData(const Bytes& text);            // with its terminating zero
Bytes UnicodeData(const std::wstring& text);  // UTF-16, with its terminating zero
Bytes LocaleData(LCID locale);                // CF_LOCALE: the locale the text was copied in

// Empties the clipboard and puts `items` on it in this order; false if it
// could not.
bool PutOnClipboard(const std::vector<ClipboardItem>& items);
bool PutPictureAsBitmap();  // CF_BITMAP only
bool PutPictureAsDib();     // CF_DIB only
bool PutCopiedFiles();      // CF_HDROP only, as a file manager copies files

// Puts `bytes` (and a terminating zero) on the clipboard as `format`; these
// throw when the clipboard cannot be had.
void SetClipboardBytes(const Bytes& bytes, UINT format = CF_TEXT);
void SetClipboardUnicode(const std::wstring& text);
void EmptyTheClipboard();

// Holds the clipboard open from a thread of this process, as a busy program
// does: from construction until the delay given to ReleaseAfter has passed,
// or until destruction.
class ClipboardHolder {
public:
    ClipboardHolder();  // returns once the clipboard is held, or cannot be
    ~ClipboardHolder();
    ClipboardHolder(const ClipboardHolder&) = delete;
    ClipboardHolder& operator=(const ClipboardHolder&) = delete;

    bool Held() const { return held_; }
    void ReleaseAfter(DWORD delayMs);  // returns at once
    // Waits for the release; how long it came after the ReleaseAfter call.
    ULONGLONG HeldAfterReleaseCallMs();

private:
    void Join();
    HANDLE opened_;
    HANDLE go_;
    DWORD delayMs_ = 0;
    bool held_ = false;
    ULONGLONG heldAfterCall_ = 0;
    std::thread thread_;
};

// --- the program ----------------------------------------------------------

// A program started from `exe`, with C:\ as its current folder; ended on
// destruction if it is still running.
class Process {
public:
    explicit Process(const std::string& exe);  // throws when it cannot start
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    DWORD Pid() const { return info_.dwProcessId; }
    HANDLE Handle() const { return info_.hProcess; }
    // Waits for the process to end; its exit code, or nullopt on time-out.
    std::optional<DWORD> WaitForExit(DWORD timeoutMs = 5000);
    bool Running() const;

private:
    PROCESS_INFORMATION info_{};
};

class App {
public:
    // Starts `folder`\ClipToText.exe and waits for its main window to be visible.
    explicit App(const std::string& folder, const std::string& exeName = "ClipToText.exe");

    HWND Main() const { return main_; }
    DWORD Pid() const { return process_.Pid(); }
    HANDLE Process() const { return process_.Handle(); }

    // The main window's controls by their layout position.
    HWND DefineNameBox() const;     // "定义文件名"
    HWND TransparencyBox() const;   // "透明度"
    HWND OpacitySlider() const;
    HWND PasteButton() const;       // "粘贴至文本文件"

    std::optional<DWORD> WaitForExit(DWORD timeoutMs = 5000) { return process_.WaitForExit(timeoutMs); }
    bool Running() const { return process_.Running(); }

    // Gives queued input a moment and waits until the program answers a sent
    // message. A program in a modal loop (or reading the clipboard under
    // Wine) answers mid-handler, so this does not prove a click's handler has
    // finished: post a state change after the click and wait for it instead.
    void Sync() const;

    // Waits until the program's thread is back in its message loop, which a
    // posted message proves: it is taken only there, after every message
    // posted before it, and once a modal box has gone only after the click
    // that opened it has ended. False on time-out.
    bool WaitForMessageLoop(DWORD timeoutMs) const;

private:
    e2e::Process process_;
    HWND main_ = nullptr;
};

// The settings window's title, and the command that the popup item
// "参数设置" sends to the main window.
constexpr char kSettingsTitle[] = "保存路径设置";
constexpr WPARAM kParameterSettingsCommand = 20001;

// Posts that command, as the popup item does; the settings window once it is
// visible, or null after `timeoutMs`.
HWND OpenSettingsByCommand(const App& app, DWORD timeoutMs);

// Lets input that should have no effect arrive and be handled first.
void SettleInput(const App& app);

// Top-level visible windows of a process, optionally of one class.
std::vector<HWND> TopWindowsOf(DWORD pid, const char* className = nullptr);
HWND WaitForTopWindow(DWORD pid, const char* className, const char* title, DWORD timeoutMs = 5000);
std::vector<HWND> ChildrenOf(HWND parent);  // direct children in z-order, top first
std::string ClassOf(HWND window);
std::string TextOf(HWND window);            // WM_GETTEXT, also for edit controls
RECT WindowRectOf(HWND window);
RECT RectInClient(HWND child, HWND parent);  // the child's window rectangle in the parent's client coordinates
bool SameRect(const RECT& a, const RECT& b);
LONG_PTR StyleOf(HWND window);
LONG_PTR ExStyleOf(HWND window);
RECT ClientRectOnScreen(HWND window);
HWND FocusOf(DWORD threadOwnerPid);         // the focus window of the process's GUI thread
POINT OnScreen(HWND window, int x, int y);  // a client point in screen coordinates

// --- pixels ---------------------------------------------------------------

// The pixels of a rectangle, top row first. Xvfb draws layered windows
// opaque, so the colours on the screen are exactly those painted.
class ScreenShot {
public:
    explicit ScreenShot(HWND window);             // its client area, as on the screen
    ScreenShot(HDC source, const RECT& area);     // any device context, e.g. a memory one
    int Width() const { return width_; }
    int Height() const { return height_; }
    COLORREF At(int x, int y) const;
    int Count(const RECT& area, COLORREF colour) const;
    // The smallest rectangle around everything in `area` but `background`.
    RECT Ink(const RECT& area, COLORREF background) const;
    ScreenShot Cut(const RECT& area) const;
    bool operator==(const ScreenShot& other) const = default;

private:
    ScreenShot() = default;
    int width_ = 0;
    int height_ = 0;
    std::vector<DWORD> pixels_;
};

// `text` drawn in `font` as a window draws it, on a bitmap of its own size.
ScreenShot TextAsDrawn(const Bytes& text, HFONT font, COLORREF ink, COLORREF paper);

// --- real input -----------------------------------------------------------

void PressKey(WORD vk, bool shift = false, bool alt = false);
void TypeText(const std::wstring& text);
void ClickAt(int x, int y, bool right = false);  // screen coordinates
void ClickWindowCentre(HWND window, bool right = false);
void MoveMouse(int x, int y);

}  // namespace e2e
