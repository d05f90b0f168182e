// Deterministic mutation of byte strings for the parsers' fuzz tests: the same seed gives the same inputs on
// every machine, so a failure found in CI can be run again. Each mutation makes one to four edits to a seed
// input: flip a bit, set a byte or a 16- or 32-bit little-endian field to a value at a boundary, insert,
// delete or duplicate a run of bytes, cut the end, splice in a part of another seed, or insert a token of
// the caller's dictionary.
//
// The number of inputs per parser comes from the test, unless the environment variable
// ORVANE_FUZZ_ITERATIONS gives another (a longer run on demand); ORVANE_FUZZ_SEED changes the seed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

class Mutator {
 public:
  // `seed` is mixed with ORVANE_FUZZ_SEED when that is set.
  explicit Mutator(uint64_t seed);

  // A mutated copy of one of `seeds` (chosen at random); `dictionary` holds tokens worth inserting whole.
  std::string Mutate(const std::vector<std::string>& seeds, const std::vector<std::string>& dictionary = {});
  // A random number below `bound` (bound > 0).
  uint32_t Below(uint32_t bound);

 private:
  uint64_t Next();
  void Edit(std::string& data,
            const std::vector<std::string>& seeds,
            const std::vector<std::string>& dictionary);

  uint64_t state_;
};

// The number of inputs for one parser: ORVANE_FUZZ_ITERATIONS when set (and above 0), else `default_count`.
int FuzzIterations(int default_count);

}  // namespace testing_support
