#include <gtest/gtest.h>
#include <shlobj.h>

#include <memory>

#include "tests/e2e/harness.h"

using namespace e2e;

namespace {


// The settings window's children in z-order, top first.
enum SettingsChild : std::size_t { kPlaceholder, kAuthorLabel, kSaveButton, kBrowseButton, kFolderBox, kFolderLabel };

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Green background of the collapsed main window, clear of the button and the check boxes.
void RightClickMainBackground(HWND main)
{
    const RECT r = WindowRectOf(main);
    ClickAt(r.left + 4, r.top + 70, true);
}

HWND PopupMenuOf(const App& app, DWORD timeoutMs) { return WaitForTopWindow(app.Pid(), "#32768", nullptr, timeoutMs); }

// The browse dialog finds a folder by comparing the shell's item data byte for
// byte, last-access times included; reading a folder the first time after a
// change moves its access time, so each level is read once beforehand.
void SettleAccessTimes(const std::string& path)
{
    for (std::size_t end = path.find('\\'); end != std::string::npos; end = path.find('\\', end + 1))
        FileNamesIn(path.substr(0, end));
    FileNamesIn(path);
}

// Remote memory of the program holding `size` bytes of `data`, freed on destruction.
class RemoteCopy {
public:
    RemoteCopy(HANDLE process, const void* data, std::size_t size) : process_(process)
    {
        address_ = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        SIZE_T written = 0;
        if (address_) WriteProcessMemory(process, address_, data, size, &written);
        ok_ = address_ && written == size;
    }
    ~RemoteCopy()
    {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    RemoteCopy(const RemoteCopy&) = delete;
    RemoteCopy& operator=(const RemoteCopy&) = delete;
    bool Ok() const { return ok_; }
    LPARAM Address() const { return reinterpret_cast<LPARAM>(address_); }

private:
    HANDLE process_;
    void* address_ = nullptr;
    bool ok_ = false;
};

// The program's UI thread stopped while it lives, so that messages posted
// meanwhile are all queued before the first of them is handled.
class ThreadSuspended {
public:
    explicit ThreadSuspended(DWORD threadId) : thread_(OpenThread(THREAD_SUSPEND_RESUME, FALSE, threadId))
    {
        suspended_ = thread_ && SuspendThread(thread_) != static_cast<DWORD>(-1);
    }
    ~ThreadSuspended()
    {
        if (suspended_) ResumeThread(thread_);
        if (thread_) CloseHandle(thread_);
    }
    ThreadSuspended(const ThreadSuspended&) = delete;
    ThreadSuspended& operator=(const ThreadSuspended&) = delete;
    bool Ok() const { return suspended_; }

private:
    HANDLE thread_;
    bool suspended_ = false;
};

// Every settings window of the process, hidden ones included.
std::vector<HWND> AllSettingsWindows(DWORD pid)
{
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    } search{pid, {}};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s->pid && ClassOf(window) == "ClipToTextWindow" && TextOf(window) == kSettingsTitle)
                s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class SettingsWindowTest : public ::testing::Test {
protected:
    // A fresh program folder; the desktop is emptied because saves may land there.
    void StartProgram(const std::string& name, const std::optional<Bytes>& setDat = std::nullopt)
    {
        folder_ = FreshProgramFolder(name);
        if (setDat) {
            EXPECT_TRUE(WriteFileBytes(SetDat(), *setDat));
        }
        EmptyFolder(DesktopFolder());
        app_ = std::make_unique<App>(folder_);
    }

    void RestartProgram()
    {
        app_.reset();
        app_ = std::make_unique<App>(folder_);
    }

    // Right-click on the green background, then the popup's one item by keyboard
    // (the items cannot be read from outside).
    void OpenSettings()
    {
        RightClickMainBackground(app_->Main());
        ASSERT_TRUE(PopupMenuOf(*app_, 5000)) << "no popup menu after the right-click";
        PressKey(VK_DOWN);
        PressKey(VK_RETURN);
        settings_ = WaitForTopWindow(app_->Pid(), "ClipToTextWindow", kSettingsTitle, 10000);
        ASSERT_TRUE(settings_) << "the settings window did not appear";
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowEnabled(app_->Main()); }));
        ASSERT_EQ(ChildrenOf(settings_).size(), 6u);
    }

    HWND Child(SettingsChild which) const
    {
        const std::vector<HWND> children = ChildrenOf(settings_);
        return which < children.size() ? children[which] : nullptr;
    }

    bool WaitForFocusOn(HWND control) const
    {
        return WaitUntil([&] { return FocusOf(app_->Pid()) == control; });
    }

    bool WaitUntilSettingsClosed() const
    {
        return WaitUntil([&] { return !IsWindow(settings_); }, 10000);
    }

    void ClickSave() const { PostMessageA(Child(kSaveButton), BM_CLICK, 0, 0); }

    // Posted: the button's handler runs the shell dialog's own loop.
    HWND OpenBrowseDialog() const
    {
        PostMessageA(Child(kBrowseButton), BM_CLICK, 0, 0);
        return WaitForBrowseDialog();
    }

    HWND WaitForBrowseDialog() const { return WaitForTopWindow(app_->Pid(), "#32770", nullptr, 10000); }

    // Shows `item` selected in the dialog's tree: a path string or an item list.
    void SelectInBrowseDialog(HWND dialog, const void* item, std::size_t size, bool isPath) const
    {
        RemoteCopy remote(app_->Process(), item, size);
        ASSERT_TRUE(remote.Ok());
        DWORD_PTR ignored = 0;
        ASSERT_TRUE(SendMessageTimeoutA(dialog, BFFM_SETSELECTIONA, isPath ? TRUE : FALSE, remote.Address(),
                                        SMTO_NORMAL, 5000, &ignored));
    }

    void SelectFolderInBrowseDialog(HWND dialog, const std::string& path) const
    {
        SettleAccessTimes(path);
        SelectInBrowseDialog(dialog, path.c_str(), path.size() + 1, true);
    }

    void CloseBrowseDialog(HWND dialog, int buttonId) const
    {
        PostMessageA(GetDlgItem(dialog, buttonId), BM_CLICK, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 10000));
        ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(settings_) != 0; }));
    }

    // Clicks the paste button with `text` on the clipboard; the names of the
    // files that then appear in `folder`.
    std::vector<std::string> PasteInto(const std::string& folder, const Bytes& text) const
    {
        SetClipboardBytes(text);
        SendMessageA(app_->PasteButton(), BM_CLICK, 0, 0);
        std::vector<std::string> files;
        WaitUntil([&] { return !(files = FileNamesIn(folder)).empty(); }, 10000);
        return files;
    }

    std::string SetDat() const { return folder_ + "\\Set.dat"; }

    std::string folder_;
    std::unique_ptr<App> app_;
    HWND settings_ = nullptr;
};

