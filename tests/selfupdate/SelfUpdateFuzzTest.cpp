// Seeded mutation fuzzing of the self-update's readers: cabinet entry names through the target path rule,
// whole cabinets through extraction (cabinets written by the test, uncompressed, one folder), and the update
// host's reply to the catalogue-folder version query, framed as the socket frames it. Nothing may be written
// outside the target folder, every path kept below 260 characters, and only a 341 reply of at least 12
// bytes gives a number.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "net/PacketFramer.h"
#include "selfupdate/CabinetExtraction.h"
#include "selfupdate/GameInfoVersion.h"
#include "tests/support/GuardedBuffer.h"
#include "tests/support/Mutator.h"
#include "tests/support/TempFolder.h"

namespace testing_support {
namespace {

void Put(std::string* out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i)
    out->push_back(static_cast<char>(value >> (8 * i)));
}

// An uncompressed cabinet with one folder holding `entries` (name, bytes) in one data block.
std::string CabinetBytes(const std::vector<std::pair<std::string, std::string>>& entries) {
  std::string files;
  std::string data;
  for (const auto& entry : entries) {
    Put(&files, static_cast<uint32_t>(entry.second.size()), 4);
    Put(&files, static_cast<uint32_t>(data.size()), 4);
    Put(&files, 0, 2);       // folder 0
    Put(&files, 0x5264, 2);  // 2021-03-04
    Put(&files, 0x28C4, 2);  // 05:06:08
    Put(&files, 0x20, 2);    // archive
    files += entry.first + '\0';
    data += entry.second;
  }
  const uint32_t files_at = 36 + 8;
  const uint32_t data_at = files_at + static_cast<uint32_t>(files.size());
  std::string cabinet = "MSCF";
  Put(&cabinet, 0, 4);
  Put(&cabinet, data_at + 8 + static_cast<uint32_t>(data.size()), 4);
  Put(&cabinet, 0, 4);
  Put(&cabinet, files_at, 4);
  Put(&cabinet, 0, 4);
  cabinet += '\x03';
  cabinet += '\x01';
  Put(&cabinet, 1, 2);  // folders
  Put(&cabinet, static_cast<uint32_t>(entries.size()), 2);
  Put(&cabinet, 0, 2);  // flags
  Put(&cabinet, 0x1234, 2);
  Put(&cabinet, 0, 2);
  Put(&cabinet, data_at, 4);  // the folder's first data block
  Put(&cabinet, 1, 2);
  Put(&cabinet, 0, 2);  // stored
  cabinet += files;
  Put(&cabinet, 0, 4);  // no checksum
  Put(&cabinet, static_cast<uint32_t>(data.size()), 2);
  Put(&cabinet, static_cast<uint32_t>(data.size()), 2);
  return cabinet + data;
}

bool IsSeparator(wchar_t unit) {
  return unit == L'\\' || unit == L'/';
}

// A path the rule gave: the target folder, a backslash, then parts that are plain names.
void ExpectBelowTheTarget(const std::wstring& target, const std::wstring& path) {
  ASSERT_LT(path.size(), static_cast<size_t>(MAX_PATH));
  ASSERT_EQ(0u, path.compare(0, target.size() + 1, target + L"\\"));
  const std::wstring relative = path.substr(target.size() + 1);
  size_t start = 0;
  while (start <= relative.size()) {
    size_t end = start;
    while (end < relative.size() && !IsSeparator(relative[end]))
      ++end;
    const std::wstring part = relative.substr(start, end - start);
    ASSERT_FALSE(part.empty());
    ASSERT_NE(L'.', part.back());
    ASSERT_NE(L' ', part.back());
    ASSERT_EQ(std::wstring::npos, part.find(L':'));
    ASSERT_EQ(std::wstring::npos, part.find(L'/'));
    start = end + 1;
  }
}

TEST(CabinetFuzz, TargetPathsOfEntryNamesStayBelowTheTargetFolder) {
  const std::wstring target = L"C:\\Orvane\\Launcher";
  std::vector<std::string> seeds;
  for (const wchar_t* name :
       {L"orvaneLauncher.exe", L"data\\skin\\main\\btn.bmp", L"data/skin.pak", L"a b\\c.d e"})
    seeds.push_back(Utf16Bytes(name));
  const std::vector<std::string> dictionary = {
      Utf16Bytes(L".."), Utf16Bytes(L"\\"), Utf16Bytes(L"/"),       Utf16Bytes(L"C:"),
      Utf16Bytes(L"."),  Utf16Bytes(L" "),  Utf16Bytes(L"\\\\?\\"), Utf16Bytes(L"::$DATA")};
  Mutator mutator(0xCAB1, Mutator::kText16);
  int kept = 0;
  RunFuzzInputs("cabinet target path", mutator, seeds, dictionary, 30000, [&](const std::string& input) {
    std::wstring name = Utf16Units(input);
    name = name.substr(0, name.find(L'\0'));
    const std::wstring path = CabinetTargetPath(mutator.Below(2) == 0 ? target : target + L"\\", name);
    if (path.empty())
      return;
    ++kept;
    ExpectBelowTheTarget(target, path);
  });
  EXPECT_GT(kept, 0);
}

bool KnownCabinetResult(int result) {
  return result == kCabinetExtracted || (result >= kCabinetFdiFailure && result <= kCabinetNotOneFolder);
}

// The names in `folder`, without "." and "..".
std::vector<std::wstring> NamesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE)
    return names;
  do {
    if (std::wcscmp(found.cFileName, L".") != 0 && std::wcscmp(found.cFileName, L"..") != 0)
      names.push_back(found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

TEST(CabinetFuzz, ExtractionOfDamagedCabinetsWritesNothingOutsideTheTarget) {
  TempFolder folder(L"cabfuzz");
  const std::wstring cabinet = folder.Join(L"in\\update.cab");
  const std::wstring work = folder.Join(L"work");
  const std::wstring target = work + L"\\target";
  ASSERT_TRUE(MakeFolders(target));
  const std::vector<std::string> seeds = {
      CabinetBytes({{"orvaneLauncher.exe", "MZ launcher"}, {"data\\skin\\a.ini", "\xFF\xFE[A]"}}),
      CabinetBytes({{"x", ""}}),
      CabinetBytes({{"data/skin.pak", std::string(300, 'p')}, {"LauncherMessage.ini", "m"}})};
  const std::vector<std::string> dictionary = {
      "..\\", "../", "C:\\", "\\", ":", "MSCF", std::string(4, '\xFF')};
  Mutator mutator(0xCAB2, Mutator::kBinary);
  int extracted = 0;
  int64_t inputs = 0;
  RunFuzzInputs("cabinet extraction", mutator, seeds, dictionary, 300, [&](const std::string& input) {
    ASSERT_TRUE(WriteFileBytes(cabinet, input));
    if (++inputs % 200 == 0) {
      ASSERT_TRUE(RemoveTree(target));
      ASSERT_TRUE(MakeFolders(target));
    }
    const int result = ExtractCabinet(cabinet.c_str(), target.c_str());
    ASSERT_TRUE(KnownCabinetResult(result)) << result;
    extracted += result == kCabinetExtracted;
    // Beside the target and beside the cabinet nothing new may appear.
    ASSERT_EQ(std::vector<std::wstring>{L"target"}, NamesIn(work));
    ASSERT_EQ(std::vector<std::wstring>{L"update.cab"}, NamesIn(folder.Join(L"in")));
  });
  EXPECT_GT(extracted, 0);
}

std::string Packet(uint16_t type, const std::string& body) {
  std::string packet;
  Put(&packet, static_cast<uint32_t>(4 + body.size()), 2);
  Put(&packet, type, 2);
  return packet + body;
}

TEST(VersionReplyFuzz, OnlyA341OfTwelveBytesOrMoreGivesANumberAndItIsThePacketsOwn) {
  std::string halves;
  Put(&halves, 0x89ABCDEF, 4);
  Put(&halves, 0x01234567, 4);
  const std::vector<std::string> seeds = {Packet(341, halves), Packet(341, halves + "tail"),
                                          Packet(341, halves.substr(0, 7)), Packet(340, std::string(1, '\0')),
                                          Packet(341, halves) + Packet(341, halves)};
  Mutator mutator(0x341, Mutator::kBinary);
  GuardedBuffer buffer;
  int answered = 0;
  RunFuzzInputs("version reply", mutator, seeds, {}, 30000, [&](const std::string& input) {
    // The stream is framed in pieces of any size, as the socket's reader does; each whole packet is read.
    PacketFramer framer;
    size_t at = 0;
    while (at < input.size()) {
      const size_t piece = std::min<size_t>(framer.BytesWanted(), 1 + mutator.Below(16));
      if (piece == 0)
        break;
      const size_t count = std::min(piece, input.size() - at);
      std::memcpy(framer.WritePosition(), input.data() + at, count);
      at += count;
      if (framer.Accept(count) != PacketFramer::Status::kComplete)
        continue;
      const std::string packet(reinterpret_cast<const char*>(framer.packet()), framer.total_length());
      uint64_t number = 0;
      const bool read = ReadGameInfoReply(buffer.Place(packet), &number);
      const uint16_t type =
          static_cast<uint16_t>(static_cast<uint8_t>(packet[2]) | static_cast<uint8_t>(packet[3]) << 8);
      ASSERT_EQ(type == 341 && packet.size() >= 12, read);
      if (read) {
        uint64_t expected = 0;
        std::memcpy(&expected, packet.data() + 4, 8);
        ASSERT_EQ(expected, number);
        ++answered;
      }
      framer.Reset();
    }
  });
  EXPECT_GT(answered, 0);
}

}  // namespace
}  // namespace testing_support
