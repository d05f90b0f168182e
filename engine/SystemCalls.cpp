#include "engine/SystemCalls.h"

namespace {

const SystemCallTable kRealCalls = {&CreateFileW,      &ReadFile,    &WriteFile,
                                    &FlushFileBuffers, &MoveFileExW, &DeleteFileW};

SystemCallTable g_calls = kRealCalls;

}  // namespace

SystemCallTable& system_calls() {
  return g_calls;
}

const SystemCallTable& real_system_calls() {
  return kRealCalls;
}
