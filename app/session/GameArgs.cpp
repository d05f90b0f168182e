#include "app/session/GameArgs.h"

#include <windows.h>

#include <cwchar>

#include "app/session/SessionValues.h"

namespace {

wchar_t g_game_args_tail[1024];

// Writes into a fixed buffer, always terminated; what does not fit is dropped and remembered.
class TailWriter {
 public:
  TailWriter(wchar_t* tail, size_t units) : tail_(tail), units_(units) {
    if (units_ > 0)
      tail_[0] = 0;
  }
  bool complete() const { return units_ > 0 && !cut_; }

  void Put(wchar_t unit) {
    if (used_ + 1 >= units_) {
      cut_ = true;
      return;
    }
    tail_[used_++] = unit;
    tail_[used_] = 0;
  }
  void Put(const wchar_t* text) {
    for (; *text != 0; ++text)
      Put(*text);
  }
  // `value` between double quotes, its quotes dropped and its trailing backslashes doubled.
  void PutQuoted(const wchar_t* value) {
    Put(L'"');
    size_t trailing_backslashes = 0;
    for (; *value != 0; ++value) {
      if (*value == L'"')
        continue;
      trailing_backslashes = *value == L'\\' ? trailing_backslashes + 1 : 0;
      Put(*value);
    }
    for (; trailing_backslashes > 0; --trailing_backslashes)
      Put(L'\\');
    Put(L'"');
  }

 private:
  wchar_t* tail_;
  size_t units_;
  size_t used_ = 0;
  bool cut_ = false;
};

}  // namespace

bool FormatGameArgsTail(const SessionValues& values, wchar_t* tail, size_t units) {
  wchar_t company[16];
  std::swprintf(company, 16, L"%d", values.CompanyID);
  const wchar_t* const items[][2] = {
      {L"/SessKey:", values.SessKey},
      {L" /MacAddr:", values.MacAddr},
      {L" /UserNick:", values.UserNick},
      {L" /CompanyID:", company},
      {L" /ChannelGroupIndex:", values.ChannelGroupIndex},
  };
  TailWriter writer(tail, units);
  for (const auto& item : items) {
    writer.Put(item[0]);
    writer.PutQuoted(item[1]);
  }
  return writer.complete();
}

void BuildGameArgs() {
  FormatGameArgsTail(GetSessionValues(), g_game_args_tail, 1024);
}

const wchar_t* GetGameArgsTail() {
  return g_game_args_tail;
}

bool GameArgsSupported() {
  OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExW(&version))
    return false;
  return version.dwMajorVersion != 4;
}
