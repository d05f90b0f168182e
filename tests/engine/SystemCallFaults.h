// Fault injection through the engine's system-call table (engine/SystemCalls.h): while an object of this
// class lives, every file call of the engine is counted by kind, and a chosen call can be made to fail the
// way a full or failing disk, a denied access or a locked file would, or end the process.
//
// One object at a time; make it while no engine thread runs and let it go the same way (the real calls come
// back then). Counts are kept across threads.
#pragma once

namespace engine_testing {

enum class SystemCall { kCreate, kRead, kWrite, kFlush, kMove, kDelete };
constexpr int kSystemCallKinds = 6;
const char* SystemCallName(SystemCall kind);

class SystemCallFaults {
 public:
  SystemCallFaults();
  ~SystemCallFaults();
  SystemCallFaults(const SystemCallFaults&) = delete;
  SystemCallFaults& operator=(const SystemCallFaults&) = delete;

  // Sets every count to 0 and forgets the planned failure and end.
  void Reset();
  // The `n`-th call of `kind` counted from the last Reset fails (create: access denied, read: read fault,
  // write: disk full, nothing written; flush: write fault; move: access denied; delete: sharing violation).
  // 0: none.
  void FailCall(SystemCall kind, int n);
  // At the `n`-th write the process writes the first half of the block and ends at once with `exit_code`, as
  // a process that is killed in the middle of a write would.
  void EndProcessAtWrite(int n, unsigned exit_code);

  int Count(SystemCall kind) const;
  // True once the planned failure has happened.
  bool Failed() const;
};

}  // namespace engine_testing
