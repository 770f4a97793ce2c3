#include "app/fatal.h"

#include <windows.h>

#include <new>

#include "app/program_state.h"

void FatalError(const char* message)
{
    MessageBoxA(nullptr, message, "错误", MB_OK | MB_ICONERROR);
    DiscardExitRoutines();
    ExitProcess(static_cast<UINT>(-1));
}

namespace {
void OnOutOfMemory() { FatalError("内存不足，程序无法继续运行。"); }
}  // namespace

void InstallOutOfMemoryHandler() { std::set_new_handler(OnOutOfMemory); }
