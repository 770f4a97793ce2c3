// The message loops: the program's main loop and the nested loops of modal
// windows, both with the program windows' own keys (Esc, Tab).
#pragma once
#include <functional>

// The main message loop; returns the quit message's code. When the last
// program window has been destroyed the loop is told to quit with code 0.
int RunMessageLoop();

// Dispatches messages as the main loop does while `keepGoing` holds. A quit
// message taken here ends this loop and is posted again for the outer one.
void RunNestedMessageLoop(const std::function<bool()>& keepGoing);
