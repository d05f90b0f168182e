// The single-instance hand-over: a second launcher that finds one already running sends it its session values
// in one WM_COPYDATA message and ends; the running launcher takes them over.
//
// Hand-over record (WM_COPYDATA with dwData 0x03080680 and cbData 2468; every text UTF-16LE and
// NUL-terminated within its field; bytes after a terminator are unspecified):
//   offset  size  field
//   0x000   128   SessKey      (at most 63 characters)
//   0x080   128   UserNick     (at most 63)
//   0x100   128   StartGameID  (at most 63)
//   0x180     4   GameVersion  (signed 32-bit little-endian; the receiver does not read it)
//   0x184  2048   GPVLU        (at most 1023)
//   0x984    32   GPLLV        (at most 15)
// A receiver accepts only exactly that size with data present, and terminates every text itself.
//
// Thread: the user-interface thread of either launcher.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

const ULONG_PTR kHandOverMessageId = 0x03080680;

struct HandOverRecord {
  wchar_t SessKey[64];
  wchar_t UserNick[64];
  wchar_t StartGameID[64];
  int32_t GameVersion;
  wchar_t GPVLU[1024];
  wchar_t GPLLV[16];
};
static_assert(offsetof(HandOverRecord, SessKey) == 0x000, "hand-over layout");
static_assert(offsetof(HandOverRecord, UserNick) == 0x080, "hand-over layout");
static_assert(offsetof(HandOverRecord, StartGameID) == 0x100, "hand-over layout");
static_assert(offsetof(HandOverRecord, GameVersion) == 0x180, "hand-over layout");
static_assert(offsetof(HandOverRecord, GPVLU) == 0x184, "hand-over layout");
static_assert(offsetof(HandOverRecord, GPLLV) == 0x984, "hand-over layout");
static_assert(sizeof(HandOverRecord) == 2468, "hand-over layout");

// Copies of the session values that the main dialog shows (the user name, the game to open) and that a
// second launcher sends. `prepared` is 0 until the first PrepareHandOverRecord; readers then use no value.
struct HandOverValues {
  int32_t prepared;
  wchar_t SessKey[1024];
  wchar_t UserNick[1024];
  wchar_t StartGameID[1024];
  int32_t GameVersion;
};

// The process-wide hand-over values.
const HandOverValues& GetHandOverValues();
// Copies SessKey, UserNick, StartGameID and GameVersion of the session values into the hand-over values
// and marks them prepared. Returns 1. Called at the end of start-up, by every hand-over and by the periodic
// tick.
int PrepareHandOverRecord();
// Fills `record` (zeroed first) from the hand-over values and the session values' GPVLU and GPLLV, each text
// cut to its field.
void FillHandOverRecord(HandOverRecord* record);
// True when a receiver is lost for good: its window is gone, or its thread hung (the system's judgment, as
// SendMessageTimeout's SMTO_ABORTIFHUNG makes it: a thread that has not looked at its messages for about
// five seconds and is not waiting for one).
bool HandOverReceiverLost(HWND window);
typedef bool (*HandOverReceiverCheck)(HWND window);

// Sender: PrepareHandOverRecord, fill a record and send it to `window` (the running launcher's main window,
// found by its class, title and program file). It waits as a plain SendMessage would, for as long as the
// receiver lives and answers, however long it takes: the message goes out on a helper thread while this
// thread handles the messages sent to it and asks `receiver_lost` about the receiver at least every 100 ms.
// A window of the calling thread gets the message directly. True when the receiver took the record; false
// for a null window, a helper that cannot start, a receiver that failed the message, or once `receiver_lost`
// says the receiver is lost (the helper is then left to end with its message; it owns everything it uses).
bool SendHandOver(HWND window, HandOverReceiverCheck receiver_lost = &HandOverReceiverLost);
// The same wait for a record made elsewhere (one that the temporary self-update copy passes on).
bool SendHandOverRecord(HWND window,
                        const HandOverRecord& record,
                        HandOverReceiverCheck receiver_lost = &HandOverReceiverLost);

// True when `data` is a hand-over (dwData 0x03080680, cbData 2468, data present): `record` is then a copy of
// it with every text terminated within its field. False changes nothing.
bool ReadHandOverRecord(const COPYDATASTRUCT* data, HandOverRecord* record);

// The temporary self-update copy has no main dialog to take a hand-over over into: it keeps the last record
// it received and passes it on to the launcher that it restarts once the update is in place (a later record
// replaces an earlier one, as it would have in a running launcher). Take hands it out once.
void HoldHandOver(const HandOverRecord& record);
bool TakeHeldHandOver(HandOverRecord* record);

// Receiver: when `data` is a hand-over (dwData 0x03080680, cbData 2468, data present) the record's texts are
// terminated and taken over:
//   SetSessionValues(SessKey, GPVLU, GPLLV); UserNick := record's UserNick, and its environment variable;
//   StartGameID := record's StartGameID (the environment keeps the old one); PrepareHandOverRecord; and
//   BuildGameArgs where GameArgsSupported.
// Returns 1 when taken over, 0 when `data` is no hand-over (nothing changes). The main dialog then applies
// the start game, restores its window and checks LauncherVersionDiffers.
int ReceiveHandOver(const COPYDATASTRUCT* data);

// True when [LAUNCHER_INFO] "version" of the launcher-info ini at `launcher_info_path` (0 when missing)
// differs from the session's GameVersion: the launcher that received a hand-over must then update itself.
bool LauncherVersionDiffers(const wchar_t* launcher_info_path);