std::string NewSetDat(const std::string& folder) { return "[Set]\r\nHH=" + folder + "\r\n"; }

}  // namespace

// --- opening, frame and placement -----------------------------------------

TEST_F(SettingsWindowTest, OpensFromThePopupAsAFixedTopmostCentredWindow)
{
    StartProgram("settings_frame");
    ASSERT_NO_FATAL_FAILURE(OpenSettings());

    const RECT r = WindowRectOf(settings_);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 397) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 157) / 2);
    EXPECT_EQ(r.right - r.left, 397);
    EXPECT_EQ(r.bottom - r.top, 157);

    const LONG_PTR style = StyleOf(settings_);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(style & WS_CLIPCHILDREN);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_CHILD);
    EXPECT_TRUE(ExStyleOf(settings_) & WS_EX_TOPMOST);

    // Owned by an invisible window of its own, not by the main window.
    const HWND owner = GetWindow(settings_, GW_OWNER);
    ASSERT_TRUE(owner);
    DWORD ownerPid = 0;
    GetWindowThreadProcessId(owner, &ownerPid);
    EXPECT_EQ(ownerPid, app_->Pid());
    EXPECT_NE(owner, app_->Main());
    EXPECT_FALSE(IsWindowVisible(owner));

    // Both are topmost; the settings window, shown later, comes to lie above
    // the main window once showing it has settled.
    auto mainBelow = [&] {
        for (HWND w = GetWindow(settings_, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
            if (w == app_->Main()) return true;
        return false;
    };
    EXPECT_TRUE(WaitUntil(mainBelow, 10000));

    EXPECT_FALSE(IsWindowEnabled(app_->Main()));
    EXPECT_EQ(TopWindowsOf(app_->Pid(), "ClipToTextWindow").size(), 2u);
}

TEST(SmallScreenSettingsWindow, IsCentredOnTheSmallScreen)
{
    // No fixture: the small-screen run shares one time budget, so keep it lean.
    App app(FreshProgramFolder("settings_small"));
    RightClickMainBackground(app.Main());
    ASSERT_TRUE(PopupMenuOf(app, 5000));
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    const HWND settings = WaitForTopWindow(app.Pid(), "ClipToTextWindow", kSettingsTitle, 10000);
    ASSERT_TRUE(settings);
    const RECT r = WindowRectOf(settings);
    EXPECT_EQ(r.left, 313);
    EXPECT_EQ(r.top, 305);
    EXPECT_EQ(r.right, 313 + 397);
    EXPECT_EQ(r.bottom, 305 + 157);
}

TEST_F(SettingsWindowTest, ControlsMatchTheLayout)
{
    StartProgram("settings_controls");
    ASSERT_NO_FATAL_FAILURE(OpenSettings());

    struct Expected {
        const char* className;
        const char* text;  // nullptr: checked below
        RECT rect;
        bool visible;
        bool enabled;
    };
    const Expected expected[] = {
        {"Static", "", {48, 72, 48 + 32, 72 + 24}, false, true},
        {"ClipToTextLabel", "BY：qelvarin", {288, 96, 288 + 96, 96 + 16}, true, true},
        {"Button", "保存设置", {152, 64, 152 + 80, 64 + 24}, true, true},
        {"Button", "浏览...", {320, 15, 320 + 64, 15 + 32}, true, true},
        {"Edit", nullptr, {61, 16, 61 + 259, 16 + 32}, true, false},
        {"ClipToTextLabel", "选择路径", {8, 16, 8 + 56, 16 + 32}, true, true},
    };
    const std::vector<HWND> children = ChildrenOf(settings_);
    ASSERT_EQ(children.size(), std::size(expected));
    for (std::size_t i = 0; i < children.size(); ++i) {
        SCOPED_TRACE("child " + std::to_string(i));
        const Expected& e = expected[i];
        EXPECT_EQ(_stricmp(ClassOf(children[i]).c_str(), e.className), 0) << ClassOf(children[i]);
        if (e.text) {
            EXPECT_EQ(TextOf(children[i]), e.text);
        }
        const RECT r = RectInClient(children[i], settings_);
        EXPECT_EQ(r.left, e.rect.left);
        EXPECT_EQ(r.top, e.rect.top);
        EXPECT_EQ(r.right, e.rect.right);
        EXPECT_EQ(r.bottom, e.rect.bottom);
        EXPECT_EQ(IsWindowVisible(children[i]) != 0, e.visible);
        EXPECT_EQ(IsWindowEnabled(children[i]) != 0, e.enabled);
    }

    for (SettingsChild button : {kSaveButton, kBrowseButton}) {
        const LONG_PTR style = StyleOf(Child(button));
        EXPECT_TRUE(style & WS_TABSTOP);
        // A plain push button: no default button that Enter could click.
        EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON);
    }
    const HWND box = Child(kFolderBox);
    EXPECT_TRUE(StyleOf(box) & WS_DISABLED);
    EXPECT_TRUE(StyleOf(box) & ES_AUTOHSCROLL);
    EXPECT_FALSE(StyleOf(box) & ES_MULTILINE);
    EXPECT_TRUE(ExStyleOf(box) & WS_EX_CLIENTEDGE);
}

