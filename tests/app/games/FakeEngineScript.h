/*
 * The control interface of the fake engine library (FakeEngine.cpp), a test double of an update library:
 * the eight exports of engine/QVTesserel.h plus three control exports (fakeEngineSetScript,
 * fakeEngineGetCalls, fakeEngineRelease) that a test binds by name from the same module that the launcher
 * loaded (GetModuleHandleW of its file name, or a LoadLibraryW of its path).
 *
 * Behaviour, as the script says:
 *   qvCreateUpdater   records the parameters; null when create_fails.
 *   qvStartUpdater,   return start_result when it is not 0 (no events then); otherwise send start_steps on
 *   qvFullCheck       the caller's thread, start a worker thread that sends worker_steps, each while holding
 *                     the engine object's own lock (as the real engine's socket reader does), and return 0.
 *   qvStopUpdater     signals the worker, takes the engine lock once, then waits for the worker without
 * limit: a caller that holds a lock that the callback waits for deadlocks here. qvRemoveUpdater   stops, then
 * frees the object. qvDownloadInfo    the object's UpdateStatus (a copy of script.status).
 */
#ifndef ORVANE_TESTS_FAKE_ENGINE_SCRIPT_H
#define ORVANE_TESTS_FAKE_ENGINE_SCRIPT_H

#include <stdint.h>

#include "engine/QVTesserel.h"

#ifdef __cplusplus
extern "C" {
#endif

/* A worker step with this event waits until fakeEngineRelease (or a stop). */
#define FAKE_ENGINE_WAIT_FOR_RELEASE (-1)

/* One event. Its data: 9 {a, b, c}; 17 an i32 holding a; 15 and 2 the engine's status (15 sets applying := a
 * first); 8 the text; 18 a FileRecord named by the text; 7 and others null. */
typedef struct FakeEngineStep {
  int32_t event;
  int32_t a, b, c;
  wchar_t text[260];
} FakeEngineStep;

typedef struct FakeEngineScript {
  int32_t create_fails;
  int32_t start_result;
  int32_t start_step_count;
  FakeEngineStep start_steps[8];
  int32_t worker_step_count;
  FakeEngineStep worker_steps[32];
  int32_t repeat_until_stopped; /* the worker sends its steps again and again until it is stopped */
  UpdateStatus status;
} FakeEngineScript;

typedef struct FakeEngineCalls {
  int32_t creates, removes, starts, full_checks, stops, pauses, resumes, download_infos;
  int32_t events_sent;
  int32_t live_engines;
  UpdaterParams last_params;
} FakeEngineCalls;

typedef void (*fakeEngineSetScriptFunction)(const FakeEngineScript* script); /* also clears the calls */
typedef void (*fakeEngineGetCallsFunction)(FakeEngineCalls* calls);
typedef void (*fakeEngineReleaseFunction)(void);

#ifdef __cplusplus
}
#endif

#endif /* ORVANE_TESTS_FAKE_ENGINE_SCRIPT_H */
