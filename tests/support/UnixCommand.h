// Runs a Unix shell command from a test under Wine and waits for it (openssl, gcab, python3 helpers).
//
// Wine starts Unix programs through CreateProcess but cannot wait for them, so the command runs as
// `/bin/sh -c '<command>; echo $? > <status file>'` and the status file is polled.
#pragma once

#include <string>

namespace testing_support {

// Shell-quotes one argument for `RunUnixCommand` ('a b' -> "'a b'").
std::string ShellQuote(const std::string& argument);

// Runs `command` with /bin/sh and returns its exit status, or -1 when it could not be started or did not end
// within `timeout_ms`. Its standard output and error go to `output` when given.
int RunUnixCommand(const std::string& command, std::string* output = nullptr, unsigned timeout_ms = 60000);

}  // namespace testing_support
