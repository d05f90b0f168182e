// Keeps the module (program or library) that holds the calling code loaded until the process ends.
//
// For code that leaves a thread behind which runs in this module and may outlive every owner: once such a
// thread exists, no FreeLibrary of the library may unload it, or the thread would return into freed code.
// The pin cannot be undone, so it is taken only when a thread really was left behind. In a program it costs
// nothing: a program is never unloaded.
//
// Thread: any.
#pragma once

// Pins the module of this code (base is linked into each module that uses it, so "this code" is the
// caller's module). True when the module is pinned, also when it was already.
bool PinOwnModule();