// --- the folder box -------------------------------------------------------

TEST_F(SettingsWindowTest, BoxShowsTheDesktopFolderWithItsBackslash)
{
    // Set.dat names another folder; the box still proposes the desktop.
    StartProgram("settings_box", Bytes("[Set]\r\nHH=C:\\e2e\\settings_box\r\n"));
    ASSERT_NO_FATAL_FAILURE(OpenSettings());
    const std::string desktop = DesktopFolder();
    ASSERT_EQ(desktop.back(), '\\');
    EXPECT_EQ(TextOf(Child(kFolderBox)), desktop);
}

// --- keyboard -------------------------------------------------------------

TEST_F(SettingsWindowTest, TabMovesBetweenTheButtonsAndEnterClicksNothing)
{
    StartProgram("settings_keys");
    ASSERT_NO_FATAL_FAILURE(OpenSettings());
    const HWND save = Child(kSaveButton);
    const HWND browse = Child(kBrowseButton);

    ASSERT_TRUE(WaitForFocusOn(browse)) << "first focus";
    struct Step {
        bool shift;
        HWND focusAfter;
    };
    for (const Step& step : {Step{false, save}, Step{false, browse}, Step{true, save}, Step{true, browse}}) {
        PressKey(VK_TAB, step.shift);
        EXPECT_TRUE(WaitForFocusOn(step.focusAfter)) << (step.shift ? "Shift+Tab" : "Tab");
    }

    // Enter on either button: neither the browse dialog opens nor anything is stored.
    for (HWND target : {browse, save}) {
        if (target == save) PressKey(VK_TAB);
        ASSERT_TRUE(WaitForFocusOn(target));
        PressKey(VK_RETURN);
        SettleInput(*app_);
        EXPECT_TRUE(IsWindowVisible(settings_));
        EXPECT_TRUE(TopWindowsOf(app_->Pid(), "#32770").empty());
        EXPECT_FALSE(Exists(SetDat()));
    }
}

