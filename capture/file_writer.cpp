#include "capture/file_writer.h"

#include <windows.h>

#include <algorithm>
#include <charconv>
#include <string>

#include "platform/ansi_path.h"

namespace {

// Written in pieces: large single writes are slow on some file systems and
// a DWORD cannot count past 4 GB.
constexpr std::size_t kPieceSize = 1 << 20;

// Files of these kinds are never replaced; a folder of that name neither.
constexpr DWORD kKeepOut =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;

// No sharing: no other program can open the file while it is written.
HANDLE OpenExclusive(const Text& path, DWORD disposition)
{
    return CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool WriteAll(HANDLE file, Bytes data)
{
    std::size_t done = 0;
    while (done < data.size) {
        const DWORD piece = static_cast<DWORD>(std::min(data.size - done, kPieceSize));
        DWORD written = 0;
        if (!WriteFile(file, data.data + done, piece, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

// True only when every byte was written (and, with `flush`, has reached the
// disk) and the file closed cleanly.
bool FillAndClose(HANDLE file, Bytes data, bool flush)
{
    const bool written = WriteAll(file, data) && (!flush || FlushFileBuffers(file));
    const bool closed = CloseHandle(file) != 0;
    return written && closed;
}

bool WriteNewFile(const Text& path, Bytes data)
{
    const HANDLE file = OpenExclusive(path, CREATE_NEW);
    if (file == INVALID_HANDLE_VALUE) return false;
    if (FillAndClose(file, data, false)) return true;
    DeleteFileA(path.c_str());
    return false;
}

// An empty temporary file with a fresh name in `directory` (which ends with
// a backslash, or is empty for the current folder).
HANDLE CreateTemporaryFile(const Text& directory, Text& tempPath)
{
    char digits[16];  // the process id in hex, as few digits as it takes
    const Text pid(digits, std::to_chars(digits, digits + sizeof digits, GetCurrentProcessId(), 16).ptr);
    for (unsigned n = 0; n < 100; ++n) {
        tempPath = directory + "~cliptext" + pid + "_" + std::to_string(n) + ".tmp";
        const HANDLE file = OpenExclusive(tempPath, CREATE_NEW);
        if (file != INVALID_HANDLE_VALUE) return file;
        if (GetLastError() != ERROR_FILE_EXISTS) break;
    }
    return INVALID_HANDLE_VALUE;
}

// A failed query counts as there: only a name known to be free is.
bool StillThere(const Text& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES || GetLastError() != ERROR_FILE_NOT_FOUND;
}

// Puts the complete temporary file in the old one's place. ReplaceFileA keeps
// the old file's attributes, security and creation time; where it cannot be
// used, a rename that reaches the disk before it returns does the job. If
// both fail the temporary file is removed, unless the old file has gone and
// it holds the only copy of the text.
bool PutInPlace(const Text& tempPath, const Text& path)
{
    if (ReplaceFileA(path.c_str(), tempPath.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
        return true;
    const bool oldStillThere = StillThere(path);
    if (MoveFileExA(tempPath.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    if (oldStillThere) DeleteFileA(tempPath.c_str());
    return false;
}

bool ReplaceExistingFile(const Text& path, Bytes data)
{
    // Holding the old file without sharing fails when another program has it
    // open, and keeps others out while the new bytes are prepared.
    const HANDLE old = OpenExclusive(path, OPEN_EXISTING);
    if (old == INVALID_HANDLE_VALUE) return false;
    Text tempPath;
    const HANDLE temp = CreateTemporaryFile(DirectoryPrefixOf(path), tempPath);
    // Flushed before it takes the old file's place, so that after a power
    // loss the name never points at an empty or partial file.
    const bool complete = temp != INVALID_HANDLE_VALUE && FillAndClose(temp, data, true);
    CloseHandle(old);
    if (complete) return PutInPlace(tempPath, path);
    if (temp != INVALID_HANDLE_VALUE) DeleteFileA(tempPath.c_str());
    return false;
}

}  // namespace

bool WriteBytesToFile(const Text& path, Bytes data)
{
    if (path.empty()) return false;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return WriteNewFile(path, data);
    if (attributes & kKeepOut) return false;
    return ReplaceExistingFile(path, data);
}

bool WriteBytesToNewFile(const Text& path, Bytes data)
{
    return !path.empty() && WriteNewFile(path, data);
}
