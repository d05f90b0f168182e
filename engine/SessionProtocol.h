// The engine's side of the patch-server protocol as pure functions over buffers: the client's two requests,
// the server's packets, the version decision, and the reassembly and parsing of the list of file entries.
// No system calls, no locks, no state of their own: the session (UpdateSession.h) keeps the state and
// acts on the results.
//
// Wire format: TCP, every integer little-endian, no alignment. Every packet begins with a 4-byte header,
// u16 total length in bytes (header included) and u16 type, and is at most 8192 bytes.
//
// Client to server:
//   320 session request  i32 1                                                            8 bytes
//   301 version request  i32 installed version, i32 separation status, i32 engine version,
//                        u8 no-self-update flag, product code UTF-16LE + one NUL unit      19 + 2 x
//                        characters
// Server to client (only these fields are read, anything after them is ignored; a field that the packet's
// length cuts off reads as 0, as it would from the zero-filled receive area):
//   321 session reply    i32 accepted (1 accepted, anything else refused)
//   302 version reply    i32 current version, i32 separation status, i32 engine version
//   303 count reply      i32 number of list entries that follow
//   312 nothing to do
//   330 list chunk       the first: i32 list total, then list bytes up to the packet's end;
//                        every later one: list bytes from offset 4 to the packet's end
//   331 list end
// Other types are ignored.
//
// The list is the concatenation of the chunks' list bytes. The announced total counts its own 4 bytes plus
// every list byte, so the list is complete when exactly total - 4 bytes have arrived. The list bytes are a
// sequence of entries, each a u16 byte count n (24..544) followed by n bytes of body:
//   0   i32 sequence number       12  i32 version
//   4   i32 kind                  16  i32 registered version
//   8   i32 size of the file      20  u32 CRC-32 of the finished file
//   24  name relative to the install root, UTF-16LE, NUL-terminated unless it fills the rest (n - 24 bytes,
//       at most 259 characters and the NUL)
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/FileEntry.h"

namespace session_protocol {

enum PacketType : uint16_t {
  kVersionRequest = 301,
  kVersionReply = 302,
  kCountReply = 303,
  kNothingToDo = 312,
  kSessionRequest = 320,
  kSessionReply = 321,
  kListChunk = 330,
  kListEnd = 331,
};

constexpr size_t kHeaderBytes = 4;
constexpr size_t kMaxPacketBytes = 8192;
constexpr size_t kSessionRequestBytes = 8;
// The longest version request: a product code of 63 characters.
constexpr size_t kMaxVersionRequestBytes = 19 + 2 * 63;

// Bounds of an entry's byte count n.
constexpr size_t kMinEntryBytes = 24;
constexpr size_t kMaxEntryBytes = 544;
// The largest list total accepted. A list of entries with the longest names (546 bytes each) fits 61,000 of
// them, one with 100-character names 148,000: far more than a whole installation has files. A larger total is
// taken for a broken or hostile server.
constexpr uint32_t kMaxListTotal = 32u * 1024 * 1024;
// The most entries one list may hold. Each entry takes about 550 bytes in memory whatever its size on the
// wire, so this bounds the queue at about 110 MB even for a list of the shortest entries.
constexpr size_t kMaxListEntries = 200000;

// One packet from the server, as the socket hands it over.
struct Packet {
  const uint8_t* bytes = nullptr;  // the packet, header first
  size_t length = 0;               // its total length, from its header
  uint16_t type = 0;
};

// Reads the header of the packet at the start of `area` (the socket's receive area of `area_size` bytes).
// False when the length field is below 4, above 8192 or beyond the area: the stream cannot be followed.
bool ReadPacket(const uint8_t* area, size_t area_size, Packet* packet);

// The `index`-th i32 after the header (0 = the first field); 0 when the packet's length cuts it off.
int32_t BodyInt(const Packet& packet, size_t index);

// Writes the session request; returns its length (kSessionRequestBytes).
size_t BuildSessionRequest(uint8_t (&out)[kSessionRequestBytes]);

struct VersionRequest {
  int32_t installed_version = 0;
  int32_t separate_status = 0;
  int32_t updater_version = 0;
  uint8_t no_self_update = 0;
  const wchar_t* product_code = nullptr;  // at most 63 characters are sent
};
// Writes the version request; returns its length.
size_t BuildVersionRequest(const VersionRequest& request, uint8_t (&out)[kMaxVersionRequestBytes]);

// The three version values, as the versionInfo ini keeps them and the server's 302 carries them.
struct Versions {
  int32_t current_version = 0;
  int32_t separate_status = 0;
  int32_t updater_version = 0;
};

Versions ReadVersionReply(const Packet& packet);

// What the engine does with the server's 302.
struct VersionDecision {
  enum Outcome {
    kWaitForNewerEngine,  // the server offers a newer engine: adopt its engine version, send nothing more
    kProceed,             // take `next` and wait for the list or for "nothing to do"
    kServerOlder,         // the installation is newer than the server's version: UpdateErrorSessionRefused
  };
  Outcome outcome = kProceed;
  // Before taking `next`: fold the separated installation ("Patch\" records and folder) into the root.
  bool fold_separated_installation = false;
  // The values to keep. For kServerOlder only the engine version has changed.
  Versions next;
};

// The decision, in this order: a newer engine version (unless `no_self_update`) wins and ends it; the engine
// version is taken; an installation behind the server takes the server's version (and, when it is separated
// (status 1 or more) and the server's is not (0), folds and takes status 0); at equal versions the separation
// status never goes down; an installation ahead of the server is an error.
VersionDecision DecideVersion(const Versions& installed, const Versions& server, bool no_self_update);

// How receiving or parsing the list went. Anything but kOk is a protocol error: the list is refused.
enum class ListResult {
  kOk,
  kBadTotal,        // a total below 4 or above kMaxListTotal
  kChunkTooShort,   // a first chunk without room for the total
  kPastTotal,       // a chunk that would run past the announced total
  kBadEntrySize,    // an entry's n outside kMinEntryBytes..kMaxEntryBytes
  kEntryCut,        // an entry (or its byte count) that runs past the list's end
  kUnsafeName,      // a name that is not NUL-terminated in 260 characters or would leave the install root
  kTooManyEntries,  // more than kMaxListEntries
  kOutOfMemory,
};

// The list as it arrives: its announced total (0 until the first chunk is in), the list bytes so far.
struct ListReception {
  std::vector<uint8_t>& bytes;
  uint32_t& total;
  uint32_t& received;
};

// Takes one 330 packet: the first one (total 0) sets the total and starts the list; later ones append. On
// any result but kOk nothing is changed.
ListResult AppendListChunk(const Packet& chunk, ListReception list);

// True when a first chunk has arrived and exactly total - 4 list bytes are in.
bool ListComplete(uint32_t total, uint32_t received);

// Parses `size` list bytes into entries (zero-filled beyond the received name bytes), in list order,
// appending them to `entries` only when the whole list is sound: every n in range, every entry inside the
// list, every name one that IsSafeRelativeName accepts. On any other result `entries` is unchanged.
ListResult ParseListEntries(const uint8_t* bytes,
                            size_t size,
                            std::vector<std::unique_ptr<FileEntry>>* entries);

}  // namespace session_protocol
