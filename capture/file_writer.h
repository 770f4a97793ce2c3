#pragma once
#include "platform/text.h"

// Creates or replaces the file at `path` with exactly `data`. Never leaves a
// truncated file: a new file is removed again when writing fails, and an
// existing one is replaced only after the new bytes are complete and flushed
// in a temporary file beside it (so a replace needs room for both copies and
// the right to create files in the folder). An existing file that is
// read-only, hidden, a system file or held open elsewhere is left alone.
// True on success.
bool WriteBytesToFile(const Text& path, Bytes data);

// Creates the file at `path` with exactly `data` where nothing of that name
// exists; an existing file or folder is left alone. True when it was created.
bool WriteBytesToNewFile(const Text& path, Bytes data);
