// The routines that run once when a program ends, in order of registration.
#pragma once

using CleanupRoutine = void (*)();

// Appends `routine` unless it is already registered.
void RegisterExitCleanup(CleanupRoutine routine);

// Runs every registered routine once and empties the list.
void RunExitCleanup();

// Empties the list without running anything: a failed start-up leaves
// nothing that needs cleaning.
void DropExitCleanup();
