#include "tests/support/Mutator.h"

#include <cstdlib>

namespace testing_support {

namespace {

const uint8_t kBoundaryBytes[] = {0x00, 0x01, 0x02, 0x7F, 0x80, 0xFE, 0xFF,
                                  '.',  ' ',  ':',  '\\', '/',  '\n', '\r'};
const uint32_t kBoundaryWords[] = {
    0,     1,     2,          3,           4,          7,          8,          23,         24,        25,
    259,   260,   543,        544,         545,        546,        8191,       8192,       8193,      32767,
    32768, 65535, 0x7FFFFFFF, 0x80000000u, 0xFFFFFFFF, 0x02000000, 0x02000001, 0x40000000, 0x40000001};

int64_t EnvironmentNumber(const char* name) {
  const char* text = std::getenv(name);
  return text != nullptr ? std::strtoll(text, nullptr, 0) : 0;
}

}  // namespace

Mutator::Mutator(uint64_t seed)
    : state_((seed ^ static_cast<uint64_t>(EnvironmentNumber("ORVANE_FUZZ_SEED"))) | 1) {}

uint64_t Mutator::Next() {
  // xorshift64*
  state_ ^= state_ >> 12;
  state_ ^= state_ << 25;
  state_ ^= state_ >> 27;
  return state_ * 2685821657736338717ull;
}

uint32_t Mutator::Below(uint32_t bound) {
  return static_cast<uint32_t>((Next() >> 32) % bound);
}

std::string Mutator::Mutate(const std::vector<std::string>& seeds,
                            const std::vector<std::string>& dictionary) {
  std::string data = seeds[Below(static_cast<uint32_t>(seeds.size()))];
  const uint32_t edits = 1 + Below(4);
  for (uint32_t i = 0; i < edits; ++i)
    Edit(data, seeds, dictionary);
  return data;
}

void Mutator::Edit(std::string& data,
                   const std::vector<std::string>& seeds,
                   const std::vector<std::string>& dictionary) {
  const size_t size = data.size();
  const size_t at = size != 0 ? Below(static_cast<uint32_t>(size)) : 0;
  switch (Below(dictionary.empty() ? 8 : 9)) {
    case 0:
      if (size != 0)
        data[at] = static_cast<char>(data[at] ^ (1 << Below(8)));
      break;
    case 1:
      if (size != 0)
        data[at] = static_cast<char>(kBoundaryBytes[Below(sizeof kBoundaryBytes)]);
      break;
    case 2: {
      const uint32_t value = kBoundaryWords[Below(sizeof kBoundaryWords / sizeof kBoundaryWords[0])];
      const size_t width = Below(2) == 0 ? 2 : 4;
      for (size_t i = 0; i < width && at + i < size; ++i)
        data[at + i] = static_cast<char>(value >> (8 * i));
      break;
    }
    case 3: {
      std::string run(1 + Below(16), '\0');
      for (char& c : run)
        c = static_cast<char>(Below(256));
      data.insert(at, run);
      break;
    }
    case 4:
      if (size != 0)
        data.erase(at, 1 + Below(static_cast<uint32_t>(size - at < 64 ? size - at : 64)));
      break;
    case 5:
      if (size != 0) {
        const std::string run = data.substr(at, 1 + Below(64));
        data.insert(Below(static_cast<uint32_t>(size + 1)), run);
      }
      break;
    case 6:
      data.resize(at);
      break;
    case 7: {
      const std::string& other = seeds[Below(static_cast<uint32_t>(seeds.size()))];
      if (!other.empty()) {
        const size_t from = Below(static_cast<uint32_t>(other.size()));
        data.insert(at, other.substr(from, 1 + Below(128)));
      }
      break;
    }
    default:
      data.insert(at, dictionary[Below(static_cast<uint32_t>(dictionary.size()))]);
      break;
  }
}

int FuzzIterations(int default_count) {
  const int64_t asked = EnvironmentNumber("ORVANE_FUZZ_ITERATIONS");
  return asked > 0 && asked <= 2000000000 ? static_cast<int>(asked) : default_count;
}

}  // namespace testing_support
