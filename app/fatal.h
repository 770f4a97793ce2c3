#pragma once

// A fatal error shows an error box without owner, discards the exit routines
// without running them and ends the process with exit code -1.
[[noreturn]] void FatalError(const char* message);

// Makes a failed allocation (of any Text or Bytes) a fatal error.
void InstallOutOfMemoryHandler();
