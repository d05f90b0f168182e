#include "tests/engine/GeneratedHistory.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "tests/support/UnixCommand.h"

namespace engine_testing {

std::string GeneratedHistory(int versions) {
  const std::string build = ORVANE_BINARY_DIR;
  const std::string folder = build + "/test-histories/small-" + std::to_string(versions);
  const std::string staging = folder + ".making-" + std::to_string(GetCurrentProcessId());
  const std::string patchmaker = build + "/wine-exec " + build + "/bin/patchmaker.exe";
  // Tests run in parallel: each makes its own copy and only the first rename wins.
  const std::string command =
      "[ -e " + folder + "/.complete ] || { mkdir -p " + build + "/test-histories && python3 " +
      ORVANE_SOURCE_DIR + "/tools/make_history.py --root " + staging + " --versions " +
      std::to_string(versions) + " --patchmaker " + testing_support::ShellQuote(patchmaker) + " && touch " +
      staging + "/.complete && { mv -T " + staging + " " + folder + " 2>/dev/null || rm -rf " + staging +
      "; }; }";
  std::string output;
  if (testing_support::RunUnixCommand(command, &output, 170000) != 0) {
    ADD_FAILURE() << output;
    return "";
  }
  return folder;
}

}  // namespace engine_testing
