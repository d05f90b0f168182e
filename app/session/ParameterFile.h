// The text that the session values are parsed from: the signed parameter file "LauncherParam.dat" beside the
// program when the command line asks for it, otherwise a copy of the command line itself. Either lives in
// the process-wide parameter buffer, which the command-line tokens point into, until ReleaseParameterBuffer.
//
// Signed parameter file "LauncherParam.dat" (selected by a command line whose first '/' starts
// "/LocalGameID:", compared case-sensitively; the value after it is not used):
//   exactly one RSA block of the built-in key's modulus size (512 bytes for the 4096-bit key), made with the
//   portal's private key with PKCS #1 v1.5 padding (block type 1). The recovered bytes (at most 501) are
//   UTF-16LE text; it ends at its first NUL, or with the recovered bytes (an odd last byte is dropped).
// A file that is missing, of another size, unreadable, or does not recover with the built-in key is ignored:
// the command line is used instead.
//
// Thread: the user-interface thread (start-up).
#pragma once

// The parameter buffer, or null.
wchar_t* ParameterBuffer();
// Frees the parameter buffer (every token taken from it dies with it).
void ReleaseParameterBuffer();

// Recovers the signed file at `path` with the built-in public key into the parameter buffer: 1 on success,
// else 0 with the buffer released. The size is checked before anything is read.
int LoadParamFile(const wchar_t* path);
// The same with the public key in `pem` (tests; a portal's build embeds its own key).
int LoadParamFileWithKey(const wchar_t* path, const char* pem);

// The text to tokenise for `command_line` (the process's own, GetCommandLineW, in the launcher): the
// recovered parameter text when the command line selects "LauncherParam.dat" in `exe_folder` and it
// recovers, else a copy of `command_line`. Both are the parameter buffer; null when no memory.
wchar_t* ReadLocalParams(const wchar_t* command_line, const wchar_t* exe_folder);
