#include "app/session/HandOver.h"

#include <cstring>
#include <exception>
#include <memory>
#include <thread>

#include "app/session/GameArgs.h"
#include "app/session/SessionValues.h"
#include "base/ScopedHandle.h"
#include "base/TextFields.h"

namespace {

HandOverValues g_hand_over_values;
// The last record that reached the temporary self-update copy, to be passed on to the launcher it restarts.
HandOverRecord g_held_record;
bool g_record_held = false;

// Terminates a text field of a received record at its last unit, whatever the sender put there.
template <size_t N>
void Terminate(wchar_t (&field)[N]) {
  field[N - 1] = 0;
}

// How often the sender asks whether the receiver is still there while its message is out.
constexpr DWORD kReceiverWatchMs = 100;
// The helper's own limit: none in practice (about 24 days); the watch decides when to give up.
constexpr UINT kNoSendLimitMs = 0x7FFFFFFF;

// One hand-over on its way: shared by the sender and its helper thread, so that a helper left behind with a
// lost receiver still owns what its message points at.
struct PendingHandOver {
  PendingHandOver(HWND receiver, const HandOverRecord& sent)
      : window(receiver), finished(CreateEventW(nullptr, TRUE, FALSE, nullptr)), record(sent) {}
  HWND window;
  UniqueHandle finished;  // set by the helper once its message came back
  HandOverRecord record;
  volatile long delivered = 0;  // written by the helper before it sets `finished`
};

void DeliverHandOver(std::shared_ptr<PendingHandOver> pending) {
  COPYDATASTRUCT data = {};
  data.dwData = kHandOverMessageId;
  data.cbData = sizeof pending->record;
  data.lpData = &pending->record;
  DWORD_PTR answer = 0;
  const LRESULT sent = SendMessageTimeoutW(pending->window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                           SMTO_NORMAL, kNoSendLimitMs, &answer);
  pending->delivered = sent != 0 ? 1 : 0;
  if (pending->finished)
    SetEvent(pending->finished.get());
}

// Waits for the helper's message to come back, as SendMessage waits: messages sent to this thread meanwhile
// are handled. False once `receiver_lost` says the receiver is lost.
bool WatchReceiver(const PendingHandOver& pending, HandOverReceiverCheck receiver_lost) {
  HANDLE finished = pending.finished.get();
  for (;;) {
    DWORD woke = MsgWaitForMultipleObjects(1, &finished, FALSE, kReceiverWatchMs, QS_SENDMESSAGE);
    if (woke == WAIT_OBJECT_0)
      return true;
    if (woke == WAIT_OBJECT_0 + 1) {
      MSG message;
      PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    if (woke == WAIT_FAILED || receiver_lost(pending.window))
      return false;
  }
}

}  // namespace

const HandOverValues& GetHandOverValues() {
  return g_hand_over_values;
}

int PrepareHandOverRecord() {
  const SessionValues& session = GetSessionValues();
  CopyToField(g_hand_over_values.SessKey, session.SessKey);
  CopyToField(g_hand_over_values.UserNick, session.UserNick);
  CopyToField(g_hand_over_values.StartGameID, session.StartGameID);
  g_hand_over_values.GameVersion = session.GameVersion;
  g_hand_over_values.prepared = 1;
  return 1;
}

void FillHandOverRecord(HandOverRecord* record) {
  std::memset(record, 0, sizeof *record);
  CopyToField(record->SessKey, g_hand_over_values.SessKey);
  CopyToField(record->UserNick, g_hand_over_values.UserNick);
  CopyToField(record->StartGameID, g_hand_over_values.StartGameID);
  record->GameVersion = g_hand_over_values.GameVersion;
  CopyToField(record->GPVLU, GetSessionValues().GPVLU);
  CopyToField(record->GPLLV, GetSessionValues().GPLLV);
}

bool HandOverReceiverLost(HWND window) {
  return !IsWindow(window) || IsHungAppWindow(window);
}

bool SendHandOver(HWND window, HandOverReceiverCheck receiver_lost) {
  if (window == nullptr)
    return false;
  PrepareHandOverRecord();
  HandOverRecord record;
  FillHandOverRecord(&record);
  return SendHandOverRecord(window, record, receiver_lost);
}

bool SendHandOverRecord(HWND window, const HandOverRecord& record, HandOverReceiverCheck receiver_lost) {
  if (window == nullptr)
    return false;
  if (receiver_lost == nullptr)
    receiver_lost = &HandOverReceiverLost;
  std::shared_ptr<PendingHandOver> pending;
  try {
    pending = std::make_shared<PendingHandOver>(window, record);
  } catch (const std::exception&) {
    return false;
  }
  // A window of this thread: its procedure runs right here, as SendMessage would call it.
  if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) {
    DeliverHandOver(pending);
    return pending->delivered != 0;
  }
  if (!pending->finished)
    return false;
  std::thread helper;
  try {
    helper = std::thread(&DeliverHandOver, pending);
  } catch (const std::exception&) {
    return false;
  }
  if (!WatchReceiver(*pending, receiver_lost)) {
    helper.detach();
    return false;
  }
  helper.join();
  return pending->delivered != 0;
}

bool ReadHandOverRecord(const COPYDATASTRUCT* data, HandOverRecord* record) {
  if (data == nullptr || data->dwData != kHandOverMessageId || data->cbData != sizeof(HandOverRecord) ||
      data->lpData == nullptr)
    return false;
  // A copy: the sender's block carries no alignment promise, and its texts no terminators.
  std::memcpy(record, data->lpData, sizeof *record);
  Terminate(record->SessKey);
  Terminate(record->UserNick);
  Terminate(record->StartGameID);
  Terminate(record->GPVLU);
  Terminate(record->GPLLV);
  return true;
}

void HoldHandOver(const HandOverRecord& record) {
  g_held_record = record;
  g_record_held = true;
}

bool TakeHeldHandOver(HandOverRecord* record) {
  if (!g_record_held)
    return false;
  *record = g_held_record;
  g_record_held = false;
  return true;
}

int ReceiveHandOver(const COPYDATASTRUCT* data) {
  HandOverRecord record;
  if (!ReadHandOverRecord(data, &record))
    return 0;
  SetSessionValues(record.SessKey, record.GPVLU, record.GPLLV);
  SessionValues& session = GetSessionValues();
  CopyToField(session.UserNick, record.UserNick);
  SetEnvironmentVariableW(L"UserNick", session.UserNick);
  CopyToField(session.StartGameID, record.StartGameID);
  PrepareHandOverRecord();
  if (GameArgsSupported())
    BuildGameArgs();
  return 1;
}

bool LauncherVersionDiffers(const wchar_t* launcher_info_path) {
  int32_t version =
      static_cast<int32_t>(GetPrivateProfileIntW(L"LAUNCHER_INFO", L"version", 0, launcher_info_path));
  return version != GetSessionValues().GameVersion;
}
