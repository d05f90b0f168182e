// What the update benchmarks share (bench_engine_update and bench_floor_update, both driven by
// scripts/bench-engine): their command line, the entries file, the clock and the memory figure.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "engine/FileEntry.h"

namespace benchmark_support {

struct Options {
  std::wstring root;
  std::string host;
  std::wstring product;
  std::string entries;
  std::string variant;  // bench_floor_update only
};

// "--root FOLDER --host HOST:PORT --product CODE --entries FILE [--variant NAME]". False when one of the first
// four is missing, too long, or an option is unknown.
bool ParseOptions(int argc, char** argv, Options* options);

// The entries file: one entry a line, tab-separated: sequence number, kind, size, version, registered version,
// CRC-32 (unsigned decimal), name (backslashes; ASCII). False when it cannot be read or a line is malformed.
bool ReadEntries(const std::string& path, std::vector<FileEntry>* entries);

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to);

// The process's peak private (committed) bytes so far, in MB.
double PeakPrivateMegabytes();

// Marks the moment `entries_done` entries were done, when it is one of the counted window's ends (100 and 300):
// a named event is made and closed, so the request shows up, with its name, in a trace of Wine's server
// ("orvane-trace-mark-100"); scripts/bench-engine counts the requests between the two marks.
void MarkEntriesDone(int entries_done);

}  // namespace benchmark_support
