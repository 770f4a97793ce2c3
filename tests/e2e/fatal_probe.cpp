// Stands in for the program when a Text cannot be allocated: it installs the
// program's out-of-memory handling and its exit routine, then asks for more
// memory than any process can have. The exit routine, if it ever ran, would
// leave a marker file beside the probe.
#include <windows.h>

#include <cstddef>
#include <cstring>
#include <new>

#include "app/fatal.h"
#include "app/program_state.h"
#include "platform/text.h"

namespace {
void LeaveMarker()
{
    const HANDLE file = CreateFileA("exit_routine_ran", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);
}
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    *strrchr(path, '\\') = '\0';
    SetCurrentDirectoryA(path);

    InstallOutOfMemoryHandler();
    RegisterExitRoutine(LeaveMarker);
    Text huge;
    huge.reserve(static_cast<std::size_t>(PTRDIFF_MAX) / 2);
    RunExitRoutines();
    return 0;
}
