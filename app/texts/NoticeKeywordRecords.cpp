#include "app/texts/NoticeKeywordRecords.h"

namespace {

NoticeRecord* g_notices = nullptr;
int32_t g_notice_count = 0;
KeywordRecord* g_keywords = nullptr;
int32_t g_keyword_count = 0;

}  // namespace

int32_t RawNoticeCount() {
  return g_notice_count;
}

const NoticeRecord* RawNotices() {
  return g_notices;
}

void PublishRawNotices(NoticeRecord* records, int32_t count) {
  delete[] g_notices;
  g_notices = records;
  g_notice_count = count;
}

void ClearRawNoticeCount() {
  g_notice_count = 0;
}

void ReleaseRawNotices() {
  PublishRawNotices(nullptr, 0);
}

int32_t RawKeywordCount() {
  return g_keyword_count;
}

const KeywordRecord* RawKeywords() {
  return g_keywords;
}

void PublishRawKeywords(KeywordRecord* records, int32_t count) {
  delete[] g_keywords;
  g_keywords = records;
  g_keyword_count = count;
}

void ClearRawKeywordCount() {
  g_keyword_count = 0;
}

void ReleaseRawKeywords() {
  PublishRawKeywords(nullptr, 0);
}
