// The one way the launcher hands itself over to another copy of its program: start that program with a given
// command line and end this process at once. The restart after a self-update, the start of the temporary copy
// and the restart after a server change all come through here.
//
// Tests (and the stand-in launcher) replace the function so that no test ends itself. Thread: the
// user-interface thread; the replacement is set before anything calls it.
#pragma once

// Starts `program_path` with `command_line` passed verbatim (blanks and quotes as they stand) and ends this
// process. Returns only when the start failed: then 0 and the process goes on.
typedef int (*ProcessReplacer)(const wchar_t* program_path, const wchar_t* command_line);

int ReplaceProcess(const wchar_t* program_path, const wchar_t* command_line);
// Installs `replacer` (null: the real one) and returns the one it replaces.
ProcessReplacer SetProcessReplacer(ProcessReplacer replacer);
// The real one: CreateProcessW, then ExitProcess(0).
int StartProgramAndExit(const wchar_t* program_path, const wchar_t* command_line);