// --- closing --------------------------------------------------------------

namespace {

struct CloseWay {
    const char* name;
    void (*close)(HWND settings, HWND saveButton);
    bool stores;
};

void PrintTo(const CloseWay& way, std::ostream* out) { *out << way.name; }

void PressEsc(HWND, HWND) { PressKey(VK_ESCAPE); }
void PostClose(HWND settings, HWND) { PostMessageA(settings, WM_CLOSE, 0, 0); }
void ChooseSystemMenuClose(HWND settings, HWND) { PostMessageA(settings, WM_SYSCOMMAND, SC_CLOSE, 0); }
void PressAltF4(HWND, HWND) { PressKey(VK_F4, false, true); }
void ClickSaveButton(HWND, HWND save) { PostMessageA(save, BM_CLICK, 0, 0); }
void SpaceOnSaveButton(HWND, HWND)
{
    PressKey(VK_TAB);  // from "浏览..." to "保存设置"
    PressKey(VK_SPACE);
}

}  // namespace

class SettingsWindowClosing : public SettingsWindowTest, public ::testing::WithParamInterface<CloseWay> {};

TEST_P(SettingsWindowClosing, ClosesAndEnablesTheMainWindowAgain)
{
    const CloseWay& way = GetParam();
    StartProgram(std::string("settings_close_") + way.name);
    ASSERT_NO_FATAL_FAILURE(OpenSettings());
    ASSERT_TRUE(WaitForFocusOn(Child(kBrowseButton)));
    const std::string desktop = DesktopFolder();

    way.close(settings_, Child(kSaveButton));
    ASSERT_TRUE(WaitUntilSettingsClosed());
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(app_->Main()) != 0; }));
    EXPECT_TRUE(app_->Running());
    EXPECT_TRUE(IsWindowVisible(app_->Main()));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == app_->Main(); })) << "activation handed back";

    if (way.stores)
        EXPECT_EQ(ReadFileBytes(SetDat()), NewSetDat(desktop));
    else
        EXPECT_FALSE(Exists(SetDat()));

    // The main window works again: its right-click opens the popup once more.
    RightClickMainBackground(app_->Main());
    EXPECT_TRUE(PopupMenuOf(*app_, 5000));
    PressKey(VK_ESCAPE);
}

