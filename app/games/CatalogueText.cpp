#include "app/games/CatalogueText.h"

#include <windows.h>

#include <climits>
#include <cstring>
#include <cwchar>

#include "app/games/GameCatalogue.h"
#include "ui/base/NumberText.h"

namespace {

bool IsLineBreak(char byte) {
  return byte == '\r' || byte == '\n' || byte == 0;
}

// Starts the parse of a counted text: `cursor` over the text and line 1 read as the count (at least
// `minimum`). kCatalogueOk with `count` set, or the code that ends the parse.
int ReadCountLine(char* text, size_t size, int32_t minimum, TextCursor* cursor, int32_t* count) {
  *cursor = TextCursor{text, text + size};
  char* line = nullptr;
  size_t length = 0;
  if (!NextTextLine(cursor, &line, &length))
    return kCatalogueBadFormat;
  line[length] = 0;
  if (line[0] == '0')
    return kCatalogueEmpty;
  *count = DecimalValue(line);
  return *count < minimum ? kCatalogueBadFormat : kCatalogueOk;
}

// The next line split into fields; false at the end of the buffer.
bool NextFieldLine(TextCursor* cursor, std::vector<char*>* fields) {
  char* line = nullptr;
  size_t length = 0;
  if (!NextTextLine(cursor, &line, &length))
    return false;
  line[length] = 0;
  SplitFields(line, fields);
  return true;
}

// As sscanf's "%d" would accept: blanks, an optional sign, then a digit.
bool StartsWithInteger(const char* text) {
  while (*text == ' ' || *text == '\t')
    ++text;
  if (*text == '-' || *text == '+')
    ++text;
  return *text >= '0' && *text <= '9';
}

// Field 0 of a game line: "exe name#n1,n2".
void ReadExeField(char* field, RawGameRecord* record) {
  char* hash = std::strchr(field, '#');
  if (hash == nullptr)
    return;
  *hash = 0;
  Utf8ToField(field, record->exe_name);
  char* comma = std::strchr(hash + 1, ',');
  if (comma != nullptr && StartsWithInteger(hash + 1) && StartsWithInteger(comma + 1)) {
    record->exe_numbers[0] = DecimalValue(hash + 1);
    record->exe_numbers[1] = DecimalValue(comma + 1);
  }
}

bool ReadGameLine(const std::vector<char*>& fields, RawGameRecord* record) {
  if (fields.size() < 27)
    return false;
  ReadExeField(fields[0], record);
  Utf8ToField(fields[1], record->server_addr);
  Utf8ToField(fields[2], record->file_host);
  Utf8ToField(fields[6], record->shortcut_args);
  Utf8ToField(fields[9], record->postpage1_url);
  Utf8ToField(fields[10], record->exe_relative_path);
  Utf8ToField(fields[11], record->field11);
  Utf8ToField(fields[12], record->installer_url);
  Utf8ToField(fields[14], record->home_url);
  Utf8ToField(fields[15], record->title);
  record->catalogue_version = DecimalValue(fields[16]);
  Utf8ToField(fields[17], record->game_id);
  record->installed = IsStartGame(record->game_id, record->game_folder) ? 1 : 0;
  record->loader_type = DecimalValue(fields[18]);
  if (record->loader_type < 0 || record->loader_type > 4)
    return false;
  record->field19 = DecimalValue(fields[19]);
  record->open = DecimalValue(fields[20]) != 0 ? 1 : 0;
  Utf8ToField(fields[21], record->icon_url_base);
  record->icon_version = DecimalValue(fields[22]);
  record->option_bits = DecimalValue(fields[23]);
  Utf8ToField(fields[24], record->postpage2_url);
  Utf8ToField(fields[25], record->skin_name);
  Utf8ToField(fields[26], record->repository_sub);
  if (fields.size() > 27)
    Utf8ToField(fields[27], record->field27);
  return true;
}

}  // namespace

bool NextTextLine(TextCursor* cursor, char** line, size_t* length) {
  char* position = cursor->position;
  while (position < cursor->end && IsLineBreak(*position))
    ++position;
  char* start = position;
  while (position < cursor->end && !IsLineBreak(*position))
    ++position;
  cursor->position = position;
  *line = start;
  *length = static_cast<size_t>(position - start);
  return *length != 0;
}

bool SplitFields(char* line, std::vector<char*>* fields) {
  fields->clear();
  if (line == nullptr || line[0] == 0)
    return false;
  char* field = line;
  for (;;) {
    fields->push_back(field);
    char* bar = std::strchr(field, '|');
    if (bar == nullptr)
      break;
    *bar = 0;
    field = bar + 1;
    if (*field == 0)
      break;
  }
  return true;
}

