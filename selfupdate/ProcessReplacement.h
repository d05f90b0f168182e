// The one way the launcher hands itself over to another copy of its program: start that program with a given
// command line and end this process at once. The restart after a self-update, the start of the temporary copy
// and the restart after a server change all come through here.
//
// Tests (and the stand-in launcher) replace the function so that no test ends itself. Thread: the
// user-interface thread; the replacement is set before anything calls it.
#pragma once

#include "base/ScopedHandle.h"

// Starts `program_path` with `command_line` passed verbatim (blanks and quotes as they stand) and ends this
// process. Returns only when the start failed: then 0 and the process goes on.
typedef int (*ProcessReplacer)(const wchar_t* program_path, const wchar_t* command_line);

int ReplaceProcess(const wchar_t* program_path, const wchar_t* command_line);
// Installs `replacer` (null: the real one) and returns the one it replaces.
ProcessReplacer SetProcessReplacer(ProcessReplacer replacer);
// Starts `program_path` with `command_line` verbatim. A start refused for a moment (the new file still held
// by whoever inspects it) is tried again for up to 1.5 s; a missing or broken program fails at once. True
// when started: `process` (may be null) then owns the new process. False with GetLastError set.
bool StartProgram(const wchar_t* program_path, const wchar_t* command_line, UniqueHandle* process);
// The real one: StartProgram, then ExitProcess(0).
int StartProgramAndExit(const wchar_t* program_path, const wchar_t* command_line);