INSTANTIATE_TEST_SUITE_P(Ways, SettingsWindowClosing,
                         ::testing::Values(CloseWay{"Esc", PressEsc, false}, CloseWay{"CloseBox", PostClose, false},
                                           CloseWay{"SystemMenuClose", ChooseSystemMenuClose, false},
                                           CloseWay{"AltF4", PressAltF4, false},
                                           CloseWay{"SaveButton", ClickSaveButton, true},
                                           CloseWay{"SpaceOnSaveButton", SpaceOnSaveButton, true}),
                         [](const ::testing::TestParamInfo<CloseWay>& info) { return std::string(info.param.name); });

// --- saving ---------------------------------------------------------------

TEST_F(SettingsWindowTest, SaveChangesOnlyTheFolderLineOfAnExistingSetDat)
{
    StartProgram("settings_existing", Bytes("[Other]\r\nA=1\r\n[Set]\r\nX=2\r\nHH=C:\\old\r\nY=3\r\n"));
    ASSERT_NO_FATAL_FAILURE(OpenSettings());
    const std::string desktop = DesktopFolder();
    ClickSave();
    ASSERT_TRUE(WaitUntilSettingsClosed());
    EXPECT_EQ(ReadFileBytes(SetDat()), "[Other]\r\nA=1\r\n[Set]\r\nX=2\r\nHH=" + desktop + "\r\nY=3\r\n");
}

TEST_F(SettingsWindowTest, SavedDesktopIsUsedAtOnce)
{
    // Set.dat starts elsewhere, so a file on the desktop proves the new folder was taken.
    StartProgram("settings_at_once", Bytes("[Set]\r\nHH=C:\\e2e\\settings_at_once\\old\r\n"));
    MakeFolder(folder_ + "\\old");
    ASSERT_NO_FATAL_FAILURE(OpenSettings());
    ClickSave();
    ASSERT_TRUE(WaitUntilSettingsClosed());
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(app_->Main()) != 0; }));

    const std::vector<std::string> files = PasteInto(DesktopFolder(), "desktop now");
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(ReadFileBytes(DesktopFolder() + files[0]), "desktop now");
    EXPECT_TRUE(FileNamesIn(folder_ + "\\old").empty());
}

// --- the browse dialog ----------------------------------------------------

TEST_F(SettingsWindowTest, BrowseDialogDisablesBothWindowsAndCancelKeepsTheBox)
{
    StartProgram("settings_cancel");
    ASSERT_NO_FATAL_FAILURE(OpenSettings());
    const std::string desktop = DesktopFolder();
    ASSERT_TRUE(WaitForFocusOn(Child(kBrowseButton)));

    // Opened by Space on the first focus, cancelled by Esc; then by a click, cancelled by 取消.
    struct Round {
        const char* name;
        bool bySpace;
        bool cancelByEsc;
    };
    for (const Round& round : {Round{"Space, Esc", true, true}, Round{"click, Cancel", false, false}}) {
        SCOPED_TRACE(round.name);
        HWND dialog = nullptr;
        if (round.bySpace) {
            ASSERT_TRUE(WaitForFocusOn(Child(kBrowseButton)));
            PressKey(VK_SPACE);
            dialog = WaitForBrowseDialog();
        } else {
            dialog = OpenBrowseDialog();
        }
        ASSERT_TRUE(dialog) << "no browse dialog";

        // The title given to the shell shows as the dialog's text line.
        bool titleShown = false;
        for (HWND c : ChildrenOf(dialog))
            if (ClassOf(c) == "Static" && TextOf(c) == "请选择保存路径") titleShown = true;
        EXPECT_TRUE(titleShown);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(settings_) && !IsWindowEnabled(app_->Main()); }));

        if (round.cancelByEsc) {
            ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog; }));
            PressKey(VK_ESCAPE);
            ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 10000));
            ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(settings_) != 0; }));
        } else {
            ASSERT_NO_FATAL_FAILURE(CloseBrowseDialog(dialog, IDCANCEL));
        }
        EXPECT_TRUE(IsWindow(settings_));
        EXPECT_FALSE(IsWindowEnabled(app_->Main())) << "still modal";
        // Active again, with the focus back on the button that opened the dialog.
        EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == settings_; }));
        EXPECT_TRUE(WaitForFocusOn(Child(kBrowseButton)));
        EXPECT_EQ(TextOf(Child(kFolderBox)), desktop);
    }

    // A cancelled dialog never empties the stored folder.
    ClickSave();
    ASSERT_TRUE(WaitUntilSettingsClosed());
    EXPECT_EQ(ReadFileBytes(SetDat()), NewSetDat(desktop));
}

