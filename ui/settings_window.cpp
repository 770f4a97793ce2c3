#include "ui/settings_window.h"

#include "app/program_state.h"
#include "config/save_directory.h"
#include "platform/folder_browser.h"
#include "platform/program_window.h"
#include "platform/window_services.h"

namespace {

// Positions in kControls.
enum Control : std::size_t { kCommonDialog, kAuthorLabel, kSaveButton, kBrowseButton, kFolderBox, kFolderLabel };

const ColorPair kFolderBoxColors{RGB(0, 0, 0), RGB(255, 255, 255)};
constexpr DWORD kButtonStyle = WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE;

void OnCreated(ProgramWindow& w)
{
    WriteWindowText(w.Control(kFolderBox), DesktopDirectory());
    SetWindowTopmost(w.hwnd);
}

void OnBrowseClicked(ProgramWindow& w)
{
    // Taken first: a click that the dialog's own loop dispatches may close
    // this window, and free `w`, before the dialog returns.
    const HWND folderBox = w.Control(kFolderBox);
    // A cancel, or an item without a file-system path, keeps the folder shown.
    const Text folder = BrowseForFolder("请选择保存路径");
    if (!folder.empty()) WriteWindowText(folderBox, folder);
}

void OnSaveClicked(ProgramWindow& w)
{
    StoreSaveDirectory(ReadWindowText(w.Control(kFolderBox)));
    ReplaceSaveDirectory(ReadWindowText(w.Control(kFolderBox)));
    RequestWindowDestroy(w);
}

constexpr ControlLayout kControls[] = {
    {.id = kCommonDialog, .kind = ControlKind::Placeholder, .className = "STATIC", .style = 0, .exStyle = 0,
     .left = 48, .top = 72, .width = 32, .height = 24, .text = "", .visible = false, .font = {}},
    {.id = kAuthorLabel, .kind = ControlKind::Label, .className = "ClipToTextLabel", .style = 0, .exStyle = 0,
     .left = 288, .top = 96, .width = 96, .height = 16, .text = "BY：qelvarin", .visible = true, .font = {}},
    {.id = kSaveButton, .kind = ControlKind::PushButton, .className = "BUTTON", .style = kButtonStyle,
     .exStyle = 0, .left = 152, .top = 64, .width = 80, .height = 24, .text = "保存设置", .visible = true,
     .font = {}, .onClick = OnSaveClicked},
    {.id = kBrowseButton, .kind = ControlKind::PushButton, .className = "BUTTON", .style = kButtonStyle,
     .exStyle = 0, .left = 320, .top = 15, .width = 64, .height = 32, .text = "浏览...", .visible = true,
     .font = {}, .onClick = OnBrowseClicked},
    {.id = kFolderBox, .kind = ControlKind::EditBox, .className = "EDIT",
     .style = WS_DISABLED | WS_TABSTOP | ES_AUTOHSCROLL, .exStyle = WS_EX_CLIENTEDGE, .left = 61, .top = 16,
     .width = 259, .height = 32, .text = "", .visible = true, .font = {}, .colors = &kFolderBoxColors},
    {.id = kFolderLabel, .kind = ControlKind::Label, .className = "ClipToTextLabel", .style = 0, .exStyle = 0,
     .left = 8, .top = 16, .width = 56, .height = 32, .text = "选择路径", .visible = true, .font = {}},
};
static_assert(InIdOrder(kControls));

const WindowLayout kLayout{
    .title = "保存路径设置",
    .style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
    .exStyle = 0,
    .width = 397,
    .height = 157,
    .borderless = false,
    .topmost = false,
    .escCloses = true,
    .dragByBackground = false,
    .background = 0,
    .backgroundSysColor = COLOR_BTNFACE,
    .controls = kControls,
    .menu = {},
    .onCreate = OnCreated,
    .onRightButtonDown = nullptr,
};

}  // namespace

const WindowLayout& SettingsWindowLayout() { return kLayout; }
