// Deterministic mutation of byte strings for the parsers' fuzz tests: the same seed gives the same inputs on
// every machine, so a failure found in CI can be run again. Each mutation makes one to four edits to a seed
// input: flip a bit, set a byte or a 16- or 32-bit little-endian field to a value at a boundary, insert,
// delete or duplicate a run of bytes, cut the end, splice in a part of another seed or join the head of the
// input to the tail of another seed, write a boundary number over a decimal number of the text, insert a long
// run of one byte or character, insert, double or drop a byte-order mark, make a UTF-16 text an odd number of
// bytes long, or insert a token of the caller's dictionary.
//
// The number of inputs per parser comes from the test, unless the environment variable
// ORVANE_FUZZ_ITERATIONS gives another (a longer run on demand); ORVANE_FUZZ_SEED changes the seed.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

class Mutator {
 public:
  // What the inputs are: the kind decides how numbers, byte-order marks and runs of one character are
  // written (8-bit text and binary data byte by byte, UTF-16 text as little-endian units).
  enum Kind { kBinary, kText8, kText16 };

  // `seed` is mixed with ORVANE_FUZZ_SEED when that is set.
  explicit Mutator(uint64_t seed, Kind kind = kBinary);

  // A mutated copy of one of `seeds` (chosen at random); `dictionary` holds tokens worth inserting whole
  // (already encoded as the input is: UTF-16LE bytes for kText16).
  std::string Mutate(const std::vector<std::string>& seeds, const std::vector<std::string>& dictionary = {});
  // A random number below `bound` (bound > 0).
  uint32_t Below(uint32_t bound);

 private:
  uint64_t Next();
  void Edit(std::string& data,
            const std::vector<std::string>& seeds,
            const std::vector<std::string>& dictionary);
  void WriteBoundaryNumber(std::string& data, size_t at);
  void InsertLongRun(std::string& data, size_t at);
  void EditByteOrderMark(std::string& data, size_t at);
  std::string Encode(const std::string& ascii) const;

  uint64_t state_;
  Kind kind_;
};

// The number of inputs for one parser: ORVANE_FUZZ_ITERATIONS when set (and above 0), else `default_count`.
int FuzzIterations(int default_count);
// ORVANE_FUZZ_SECONDS when set (and above 0): a run of mutations stops after that many seconds, so that a
// long run of slow parsers ends by a deadline and reports the inputs it reached. 0 when not set.
double FuzzSecondsLimit();

// Seeds no longer than this are also run cut at every length (every prefix, the empty one included).
const size_t kEveryLengthLimit = 4096;

// What a fuzz run did; Print writes it to stdout as one line ("[fuzz] <name>: <inputs> inputs in <seconds> s,
// <rate> inputs/s"), which the long run collects.
struct FuzzTally {
  const char* name = "";
  int64_t inputs = 0;
  double seconds = 0;
  void Print() const;
};

// Runs `check(input)` over every prefix of each seed not longer than kEveryLengthLimit, then over
// FuzzIterations(`default_count`) mutations. Stops at the first input after which the test has failed, and
// prints that input (in hex) so that it can be turned into a test of its own.
template <typename Check>
FuzzTally RunFuzzInputs(const char* name,
                        Mutator& mutator,
                        const std::vector<std::string>& seeds,
                        const std::vector<std::string>& dictionary,
                        int default_count,
                        Check check);
// The same with each seed run whole instead of at every length: for a short test through a file path whose
// parser is fuzzed over bytes by another test, where every prefix would cost a file and find nothing new.
template <typename Check>
FuzzTally RunFuzzMutations(const char* name,
                           Mutator& mutator,
                           const std::vector<std::string>& seeds,
                           const std::vector<std::string>& dictionary,
                           int default_count,
                           Check check);

// Seconds since an arbitrary start (for FuzzTally).
double FuzzClockSeconds();
// Prints the input that made a fuzz run fail.
void PrintFailedInput(const char* name, int64_t number, const std::string& input);

template <typename Check>
FuzzTally RunFuzz(const char* name,
                  Mutator& mutator,
                  const std::vector<std::string>& seeds,
                  const std::vector<std::string>& dictionary,
                  int default_count,
                  bool every_length,
                  Check check) {
  FuzzTally tally;
  tally.name = name;
  const double start = FuzzClockSeconds();
  auto run = [&](const std::string& input) {
    check(input);
    ++tally.inputs;
    if (!::testing::Test::HasFailure())
      return true;
    PrintFailedInput(name, tally.inputs, input);
    return false;
  };
  bool going = true;
  for (const std::string& seed : seeds) {
    if (!every_length) {
      going = going && run(seed);
      continue;
    }
    for (size_t length = 0; going && seed.size() <= kEveryLengthLimit && length <= seed.size(); ++length)
      going = run(seed.substr(0, length));
  }
  const int count = FuzzIterations(default_count);
  const double limit = FuzzSecondsLimit();
  for (int i = 0; going && i < count; ++i) {
    if (limit > 0 && i % 256 == 0 && FuzzClockSeconds() - start > limit)
      break;
    going = run(mutator.Mutate(seeds, dictionary));
  }
  tally.seconds = FuzzClockSeconds() - start;
  tally.Print();
  return tally;
}

template <typename Check>
FuzzTally RunFuzzInputs(const char* name,
                        Mutator& mutator,
                        const std::vector<std::string>& seeds,
                        const std::vector<std::string>& dictionary,
                        int default_count,
                        Check check) {
  return RunFuzz(name, mutator, seeds, dictionary, default_count, true, check);
}

template <typename Check>
FuzzTally RunFuzzMutations(const char* name,
                           Mutator& mutator,
                           const std::vector<std::string>& seeds,
                           const std::vector<std::string>& dictionary,
                           int default_count,
                           Check check) {
  return RunFuzz(name, mutator, seeds, dictionary, default_count, false, check);
}

}  // namespace testing_support
