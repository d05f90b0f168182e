// Checks the data blocks of a cabinet before the platform's decoder sees them. A damaged deflate stream in an
// MSZIP block can make a decoder write past its window (seen with the decoder that Wine ships), so every
// MSZIP block is inflated here first, into a bounded buffer, with the previous block as its history; a block
// that does not end where it says, or yields another size, refuses the whole cabinet.
//
// Cabinet layout read here (little-endian):
//   header    "MSCF", u32 reserved, u32 cabinet size, u32 reserved, u32 files offset, u32 reserved,
//             u8 minor, u8 major, u16 folders, u16 files, u16 flags, u16 set id, u16 index;
//             flags & 4: u16 header reserve, u8 folder reserve, u8 data reserve, header reserve bytes;
//             flags & 1: two zero-terminated names; flags & 2: two zero-terminated names
//   folder    u32 first data block offset, u16 data block count, u16 compression type, folder reserve bytes
//   data      u32 checksum, u16 stored bytes, u16 unpacked bytes (at most 32768), data reserve bytes, stored
//   bytes
// Compression type (low 4 bits): 0 none (stored = unpacked), 1 MSZIP ("CK" then a deflate stream); other
// types are left to the decoder.
//
// Called on any thread; keeps no state between calls.
#pragma once

// 0 (kCabinetExtracted) when every block checked out, or when the file is no cabinet at all (the decoder then
// says so with its own code); kCabinetCannotOpen (112) when the file cannot be read;
// kCabinetCorrupt (104) for a header, folder or block that does not fit the file; kCabinetDecompressionFailed
// (107) for a block that does not unpack to its stated size.
int CheckCabinetBlocks(const wchar_t* cabinet_path);

// CheckCabinetBlocks, then ExtractCabinet when it passed.
int CheckAndExtractCabinet(const wchar_t* cabinet_path, const wchar_t* target_folder);
