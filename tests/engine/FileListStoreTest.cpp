#include "engine/FileListStore.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/engine/EngineTestSupport.h"
#include "tests/engine/SystemCallFaults.h"
#include "tests/support/TempFolder.h"

using engine_testing::MakeRecord;
using engine_testing::SystemCall;
using engine_testing::SystemCallFaults;
using engine_testing::Utf16Bytes;
using testing_support::ReadFileBytes;
using testing_support::TempFolder;
using testing_support::WriteFileBytes;

namespace {

std::vector<FileRecord> Records(FileListStore& store) {
  std::vector<FileRecord> records;
  store.ForEachRecord([&](FileRecord& record) { records.push_back(record); });
  return records;
}

std::wstring Names(FileListStore& store) {
  std::wstring names;
  for (const FileRecord& record : Records(store))
    names += std::wstring(record.name) + L"|";
  return names;
}

// Opens and parses `path` in a fresh store.
std::unique_ptr<FileListStore> Load(const std::wstring& path) {
  auto store = std::make_unique<FileListStore>();
  EXPECT_EQ(FileListStore::kOk, store->Open(path.c_str()));
  EXPECT_EQ(FileListStore::kOk, store->Parse());
  return store;
}

}  // namespace

TEST(FileListStore, RoundTripWritesExactTextInByteOrderOfTheKeys) {
  TempFolder root;
  std::wstring path = root.Join(L"fileListInfo_GAME.dat");
  {
    FileListStore store;
    ASSERT_EQ(FileListStore::kOk, store.Open(path.c_str()));
    ASSERT_EQ(FileListStore::kOk, store.Parse());
    EXPECT_EQ(0u, store.RecordCount());
    for (const wchar_t* name : {L"b.dat", L"_x.dat", L"Zeta.dat", L"a.dat", L"A.dat"})
      store.Insert(std::make_unique<FileRecord>(MakeRecord(name, 1, 2, 3, 4)));
    store.Find(L"a.dat")->crc32 = 0x80000000u;
    store.Find(L"A.dat")->crc32 = 0xFFFFFFFEu;
    store.SetChanged(true);
    ASSERT_EQ(FileListStore::kOk, store.Write());
    EXPECT_FALSE(store.changed());
  }
  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(path, &bytes));
  EXPECT_EQ(Utf16Bytes(L"A.dat:1:2:3:-2\r\n"
                       L"Zeta.dat:1:2:3:4\r\n"
                       L"_x.dat:1:2:3:4\r\n"
                       L"a.dat:1:2:3:-2147483648\r\n"
                       L"b.dat:1:2:3:4\r\n"),
            bytes);
  EXPECT_NE(0u, GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);

  auto store = Load(path);
  EXPECT_EQ(L"A.dat|Zeta.dat|_x.dat|a.dat|b.dat|", Names(*store));
  EXPECT_EQ(0x80000000u, store->Find(L"a.dat")->crc32);
  EXPECT_EQ(0xFFFFFFFEu, store->Find(L"A.dat")->crc32);
  EXPECT_EQ(nullptr, store->Find(L"ZETA.dat")) << "names are case-sensitive";
}

TEST(FileListStore, FilesWithAndWithoutByteOrderMarkLoadTheSameRecords) {
  TempFolder root;
  const std::wstring text = L"x.dat:1:2:3:4\r\ny.dat:5:6:7:8\r\n";
  ASSERT_TRUE(WriteFileBytes(root.Join(L"plain.dat"), Utf16Bytes(text)));
  ASSERT_TRUE(WriteFileBytes(root.Join(L"marked.dat"), Utf16Bytes(L"\xFEFF" + text)));
  auto plain = Load(root.Join(L"plain.dat"));
  auto marked = Load(root.Join(L"marked.dat"));
  std::vector<FileRecord> a = Records(*plain);
  std::vector<FileRecord> b = Records(*marked);
  ASSERT_EQ(2u, a.size());
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i)
    EXPECT_EQ(0, memcmp(&a[i], &b[i], sizeof(FileRecord)));
}

