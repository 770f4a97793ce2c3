#pragma once
#include "platform/window_layout.h"

// "保存路径设置": shows the desktop folder, lets the user browse for another
// and stores it in Set.dat as the new save folder.
const WindowLayout& SettingsWindowLayout();
