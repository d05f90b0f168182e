// Deterministic mutation fuzzing of the engine's parsers of untrusted bytes, each seeded from valid inputs:
// the patch server's packet stream and list (PacketFramer, SessionProtocol), the installed-file list
// (FileListFormat and the store's fold), and zlib streams (InflateFile with its bound). None may crash or
// hang, and whatever they accept must name nothing outside the install root. ORVANE_FUZZ_ITERATIONS runs
// longer.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "base/RelativeName.h"
#include "engine/EntryPaths.h"
#include "engine/FileListFormat.h"
#include "engine/FileListStore.h"
#include "engine/InflateFile.h"
#include "engine/SessionProtocol.h"
#include "net/PacketFramer.h"
#include "tests/support/GuardedBuffer.h"
#include "tests/support/Mutator.h"
#include "tests/support/TempFolder.h"

using namespace session_protocol;
using testing_support::FuzzIterations;
using testing_support::Mutator;

namespace {

const wchar_t kRoot[] = L"C:\\Games\\Orvane";

void PutU16(std::string& out, uint32_t value) {
  out += static_cast<char>(value);
  out += static_cast<char>(value >> 8);
}

void PutU32(std::string& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    out += static_cast<char>(value >> shift);
}

std::string MakePacket(uint16_t type, const std::string& body) {
  std::string packet;
  PutU16(packet, static_cast<uint32_t>(4 + body.size()));
  PutU16(packet, type);
  return packet + body;
}

std::string Ints(std::initializer_list<uint32_t> values) {
  std::string out;
  for (uint32_t value : values)
    PutU32(out, value);
  return out;
}

std::string Utf16(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text)
    PutU16(out, static_cast<uint16_t>(c));
  return out;
}

std::string ListBytes() {
  const wchar_t* names[] = {L"game.exe", L"data\\maps\\level1.map", L"bin/engine.dll", L"Patch\\x.dat"};
  std::string list;
  int32_t sequence = 1;
  for (const wchar_t* name : names) {
    std::string body = Ints({static_cast<uint32_t>(sequence), static_cast<uint32_t>(sequence % 3 + 1), 1000,
                             5, 4, 0x89ABCDEFu}) +
                       Utf16(name) + std::string(2, '\0');
    PutU16(list, static_cast<uint32_t>(body.size()));
    list += body;
    ++sequence;
  }
  return list;
}

// Whole sessions as the server sends them, the list in one chunk or in three.
std::vector<std::string> SessionSeeds() {
  const std::string list = ListBytes();
  const std::string total = Ints({static_cast<uint32_t>(list.size() + 4)});
  const std::string head =
      MakePacket(321, Ints({1})) + MakePacket(302, Ints({5, 0, 1})) + MakePacket(303, Ints({4}));
  const size_t third = list.size() / 3;
  return {head + MakePacket(330, total + list) + MakePacket(331, ""),
          head + MakePacket(330, total + list.substr(0, third)) + MakePacket(330, list.substr(third, third)) +
              MakePacket(330, list.substr(2 * third)) + MakePacket(331, ""),
          MakePacket(321, Ints({1})) + MakePacket(302, Ints({5, 1, 9})) + MakePacket(312, "")};
}

// A name accepted by a parser is joined below the root, unless the joined path is too long for any file call.
bool JoinsBelowTheRoot(const wchar_t* name) {
  wchar_t path[MAX_PATH];
  return JoinUnderRoot(path, kRoot, name) || wcslen(kRoot) + 1 + wcslen(name) >= MAX_PATH;
}

// What an accepted entry leads to stays below the root.
void ExpectEntryStaysBelowTheRoot(const FileEntry& entry) {
  ASSERT_NE(nullptr, wmemchr(entry.name, L'\0', 260));
  ASSERT_TRUE(IsSafeRelativeName(entry.name));
  ASSERT_TRUE(JoinsBelowTheRoot(entry.name));
  wchar_t path[MAX_PATH];
  if (entry_paths::BuildTempName(path, kRoot, entry)) {
    ASSERT_EQ(0, wcsncmp(path, L"C:\\Games\\Orvane\\", 16));
  }
  wchar_t url[entry_paths::kMaxUrlLength];
  if (entry_paths::BuildUrl(url, L"files.example:8080", L"GAME", entry) && url[0] != L'\0') {
    ASSERT_EQ(0, wcsncmp(url, L"http://files.example:8080/GAME/", 31));
  }
}

struct SessionCounts {
  int packets = 0;
  int bad_streams = 0;
  int refused_lists = 0;
  int accepted_lists = 0;
  int accepted_entries = 0;
};

