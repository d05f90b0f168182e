// Test data shared by the patch tests: file contents and hand-made headers that the encoder would refuse.
#pragma once

#include <cstdint>
#include <string>

namespace patch {

// `size` bytes, deterministic from `seed`: runs of noise between runs of text, so that they compress
// somewhat, like program and data files do.
std::string MixedBytes(size_t size, uint32_t seed);

// A header written byte by byte, bypassing every check of the encoder.
std::string RawPatchHeader(const std::string& name,
                           uint32_t old_size,
                           uint32_t old_crc,
                           uint32_t new_size,
                           uint32_t new_crc,
                           const char* magic = "ORVP",
                           uint16_t version = 1);

}  // namespace patch
