// The catalogue's smaller objects: the top-menu entries, and the search keywords and notices built over the
// records that the XML readers published (app/texts/NoticeKeywordRecords.h). The catalogue owns them all.
#pragma once

#include <cstdint>

#include "app/games/RawCatalogueRecords.h"
#include "app/texts/NoticeKeywordRecords.h"

class ITopMenuInfo {
 public:
  virtual ~ITopMenuInfo() = default;
  virtual const wchar_t* GetName() = 0;
  virtual const wchar_t* GetUrl() = 0;
  virtual int32_t GetValue() = 0;
};

// One top-menu entry, copied from its raw record (name and URL cut to 259 characters).
class TopMenuInfo : public ITopMenuInfo {
 public:
  explicit TopMenuInfo(const RawTopMenuRecord& record);
  const wchar_t* GetName() override { return name_; }
  const wchar_t* GetUrl() override { return url_; }
  int32_t GetValue() override { return value_; }

 private:
  wchar_t name_[260] = {};
  wchar_t url_[260] = {};
  int32_t value_ = 1;
  int32_t reserved_ = 0;
};

// One search keyword; its texts point into the published keyword record.
struct KeywordInfo {
  explicit KeywordInfo(const KeywordRecord& record)
      : view_content(record.view_content),
        keyword(record.keyword),
        section(record.section),
        href(record.href) {}
  int32_t reserved[2] = {};
  const wchar_t* view_content;
  const wchar_t* keyword;
  const wchar_t* section;
  const wchar_t* href;
};

// One notice of the ticker; its texts point into the published notice record.
struct NoticeInfo {
  explicit NoticeInfo(const NoticeRecord& record) : subject(record.subject), url(record.url) {}
  const wchar_t* subject;
  const wchar_t* url;
};
