// A test double of an update library, built under the sibling libraries' file names (and, without some
// exports, into folders of their own). Its behaviour is scripted by the test through its control exports
// (FakeEngineScript.h). Everything here runs inside the test process.
#include <windows.h>

#include <cwchar>

#include "tests/app/games/FakeEngineScript.h"

#define FAKE_EXPORT extern "C" __declspec(dllexport)

namespace {

FakeEngineScript g_script;
FakeEngineCalls g_calls;
CRITICAL_SECTION g_calls_lock;  // guards g_calls
HANDLE g_release = nullptr;     // manual reset: set by fakeEngineRelease

struct FakeEngine {
  CRITICAL_SECTION lock;  // the engine lock: held while the worker calls back
  UpdaterParams params;
  UpdateStatus status;
  HANDLE stop_event;
  HANDLE worker;
};

void Count(int32_t FakeEngineCalls::*counter, int32_t delta = 1) {
  EnterCriticalSection(&g_calls_lock);
  g_calls.*counter += delta;
  LeaveCriticalSection(&g_calls_lock);
}

void SendStep(FakeEngine* engine, const FakeEngineStep& step) {
  if (engine->params.callback == nullptr)
    return;
  UpdateProgress progress{step.a, step.b, step.c};
  int32_t code = step.a;
  FileRecord record{};
  const void* data = nullptr;
  switch (step.event) {
    case UpdateEventProgress:
      data = &progress;
      break;
    case UpdateEventError:
      data = &code;
      break;
    case UpdateEventStatusChanged:
      engine->status.applying = step.a;
      data = &engine->status;
      break;
    case UpdateEventFileCount:
      data = &engine->status;
      break;
    case UpdateEventCurrentFile:
      data = step.text;
      break;
    case UpdateEventFileMismatch:
      std::wmemcpy(record.name, step.text, 260);
      data = &record;
      break;
    default:
      break;
  }
  engine->params.callback(engine->params.userValue, step.event, data);
  Count(&FakeEngineCalls::events_sent);
}

// False when the engine was stopped meanwhile.
bool RunWorkerSteps(FakeEngine* engine) {
  for (int32_t index = 0; index < g_script.worker_step_count && index < 32; ++index) {
    const FakeEngineStep& step = g_script.worker_steps[index];
    if (step.event == FAKE_ENGINE_WAIT_FOR_RELEASE) {
      HANDLE handles[] = {engine->stop_event, g_release};
      if (WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0)
        return false;
      continue;
    }
    if (WaitForSingleObject(engine->stop_event, 0) == WAIT_OBJECT_0)
      return false;
    EnterCriticalSection(&engine->lock);
    SendStep(engine, step);
    LeaveCriticalSection(&engine->lock);
  }
  return true;
}

DWORD WINAPI WorkerThread(void* parameter) {
  FakeEngine* engine = static_cast<FakeEngine*>(parameter);
  while (RunWorkerSteps(engine) && g_script.repeat_until_stopped != 0)
    Sleep(1);
  return 0;
}

void Stop(FakeEngine* engine);

int Start(FakeEngine* engine) {
  if (g_script.start_result != 0)
    return g_script.start_result;
  if (engine->worker != nullptr)
    Stop(engine);
  for (int32_t index = 0; index < g_script.start_step_count && index < 8; ++index)
    SendStep(engine, g_script.start_steps[index]);
  ResetEvent(engine->stop_event);
  engine->worker = CreateThread(nullptr, 0, &WorkerThread, engine, 0, nullptr);
  return engine->worker != nullptr ? 0 : 4;
}

void Stop(FakeEngine* engine) {
  SetEvent(engine->stop_event);
  // The real engine takes its lock while it ends the session; so does the double.
  EnterCriticalSection(&engine->lock);
  LeaveCriticalSection(&engine->lock);
  if (engine->worker != nullptr) {
    WaitForSingleObject(engine->worker, INFINITE);
    CloseHandle(engine->worker);
    engine->worker = nullptr;
  }
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, void*) {
  if (reason == DLL_PROCESS_ATTACH) {
    InitializeCriticalSection(&g_calls_lock);
    g_release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  }
  return TRUE;
}

FAKE_EXPORT void fakeEngineSetScript(const FakeEngineScript* script) {
  g_script = *script;
  ResetEvent(g_release);
  EnterCriticalSection(&g_calls_lock);
  int32_t live = g_calls.live_engines;
  g_calls = FakeEngineCalls{};
  g_calls.live_engines = live;
  LeaveCriticalSection(&g_calls_lock);
}

FAKE_EXPORT void fakeEngineGetCalls(FakeEngineCalls* calls) {
  EnterCriticalSection(&g_calls_lock);
  *calls = g_calls;
  LeaveCriticalSection(&g_calls_lock);
}

FAKE_EXPORT void fakeEngineRelease(void) {
  SetEvent(g_release);
}

#ifndef FAKE_ENGINE_WITHOUT_CREATE
FAKE_EXPORT UpdaterHandle qvCreateUpdater(const UpdaterParams* params) {
  Count(&FakeEngineCalls::creates);
  if (params == nullptr || g_script.create_fails != 0)
    return nullptr;
  FakeEngine* engine = new FakeEngine{};
  InitializeCriticalSection(&engine->lock);
  engine->params = *params;
  engine->status = g_script.status;
  engine->stop_event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  EnterCriticalSection(&g_calls_lock);
  g_calls.last_params = *params;
  ++g_calls.live_engines;
  LeaveCriticalSection(&g_calls_lock);
  return engine;
}
#endif

FAKE_EXPORT int qvRemoveUpdater(UpdaterHandle handle) {
  Count(&FakeEngineCalls::removes);
  if (handle == nullptr)
    return 2;
  FakeEngine* engine = static_cast<FakeEngine*>(handle);
  Stop(engine);
  CloseHandle(engine->stop_event);
  DeleteCriticalSection(&engine->lock);
  delete engine;
  Count(&FakeEngineCalls::live_engines, -1);
  return 0;
}

FAKE_EXPORT int qvStartUpdater(UpdaterHandle handle) {
  Count(&FakeEngineCalls::starts);
  return handle != nullptr ? Start(static_cast<FakeEngine*>(handle)) : 2;
}

FAKE_EXPORT int qvStopUpdater(UpdaterHandle handle) {
  Count(&FakeEngineCalls::stops);
  if (handle == nullptr)
    return 2;
  Stop(static_cast<FakeEngine*>(handle));
  return 0;
}

#ifndef FAKE_ENGINE_WITHOUT_PAUSE
FAKE_EXPORT int qvPauseUpdater(UpdaterHandle handle) {
  Count(&FakeEngineCalls::pauses);
  return handle != nullptr ? 0 : 2;
}
#endif

FAKE_EXPORT int qvResumeUpdater(UpdaterHandle handle) {
  Count(&FakeEngineCalls::resumes);
  return handle != nullptr ? 0 : 2;
}

FAKE_EXPORT int qvFullCheck(UpdaterHandle handle) {
  Count(&FakeEngineCalls::full_checks);
  return handle != nullptr ? Start(static_cast<FakeEngine*>(handle)) : 2;
}

FAKE_EXPORT UpdateStatus* qvDownloadInfo(UpdaterHandle handle) {
  Count(&FakeEngineCalls::download_infos);
  return handle != nullptr ? &static_cast<FakeEngine*>(handle)->status : nullptr;
}
