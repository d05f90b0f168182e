// Reading an ini file whole: the one rule that every reader of skin descriptions, message tables and packed
// configuration files follows.
//
// File format: UTF-16LE text that begins with the byte-order mark FF FE, then the ini text
// (IniStringContainer.h). A file shorter than the mark, or without it (ANSI, UTF-8, big-endian UTF-16), gives
// no container. An odd trailing byte, half a unit, is ignored.
#pragma once

#include <cstdint>

class FileObject;
class IniStringContainer;

// Parses the file content `content` of `byte_size` bytes (the mark included). New container owned by the
// caller, or null as described above.
IniStringContainer* ParseIniFileContent(const wchar_t* content, uint32_t byte_size);

// Opens `path` through the virtual files (VirtualFile.h: a loose file or a pack entry), reads it whole,
// closes it and parses it. Null when it cannot be opened or read, or as above.
IniStringContainer* LoadIniFile(const wchar_t* path);

// Reads the open virtual file `file` whole, closes it (it is taken over, also on failure) and parses it. Null
// for a null file, when it cannot be read, or as above.
IniStringContainer* LoadIniFromVirtualFile(FileObject* file);
