/*
 * QVTesserel.h: the binary interface of the update engine library QVTesserel.dll.
 *
 * Plain C, shared by the engine and the launcher. The launcher loads the library at run time and binds the
 * eight exports by name (the function types below); nothing is linked between the two. Every export and the
 * callback use the C calling convention. The layouts are those of a 32-bit process (4-byte pointers, 2-byte
 * wchar_t) and are frozen: every record is pinned by size and offsets at the end of this file. Numeric codes
 * never change.
 *
 * Threads: the exports are called on the caller's thread. The callback is called on the caller's thread
 * (during a start), on the engine's socket reader thread (holding the engine lock) and on its worker thread,
 * so it must lock its own data, and the caller must not call an export while holding a lock that its callback
 * takes (order: engine lock, then the caller's lock).
 */
#ifndef ORVANE_ENGINE_QVTESSEREL_H
#define ORVANE_ENGINE_QVTESSEREL_H

#include <stddef.h>
#include <stdint.h>
#include <wchar.h>

#ifdef __cplusplus
extern "C" {
#endif

#define QV_CALL __cdecl

/* The engine object's address; made by qvCreateUpdater, freed only by qvRemoveUpdater. */
typedef void* UpdaterHandle;

/*
 * UpdateCallback(user, event, data): `user` is UpdaterParams.userValue unchanged, `event` an UpdateEvent,
 * `data` as the event's table says. The result is ignored.
 */
typedef int(QV_CALL* UpdateCallback)(void* user, int event, const void* data);

/*
 * Filled by the caller (zero-filled first) and passed to qvCreateUpdater, which copies what it needs: the
 * record may be freed after the call. Wide texts are UTF-16LE, "ANSI" texts 8-bit in the system code page,
 * both NUL-terminated within their fields.
 */
typedef struct UpdaterParams {
  int32_t reserved0;           /* not read */
  int32_t noSelfUpdate;        /* nonzero: no self-check before a run, never adopt a newer engine version */
  void* userValue;             /* first argument of every callback call */
  UpdateCallback callback;     /* may be null: no events */
  wchar_t productCode[64];     /* product on the patch server, in URLs and in the engine's file names */
  wchar_t programFileName[64]; /* the game's main program, relative to the install root */
  wchar_t installRoot[260];    /* without a trailing backslash; at most 255 characters */
  uint16_t patchServerPort;    /* 0 or 65535: no connection is made */
  char patchServerIp[16];      /* dotted IPv4; shorter than 7 characters: patchServerHost is resolved */
  char downloadHost[100];      /* "host" or "host:port" of the HTTP file server */
  uint16_t reserved1;          /* not read */
  int32_t catalogueVersion;    /* not read by this engine */
  uint8_t reserved2[1560];     /* not read */
  char patchServerHost[100];   /* resolved to IPv4 when patchServerIp is not filled */
} UpdaterParams;

/*
 * The engine's status, inside the engine object; qvDownloadInfo returns its address, valid while the handle
 * lives. Written by the engine's threads without a lock: read it as advisory (64-bit values may be torn).
 */
typedef struct UpdateStatus {
  int32_t entryCount;     /* from the server's count reply */
  int32_t currentEntry;   /* sequence number of the list entry being handled */
  int64_t fileTotalBytes; /* current file */
  int64_t fileDoneBytes;  /* current file */
  double unused0;         /* 0 */
  int32_t unused1;        /* 0 */
  int32_t unused2;        /* 0 */
  wchar_t text[260];      /* cleared when the count arrives */
  int32_t applying;       /* 1 while a downloaded entry is applied to the installation */
  int32_t unused3;        /* 0 */
} UpdateStatus;

/* Data of event UpdateEventProgress: {kind, a, b}, see UpdateProgressKind. */
typedef struct UpdateProgress {
  int32_t kind;
  int32_t a;
  int32_t b;
} UpdateProgress;

/* One installed file; crosses with event UpdateEventFileMismatch holding its values from before the check. */
typedef struct FileRecord {
  wchar_t name[260]; /* relative to the install root, backslash-separated */
  int32_t registeredVersion;
  int32_t version;
  int32_t size; /* bytes */
  uint32_t crc32;
} FileRecord;

/* Callback events and their data. */
typedef enum UpdateEvent {
  UpdateEventFileCount = 2,      /* UpdateStatus*: the entry count is known */
  UpdateEventCompleted = 7,      /* null: the run ended without a recorded error */
  UpdateEventCurrentFile = 8,    /* const wchar_t*, at most 260 characters: temporary file, then target */
  UpdateEventProgress = 9,       /* UpdateProgress* */
  UpdateEventStatusChanged = 15, /* UpdateStatus*: the worker started, or the applying flag changed */
  UpdateEventError = 17,         /* const int32_t* holding an UpdateError: the session or the run ended */
  UpdateEventFileMismatch = 18   /* FileRecord*: at start, a listed file is missing or has another size */
} UpdateEvent;

/*
 * UpdateProgress values:
 *   {UpdateProgressFile, 0, percent}                        progress of the current file, 0..100
 *   {UpdateProgressRun, UpdateProgressRunEntryCount, count} the run's entry count is known
 *   {UpdateProgressRun, UpdateProgressRunEntryDone, 1}      one entry is finished
 *   {UpdateProgressRun, UpdateProgressRunFinished, 0}       the whole run is finished
 */
typedef enum UpdateProgressKind { UpdateProgressFile = 1, UpdateProgressRun = 2 } UpdateProgressKind;

typedef enum UpdateProgressRunStep {
  UpdateProgressRunEntryCount = 1,
  UpdateProgressRunEntryDone = 2,
  UpdateProgressRunFinished = 3
} UpdateProgressRunStep;

/* Codes of event UpdateEventError. 0 means none. */
typedef enum UpdateError {
  UpdateErrorNone = 0,
  UpdateErrorConnectionLost = 2, /* the patch-server connection closed or failed before the session ended */
  UpdateErrorSessionRefused = 3, /* refused, an older server version, or the "Patch" folder not folded */
  UpdateErrorNoTempName = 5,     /* no temporary file name for the download */
  UpdateErrorTempFileCreate = 6, /* the temporary file could not be created */
  UpdateErrorTempFileWrite = 7,  /* writing the downloaded data failed */
  UpdateErrorDownload = 8,       /* server, HTTP status, size, URL or time-out */
  UpdateErrorStopped = 9,        /* used inside the engine for a run stopped by the caller; never reported */
  UpdateErrorApply = 10          /* a downloaded entry could not be applied */
} UpdateError;

/* Results of the exports that return an int. */
typedef enum UpdaterResult {
  UpdaterResultOk = 0,
  UpdaterResultNullHandle = 2,
  UpdaterResultStartFailed = 4
} UpdaterResult;

/* The eight exports (ordinals 1 to 8 in this order). */
UpdaterHandle QV_CALL qvCreateUpdater(const UpdaterParams* params); /* null: null params or not made */
int QV_CALL qvRemoveUpdater(UpdaterHandle handle);                  /* ends the run, frees the object */
int QV_CALL qvStartUpdater(UpdaterHandle handle);  /* 0 a new run started; 4 not (no event then) */
int QV_CALL qvStopUpdater(UpdaterHandle handle);   /* ends the session, waits for the worker, saves */
int QV_CALL qvFullCheck(UpdaterHandle handle);     /* as qvStartUpdater, checking every file */
int QV_CALL qvPauseUpdater(UpdaterHandle handle);  /* holds the worker at its next entry or block */
int QV_CALL qvResumeUpdater(UpdaterHandle handle); /* lets the worker go on */
UpdateStatus* QV_CALL qvDownloadInfo(UpdaterHandle handle); /* null for null */

/* Function types for binding the exports by name. */
typedef UpdaterHandle(QV_CALL* qvCreateUpdaterFunction)(const UpdaterParams* params);
typedef int(QV_CALL* qvRemoveUpdaterFunction)(UpdaterHandle handle);
typedef int(QV_CALL* qvStartUpdaterFunction)(UpdaterHandle handle);
typedef int(QV_CALL* qvStopUpdaterFunction)(UpdaterHandle handle);
typedef int(QV_CALL* qvFullCheckFunction)(UpdaterHandle handle);
typedef int(QV_CALL* qvPauseUpdaterFunction)(UpdaterHandle handle);
typedef int(QV_CALL* qvResumeUpdaterFunction)(UpdaterHandle handle);
typedef UpdateStatus*(QV_CALL* qvDownloadInfoFunction)(UpdaterHandle handle);

#ifdef __cplusplus
}
#endif

