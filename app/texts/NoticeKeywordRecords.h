// The raw notice and search-keyword records that the XML readers (CXMLNotice, CXMLSearchKeyword) publish
// and the catalogue builds its notice and keyword objects from.
//
// The published arrays are process-wide. The readers replace them (freeing the previous array); the
// catalogue frees them when it is released. Thread: the user-interface thread.
#pragma once

#include <cstddef>
#include <cstdint>

// One notice of the ticker; both fields are empty when absent.
struct NoticeRecord {
  wchar_t subject[1024];  // the text shown
  wchar_t url[1024];      // opened when the notice is clicked
};
static_assert(sizeof(NoticeRecord) == 4096, "notice record layout");

// One search keyword; every field is empty when absent. view_content and href take at most 259
// characters, whatever their width.
struct KeywordRecord {
  wchar_t view_content[262];  // the search-box hint, compared with what the user types
  wchar_t link_type[260];     // kept, read by nobody
  wchar_t keyword[260];       // the search term sent when the typed text equals the hint
  wchar_t section[260];
  wchar_t href[1024];
};
static_assert(offsetof(KeywordRecord, link_type) == 524, "keyword record layout");
static_assert(offsetof(KeywordRecord, href) == 2084, "keyword record layout");
static_assert(sizeof(KeywordRecord) == 4132, "keyword record layout");

// The published notices: count and array (null when none was published).
int32_t RawNoticeCount();
const NoticeRecord* RawNotices();
// Makes `records` (`count` > 0, allocated with new[]) the published array, freeing the previous one.
void PublishRawNotices(NoticeRecord* records, int32_t count);
// Sets the count to 0 and leaves the array as it is (a publication of nothing).
void ClearRawNoticeCount();
// Frees the array and sets the count to 0.
void ReleaseRawNotices();

int32_t RawKeywordCount();
const KeywordRecord* RawKeywords();
void PublishRawKeywords(KeywordRecord* records, int32_t count);
void ClearRawKeywordCount();
void ReleaseRawKeywords();