// Feeds one byte stream to the framer in pieces of random sizes and every packet to the protocol, as the
// session does, until the stream ends or breaks.
void FeedSession(const std::string& stream, Mutator& pieces, SessionCounts* counts) {
  PacketFramer framer;
  std::vector<uint8_t> list;
  uint32_t total = 0;
  uint32_t received = 0;
  size_t at = 0;
  while (at < stream.size()) {
    const size_t wanted = framer.BytesWanted();
    ASSERT_GT(wanted, 0u);
    const size_t take = std::min<size_t>(stream.size() - at, 1 + pieces.Below(static_cast<uint32_t>(wanted)));
    std::memcpy(framer.WritePosition(), stream.data() + at, take);
    at += take;
    const PacketFramer::Status status = framer.Accept(take);
    if (status == PacketFramer::Status::kBadLength) {
      ++counts->bad_streams;
      return;
    }
    if (status != PacketFramer::Status::kComplete)
      continue;
    ++counts->packets;
    Packet packet;
    ASSERT_TRUE(ReadPacket(framer.packet(), PacketFramer::kMaxPacketBytes, &packet));
    if (packet.type == kVersionReply) {
      const Versions installed{3, 1, 1};
      const VersionDecision decision =
          DecideVersion(installed, ReadVersionReply(packet), packet.length % 2 == 0);
      ASSERT_TRUE(decision.outcome != VersionDecision::kServerOlder ||
                  ReadVersionReply(packet).current_version < installed.current_version);
    } else if (packet.type == kListChunk) {
      if (AppendListChunk(packet, {list, total, received}) != ListResult::kOk) {
        ++counts->refused_lists;
        return;
      }
      ASSERT_EQ(list.size(), received);
      ASSERT_LE(static_cast<uint64_t>(received) + 4, total);
      ASSERT_LE(total, kMaxListTotal);
    } else if (packet.type == kListEnd && ListComplete(total, received)) {
      std::vector<std::unique_ptr<FileEntry>> entries;
      // The list ends at a no-access page: a read past its last byte faults at once.
      static testing_support::GuardedBuffer guarded;
      const uint8_t* placed = guarded.Place(std::string(list.begin(), list.begin() + received));
      if (ParseListEntries(placed, received, &entries) != ListResult::kOk) {
        ASSERT_TRUE(entries.empty());
        ++counts->refused_lists;
        return;
      }
      ++counts->accepted_lists;
      counts->accepted_entries += static_cast<int>(entries.size());
      for (const auto& entry : entries)
        ExpectEntryStaysBelowTheRoot(*entry);
      return;
    } else {
      BodyInt(packet, 0);
    }
    framer.Reset();
  }
}

std::vector<std::string> FileListSeeds() {
  return {Utf16(L"game.exe:1:2:4096:305419896\r\ndata\\maps\\level1.map:3:4:100:-1\r\n"),
          Utf16(L"\xFEFFPatch\\game.exe:7:8:900:-2147483648\r\ngame.exe:1:2:100:4294967295\r\n"),
          Utf16(L"bin/engine.dll:0:0:0:0\r\n\r\n" + std::wstring(200, L'n') + L".dat:1:1:1:1")};
}

std::vector<std::string> FileListDictionary() {
  std::vector<std::string> tokens;
  for (const wchar_t* token :
       {L":", L"\r\n", L"\n", L"..", L"\\", L"/", L"CON", L"nul.txt", L"Patch\\", L". ", L"-2147483648",
        L"4294967295", L"99999999999", L"\xFEFF", L"C:", L"\\\\"})
    tokens.push_back(Utf16(token));
  tokens.push_back(std::string(2, '\0'));
  return tokens;
}

std::string Compress(const std::string& data, int level) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  std::string out(size, '\0');
  compress2(reinterpret_cast<Bytef*>(&out[0]), &size, reinterpret_cast<const Bytef*>(data.data()),
            static_cast<uLong>(data.size()), level);
  out.resize(size);
  return out;
}

UniqueHandle OpenForReading(const std::wstring& path) {
  return UniqueHandle(
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
}

}  // namespace

TEST(ParserFuzz, SessionPacketsAndListsNeverBreakTheBoundsAndAcceptOnlyNamesBelowTheRoot) {
  const std::vector<std::string> seeds = SessionSeeds();
  const int iterations = FuzzIterations(200000);
  Mutator mutator(0x5E5510);
  Mutator pieces(0x91ECE5);
  SessionCounts counts;
  for (int i = 0; i < iterations; ++i) {
    FeedSession(mutator.Mutate(seeds), pieces, &counts);
    ASSERT_FALSE(HasFatalFailure()) << "input " << i;
  }
  // The seeds themselves must pass, or the mutations would test nothing.
  SessionCounts clean;
  for (const std::string& seed : seeds)
    FeedSession(seed, pieces, &clean);
  EXPECT_EQ(2, clean.accepted_lists);
  std::printf(
      "[fuzz] session: %d inputs, %d packets, %d broken streams, %d lists refused, %d accepted (%d "
      "entries)\n",
      iterations, counts.packets, counts.bad_streams, counts.refused_lists, counts.accepted_lists,
      counts.accepted_entries);
}