TEST(FileListStore, FirstOfTwoRecordsWithOneNameIsKept) {
  TempFolder root;
  ASSERT_TRUE(WriteFileBytes(root.Join(L"list.dat"), Utf16Bytes(L"a:1:1:1:1\r\nA:2:2:2:2\r\na:3:3:3:3\r\n")));
  auto store = Load(root.Join(L"list.dat"));
  EXPECT_EQ(2u, store->RecordCount());
  EXPECT_EQ(1, store->Find(L"a")->version);
  EXPECT_EQ(2, store->Find(L"A")->version);

  store->Insert(std::make_unique<FileRecord>(MakeRecord(L"a", 9, 9, 9, 9)));
  EXPECT_EQ(1, store->Find(L"a")->version) << "an insert does not replace a record";
}

TEST(FileListStore, MalformedFileLoadsItsWellFormedRecords) {
  TempFolder root;
  std::string bytes = Utf16Bytes(L"good:1:2:3:4\r\nshort:1:2\r\n..\\bad:1:2:3:4\r\nC:\\bad:1:2:3:4\r\n") +
                      Utf16Bytes(L"big:1:2:9999999999:4\r\nlast:5:6:7:8");
  bytes += 'X';  // an odd byte count
  ASSERT_TRUE(WriteFileBytes(root.Join(L"list.dat"), bytes));
  auto store = Load(root.Join(L"list.dat"));
  // "C:\bad" cuts into the fields "C", "\bad", "1", "2", "3": the name "C" is harmless and kept.
  EXPECT_EQ(L"C|good|last|", Names(*store));
  EXPECT_FALSE(store->parsed_whole()) << "the engine checks every file when a list was not whole";

  ASSERT_TRUE(WriteFileBytes(root.Join(L"blank.dat"), Utf16Bytes(L"\xFEFFgood:1:2:3:4\r\n\r\n \r\n")));
  EXPECT_TRUE(Load(root.Join(L"blank.dat"))->parsed_whole()) << "blank lines are not records";
}

TEST(FileListStore, WriteRewritesFromTheStartAndCutsTheRest) {
  TempFolder root;
  std::wstring path = root.Join(L"list.dat");
  ASSERT_TRUE(WriteFileBytes(path, Utf16Bytes(L"a:1:1:1:1\r\nlong-name-that-goes-away:1:1:1:1\r\n")));
  auto store = Load(path);
  ASSERT_EQ(FileListStore::kOk, store->Remove(L"long-name-that-goes-away"));
  ASSERT_EQ(FileListStore::kOk, store->Write());
  store->Close();
  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(path, &bytes));
  EXPECT_EQ(Utf16Bytes(L"a:1:1:1:1\r\n"), bytes);
}

TEST(FileListStore, ResultCodesForMissingPathsNamesAndFiles) {
  TempFolder root;
  FileListStore store;
  EXPECT_EQ(FileListStore::kNoPath, store.Open(nullptr));
  EXPECT_EQ(FileListStore::kOpenFailed, store.Open(root.Join(L"missing\\list.dat").c_str()));
  EXPECT_EQ(FileListStore::kNotOpen, store.Write());
  EXPECT_EQ(FileListStore::kReadFailed, store.Parse());
  EXPECT_EQ(FileListStore::kReadFailed, store.Insert(nullptr));
  EXPECT_EQ(FileListStore::kNameNotFound, store.Remove(nullptr));
  EXPECT_EQ(FileListStore::kNameNotFound, store.Remove(L"absent"));
  EXPECT_EQ(nullptr, store.Find(nullptr));
}

TEST(FileListStore, AWriteThatFailsAtAnyStepLeavesTheOldFileWholeAndTheFlagSet) {
  TempFolder root;
  const std::wstring path = root.Join(L"list.dat");
  const std::string old_bytes = Utf16Bytes(L"a:1:1:1:1\r\n");
  const std::string new_bytes = Utf16Bytes(L"a:1:1:1:1\r\nb:2:2:2:2\r\n");
  const std::pair<SystemCall, bool> steps[] = {
      {SystemCall::kCreate, false},
      {SystemCall::kWrite, false},
      {SystemCall::kFlush, false},
      {SystemCall::kMove, false},
      // The list file is opened again after the rename: the new list is in place all the same.
      {SystemCall::kCreate, true}};
  int creates = 0;
  for (const auto& step : steps) {
    ASSERT_TRUE(WriteFileBytes(path, old_bytes));
    auto store = Load(path);
    store->Insert(std::make_unique<FileRecord>(MakeRecord(L"b", 2, 2, 2, 2)));
    store->SetChanged(true);
    SystemCallFaults faults;
    faults.FailCall(step.first, step.first == SystemCall::kCreate ? ++creates : 1);
    const int written = store->Write();
    EXPECT_TRUE(faults.Failed()) << SystemCallName(step.first);
    EXPECT_EQ(step.second ? FileListStore::kOk : FileListStore::kNotOpen, written)
        << SystemCallName(step.first);
    EXPECT_EQ(!step.second, store->changed()) << SystemCallName(step.first);
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(path, &bytes));
    EXPECT_EQ(step.second ? new_bytes : old_bytes, bytes) << SystemCallName(step.first);
    EXPECT_FALSE(testing_support::FileExists(root.Join(L"list.tmp"))) << SystemCallName(step.first);
    faults.Reset();
    store->SetChanged(true);
    EXPECT_EQ(FileListStore::kOk, store->Write()) << "the next write succeeds";
  }
  FileListStore closed;
  closed.SetChanged(true);
  EXPECT_EQ(FileListStore::kNotOpen, closed.Write());
  EXPECT_TRUE(closed.changed());
}

