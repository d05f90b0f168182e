// Version histories made by tools/make_history.py for the tests that run whole updates.
#pragma once

#include <string>

namespace engine_testing {

// The small preset of the generator with `versions` versions, made once per build and kept (versions 1..c of
// the same seed are the same in every history, so an installation can walk through them one by one). The Unix
// path of the history's root, or "" (with a test failure added) when it could not be made.
std::string GeneratedHistory(int versions);

}  // namespace engine_testing
