// The catalogue-folder version query: before the launcher downloads its catalogue it asks the update host,
// over a short TCP exchange on port 27500, for the GameInfo number that names the server folder of the
// current catalogue ("GameInfo/<number>").
//
// Wire format (little-endian, the u16 length / u16 type framing of net/PacketFramer.h):
//   launcher -> host  340, total length 5, one body byte (0; the host must not depend on it)
//   host -> launcher  341, total length at least 12: u32 low half at offset 4, u32 high half at offset 8
//
// `QueryGameInfoNumber` runs on the calling thread and blocks for at most the time-out while the socket's
// reader thread receives the answer; start-up calls it under its splash. The periodic re-check asks from a
// worker thread instead (`AskGameInfoNumber`, app/games/CatalogueRecheck.h), so that no window waits for the
// update host, and the user-interface thread stores the answer (`SetGameInfoNumber`). The answer and its result flag are written by the reader
// thread and read by the caller: the halves are written before the flag, and the flag leaves "waiting" only
// once, so a close that follows an answer cannot turn it into a failure.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class CClientSocket;

// The process-wide GameInfo number from the last query; 0 when it failed (or none ran yet). Read and written
// on the user-interface thread only.
uint64_t GameInfoNumber();
void SetGameInfoNumber(uint64_t number);

// Asks the update host named by `update_address` (the wide text of the update address: a host, optionally
// followed by ":" and a port and a path; only the host is used, the port is always 27500). 0 answered: the
// process-wide number holds the answer. -1 failed (empty address, unresolved host, refused or closed
// connection, wrong or short reply, no reply within `timeout_ms`): the number is 0.
int QueryGameInfoNumber(const wchar_t* update_address, unsigned timeout_ms = 10000);

// The same exchange without the process-wide number, for any thread: 0 with the answer in `number`, -1 with
// `number` 0. `timeout_ms` bounds the name look-up and the answer together. `cancel` (may be null) is a flag
// that another thread sets to end the wait early (-1), the wait for the name look-up included.
int AskGameInfoNumber(const wchar_t* update_address,
                      uint64_t* number,
                      unsigned timeout_ms = 10000,
                      const volatile long* cancel = nullptr);

// The host part of an update address in 8-bit text: the address is cut at its last ":" and then at its first
// "/" ("host:27500/path" -> "host"). Empty when the address is empty or does not fit 1023 bytes.
std::string UpdateHostOf(const wchar_t* update_address);

// Reads one packet from the host, framed as net/PacketFramer.h frames it (it holds as many bytes as its u16
// total length says): true with the GameInfo number in `number` for a 341 of total length 12 or more; false
// for any other packet (`number` untouched).
bool ReadGameInfoReply(const uint8_t* packet, uint64_t* number);

// One query: its socket and the answer. Made and destroyed inside QueryGameInfoNumber.
class GameInfoVersion {
 public:
  enum Result : long { kWaiting = 0, kAnswered = 1, kFailed = 2 };

  GameInfoVersion();
  virtual ~GameInfoVersion();
  GameInfoVersion(const GameInfoVersion&) = delete;
  GameInfoVersion& operator=(const GameInfoVersion&) = delete;

  // Resolves the host of `update_address` (selfupdate/HostLookup.h: within `timeout_ms`, and given up at once
  // when `*cancel` becomes nonzero) and starts connecting to it. False when the object already has a socket,
  // the address is empty, the host does not resolve in time or the attempt cannot start.
  bool Connect(const wchar_t* update_address,
               unsigned timeout_ms = 10000,
               const volatile long* cancel = nullptr);
  // Polls the result flag in 1 ms steps until it leaves kWaiting, `timeout_ms` passed (a tick-counter wrap
  // is harmless) or `*cancel` (when given) is not 0. Returns the flag (kWaiting: timed out or cancelled).
  Result WaitForAnswer(unsigned timeout_ms, const volatile long* cancel = nullptr);
  uint64_t answer() const { return (static_cast<uint64_t>(answer_high_) << 32) | answer_low_; }

 private:
  static void OnSocketEvent(void* user, int event, void* data);
  void HandleSocketEvent(int event, const uint8_t* packet);
  // Moves the flag from kWaiting to `result`; later calls change nothing.
  void Settle(Result result);

  std::unique_ptr<CClientSocket> socket_;
  uint32_t answer_low_ = 0;
  uint32_t answer_high_ = 0;
  volatile long result_ = kWaiting;
};