TEST_F(SettingsWindowTest, ChosenFolderIsStoredUsedAtOnceAndAfterARestart)
{
    StartProgram("settings_chosen");
    const std::string chosen = folder_ + "\\out";
    MakeFolder(chosen);
    const std::string desktop = DesktopFolder();

    ASSERT_NO_FATAL_FAILURE(OpenSettings());
    const HWND dialog = OpenBrowseDialog();
    ASSERT_TRUE(dialog);
    ASSERT_NO_FATAL_FAILURE(SelectFolderInBrowseDialog(dialog, chosen));
    ASSERT_NO_FATAL_FAILURE(CloseBrowseDialog(dialog, IDOK));
    // Exactly as the shell names it: no backslash is added.
    EXPECT_EQ(TextOf(Child(kFolderBox)), chosen);

    ClickSave();
    ASSERT_TRUE(WaitUntilSettingsClosed());
    EXPECT_EQ(ReadFileBytes(SetDat()), NewSetDat(chosen));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(app_->Main()) != 0; }));

    std::vector<std::string> files = PasteInto(chosen, "into out");
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(ReadFileBytes(chosen + "\\" + files[0]), "into out");
    EXPECT_TRUE(FileNamesIn(desktop).empty());

    // The box proposes the desktop again, not the folder just saved.
    ASSERT_NO_FATAL_FAILURE(OpenSettings());
    EXPECT_EQ(TextOf(Child(kFolderBox)), desktop);
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitUntilSettingsClosed());
    EXPECT_EQ(ReadFileBytes(SetDat()), NewSetDat(chosen));

    EmptyFolder(chosen);
    RestartProgram();
    files = PasteInto(chosen, "after restart");
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(ReadFileBytes(chosen + "\\" + files[0]), "after restart");
    EXPECT_TRUE(FileNamesIn(desktop).empty());
}

TEST_F(SettingsWindowTest, ItemWithoutAFolderPathKeepsTheBox)
{
    StartProgram("settings_virtual");
    ASSERT_NO_FATAL_FAILURE(OpenSettings());
    const std::string desktop = DesktopFolder();

    LPITEMIDLIST computer = nullptr;
    ASSERT_TRUE(SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer)));
    char path[MAX_PATH] = {};
    ASSERT_FALSE(SHGetPathFromIDListA(computer, path) && path[0]) << "My Computer has a path here: " << path;

    const HWND dialog = OpenBrowseDialog();
    ASSERT_TRUE(dialog);
    SelectInBrowseDialog(dialog, computer, ILGetSize(computer), false);
    ILFree(computer);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_NO_FATAL_FAILURE(CloseBrowseDialog(dialog, IDOK));
    // Had the selection not taken, OK would give the desktop without its backslash.
    EXPECT_EQ(TextOf(Child(kFolderBox)), desktop);
}

// --- modality -------------------------------------------------------------