TEST(ParserFuzz, InstalledFileListRecordsNameOnlyFilesBelowTheRootAndSurviveTheirOwnFormat) {
  const std::vector<std::string> seeds = FileListSeeds();
  const std::vector<std::string> dictionary = FileListDictionary();
  const int iterations = FuzzIterations(100000);
  Mutator mutator(0xF11E5, Mutator::kText16);
  testing_support::GuardedBuffer guarded;
  int records = 0;
  for (int i = 0; i < iterations; ++i) {
    const std::string bytes = mutator.Mutate(seeds, dictionary);
    // Whole units, ending at a no-access page.
    const size_t units = bytes.size() / 2;
    const wchar_t* text = reinterpret_cast<const wchar_t*>(guarded.Place(bytes.substr(0, units * 2)));
    size_t dropped = 0;
    FileListStore store;
    for (const FileRecord& record : ParseFileListText(text, units, &dropped)) {
      ++records;
      ASSERT_TRUE(JoinsBelowTheRoot(record.name))
          << "input " << i << ": " << testing::PrintToString(std::wstring(record.name));
      // Written and read again, a record comes back the same.
      std::wstring line;
      AppendFileListLine(line, record);
      size_t line_dropped = 0;
      const std::vector<FileRecord> again = ParseFileListText(line.data(), line.size(), &line_dropped);
      ASSERT_EQ(1u, again.size()) << "input " << i;
      ASSERT_EQ(0, std::memcmp(&record, &again[0], sizeof record))
          << "input " << i << ": " << testing::PrintToString(std::wstring(record.name)) << " "
          << record.registeredVersion << " " << record.version << " " << record.size << " " << record.crc32
          << " -> " << testing::PrintToString(std::wstring(again[0].name));
      store.Insert(std::make_unique<FileRecord>(record));
    }
    // The fold of a separated installation makes new names out of old ones.
    store.FoldPatchEntries();
    store.ForEachRecord(
        [&](FileRecord& record) { EXPECT_TRUE(JoinsBelowTheRoot(record.name)) << "input " << i; });
    ASSERT_FALSE(HasFailure()) << "input " << i;
  }
  std::printf("[fuzz] installed-file list: %d inputs, %d records accepted\n", iterations, records);
}

TEST(ParserFuzz, ZlibStreamsInflateToNoMoreThanTheirBoundAndCountWhatTheyWrote) {
  testing_support::TempFolder sandbox(L"fuzz");
  std::string text;
  for (int i = 0; i < 400; ++i)
    text += "line " + std::to_string(i * 7919 % 1000) + " of the file\r\n";
  std::string noise(3000, '\0');
  for (size_t i = 0; i < noise.size(); ++i)
    noise[i] = static_cast<char>(i * 2654435761u >> 13);
  // The bound is below the size of the long run of zeros: that seed must always fail.
  constexpr uint64_t kBound = 50000;
  const std::vector<std::string> seeds = {Compress(text, 9), Compress(noise, 1), Compress("", 6),
                                          Compress(std::string(200000, '\0'), 9)};
  const int iterations = FuzzIterations(1500);
  Mutator mutator(0x21B);
  const std::wstring source = sandbox.Join(L"in.zip");
  const std::wstring target = sandbox.Join(L"out.dat");
  int complete = 0;
  for (int i = 0; i < iterations; ++i) {
    ASSERT_TRUE(testing_support::WriteFileBytes(source, mutator.Mutate(seeds)));
    engine_files::InflatedFile written;
    const int result = engine_files::InflateFile(OpenForReading(source), target.c_str(), &written, kBound);
    std::string out;
    ASSERT_TRUE(testing_support::ReadFileBytes(target, &out)) << "input " << i;
    ASSERT_LE(out.size(), kBound) << "input " << i;
    ASSERT_EQ(out.size(), written.size) << "input " << i;
    ASSERT_EQ(crc32(0, reinterpret_cast<const Bytef*>(out.data()), static_cast<uInt>(out.size())),
              written.crc32)
        << "input " << i;
    complete += result;
  }
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(sandbox.Join(L"*").c_str(), &found);
  ASSERT_NE(INVALID_HANDLE_VALUE, search);
  int entries = 0;
  do
    ++entries;
  while (FindNextFileW(search, &found));
  FindClose(search);
  EXPECT_EQ(4, entries) << "\".\", \"..\", the stream and its target: nothing else was written";
  std::printf("[fuzz] zlib streams: %d inputs, %d inflated whole within the bound\n", iterations, complete);
}
