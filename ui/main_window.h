#pragma once
#include "platform/window_layout.h"

// The small green window: the paste button, the two check boxes, the opacity
// slider and the hidden settings menu.
const WindowLayout& MainWindowLayout();