TEST_F(SettingsWindowTest, MainWindowTakesNoRightClickWhileSettingsAreOpen)
{
    StartProgram("settings_twice");
    ASSERT_NO_FATAL_FAILURE(OpenSettings());

    // The settings window covers the main window; move it aside as a user would.
    ASSERT_TRUE(SetWindowPos(settings_, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
    ASSERT_TRUE(WaitUntil([&] { return WindowRectOf(settings_).left == 0; }));
    RightClickMainBackground(app_->Main());
    SettleInput(*app_);
    EXPECT_FALSE(PopupMenuOf(*app_, 1000));
    EXPECT_EQ(TopWindowsOf(app_->Pid(), "ClipToTextWindow").size(), 2u);

    // Minimising does not end the modal state.
    PostMessageA(settings_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(settings_) != 0; }));
    SettleInput(*app_);
    EXPECT_FALSE(IsWindowEnabled(app_->Main()));

    PostMessageA(settings_, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntilSettingsClosed());
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(app_->Main()) != 0; }));
}

TEST_F(SettingsWindowTest, CommandQueuedBehindSaveOpensAFreshUsableWindow)
{
    StartProgram("settings_queued");
    ASSERT_NO_FATAL_FAILURE(OpenSettings());
    ASSERT_TRUE(WaitForFocusOn(Child(kBrowseButton)));
    const HWND closing = settings_;
    const std::string desktop = DesktopFolder();

    // "保存设置" and another settings command right behind it: the new window
    // is built while the saved one is still closing.
    {
        const ThreadSuspended suspended(GetWindowThreadProcessId(app_->Main(), nullptr));
        ASSERT_TRUE(suspended.Ok());
        ClickSave();
        PostMessageA(app_->Main(), WM_COMMAND, kParameterSettingsCommand, 0);
    }
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(closing); }, 10000)) << "the saved window";
    settings_ = WaitForTopWindow(app_->Pid(), "ClipToTextWindow", kSettingsTitle, 10000);
    ASSERT_TRUE(settings_) << "no visible settings window";
    ASSERT_TRUE(app_->WaitForMessageLoop(10000));
    EXPECT_EQ(AllSettingsWindows(app_->Pid()), std::vector<HWND>{settings_}) << "exactly one, and visible";
    EXPECT_EQ(ReadFileBytes(SetDat()), NewSetDat(desktop));

    // It works as any opening does: active, modal, and its save closes it.
    EXPECT_TRUE(IsWindowEnabled(settings_));
    EXPECT_FALSE(IsWindowEnabled(app_->Main()));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == settings_; }));
    EXPECT_TRUE(WaitForFocusOn(Child(kBrowseButton)));
    EXPECT_EQ(TextOf(Child(kFolderBox)), desktop);
    ClickSave();
    ASSERT_TRUE(WaitUntilSettingsClosed());

    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(app_->Main()) != 0; }));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == app_->Main(); }));
    EXPECT_TRUE(AllSettingsWindows(app_->Pid()).empty());
    RightClickMainBackground(app_->Main());
    EXPECT_TRUE(PopupMenuOf(*app_, 5000)) << "the main window takes input again";
    PressKey(VK_ESCAPE);
}

// The settings window closes under its own browse dialog: the two modal
// states end out of order, and the main window must still come back.
TEST_F(SettingsWindowTest, SaveDispatchedUnderTheBrowseDialogClosesBoth)
{
    StartProgram("settings_save_under_browse");
    ASSERT_NO_FATAL_FAILURE(OpenSettings());
    const std::string desktop = DesktopFolder();
    const HWND dialog = OpenBrowseDialog();
    ASSERT_TRUE(dialog);

    // The dialog's own loop dispatches a click posted to the disabled window.
    ClickSave();
    ASSERT_TRUE(WaitUntilSettingsClosed());
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 10000));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(app_->Main()) != 0; }));
    ASSERT_TRUE(app_->Running());
    EXPECT_EQ(ReadFileBytes(SetDat()), NewSetDat(desktop));
    RightClickMainBackground(app_->Main());
    EXPECT_TRUE(PopupMenuOf(*app_, 5000)) << "the main window takes input again";
    PressKey(VK_ESCAPE);
}
