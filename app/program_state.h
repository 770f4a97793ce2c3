#pragma once
#include "platform/text.h"

// Program-wide state: the save directory, owned here for the whole run, and
// the exit routines.

// The folder into which clipboard files are saved, used exactly as stored.
const Text& SaveDirectory();

// Replaces the save directory: the caller hands over the new Text, the old
// one is released, the new one stored.
void ReplaceSaveDirectory(Text newDirectory);

// Exit routines run once each, in the order registered, at a normal end.
using ExitRoutine = void (*)();
void RegisterExitRoutine(ExitRoutine routine);
void RunExitRoutines();
void DiscardExitRoutines();

// The program's one exit routine: releases the save directory.
void ExitCleanup();
