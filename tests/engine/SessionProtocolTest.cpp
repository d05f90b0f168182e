// The patch-server protocol's pure functions: exact request bytes, packet headers, the version decision, and
// the list's reassembly and parsing with every bound that a hostile server could push against.
#include "engine/SessionProtocol.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace session_protocol;

namespace {

using Bytes = std::vector<uint8_t>;

void PutU16(Bytes& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void PutU32(Bytes& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    out.push_back(static_cast<uint8_t>(value >> shift));
}

Bytes MakePacket(uint16_t type, const Bytes& body) {
  Bytes packet;
  PutU16(packet, static_cast<uint32_t>(4 + body.size()));
  PutU16(packet, type);
  packet.insert(packet.end(), body.begin(), body.end());
  return packet;
}

Packet View(const Bytes& bytes) {
  Packet packet;
  EXPECT_TRUE(ReadPacket(bytes.data(), bytes.size(), &packet));
  return packet;
}

struct TestEntry {
  int32_t sequence;
  int32_t kind;
  int32_t size;
  int32_t version;
  int32_t registered_version;
  uint32_t crc;
  std::wstring name;
};

// One entry on the wire; `forced_n` (when not 0) cuts or zero-pads the body to that many bytes.
Bytes EncodeEntry(const TestEntry& entry, size_t forced_n = 0) {
  Bytes body;
  PutU32(body, static_cast<uint32_t>(entry.sequence));
  PutU32(body, static_cast<uint32_t>(entry.kind));
  PutU32(body, static_cast<uint32_t>(entry.size));
  PutU32(body, static_cast<uint32_t>(entry.version));
  PutU32(body, static_cast<uint32_t>(entry.registered_version));
  PutU32(body, entry.crc);
  for (wchar_t c : entry.name)
    PutU16(body, static_cast<uint16_t>(c));
  PutU16(body, 0);
  if (forced_n != 0)
    body.resize(forced_n, 0);
  Bytes out;
  PutU16(out, static_cast<uint32_t>(body.size()));
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

ListResult Parse(const Bytes& list, std::vector<std::unique_ptr<FileEntry>>* entries) {
  return ParseListEntries(list.data(), list.size(), entries);
}

// The first chunk: total, then list bytes.
Bytes FirstChunk(uint32_t total, const Bytes& list_bytes) {
  Bytes body;
  PutU32(body, total);
  body.insert(body.end(), list_bytes.begin(), list_bytes.end());
  return MakePacket(kListChunk, body);
}

struct Reception {
  Bytes bytes;
  uint32_t total = 0;
  uint32_t received = 0;
  ListResult Append(const Bytes& chunk) { return AppendListChunk(View(chunk), {bytes, total, received}); }
};

}  // namespace

TEST(SessionProtocol, RequestsHaveTheExactBytes) {
  uint8_t session[kSessionRequestBytes];
  ASSERT_EQ(8u, BuildSessionRequest(session));
  EXPECT_EQ((Bytes{8, 0, 0x40, 0x01, 1, 0, 0, 0}), Bytes(session, session + 8));

  uint8_t version[kMaxVersionRequestBytes];
  VersionRequest request;
  request.installed_version = 0x01020304;
  request.separate_status = -1;
  request.updater_version = 7;
  request.no_self_update = 1;
  request.product_code = L"G\x00e9";
  ASSERT_EQ(23u, BuildVersionRequest(request, version));
  EXPECT_EQ(
      (Bytes{23, 0, 0x2d, 0x01, 4, 3, 2, 1, 0xff, 0xff, 0xff, 0xff, 7, 0, 0, 0, 1, 'G', 0, 0xe9, 0, 0, 0}),
      Bytes(version, version + 23));

  const std::wstring long_code(70, L'P');
  request.product_code = long_code.c_str();
  size_t length = BuildVersionRequest(request, version);
  ASSERT_EQ(kMaxVersionRequestBytes, length) << "at most 63 characters of the product code";
  EXPECT_EQ(length, static_cast<size_t>(version[0] | version[1] << 8));
  EXPECT_EQ(0, version[length - 1] | version[length - 2]) << "terminated by one NUL unit";
}

TEST(SessionProtocol, PacketLengthsOutsideFourTo8192OrPastTheAreaAreRefused) {
  Bytes area(kMaxPacketBytes + 16, 0);
  struct Case {
    size_t length;
    size_t area_size;
    bool valid;
  } cases[] = {{0, 8192, false},    {3, 8192, false},     {4, 8192, true}, {8192, 8192, true},
               {8193, 8208, false}, {65535, 8208, false}, {40, 39, false}, {40, 40, true}};
  for (const Case& c : cases) {
    area[0] = static_cast<uint8_t>(c.length);
    area[1] = static_cast<uint8_t>(c.length >> 8);
    Packet packet;
    EXPECT_EQ(c.valid, ReadPacket(area.data(), c.area_size, &packet)) << c.length << " in " << c.area_size;
  }
  EXPECT_FALSE(ReadPacket(nullptr, 8192, nullptr));
}

TEST(SessionProtocol, FieldsThatThePacketCutsOffReadAsZero) {
  Bytes reply = MakePacket(kVersionReply, {5, 0, 0, 0, 1, 0, 0, 0, 9, 0, 0, 0, 0xAA});
  Versions server = ReadVersionReply(View(reply));
  EXPECT_EQ(5, server.current_version);
  EXPECT_EQ(1, server.separate_status);
  EXPECT_EQ(9, server.updater_version);

  Bytes cut = MakePacket(kVersionReply, {5, 0, 0, 0, 1, 0, 0});
  cut.resize(64, 0x77);  // bytes after the packet's end are not the packet's
  Packet packet;
  ASSERT_TRUE(ReadPacket(cut.data(), cut.size(), &packet));
  server = ReadVersionReply(packet);
  EXPECT_EQ(5, server.current_version);
  EXPECT_EQ(0, server.separate_status);
  EXPECT_EQ(0, server.updater_version);
}

TEST(SessionProtocol, VersionDecisionFollowsItsOrder) {
  using D = VersionDecision;
  struct Case {
    Versions installed;
    Versions server;
    bool no_self_update;
    D::Outcome outcome;
    bool fold;
    Versions next;
    const char* what;
  } cases[] = {
      {{3, 0, 1}, {5, 0, 2}, false, D::kWaitForNewerEngine, false, {3, 0, 2}, "newer engine: adopt it, wait"},
      {{3, 1, 1}, {5, 0, 2}, false, D::kWaitForNewerEngine, false, {3, 1, 2}, "newer engine first, no fold"},
      {{3, 0, 1}, {5, 0, 2}, true, D::kProceed, false, {5, 0, 2}, "no self-update: engine version taken"},
      {{3, 0, 4}, {5, 0, 2}, false, D::kProceed, false, {5, 0, 2}, "older engine version taken"},
      {{3, 1, 1}, {5, 0, 1}, false, D::kProceed, true, {5, 0, 1}, "separated, server not: fold"},
      {{3, 2, 1}, {5, 0, 1}, false, D::kProceed, true, {5, 0, 1}, "status 2 folds too"},
      {{3, 1, 1}, {5, 1, 1}, false, D::kProceed, false, {5, 1, 1}, "both separated: no fold"},
      {{3, 0, 1}, {5, 1, 1}, false, D::kProceed, false, {5, 0, 1}, "behind: status not raised"},
      {{5, 1, 1}, {5, 0, 1}, false, D::kProceed, false, {5, 1, 1}, "equal: never lowered"},
      {{5, 2, 1}, {5, 1, 1}, false, D::kProceed, false, {5, 2, 1}, "equal: larger kept"},
      {{5, 0, 1}, {5, 1, 1}, false, D::kProceed, false, {5, 1, 1}, "equal: raised to the server's"},
      {{6, 0, 1}, {5, 0, 1}, false, D::kServerOlder, false, {6, 0, 1}, "installation ahead: error"},
      {{6, 0, 1}, {5, 0, 3}, true, D::kServerOlder, false, {6, 0, 3}, "ahead: engine version still taken"},
  };
  for (const Case& c : cases) {
    D decision = DecideVersion(c.installed, c.server, c.no_self_update);
    EXPECT_EQ(c.outcome, decision.outcome) << c.what;
    EXPECT_EQ(c.fold, decision.fold_separated_installation) << c.what;
    EXPECT_EQ(c.next.current_version, decision.next.current_version) << c.what;
    EXPECT_EQ(c.next.separate_status, decision.next.separate_status) << c.what;
    EXPECT_EQ(c.next.updater_version, decision.next.updater_version) << c.what;
  }
}

TEST(SessionProtocol, ListSplitOverChunksOfAnySizeIsReassembledByteExact) {
  Bytes list;
  for (int i = 0; i < 40; ++i) {
    Bytes entry = EncodeEntry({i, 1, i * 10, 5, 4, 0xFFFFFFF0u + i, L"data\\file" + std::to_wstring(i)});
    list.insert(list.end(), entry.begin(), entry.end());
  }
  const uint32_t total = static_cast<uint32_t>(list.size() + 4);
  for (size_t first : {size_t{0}, size_t{1}, size_t{57}, list.size()}) {
    Reception reception;
    ASSERT_EQ(ListResult::kOk,
              reception.Append(FirstChunk(total, Bytes(list.begin(), list.begin() + first))));
    size_t offset = first;
    for (size_t step = 1; offset < list.size(); step = step * 3 % 997 + 1) {
      EXPECT_FALSE(ListComplete(reception.total, reception.received));
      size_t piece = std::min(step, list.size() - offset);
      ASSERT_EQ(ListResult::kOk,
                reception.Append(
                    MakePacket(kListChunk, Bytes(list.begin() + offset, list.begin() + offset + piece))));
      offset += piece;
    }
    EXPECT_TRUE(ListComplete(reception.total, reception.received)) << first;
    EXPECT_EQ(list, reception.bytes) << first;
  }

  Reception empty;
  EXPECT_FALSE(ListComplete(empty.total, empty.received)) << "no chunk yet";
  ASSERT_EQ(ListResult::kOk, empty.Append(FirstChunk(4, {})));
  EXPECT_TRUE(ListComplete(empty.total, empty.received)) << "a total of 4 is an empty list";
}

TEST(SessionProtocol, BadTotalsAndChunksPastTheTotalAreRefusedWithoutChange) {
  struct Case {
    std::vector<Bytes> chunks;  // all accepted but the last
    ListResult result;
    const char* what;
  } cases[] = {
      {{FirstChunk(3, {})}, ListResult::kBadTotal, "total below its own field"},
      {{FirstChunk(0, {})}, ListResult::kBadTotal, "zero total"},
      {{FirstChunk(0xFFFFFFFBu, {})}, ListResult::kBadTotal, "negative total"},
      {{FirstChunk(kMaxListTotal + 1, {})}, ListResult::kBadTotal, "absurd total"},
      {{MakePacket(kListChunk, {})}, ListResult::kChunkTooShort, "first chunk without a total"},
      {{MakePacket(kListChunk, {8, 0, 0})}, ListResult::kChunkTooShort, "first chunk with a cut total"},
      {{FirstChunk(4, {1})}, ListResult::kPastTotal, "first chunk past the total"},
      {{FirstChunk(10, {1, 2, 3}), MakePacket(kListChunk, {4, 5, 6, 7})},
       ListResult::kPastTotal,
       "later chunk past the total"},
  };
  for (const Case& c : cases) {
    Reception reception;
    for (size_t i = 0; i + 1 < c.chunks.size(); ++i)
      ASSERT_EQ(ListResult::kOk, reception.Append(c.chunks[i])) << c.what;
    Bytes before = reception.bytes;
    uint32_t total = reception.total;
    uint32_t received = reception.received;
    EXPECT_EQ(c.result, reception.Append(c.chunks.back())) << c.what;
    EXPECT_EQ(before, reception.bytes) << c.what;
    EXPECT_EQ(total, reception.total) << c.what;
    EXPECT_EQ(received, reception.received) << c.what;
  }

  Reception largest;
  EXPECT_EQ(ListResult::kOk, largest.Append(FirstChunk(kMaxListTotal, {})));
}

TEST(SessionProtocol, EntriesAreParsedWhatEverTheirNameLength) {
  const std::wstring longest(259, L'n');
  Bytes list;
  std::vector<TestEntry> sent = {{1, 1, 100, 5, 4, 0xDEADBEEF, L"game.exe"},
                                 {2, 7, -1, -2, -3, 0, L"data\\\x4e16\x754c.pak"},
                                 {3, 6, 0, 0, 0, 1, longest}};
  for (const TestEntry& entry : sent) {
    Bytes bytes = EncodeEntry(entry);
    list.insert(list.end(), bytes.begin(), bytes.end());
  }
  // n = 544 and the name fills the rest exactly, the NUL included; n odd: half a unit becomes a whole one.
  ASSERT_EQ(546u, EncodeEntry(sent[2]).size());
  Bytes odd = EncodeEntry({4, 2, 0, 0, 0, 0, L"ab"}, 24 + 5);
  list.insert(list.end(), odd.begin(), odd.end());

  std::vector<std::unique_ptr<FileEntry>> entries;
  ASSERT_EQ(ListResult::kOk, Parse(list, &entries));
  ASSERT_EQ(4u, entries.size());
  for (size_t i = 0; i < sent.size(); ++i) {
    EXPECT_EQ(sent[i].sequence, entries[i]->sequence_number);
    EXPECT_EQ(sent[i].kind, entries[i]->kind);
    EXPECT_EQ(sent[i].size, entries[i]->size);
    EXPECT_EQ(sent[i].version, entries[i]->version);
    EXPECT_EQ(sent[i].registered_version, entries[i]->registered_version);
    EXPECT_EQ(sent[i].crc, entries[i]->crc32);
    EXPECT_EQ(sent[i].name, entries[i]->name);
  }
  EXPECT_STREQ(L"ab", entries[3]->name);
  for (size_t i = 8; i < 260; ++i)
    ASSERT_EQ(L'\0', entries[0]->name[i]) << "zero-filled beyond the name";

  entries.clear();
  EXPECT_EQ(ListResult::kOk, Parse({}, &entries));
  EXPECT_TRUE(entries.empty());
}

TEST(SessionProtocol, BrokenEntriesRefuseTheWholeList) {
  const Bytes good = EncodeEntry({1, 1, 1, 1, 1, 1, L"good.dat"});
  Bytes unterminated = EncodeEntry({1, 1, 1, 1, 1, 1, std::wstring(260, L'x')});
  unterminated.resize(546);
  unterminated[0] = 0x20;  // n = 544: the name fills all 260 units without a NUL
  unterminated[1] = 0x02;
  struct Case {
    Bytes entry;
    ListResult result;
    const char* what;
  } cases[] = {
      {EncodeEntry({1, 1, 1, 1, 1, 1, L"x"}, 23), ListResult::kBadEntrySize, "n = 23"},
      {EncodeEntry({1, 1, 1, 1, 1, 1, L"x"}, 545), ListResult::kBadEntrySize, "n = 545"},
      {{0, 0}, ListResult::kBadEntrySize, "n = 0"},
      {{0xFF, 0xFF}, ListResult::kBadEntrySize, "n = 65535"},
      {Bytes(good.begin(), good.end() - 1), ListResult::kEntryCut, "body past the list's end"},
      {{30}, ListResult::kEntryCut, "a lone byte count byte"},
      {unterminated, ListResult::kUnsafeName, "unterminated name"},
      {EncodeEntry({1, 1, 1, 1, 1, 1, L""}), ListResult::kUnsafeName, "empty name"},
      {EncodeEntry({1, 1, 1, 1, 1, 1, L"..\\evil.dll"}), ListResult::kUnsafeName, "parent folder"},
      {EncodeEntry({1, 6, 1, 1, 1, 1, L"data\\..\\..\\evil.dll"}), ListResult::kUnsafeName, "parent inside"},
      {EncodeEntry({1, 1, 1, 1, 1, 1, L"C:\\Windows\\evil.dll"}), ListResult::kUnsafeName, "drive"},
      {EncodeEntry({1, 1, 1, 1, 1, 1, L"\\evil.dll"}), ListResult::kUnsafeName, "leading backslash"},
      {EncodeEntry({1, 1, 1, 1, 1, 1, L"\\\\server\\share\\evil.dll"}), ListResult::kUnsafeName, "UNC"},
  };
  for (const Case& c : cases) {
    Bytes list = good;
    list.insert(list.end(), c.entry.begin(), c.entry.end());
    std::vector<std::unique_ptr<FileEntry>> entries;
    entries.push_back(std::make_unique<FileEntry>());
    EXPECT_EQ(c.result, Parse(list, &entries)) << c.what;
    EXPECT_EQ(1u, entries.size()) << c.what << ": nothing appended";
  }
}

TEST(SessionProtocol, ListWithMoreEntriesThanTheCeilingIsRefused) {
  const Bytes one = EncodeEntry({1, 9, 0, 0, 0, 0, L"a"});
  Bytes list;
  list.reserve(one.size() * (kMaxListEntries + 1));
  for (size_t i = 0; i <= kMaxListEntries; ++i)
    list.insert(list.end(), one.begin(), one.end());
  ASSERT_LE(list.size() + 4, kMaxListTotal) << "the total alone would let this list through";
  std::vector<std::unique_ptr<FileEntry>> entries;
  EXPECT_EQ(ListResult::kTooManyEntries, Parse(list, &entries));
  EXPECT_TRUE(entries.empty());
}