TEST(FileListStore, WithheldRecordsStayOutOfTheFileUntilRestored) {
  TempFolder root;
  const std::wstring path = root.Join(L"list.dat");
  ASSERT_TRUE(WriteFileBytes(path, Utf16Bytes(L"a:1:1:1:1\r\nb:2:2:2:2\r\nc:3:3:3:3\r\n")));
  auto store = Load(path);
  EXPECT_TRUE(store->Withhold(L"a"));
  EXPECT_FALSE(store->Withhold(L"a")) << "already withheld";
  EXPECT_TRUE(store->Withhold(L"b"));
  EXPECT_FALSE(store->Withhold(L"absent"));
  EXPECT_TRUE(store->changed());
  ASSERT_EQ(FileListStore::kOk, store->Write());
  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(path, &bytes));
  EXPECT_EQ(Utf16Bytes(L"c:3:3:3:3\r\n"), bytes);
  EXPECT_NE(nullptr, store->Find(L"a")) << "the store keeps a withheld record";

  store->Restore(L"a");
  EXPECT_TRUE(store->changed());
  store->Remove(L"b");
  store->Insert(std::make_unique<FileRecord>(MakeRecord(L"b", 4, 4, 4, 4)));
  ASSERT_EQ(FileListStore::kOk, store->Write());
  ASSERT_TRUE(ReadFileBytes(path, &bytes));
  EXPECT_EQ(Utf16Bytes(L"a:1:1:1:1\r\nb:4:4:4:4\r\nc:3:3:3:3\r\n"), bytes);
}

TEST(FileListStore, PatchRecordsFoldIntoTheirPlainNames) {
  FileListStore store;
  store.Insert(std::make_unique<FileRecord>(MakeRecord(L"Patch\\game.dat", 7, 8, 900, 0xAAAA)));
  store.Insert(std::make_unique<FileRecord>(MakeRecord(L"game.dat", 1, 2, 100, 0x1111)));
  store.Insert(std::make_unique<FileRecord>(MakeRecord(L"PATCH\\maps\\new.map", 3, 4, 50, 0xBBBB)));
  store.Insert(std::make_unique<FileRecord>(MakeRecord(L"Patchwork.dat", 5, 5, 5, 5)));
  // Renamed to "Patch\\inner.dat", which sorts after it: the walk must not fold it a second time.
  store.Insert(std::make_unique<FileRecord>(MakeRecord(L"Patch\\Patch\\inner.dat", 6, 6, 6, 6)));
  store.SetChanged(false);

  EXPECT_EQ(FileListStore::kOk, store.FoldPatchEntries());

  EXPECT_EQ(L"Patch\\inner.dat|Patchwork.dat|game.dat|maps\\new.map|", Names(store));
  const FileRecord* game = store.Find(L"game.dat");
  ASSERT_NE(nullptr, game);
  EXPECT_EQ(7, game->registeredVersion);
  EXPECT_EQ(8, game->version);
  EXPECT_EQ(900, game->size);
  EXPECT_EQ(0xAAAAu, game->crc32);
  const FileRecord* map = store.Find(L"maps\\new.map");
  ASSERT_NE(nullptr, map);
  EXPECT_EQ(0xBBBBu, map->crc32);
  EXPECT_FALSE(store.changed()) << "the fold leaves the flag to its caller";
}
