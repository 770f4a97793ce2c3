#include "capture/input_box.h"

#include <cstring>
#include <vector>

#include "platform/window_services.h"

namespace {

constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kEditAtom = 0x0081;
constexpr WORD kStaticAtom = 0x0082;
constexpr WORD kPromptId = 300;
constexpr WORD kEntryId = 301;

// The box's controls in dialog units; a null text stands for the prompt.
struct DialogItem {
    WORD classAtom;
    DWORD style;
    short x, y, cx, cy;
    WORD id;
    const char* text;
};

const DialogItem kItems[] = {
    {kStaticAtom, SS_LEFT | SS_SUNKEN, 7, 7, 206, 30, kPromptId, nullptr},
    {kEditAtom, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 7, 42, 206, 14, kEntryId, ""},
    {kButtonAtom, WS_TABSTOP | BS_DEFPUSHBUTTON, 40, 63, 64, 16, IDOK, "确认输入(&O)"},
    {kButtonAtom, WS_TABSTOP | BS_PUSHBUTTON, 116, 63, 64, 16, IDCANCEL, "取消(&C)"},
};

constexpr short kWidth = 220;
constexpr short kHeight = 86;
constexpr WORD kPointSize = 9;
const char kFace[] = "微软雅黑";

// Dialog templates hold their strings in UTF-16 and their items DWORD-aligned.
class TemplateWriter {
public:
    template <typename T>
    void Put(const T& value)
    {
        const auto* p = reinterpret_cast<const BYTE*>(&value);
        bytes_.insert(bytes_.end(), p, p + sizeof value);
    }
    void PutString(const char* ansi)
    {
        const int n = MultiByteToWideChar(CP_ACP, 0, ansi, -1, nullptr, 0);
        std::vector<WCHAR> wide(n > 0 ? static_cast<std::size_t>(n) : 1, L'\0');
        if (n > 0) MultiByteToWideChar(CP_ACP, 0, ansi, -1, wide.data(), n);
        for (WCHAR c : wide) Put(c);
    }
    void AlignToDword()
    {
        while (bytes_.size() % 4) bytes_.push_back(0);
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

private:
    std::vector<BYTE> bytes_;
};

void BuildTemplate(TemplateWriter& t, const Text& prompt, const Text& caption)
{
    DLGTEMPLATE head{};
    head.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER;
    head.cdit = static_cast<WORD>(sizeof kItems / sizeof kItems[0]);
    head.cx = kWidth;
    head.cy = kHeight;
    t.Put(head);
    t.Put(WORD{0});  // no menu
    t.Put(WORD{0});  // the standard dialog class
    t.PutString(caption.c_str());
    t.Put(kPointSize);
    t.PutString(kFace);
    for (const DialogItem& item : kItems) {
        t.AlignToDword();
        DLGITEMTEMPLATE entry{};
        entry.style = WS_CHILD | WS_VISIBLE | item.style;
        entry.x = item.x;
        entry.y = item.y;
        entry.cx = item.cx;
        entry.cy = item.cy;
        entry.id = item.id;
        t.Put(entry);
        t.Put(WORD{0xFFFF});
        t.Put(item.classAtom);
        t.PutString(item.text ? item.text : prompt.c_str());
        t.Put(WORD{0});  // no creation data
    }
}

INT_PTR CALLBACK InputBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        SetFocus(GetDlgItem(dialog, kEntryId));
        return FALSE;  // the focus is set
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            *reinterpret_cast<Text*>(GetWindowLongPtrA(dialog, DWLP_USER)) =
                ReadWindowText(GetDlgItem(dialog, kEntryId));
            EndDialog(dialog, 1);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {  // the cancel button, Esc and the close box
            EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

bool PromptForText(HWND owner, const Text& prompt, const Text& caption, Text& name)
{
    TemplateWriter t;
    BuildTemplate(t, prompt, caption);
    Text typed;
    const INT_PTR result =
        DialogBoxIndirectParamA(GetModuleHandleA(nullptr), t.Get(), owner, InputBoxProc, reinterpret_cast<LPARAM>(&typed));
    if (result != 1) return false;
    name = std::move(typed);
    return true;
}
