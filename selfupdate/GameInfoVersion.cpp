#include "selfupdate/GameInfoVersion.h"

#include <winsock2.h>

#include <cstring>

#include "net/CClientSocket.h"
#include "selfupdate/HostLookup.h"

namespace {

constexpr uint16_t kGameInfoRequest = 340;
constexpr uint16_t kGameInfoReply = 341;
constexpr uint16_t kGameInfoReplyMinimumLength = 12;
constexpr int kMaxAddressBytes = 1023;

// The process-wide number, as two halves: written by the user-interface thread only.
uint32_t g_game_info_low = 0;
uint32_t g_game_info_high = 0;

uint32_t ReadU32(const uint8_t* bytes) {
  uint32_t value;
  memcpy(&value, bytes, sizeof value);
  return value;
}

uint16_t ReadU16(const uint8_t* bytes) {
  uint16_t value;
  memcpy(&value, bytes, sizeof value);
  return value;
}

}  // namespace

uint64_t GameInfoNumber() {
  return (static_cast<uint64_t>(g_game_info_high) << 32) | g_game_info_low;
}

void SetGameInfoNumber(uint64_t number) {
  g_game_info_low = static_cast<uint32_t>(number);
  g_game_info_high = static_cast<uint32_t>(number >> 32);
}

std::string UpdateHostOf(const wchar_t* update_address) {
  if (!update_address || !*update_address)
    return std::string();
  char narrow[kMaxAddressBytes + 1];
  int length = WideCharToMultiByte(CP_ACP, 0, update_address, -1, narrow, sizeof narrow, nullptr, nullptr);
  if (length <= 0)
    return std::string();
  std::string host(narrow);
  size_t colon = host.rfind(':');
  if (colon != std::string::npos)
    host.resize(colon);
  size_t slash = host.find('/');
  if (slash != std::string::npos)
    host.resize(slash);
  return host;
}

GameInfoVersion::GameInfoVersion() = default;

// The socket's destructor waits for its reader thread, so no callback runs once this object is gone.
GameInfoVersion::~GameInfoVersion() = default;

bool GameInfoVersion::Connect(const wchar_t* update_address,
                              unsigned timeout_ms,
                              const volatile long* cancel) {
  if (socket_)
    return false;
  std::string host = UpdateHostOf(update_address);
  if (host.empty())
    return false;
  socket_.reset(new CClientSocket());
  in_addr address;
  if (!LookUpHost(host, timeout_ms, cancel, &address))
    return false;
  socket_->SetCallback(&GameInfoVersion::OnSocketEvent, this);
  return socket_->Connect(inet_ntoa(address)) == kSocketOk;
}

GameInfoVersion::Result GameInfoVersion::WaitForAnswer(unsigned timeout_ms, const volatile long* cancel) {
  DWORD start = GetTickCount();
  for (;;) {
    long result = InterlockedCompareExchange(&result_, kWaiting, kWaiting);
    if (result != kWaiting)
      return static_cast<Result>(result);
    if (cancel != nullptr && *cancel != 0)
      return kWaiting;
    // Unsigned difference: correct across the tick counter's wrap.
    if (GetTickCount() - start > timeout_ms)
      return kWaiting;
    Sleep(1);
  }
}

void GameInfoVersion::OnSocketEvent(void* user, int event, void* data) {
  if (user)
    static_cast<GameInfoVersion*>(user)->HandleSocketEvent(event, static_cast<const uint8_t*>(data));
}

bool ReadGameInfoReply(const uint8_t* packet, uint64_t* number) {
  if (ReadU16(packet) < kGameInfoReplyMinimumLength || ReadU16(packet + 2) != kGameInfoReply)
    return false;
  *number = (static_cast<uint64_t>(ReadU32(packet + 8)) << 32) | ReadU32(packet + 4);
  return true;
}

void GameInfoVersion::HandleSocketEvent(int event, const uint8_t* packet) {
  switch (event) {
    case kSocketConnected: {
      const uint8_t request[5] = {5, 0, kGameInfoRequest & 0xFF, kGameInfoRequest >> 8, 0};
      socket_->Send(request, sizeof request);
      return;
    }
    case kSocketClosed:
      Settle(kFailed);
      return;
    case kSocketPacket:
      uint64_t number;
      if (packet && ReadGameInfoReply(packet, &number)) {
        answer_low_ = static_cast<uint32_t>(number);
        answer_high_ = static_cast<uint32_t>(number >> 32);
        socket_->Disconnect();
        Settle(kAnswered);
      } else {
        Settle(kFailed);
      }
      return;
    default:
      socket_->Disconnect();
      Settle(kFailed);
      return;
  }
}

void GameInfoVersion::Settle(Result result) {
  // Interlocked: a full barrier, so the answer's halves are visible before the flag says so.
  InterlockedCompareExchange(&result_, result, kWaiting);
}

int AskGameInfoNumber(const wchar_t* update_address,
                      uint64_t* number,
                      unsigned timeout_ms,
                      const volatile long* cancel) {
  *number = 0;
  GameInfoVersion query;
  // The look-up counts against the time limit: a slow name server must not stretch the wait past it.
  const DWORD start = GetTickCount();
  if (!query.Connect(update_address, timeout_ms, cancel))
    return -1;
  const DWORD looked_up = GetTickCount() - start;
  const unsigned left = looked_up < timeout_ms ? timeout_ms - looked_up : 0;
  if (query.WaitForAnswer(left, cancel) != GameInfoVersion::kAnswered)
    return -1;
  *number = query.answer();
  return 0;
}

int QueryGameInfoNumber(const wchar_t* update_address, unsigned timeout_ms) {
  uint64_t number = 0;
  int result = AskGameInfoNumber(update_address, &number, timeout_ms);
  SetGameInfoNumber(number);
  return result;
}