/* The layouts are part of the interface. */
#ifdef __cplusplus
#define QV_PIN_LAYOUT(condition) static_assert(condition, #condition)
#else
#define QV_PIN_LAYOUT(condition) _Static_assert(condition, #condition)
#endif

QV_PIN_LAYOUT(sizeof(wchar_t) == 2);

/* The interface is a 32-bit one: its parameters hold pointers. A 64-bit build of these sources exists only to
 * run the tests on machines that run no 32-bit code, and its layout is its own. */
#ifndef _WIN64
QV_PIN_LAYOUT(sizeof(void*) == 4);
QV_PIN_LAYOUT(sizeof(UpdaterParams) == 2576);
QV_PIN_LAYOUT(offsetof(UpdaterParams, noSelfUpdate) == 4);
QV_PIN_LAYOUT(offsetof(UpdaterParams, userValue) == 8);
QV_PIN_LAYOUT(offsetof(UpdaterParams, callback) == 12);
QV_PIN_LAYOUT(offsetof(UpdaterParams, productCode) == 16);
QV_PIN_LAYOUT(offsetof(UpdaterParams, programFileName) == 144);
QV_PIN_LAYOUT(offsetof(UpdaterParams, installRoot) == 272);
QV_PIN_LAYOUT(offsetof(UpdaterParams, patchServerPort) == 792);
QV_PIN_LAYOUT(offsetof(UpdaterParams, patchServerIp) == 794);
QV_PIN_LAYOUT(offsetof(UpdaterParams, downloadHost) == 810);
QV_PIN_LAYOUT(offsetof(UpdaterParams, reserved1) == 910);
QV_PIN_LAYOUT(offsetof(UpdaterParams, catalogueVersion) == 912);
QV_PIN_LAYOUT(offsetof(UpdaterParams, reserved2) == 916);
QV_PIN_LAYOUT(offsetof(UpdaterParams, patchServerHost) == 2476);
#endif