int32_t DecimalValue(const char* text) {
  if (text == nullptr)
    return 0;
  while (*text == ' ' || *text == '\t')
    ++text;
  bool negative = *text == '-';
  if (*text == '-' || *text == '+')
    ++text;
  int64_t value = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    value = value * 10 + (*text - '0');
    if (value > static_cast<int64_t>(INT32_MAX) + 1)
      value = static_cast<int64_t>(INT32_MAX) + 1;
  }
  if (negative)
    return static_cast<int32_t>(-value);
  return value > INT32_MAX ? INT32_MAX : static_cast<int32_t>(value);
}

bool Utf8ToField(const char* text, wchar_t* field, size_t width) {
  if (width == 0)
    return false;
  field[0] = 0;
  if (text == nullptr || text[0] == 0)
    return true;
  int needed = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  if (needed <= 0 || static_cast<size_t>(needed) > width)
    return false;
  // Invalid sequences may be counted one way when sizing and converted another (Wine does so for runs of lead
  // bytes): the text only counts when the conversion ends with its terminator inside the field.
  if (MultiByteToWideChar(CP_UTF8, 0, text, -1, field, needed) != needed || field[needed - 1] != 0) {
    field[0] = 0;
    return false;
  }
  return true;
}

int ParseGameListText(char* text, size_t size, std::vector<RawGameRecord>* records) {
  records->clear();
  TextCursor cursor{};
  int32_t count = 0;
  int result = ReadCountLine(text, size, 1, &cursor, &count);
  if (result != kCatalogueOk)
    return result;
  std::vector<char*> fields;
  while (records->size() < static_cast<size_t>(count) && NextFieldLine(&cursor, &fields)) {
    records->emplace_back();
    if (!ReadGameLine(fields, &records->back())) {
      records->clear();
      return kCatalogueBadFormat;
    }
  }
  return kCatalogueOk;
}

int ParseGameVersionsText(char* text, size_t size, RawGameRecord* records, size_t count) {
  TextCursor cursor{};
  int32_t lines = 0;
  int result = ReadCountLine(text, size, 1, &cursor, &lines);
  if (result != kCatalogueOk)
    return result;
  std::vector<char*> fields;
  wchar_t game_id[50];
  for (int32_t read = 0; read < lines && NextFieldLine(&cursor, &fields); ++read) {
    if (fields.size() < 4 || !Utf8ToField(fields[0], game_id) || game_id[0] == 0)
      continue;
    for (size_t index = 0; index < count; ++index) {
      RawGameRecord& record = records[index];
      if (std::wcscmp(record.game_id, game_id) != 0)
        continue;
      record.catalogue_version = DecimalValue(fields[1]);
      record.open = DecimalValue(fields[2]) != 0 ? 1 : 0;
      record.option_bits = DecimalValue(fields[3]);
      break;
    }
  }
  return kCatalogueOk;
}

int ParseTopMenuText(char* text, size_t size, std::vector<RawTopMenuRecord>* records) {
  records->clear();
  TextCursor cursor{};
  int32_t count = 0;
  int result = ReadCountLine(text, size, 1, &cursor, &count);
  if (result != kCatalogueOk)
    return result;
  std::vector<char*> fields;
  for (int32_t read = 0; read < count && NextFieldLine(&cursor, &fields); ++read) {
    if (fields.size() < 4)
      continue;
    records->emplace_back();
    RawTopMenuRecord& record = records->back();
    record.id = DecimalValue(fields[0]);
    Utf8ToField(fields[1], record.name);
    Utf8ToField(fields[2], record.url);
    record.value = DecimalValue(fields[3]);
  }
  return kCatalogueOk;
}

int ReadLaunchModeText(char* text, size_t size, LaunchMode* mode) {
  TextCursor cursor{};
  int32_t count = 0;
  int result = ReadCountLine(text, size, 2, &cursor, &count);
  if (result != kCatalogueOk)
    return result;
  *mode = LaunchMode{};
  char* line = nullptr;
  size_t length = 0;
  wchar_t key[260];
  wchar_t value[260];
  while (NextTextLine(&cursor, &line, &length)) {
    line[length] = 0;
    char* colon = std::strchr(line, ':');
    if (colon == nullptr)
      break;
    *colon = 0;
    Utf8ToField(line, key);
    Utf8ToField(colon + 1, value);
    int32_t number = TextToInt32(value);
    if (std::wcscmp(key, L"UseOrvane") == 0)
      mode->UseOrvane = number;
    else if (std::wcscmp(key, L"UpdateViaOrvane") == 0)
      mode->UpdateViaOrvane = number;
  }
  return kCatalogueOk;
}
