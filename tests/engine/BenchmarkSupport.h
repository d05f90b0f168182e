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

// Counting runs. scripts/bench-engine sets ORVANE_BENCH_COUNT for a run that is counted, not timed:
//   "marks"  every finished entry makes a named event ("orvane-trace-mark-<n>-k<kind>", n counted from 1, kind
//            that of the entry just finished) and keeps it open, so a trace of Wine's server shows where each
//            entry's requests end, and of which kind the entry was;
//   "calls"  the program's file-system calls are counted (tests/engine/FileCallCounter.h) and PrintCounts
//            gives, per entry kind, the look-ups of missing names and the directory searches per entry.
// Both count entries 101-300 (all entries of a run of 300 or fewer). BeginCounting is called with the entries
// in the order they are done, before the first one starts; without the variable all three do nothing.
void BeginCounting(const std::vector<FileEntry>& entries);
// Called when `entries_done` entries are finished.
void MarkEntriesDone(int entries_done);
// For "calls": one line per entry kind, "calls <kind>: <entries> entries, missing names <n> per entry,
// directory searches <n> per entry".
void PrintCounts();

}  // namespace benchmark_support
