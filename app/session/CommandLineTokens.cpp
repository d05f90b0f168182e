#include "app/session/CommandLineTokens.h"

#include <cwchar>

namespace {

// One pass over the text. `read` walks the original text; while recording, every character that stays is
// written at `write`, which never runs ahead of `read`, so removing a quote or half a backslash run costs no
// shifting of the rest of the text.
class Splitter {
 public:
  Splitter(wchar_t* text, wchar_t** tokens, int32_t capacity)
      : read_(text), write_(text), tokens_(tokens), capacity_(capacity), recording_(tokens != nullptr) {}

  int Run(int32_t* count) {
    while (*read_ != 0) {
      wchar_t unit = *read_;
      if (unit == L' ' && !inside_quotes_) {
        Keep(recording_ ? L'\0' : unit);
        at_token_start_ = true;
      } else if (unit == L'"') {
        BeginTokenIfAtStart();
        inside_quotes_ = !inside_quotes_;
        ++read_;  // removed from the token
      } else if (unit == L'\\') {
        BeginTokenIfAtStart();
        Backslashes();
      } else {
        BeginTokenIfAtStart();
        Keep(unit);
      }
    }
    if (recording_)
      *write_ = 0;
    *count = count_;
    return result_;
  }

 private:
  void Keep(wchar_t unit) {
    if (recording_)
      *write_++ = unit;
    ++read_;
  }

  void BeginTokenIfAtStart() {
    if (!at_token_start_)
      return;
    at_token_start_ = false;
    if (recording_ && count_ >= capacity_)
      StopRecording();
    if (recording_)
      tokens_[count_] = write_;
    ++count_;
  }

  // The array is full: the rest of the text moves to where the recorded part ends, unchanged, and from here
  // on the pass only counts.
  void StopRecording() {
    size_t rest = std::wcslen(read_);
    std::wmemmove(write_, read_, rest + 1);
    read_ = write_;
    recording_ = false;
    result_ = 0;
  }

  void Backslashes() {
    size_t run = 0;
    while (read_[run] == L'\\')
      ++run;
    bool before_quote = read_[run] == L'"';
    size_t kept = before_quote ? run / 2 : run;
    for (size_t i = 0; i < kept; ++i) {
      if (recording_)
        *write_++ = L'\\';
    }
    if (!recording_) {
      read_ += run;
      if (before_quote)
        ++read_;
      return;
    }
    read_ += run;
    if (before_quote)
      Keep(L'"');  // a literal quote: it does not toggle quoting
  }

  wchar_t* read_;
  wchar_t* write_;
  wchar_t** tokens_;
  int32_t capacity_;
  bool recording_;
  bool at_token_start_ = true;
  bool inside_quotes_ = false;
  int32_t count_ = 0;
  int result_ = 1;
};

}  // namespace

int SplitArguments(wchar_t* text, wchar_t** tokens, int32_t* count) {
  int32_t capacity = *count;
  if (text == nullptr) {
    *count = 0;
    return 1;
  }
  Splitter splitter(text, tokens, capacity < 0 ? 0 : capacity);
  return splitter.Run(count);
}
