// The kept receive buffer: handed to the next allocation of its size only, never to two holders at once, and
// never kept once it has been reallocated.
#include "net/CurlMemory.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr size_t kKept = 4097;

class CurlMemoryTest : public ::testing::Test {
 protected:
  void SetUp() override { curl_memory::SetKeptSize(kKept); }
  void TearDown() override { curl_memory::SetKeptSize(0); }
};

TEST_F(CurlMemoryTest, AFreedBufferGoesToTheNextAllocationOfItsSizeOnly) {
  void* buffer = curl_memory::Allocate(kKept);
  ASSERT_NE(nullptr, buffer);
  curl_memory::Free(buffer);
  EXPECT_TRUE(curl_memory::HoldsKeptBlock());
  void* other = curl_memory::Allocate(kKept - 1);
  void* zeroed = curl_memory::AllocateZeroed(1, kKept);
  EXPECT_NE(buffer, other);
  EXPECT_NE(buffer, zeroed);
  EXPECT_EQ(0, static_cast<unsigned char*>(zeroed)[kKept - 1]);
  void* again = curl_memory::Allocate(kKept);
  EXPECT_EQ(buffer, again);
  EXPECT_FALSE(curl_memory::HoldsKeptBlock());
  curl_memory::Free(other);
  curl_memory::Free(zeroed);
  curl_memory::Free(again);
}

TEST_F(CurlMemoryTest, TwoHoldersAtOnceGetTwoBuffersAndOnlyTheFirstIsKept) {
  void* first = curl_memory::Allocate(kKept);
  void* second = curl_memory::Allocate(kKept);
  ASSERT_NE(first, second);
  curl_memory::Free(second);
  EXPECT_FALSE(curl_memory::HoldsKeptBlock());
  curl_memory::Free(first);
  EXPECT_TRUE(curl_memory::HoldsKeptBlock());
  void* again = curl_memory::Allocate(kKept);
  void* another = curl_memory::Allocate(kKept);
  EXPECT_EQ(first, again);
  EXPECT_NE(again, another);
  curl_memory::Free(again);
  curl_memory::Free(another);
}

TEST_F(CurlMemoryTest, AReallocatedBufferIsNoLongerKeptAndTextsAreCopied) {
  void* buffer = curl_memory::Allocate(kKept);
  void* smaller = curl_memory::Reallocate(buffer, 16);
  ASSERT_NE(nullptr, smaller);
  curl_memory::Free(smaller);
  EXPECT_FALSE(curl_memory::HoldsKeptBlock());  // a 16-byte block kept for a 4 KiB transfer would overflow

  char* copy = curl_memory::Duplicate("Host: example");
  EXPECT_STREQ("Host: example", copy);
  curl_memory::Free(copy);
  curl_memory::Free(nullptr);
  EXPECT_FALSE(curl_memory::HoldsKeptBlock());
}

}  // namespace
