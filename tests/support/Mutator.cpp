#include "tests/support/Mutator.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace testing_support {

namespace {

const uint8_t kBoundaryBytes[] = {0x00, 0x01, 0x02, 0x7F, 0x80, 0xFE, 0xFF,
                                  '.',  ' ',  ':',  '\\', '/',  '\n', '\r'};
const uint32_t kBoundaryWords[] = {
    0,     1,     2,          3,           4,          7,          8,          23,         24,        25,
    259,   260,   543,        544,         545,        546,        8191,       8192,       8193,      32767,
    32768, 65535, 0x7FFFFFFF, 0x80000000u, 0xFFFFFFFF, 0x02000000, 0x02000001, 0x40000000, 0x40000001};
// Decimal numbers at the edges of counts, field widths and the integer ranges the parsers read into.
const char* const kBoundaryNumbers[] = {"0",
                                        "1",
                                        "-1",
                                        "2",
                                        "15",
                                        "16",
                                        "17",
                                        "49",
                                        "50",
                                        "63",
                                        "64",
                                        "255",
                                        "256",
                                        "257",
                                        "259",
                                        "260",
                                        "1023",
                                        "1024",
                                        "1025",
                                        "4096",
                                        "65535",
                                        "65536",
                                        "2147483647",
                                        "2147483648",
                                        "-2147483648",
                                        "-2147483649",
                                        "4294967295",
                                        "4294967296",
                                        "99999999999999999999",
                                        "-0",
                                        "+1",
                                        "00000000000000000001",
                                        " 7"};

int64_t EnvironmentNumber(const char* name) {
  const char* text = std::getenv(name);
  return text != nullptr ? std::strtoll(text, nullptr, 0) : 0;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

Mutator::Mutator(uint64_t seed, Kind kind)
    : state_((seed ^ static_cast<uint64_t>(EnvironmentNumber("ORVANE_FUZZ_SEED"))) | 1), kind_(kind) {}

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

std::string Mutator::Encode(const std::string& ascii) const {
  if (kind_ != kText16)
    return ascii;
  std::string wide;
  for (char c : ascii) {
    wide += c;
    wide += '\0';
  }
  return wide;
}

void Mutator::Edit(std::string& data,
                   const std::vector<std::string>& seeds,
                   const std::vector<std::string>& dictionary) {
  const size_t size = data.size();
  size_t at = size != 0 ? Below(static_cast<uint32_t>(size)) : 0;
  if (kind_ == kText16 && Below(4) != 0)
    at &= ~static_cast<size_t>(1);  // mostly on unit boundaries, sometimes between the bytes of one
  const std::string& other = seeds[Below(static_cast<uint32_t>(seeds.size()))];
  switch (Below(dictionary.empty() ? 13 : 14)) {
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
    case 7:
      if (!other.empty()) {
        const size_t from = Below(static_cast<uint32_t>(other.size()));
        data.insert(at, other.substr(from, 1 + Below(128)));
      }
      break;
    case 8:  // the head of this input joined to the tail of another seed
      if (!other.empty())
        data = data.substr(0, at) + other.substr(Below(static_cast<uint32_t>(other.size())));
      break;
    case 9:
      WriteBoundaryNumber(data, at);
      break;
    case 10:
      InsertLongRun(data, at);
      break;
    case 11:
      EditByteOrderMark(data, at);
      break;
    case 12:  // an odd byte more or less: half a UTF-16 unit
      if (size != 0 && Below(2) == 0)
        data.erase(Below(2) == 0 ? size - 1 : at, 1);
      else
        data.insert(Below(2) == 0 ? size : at, 1,
                    static_cast<char>(kBoundaryBytes[Below(sizeof kBoundaryBytes)]));
      break;
    default:
      data.insert(at, dictionary[Below(static_cast<uint32_t>(dictionary.size()))]);
      break;
  }
}

// Replaces the decimal number at or after `at` (its sign included) with a boundary number; inserts one at `at`
// when the rest of the input holds no digit.
void Mutator::WriteBoundaryNumber(std::string& data, size_t at) {
  const size_t step = kind_ == kText16 ? 2 : 1;
  const std::string number =
      Encode(kBoundaryNumbers[Below(sizeof kBoundaryNumbers / sizeof kBoundaryNumbers[0])]);
  size_t begin = at;
  while (begin < data.size() &&
         !(IsDigit(data[begin]) && (step == 1 || (begin + 1 < data.size() && data[begin + 1] == 0))))
    begin += step;
  if (begin >= data.size()) {
    data.insert(at, number);
    return;
  }
  size_t end = begin;
  while (end + step <= data.size() && IsDigit(data[end]) && (step == 1 || data[end + 1] == 0))
    end += step;
  if (begin >= step && (data[begin - step] == '-' || data[begin - step] == '+'))
    begin -= step;
  data.replace(begin, end - begin, number);
}

// A run of one byte, or of one UTF-16 unit, mostly short, sometimes thousands long (past every field width).
void Mutator::InsertLongRun(std::string& data, size_t at) {
  static const char kRunBytes[] = {'A', ' ', '=', '[', '|', '"', '\\', '9', '<', '\0', '\xFF', '\xE3'};
  const uint32_t length = Below(4) == 0 ? 256 + Below(8192) : 1 + Below(64);
  std::string unit(1, kRunBytes[Below(sizeof kRunBytes)]);
  if (kind_ == kText16)
    unit += Below(4) == 0 ? static_cast<char>(Below(256)) : '\0';
  std::string run;
  run.reserve(length * unit.size());
  for (uint32_t i = 0; i < length; ++i)
    run += unit;
  data.insert(at, run);
}

// A lone mark somewhere, a doubled mark in front, the mark of the other encoding, or the mark taken away.
void Mutator::EditByteOrderMark(std::string& data, size_t at) {
  const std::string mark = kind_ == kText8 ? "\xEF\xBB\xBF" : "\xFF\xFE";
  switch (Below(4)) {
    case 0:
      data.insert(at, mark);
      break;
    case 1:
      data.insert(0, mark);
      break;
    case 2:
      data.insert(0, kind_ == kText8 ? "\xFF\xFE" : "\xEF\xBB\xBF");
      break;
    default:
      data.erase(0, data.compare(0, mark.size(), mark) == 0 ? mark.size() : 1);
      break;
  }
}

int FuzzIterations(int default_count) {
  const int64_t asked = EnvironmentNumber("ORVANE_FUZZ_ITERATIONS");
  return asked > 0 && asked <= 2000000000 ? static_cast<int>(asked) : default_count;
}

double FuzzSecondsLimit() {
  const int64_t asked = EnvironmentNumber("ORVANE_FUZZ_SECONDS");
  return asked > 0 ? static_cast<double>(asked) : 0;
}

double FuzzClockSeconds() {
  using Clock = std::chrono::steady_clock;
  return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

void FuzzTally::Print() const {
  std::printf("[fuzz] %s: %lld inputs in %.1f s, %.0f inputs/s\n", name, static_cast<long long>(inputs),
              seconds, seconds > 0 ? inputs / seconds : 0.0);
  std::fflush(stdout);
}

void PrintFailedInput(const char* name, int64_t number, const std::string& input) {
  std::printf("[fuzz] %s: input %lld failed (%u bytes):", name, static_cast<long long>(number),
              static_cast<unsigned>(input.size()));
  for (size_t i = 0; i < input.size() && i < 512; ++i)
    std::printf("%s%02X", i % 32 == 0 ? "\n  " : " ", static_cast<unsigned char>(input[i]));
  std::printf("%s\n", input.size() > 512 ? " ..." : "");
  std::fflush(stdout);
}

}  // namespace testing_support
