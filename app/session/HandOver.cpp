#include "app/session/HandOver.h"

#include <cstring>

#include "app/session/GameArgs.h"
#include "app/session/SessionValues.h"
#include "base/TextFields.h"

namespace {

HandOverValues g_hand_over_values;

// Terminates a text field of a received record at its last unit, whatever the sender put there.
template <size_t N>
void Terminate(wchar_t (&field)[N]) {
  field[N - 1] = 0;
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

bool SendHandOver(HWND window, UINT timeout_ms) {
  if (window == nullptr)
    return false;
  PrepareHandOverRecord();
  HandOverRecord record;
  FillHandOverRecord(&record);
  COPYDATASTRUCT data = {};
  data.dwData = kHandOverMessageId;
  data.cbData = sizeof record;
  data.lpData = &record;
  // A receiver that hangs must not hang this start too.
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                             timeout_ms, &answer) != 0;
}

int ReceiveHandOver(const COPYDATASTRUCT* data) {
  if (data == nullptr || data->dwData != kHandOverMessageId || data->cbData != sizeof(HandOverRecord) ||
      data->lpData == nullptr)
    return 0;
  // A local copy: the sender's block carries no alignment promise, and its texts no terminators.
  HandOverRecord record;
  std::memcpy(&record, data->lpData, sizeof record);
  Terminate(record.SessKey);
  Terminate(record.UserNick);
  Terminate(record.StartGameID);
  Terminate(record.GPVLU);
  Terminate(record.GPLLV);

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
