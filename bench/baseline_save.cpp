// The practical limit of a clipboard save: open the clipboard, copy its
// CF_TEXT, close it, and write the copy with one WriteFile.
//   baseline_save.exe <file>          saves at once and exits
//   baseline_save.exe <file> --wait   waits for bench_runner's events (bench_protocol.h)
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/bench_protocol.h"

namespace {

// Copied out so the clipboard is closed before the (slow) write, as any
// well-behaved program must do.
bool CopyClipboardText(std::string& text)
{
    if (!OpenClipboard(nullptr)) return false;
    bool copied = false;
    if (const HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const auto* bytes = static_cast<const char*>(GlobalLock(data))) {
            text.assign(bytes, strnlen(bytes, GlobalSize(data)));
            GlobalUnlock(data);
            copied = true;
        }
    }
    CloseClipboard();
    return copied;
}

bool WriteOnce(const char* path, const std::string& text)
{
    // No sharing, like the program: a reader can open the file only once it is closed.
    const HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                    written == text.size();
    return CloseHandle(file) && ok;
}

HANDLE OpenEventNamed(const char* name) { return OpenEventA(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, name); }

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return 2;
    const bool driven = argc > 2 && std::strcmp(argv[2], "--wait") == 0;
    HANDLE quit = nullptr;
    if (driven) {
        const HANDLE ready = OpenEventNamed(kBaselineReady);
        const HANDLE go = OpenEventNamed(kBaselineGo);
        quit = OpenEventNamed(kBaselineQuit);
        if (!ready || !go || !quit) return 3;
        // A program that is up has its window-system connection; the first
        // clipboard call of a Wine process makes it (30-130 ms), so not in the save.
        if (OpenClipboard(nullptr)) CloseClipboard();
        SetEvent(ready);
        WaitForSingleObject(go, INFINITE);
    }
    std::string text;
    const bool saved = CopyClipboardText(text) && WriteOnce(argv[1], text);
    // Alive (with the text still held) until the runner has read the peak working set.
    if (driven) WaitForSingleObject(quit, INFINITE);
    return saved ? 0 : 1;
}
