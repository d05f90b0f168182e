// The fileListInfo file format: the engine's record of what it installed, one FileRecord a line.
//
//   UTF-16LE text, no byte-order mark written (a leading U+FEFF is skipped when reading).
//   Each record: "%s:%d:%d:%d:%d\r\n" with name, registered version, version, size and CRC-32, all four
//   numbers as signed 32-bit decimals (a CRC of 2^31 or more appears negative). Nothing else: no header, no
//   trailer.
//
// Reading is lenient, as the file has been read since its first version:
//   - lines end at "\n"; runs of line breaks count as one, so empty lines vanish;
//   - fields are cut at ":"; runs of colons count as one; a line with fewer than five fields gives no record
//   and
//     fields after the fifth are ignored;
//   - numbers: leading blanks skipped, an optional sign, digits up to the first other character (so the "\r"
//     before the line break is ignored), no digits gives 0. A value that does not fit its field drops the
//     line (the CRC may be written either way: -2^31 .. 2^32-1, its 32 bits kept);
//   - a name that IsSafeRelativeName refuses drops the line, so no record can point outside the install root;
//   - a NUL code unit ends the text; an odd last byte is ignored.
// Pure functions: no files, no locks.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "engine/QVTesserel.h"

// Parses `length` code units of fileListInfo text (no terminator needed) into records, in file order
// (duplicates included: the store keeps the first). `dropped` (may be null) receives the number of lines that
// held more than blanks and gave no record.
std::vector<FileRecord> ParseFileListText(const wchar_t* text, size_t length, size_t* dropped = nullptr);

// Appends one record as a line of the file.
void AppendFileListLine(std::wstring& text, const FileRecord& record);
