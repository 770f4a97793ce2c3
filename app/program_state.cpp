#include "app/program_state.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {
Text g_saveDirectory;
std::vector<ExitRoutine> g_exitRoutines;
}  // namespace

const Text& SaveDirectory() { return g_saveDirectory; }

void ReplaceSaveDirectory(Text newDirectory)
{
    Text old = std::exchange(g_saveDirectory, std::move(newDirectory));
    (void)old;  // released here, after the new one is in place
}

void RegisterExitRoutine(ExitRoutine routine)
{
    if (std::find(g_exitRoutines.begin(), g_exitRoutines.end(), routine) == g_exitRoutines.end())
        g_exitRoutines.push_back(routine);
}

void RunExitRoutines()
{
    // Emptied before running, so a second pass through the end runs nothing twice.
    std::vector<ExitRoutine> routines;
    routines.swap(g_exitRoutines);
    for (ExitRoutine routine : routines) routine();
}

void DiscardExitRoutines() { g_exitRoutines.clear(); }

void ExitCleanup() { Text().swap(g_saveDirectory); }
