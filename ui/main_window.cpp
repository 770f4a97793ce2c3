#include "ui/main_window.h"

#include <commctrl.h>

#include "app/program_state.h"
#include "capture/clipboard_save.h"
#include "config/save_directory.h"
#include "platform/modality.h"
#include "platform/popup_menu.h"
#include "platform/program_window.h"
#include "platform/window_services.h"
#include "ui/settings_window.h"

namespace {

// Positions in kControls and kMenu.
enum Control : std::size_t { kDefineNameBox, kTransparencyBox, kOpacitySlider, kPasteButton };
enum MenuIndex : std::size_t { kSettingsMenu, kParameterSettingsItem };

constexpr int kCollapsedHeight = 75;
constexpr int kExpandedHeight = 130;  // brings the slider into view
constexpr int kInitialAlpha = 150;

constexpr COLORREF kGreen = RGB(0, 128, 0);
const ColorPair kCheckBoxColors{RGB(255, 255, 255), kGreen};
const ButtonLooks kPasteButtonLooks{
    {RGB(0, 128, 128), RGB(255, 255, 255)},  // normal
    {RGB(0, 0, 0), RGB(255, 255, 255)},      // pressed
    {RGB(0, 0, 0), RGB(240, 240, 240)},      // focused
};
const SliderSettings kOpacitySettings{0, 255, kInitialAlpha, 10, 20, 5};
constexpr DWORD kCheckBoxStyle = WS_TABSTOP | BS_AUTOCHECKBOX | BS_MULTILINE | BS_LEFT | BS_VCENTER;

void OnCreated(ProgramWindow& w)
{
    SetWindowAlpha(w.hwnd, kInitialAlpha);
    ReplaceSaveDirectory(LoadSaveDirectory());
}

void OnPasteButtonClicked(ProgramWindow& w) { SaveClipboard(w.hwnd, IsChecked(w.Control(kDefineNameBox))); }

void OnTransparencyClicked(ProgramWindow& w)
{
    SetWindowHeight(w.hwnd, IsChecked(w.Control(kTransparencyBox)) ? kExpandedHeight : kCollapsedHeight);
}

void OnOpacitySliderMoved(ProgramWindow& w) { SetWindowAlpha(w.hwnd, SliderPosition(w.Control(kOpacitySlider))); }

void OnBackgroundRightButton(ProgramWindow& w) { ShowPopupMenu(w, kSettingsMenu); }

void OnParameterSettings(ProgramWindow&) { RunModalWindow(SettingsWindowLayout()); }

constexpr ControlLayout kControls[] = {
    {.id = kDefineNameBox, .kind = ControlKind::CheckBox, .className = "BUTTON", .style = kCheckBoxStyle,
     .exStyle = 0, .left = 72, .top = 39, .width = 80, .height = 24, .text = "定义文件名", .visible = true,
     .font = {"微软雅黑", -12}, .colors = &kCheckBoxColors},
    {.id = kTransparencyBox, .kind = ControlKind::CheckBox, .className = "BUTTON", .style = kCheckBoxStyle,
     .exStyle = 0, .left = 8, .top = 40, .width = 56, .height = 24, .text = "透明度", .visible = true,
     .font = {"微软雅黑", -12}, .colors = &kCheckBoxColors, .onClick = OnTransparencyClicked},
    {.id = kOpacitySlider, .kind = ControlKind::Slider, .className = TRACKBAR_CLASSA,
     .style = WS_TABSTOP | TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS, .exStyle = 0, .left = 2, .top = 77,
     .width = 144, .height = 43, .text = "", .visible = true, .font = {}, .slider = &kOpacitySettings,
     .onChange = OnOpacitySliderMoved},
    {.id = kPasteButton, .kind = ControlKind::SelfDrawnButton, .className = "BUTTON",
     .style = WS_TABSTOP | BS_OWNERDRAW, .exStyle = 0, .left = 12, .top = 6, .width = 124, .height = 32,
     .text = "粘贴至文本文件", .visible = true, .font = {"微软雅黑", -14}, .looks = &kPasteButtonLooks,
     .onClick = OnPasteButtonClicked},
};

constexpr MenuEntry kMenu[] = {
    {.id = kSettingsMenu, .text = "设置", .level = 0, .hidden = true, .disabled = false, .checked = false,
     .onSelect = nullptr},
    {.id = kParameterSettingsItem, .text = "参数设置", .level = 1, .hidden = false, .disabled = false,
     .checked = false, .onSelect = OnParameterSettings},
};
static_assert(InIdOrder(kControls) && InIdOrder(kMenu));

const WindowLayout kLayout{
    .title = "",
    .style = WS_CLIPCHILDREN | WS_MINIMIZEBOX,
    .exStyle = 0,
    .width = 150,
    .height = kCollapsedHeight,
    .borderless = true,
    .topmost = true,
    .escCloses = true,
    .dragByBackground = true,
    .background = kGreen,
    .backgroundSysColor = -1,
    .controls = kControls,
    .menu = kMenu,
    .onCreate = OnCreated,
    .onRightButtonDown = OnBackgroundRightButton,
};

}  // namespace

const WindowLayout& MainWindowLayout() { return kLayout; }
