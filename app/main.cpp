// Start-up and shutdown of the program.
#include <windows.h>

#include "app/fatal.h"
#include "app/program_state.h"
#include "config/save_directory.h"
#include "platform/folder_browser.h"
#include "platform/message_loop.h"
#include "platform/program_window.h"
#include "ui/main_window.h"

namespace {

// The program folder becomes the current directory, so a path that starts
// with a backslash names the root of the program's drive.
void EnterProgramFolder()
{
    const Text folder = RunDirectory();
    if (folder.empty()) return;
    // "C:" alone would mean the drive's current folder, not its root.
    SetCurrentDirectoryA((folder.back() == ':' ? folder + "\\" : folder).c_str());
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    InstallOutOfMemoryHandler();
    EnterProgramFolder();
    InitWindowFrame(instance);

    ReplaceSaveDirectory(Text());
    RegisterExitRoutine(ExitCleanup);

    ProgramWindow* mainWindow = CreateProgramWindow(MainWindowLayout(), nullptr);
    if (!mainWindow) FatalError("无法创建主窗口。");
    ShowWindow(mainWindow->hwnd, SW_SHOW);

    const int exitCode = RunMessageLoop();

    RunExitRoutines();
    ShutdownWindowFrame();
    StopOle();
    return exitCode;
}