QV_PIN_LAYOUT(sizeof(UpdateStatus) == 568);
QV_PIN_LAYOUT(offsetof(UpdateStatus, currentEntry) == 4);
QV_PIN_LAYOUT(offsetof(UpdateStatus, fileTotalBytes) == 8);
QV_PIN_LAYOUT(offsetof(UpdateStatus, fileDoneBytes) == 16);
QV_PIN_LAYOUT(offsetof(UpdateStatus, unused0) == 24);
QV_PIN_LAYOUT(offsetof(UpdateStatus, unused1) == 32);
QV_PIN_LAYOUT(offsetof(UpdateStatus, unused2) == 36);
QV_PIN_LAYOUT(offsetof(UpdateStatus, text) == 40);
QV_PIN_LAYOUT(offsetof(UpdateStatus, applying) == 560);
QV_PIN_LAYOUT(offsetof(UpdateStatus, unused3) == 564);

QV_PIN_LAYOUT(sizeof(UpdateProgress) == 12);
QV_PIN_LAYOUT(offsetof(UpdateProgress, a) == 4);
QV_PIN_LAYOUT(offsetof(UpdateProgress, b) == 8);

QV_PIN_LAYOUT(sizeof(FileRecord) == 536);
QV_PIN_LAYOUT(offsetof(FileRecord, registeredVersion) == 520);
QV_PIN_LAYOUT(offsetof(FileRecord, version) == 524);
QV_PIN_LAYOUT(offsetof(FileRecord, size) == 528);
QV_PIN_LAYOUT(offsetof(FileRecord, crc32) == 532);

#undef QV_PIN_LAYOUT

#endif /* ORVANE_ENGINE_QVTESSEREL_H */
