#include "engine/SessionProtocol.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "base/RelativeName.h"

namespace session_protocol {

namespace {

constexpr size_t kTotalFieldBytes = 4;
constexpr size_t kNameUnits = sizeof(FileEntry::name) / sizeof(wchar_t);

uint16_t ReadU16(const uint8_t* at) {
  return static_cast<uint16_t>(at[0] | (at[1] << 8));
}

uint32_t ReadU32(const uint8_t* at) {
  return static_cast<uint32_t>(at[0]) | (static_cast<uint32_t>(at[1]) << 8) |
         (static_cast<uint32_t>(at[2]) << 16) | (static_cast<uint32_t>(at[3]) << 24);
}

int32_t ReadI32(const uint8_t* at) {
  return static_cast<int32_t>(ReadU32(at));
}

uint8_t* WriteU16(uint8_t* at, uint16_t value) {
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
  return at + 2;
}

uint8_t* WriteU32(uint8_t* at, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    *at++ = static_cast<uint8_t>(value >> shift);
  return at;
}

uint8_t* WriteHeader(uint8_t* at, size_t length, PacketType type) {
  return WriteU16(WriteU16(at, static_cast<uint16_t>(length)), type);
}

// Fills `entry` from an entry body of `n` bytes (kMinEntryBytes..kMaxEntryBytes). The name's bytes are taken
// as they come, so an odd last byte becomes the low half of a unit, and the rest stays zero.
void ReadEntry(const uint8_t* body, size_t n, FileEntry* entry) {
  entry->sequence_number = ReadI32(body);
  entry->kind = ReadI32(body + 4);
  entry->size = ReadI32(body + 8);
  entry->version = ReadI32(body + 12);
  entry->registered_version = ReadI32(body + 16);
  entry->crc32 = ReadU32(body + 20);
  const uint8_t* name = body + kMinEntryBytes;
  size_t name_bytes = n - kMinEntryBytes;
  for (size_t unit = 0; unit * 2 < name_bytes; ++unit) {
    uint16_t low = name[unit * 2];
    uint16_t high = unit * 2 + 1 < name_bytes ? name[unit * 2 + 1] : 0;
    entry->name[unit] = static_cast<wchar_t>(low | (high << 8));
  }
}

bool HasSafeName(const FileEntry& entry) {
  // A name that fills all 260 units has no terminator and is one character too long.
  if (std::find(entry.name, entry.name + kNameUnits, L'\0') == entry.name + kNameUnits)
    return false;
  return IsSafeRelativeName(entry.name);
}

}  // namespace

bool ReadPacket(const uint8_t* area, size_t area_size, Packet* packet) {
  if (area == nullptr || packet == nullptr || area_size < 2)
    return false;
  size_t length = ReadU16(area);
  if (length < kHeaderBytes || length > kMaxPacketBytes || length > area_size)
    return false;
  packet->bytes = area;
  packet->length = length;
  packet->type = ReadU16(area + 2);
  return true;
}

int32_t BodyInt(const Packet& packet, size_t index) {
  size_t offset = kHeaderBytes + 4 * index;
  if (packet.bytes == nullptr || offset + 4 > packet.length)
    return 0;
  return ReadI32(packet.bytes + offset);
}

size_t BuildSessionRequest(uint8_t (&out)[kSessionRequestBytes]) {
  WriteU32(WriteHeader(out, kSessionRequestBytes, kSessionRequest), 1);
  return kSessionRequestBytes;
}

size_t BuildVersionRequest(const VersionRequest& request, uint8_t (&out)[kMaxVersionRequestBytes]) {
  size_t characters = 0;
  if (request.product_code != nullptr) {
    while (characters < 63 && request.product_code[characters] != L'\0')
      ++characters;
  }
  size_t length = 19 + 2 * characters;
  uint8_t* at = WriteHeader(out, length, kVersionRequest);
  at = WriteU32(at, static_cast<uint32_t>(request.installed_version));
  at = WriteU32(at, static_cast<uint32_t>(request.separate_status));
  at = WriteU32(at, static_cast<uint32_t>(request.updater_version));
  *at++ = request.no_self_update;
  for (size_t i = 0; i < characters; ++i)
    at = WriteU16(at, static_cast<uint16_t>(request.product_code[i]));
  WriteU16(at, 0);
  return length;
}

Versions ReadVersionReply(const Packet& packet) {
  Versions server;
  server.current_version = BodyInt(packet, 0);
  server.separate_status = BodyInt(packet, 1);
  server.updater_version = BodyInt(packet, 2);
  return server;
}

VersionDecision DecideVersion(const Versions& installed, const Versions& server, bool no_self_update) {
  VersionDecision decision;
  decision.next = installed;
  if (!no_self_update && server.updater_version > installed.updater_version) {
    decision.outcome = VersionDecision::kWaitForNewerEngine;
    decision.next.updater_version = server.updater_version;
    return decision;
  }
  decision.next.updater_version = server.updater_version;
  if (installed.current_version < server.current_version) {
    if (installed.separate_status >= 1 && server.separate_status == 0) {
      decision.fold_separated_installation = true;
      decision.next.separate_status = 0;
    }
    decision.next.current_version = server.current_version;
  } else if (installed.current_version == server.current_version) {
    decision.next.separate_status = std::max(installed.separate_status, server.separate_status);
  } else {
    decision.outcome = VersionDecision::kServerOlder;
  }
  return decision;
}

ListResult AppendListChunk(const Packet& chunk, ListReception list) {
  const uint8_t* data = chunk.bytes + kHeaderBytes;
  size_t data_bytes = chunk.length - kHeaderBytes;
  uint32_t total = list.total;
  if (total == 0) {
    if (data_bytes < kTotalFieldBytes)
      return ListResult::kChunkTooShort;
    int32_t announced = ReadI32(data);
    if (announced < static_cast<int32_t>(kTotalFieldBytes) ||
        static_cast<uint32_t>(announced) > kMaxListTotal)
      return ListResult::kBadTotal;
    total = static_cast<uint32_t>(announced);
    data += kTotalFieldBytes;
    data_bytes -= kTotalFieldBytes;
  }
  // list.received never exceeds total - 4, so the subtraction cannot wrap.
  if (data_bytes > total - kTotalFieldBytes - list.received)
    return ListResult::kPastTotal;
  try {
    list.bytes.insert(list.bytes.end(), data, data + data_bytes);
  } catch (const std::bad_alloc&) {
    return ListResult::kOutOfMemory;
  }
  list.total = total;
  list.received += static_cast<uint32_t>(data_bytes);
  return ListResult::kOk;
}

bool ListComplete(uint32_t total, uint32_t received) {
  return total != 0 && total == received + kTotalFieldBytes;
}

ListResult ParseListEntries(const uint8_t* bytes,
                            size_t size,
                            std::vector<std::unique_ptr<FileEntry>>* entries) {
  std::vector<std::unique_ptr<FileEntry>> parsed;
  try {
    size_t offset = 0;
    while (offset < size) {
      if (size - offset < 2)
        return ListResult::kEntryCut;
      size_t n = ReadU16(bytes + offset);
      if (n < kMinEntryBytes || n > kMaxEntryBytes)
        return ListResult::kBadEntrySize;
      if (size - offset - 2 < n)
        return ListResult::kEntryCut;
      if (parsed.size() == kMaxListEntries)
        return ListResult::kTooManyEntries;
      auto entry = std::make_unique<FileEntry>();
      ReadEntry(bytes + offset + 2, n, entry.get());
      if (!HasSafeName(*entry))
        return ListResult::kUnsafeName;
      parsed.push_back(std::move(entry));
      offset += n + 2;
    }
    entries->reserve(entries->size() + parsed.size());
  } catch (const std::bad_alloc&) {
    return ListResult::kOutOfMemory;
  }
  for (auto& entry : parsed)
    entries->push_back(std::move(entry));
  return ListResult::kOk;
}

}  // namespace session_protocol
