#include "platform/popup_menu.h"

void ShowPopupMenu(ProgramWindow& window, std::size_t menu)
{
    const std::span<const MenuEntry> entries = window.layout->menu;
    if (menu + 1 >= entries.size() || entries[menu + 1].level <= entries[menu].level) return;

    const HMENU popup = CreatePopupMenu();
    const int itemLevel = entries[menu].level + 1;
    for (std::size_t i = menu + 1; i < entries.size() && entries[i].level >= itemLevel; ++i) {
        const MenuEntry& e = entries[i];
        if (e.level != itemLevel || e.hidden) continue;
        const UINT flags = MF_STRING | (e.checked ? MF_CHECKED : 0u) | (e.disabled ? MF_GRAYED : 0u);
        AppendMenuA(popup, flags, kFirstMenuCommand + i, e.text);
    }
    POINT at;
    GetCursorPos(&at);
    TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x + 3, at.y + 3, 0, window.hwnd,
                   nullptr);
    DestroyMenu(popup);
}
