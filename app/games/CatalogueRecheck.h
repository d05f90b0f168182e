// The catalogue's periodic re-check without a waiting window: a worker thread asks the update host for the
// catalogue-folder number (selfupdate/GameInfoVersion.h) and downloads the game version file of that folder
// into a buffer of its own, each within its own time limit; the user-interface thread takes the result on a
// later tick and applies it as the blocking re-check did: the number becomes the process-wide one (0 when the
// query failed) and a version file that arrived updates the raw game records (ParseGameVersions' rules).
//
// One run at a time: a run that is still going when the next is due is left to finish, and no second one
// starts. ReleaseCatalogue stops a running run (it cancels the query's wait, the wait for the name look-up
// included, and the download, then waits for the worker, about a second at most); its result is dropped.
//
// Thread: every function on the user-interface thread. The worker touches only its run's own copy of the
// inputs and its result; the user-interface thread reads the result only once the worker has said it is done.
#pragma once

#include <cstdint>

// Starts a run for the update address `host` (the version query's host and the file server), the company
// and the version file's `name` (null or empty: none). False when a run is still going or no worker could be
// made; the earlier run then goes on untouched.
bool StartCatalogueRecheck(const wchar_t* host, int32_t company_id, const wchar_t* name);

// When the started run has ended: applies its result as above and returns true, once per run. False while a
// run goes on or when none was started.
bool FinishCatalogueRecheck();

// Cancels a running run, waits for its worker and drops its result. Nothing when none runs.
void StopCatalogueRecheck();

// How long the run's version query waits for the answer (the blocking query's limit). Tests shorten it; 0
// restores the default.
void SetCatalogueRecheckQueryLimit(unsigned timeout_ms);
