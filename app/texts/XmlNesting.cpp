#include "app/texts/XmlNesting.h"

#include <algorithm>

namespace {

constexpr size_t kStop = static_cast<size_t>(-1);  // TinyXML would stop here: an error or the end

// TinyXML's classes of bytes (the C locale's, and every byte from 127 up counts as a letter).
bool IsSpace(unsigned char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsNameStart(unsigned char c) {
  return c >= 127 || c == '_' || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z');
}
bool IsNameChar(unsigned char c) {
  return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == ':';
}
bool IsHexDigit(unsigned char c) {
  return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f');
}
// How far TinyXML steps over a byte of UTF-8 text (its utf8ByteTable).
size_t Utf8Step(unsigned char c) {
  return c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 1;
}

// One pass over the text in one way of stepping. Positions past the text read as NUL, as TinyXML's padded
// copy does.
class NestingScan {
 public:
  NestingScan(const char* text, size_t size, bool utf8, size_t limit)
      : text_(text), size_(size), utf8_(utf8), limit_(limit) {}

  // Scans from `at` (at the document level) to the end or the first error; the deepest level reached. When
  // `declaration_end` is given it receives where the first declaration at the document level ends (kStop
  // when there is none).
  size_t Run(size_t at, size_t* declaration_end) const;

 private:
  unsigned char At(size_t at) const { return at < size_ ? static_cast<unsigned char>(text_[at]) : 0; }
  bool StartsWith(size_t at, const char* tag, bool ignore_case) const;
  size_t Find(size_t from, const char* tag) const;  // where `tag` starts at or after `from`, or kStop
  size_t SkipSpace(size_t at) const;
  size_t NextChar(size_t at) const;
  size_t CharacterReference(size_t at) const;
  size_t Quoted(size_t at, unsigned char quote) const;
  size_t Attribute(size_t at) const;
  size_t Text(size_t at) const;
  size_t StartTag(size_t at, bool* open) const;
  size_t EndTag(size_t at) const;
  size_t Declaration(size_t at) const;
  size_t Node(size_t at, bool* element, bool* open, bool* declaration) const;

  const char* text_;
  size_t size_;
  bool utf8_;
  size_t limit_;
};

bool NestingScan::StartsWith(size_t at, const char* tag, bool ignore_case) const {
  for (; *tag != 0; ++tag, ++at) {
    unsigned char c = At(at);
    if (ignore_case && c >= 'A' && c <= 'Z')
      c = static_cast<unsigned char>(c | 0x20);
    if (c != static_cast<unsigned char>(*tag))
      return false;
  }
  return true;
}

size_t NestingScan::Find(size_t from, const char* tag) const {
  for (size_t at = from; at < size_; ++at) {
    if (StartsWith(at, tag, false))
      return at;
  }
  return kStop;
}

// In UTF-8, TinyXML's white space includes the byte-order mark and the two non-characters U+FFFE, U+FFFF.
size_t NestingScan::SkipSpace(size_t at) const {
  for (;;) {
    if (utf8_ && At(at) == 0xEF &&
        ((At(at + 1) == 0xBB && At(at + 2) == 0xBF) ||
         (At(at + 1) == 0xBF && (At(at + 2) == 0xBE || At(at + 2) == 0xBF)))) {
      at += 3;
    } else if (IsSpace(At(at))) {
      ++at;
    } else {
      return at;
    }
  }
}

// One character of text or of an attribute value.
size_t NestingScan::NextChar(size_t at) const {
  const size_t step = utf8_ ? Utf8Step(At(at)) : 1;
  if (step == 1 && At(at) == '&')
    return CharacterReference(at);
  return at + step;
}

// "&#<decimal>;" and "&#x<hex>;": TinyXML takes everything up to the first ';' and checks only the digits
// after the last '#' or 'x' before it, so markup between them is skipped. Named entities step like plain
// text here: they hold no markup.
size_t NestingScan::CharacterReference(size_t at) const {
  if (At(at + 1) != '#' || At(at + 2) == 0)
    return at + 1;
  const bool hex = At(at + 2) == 'x';
  if (hex && At(at + 3) == 0)
    return kStop;
  const size_t semicolon = Find(at + (hex ? 3 : 2), ";");
  if (semicolon == kStop)
    return kStop;
  for (size_t digit = semicolon - 1; At(digit) != (hex ? 'x' : '#'); --digit) {
    if (hex ? !IsHexDigit(At(digit)) : !(At(digit) >= '0' && At(digit) <= '9'))
      return kStop;
  }
  return semicolon + 1;
}

// A quoted value from after its opening quote: past the closing one.
size_t NestingScan::Quoted(size_t at, unsigned char quote) const {
  while (at != kStop && At(at) != 0 && At(at) != quote)
    at = NextChar(at);
  if (at == kStop || At(at) == 0 || At(at + 1) == 0)
    return kStop;
  return at + 1;
}

// name = value, the value quoted or running to white space, '/' or '>'.
size_t NestingScan::Attribute(size_t at) const {
  if (!IsNameStart(At(at)))
    return kStop;
  while (IsNameChar(At(at)))
    ++at;
  at = SkipSpace(at);
  if (At(at) != '=')
    return kStop;
  at = SkipSpace(at + 1);
  const unsigned char first = At(at);
  if (first == '"' || first == '\'')
    return Quoted(at + 1, first);
  for (; At(at) != 0 && !IsSpace(At(at)) && At(at) != '/' && At(at) != '>'; ++at) {
    if (At(at) == '"' || At(at) == '\'')
      return kStop;
  }
  return At(at) != 0 ? at : kStop;
}

// Text inside an element: up to the next '<'.
size_t NestingScan::Text(size_t at) const {
  while (at != kStop && At(at) != 0 && At(at) != '<')
    at = IsSpace(At(at)) ? at + 1 : NextChar(at);
  if (at == kStop || At(at) == 0 || At(at + 1) == 0)
    return kStop;
  return at;
}

// From '<' to past the tag's '>'; `open` says whether content follows (not "/>").
size_t NestingScan::StartTag(size_t at, bool* open) const {
  at = SkipSpace(at + 1);
  if (!IsNameStart(At(at)))
    return kStop;
  while (IsNameChar(At(at)))
    ++at;
  for (;;) {
    at = SkipSpace(at);
    if (At(at) == 0)
      return kStop;
    if (At(at) == '/')
      return At(at + 1) == '>' ? (*open = false, at + 2) : kStop;
    if (At(at) == '>')
      return *open = true, at + 1;
    at = Attribute(at);
    if (at == kStop)
      return kStop;
  }
}

// "</name" with white space before its '>'. TinyXML also wants the open element's name; an end tag that
// names another ends its parse, which is not followed here.
size_t NestingScan::EndTag(size_t at) const {
  at += 2;
  if (!IsNameStart(At(at)))
    return kStop;
  while (IsNameChar(At(at)))
    ++at;
  at = SkipSpace(at);
  return At(at) == '>' ? at + 1 : kStop;
}

// From after "<?xml": TinyXML reads the values of version, encoding and standalone as quoted attributes and
// steps over anything else up to white space or '>'.
size_t NestingScan::Declaration(size_t at) const {
  while (At(at) != 0) {
    if (At(at) == '>')
      return at + 1;
    at = SkipSpace(at);
    if (At(at) == 0)
      break;
    if (StartsWith(at, "version", true) || StartsWith(at, "encoding", true) ||
        StartsWith(at, "standalone", true)) {
      at = Attribute(at);
      if (at == kStop)
        return kStop;
    } else {
      while (At(at) != 0 && At(at) != '>' && !IsSpace(At(at)))
        ++at;
    }
  }
  return kStop;
}

// The node at '<' as TinyXML identifies it; past its end.
size_t NestingScan::Node(size_t at, bool* element, bool* open, bool* declaration) const {
  *element = *open = *declaration = false;
  if (StartsWith(at, "<?xml", true)) {
    *declaration = true;
    return Declaration(at + 5);
  }
  if (StartsWith(at, "<!--", false)) {
    const size_t end = Find(at + 4, "-->");
    return end != kStop ? end + 3 : kStop;
  }
  if (StartsWith(at, "<![CDATA[", false)) {
    const size_t end = Find(at + 9, "]]>");
    return end != kStop && At(end + 3) != 0 ? end + 3 : kStop;
  }
  if (StartsWith(at, "<!", false) || !IsNameStart(At(at + 1))) {
    const size_t end = Find(at + 1, ">");
    return end != kStop ? end + 1 : kStop;
  }
  *element = true;
  return StartTag(at, open);
}

size_t NestingScan::Run(size_t at, size_t* declaration_end) const {
  if (declaration_end != nullptr)
    *declaration_end = kStop;
  size_t depth = 0;  // open elements
  size_t deepest = 0;
  while (at != kStop && deepest <= limit_) {
    at = SkipSpace(at);
    if (At(at) == 0 || (depth == 0 && At(at) != '<'))
      break;  // the document ends at its first byte that is not markup
    if (At(at) != '<') {
      at = Text(at);
    } else if (depth > 0 && At(at + 1) == '/') {
      at = EndTag(at);
      depth -= at != kStop ? 1 : 0;
    } else {
      bool element, open, declaration;
      at = Node(at, &element, &open, &declaration);
      if (element)  // TinyXML keeps an element whose tag it could not read, at its level
        deepest = std::max(deepest, depth + 1);
      if (at != kStop && open)
        ++depth;
      if (at != kStop && declaration && depth == 0 && declaration_end != nullptr && *declaration_end == kStop)
        *declaration_end = at;
    }
  }
  return deepest;
}

}  // namespace

size_t XmlNestingDepth(const char* bytes, size_t size, TiXmlEncoding encoding, size_t limit) {
  size = static_cast<size_t>(std::find(bytes, bytes + size, '\0') - bytes);
  const bool byte_order_mark = size >= 3 && static_cast<unsigned char>(bytes[0]) == 0xEF &&
                               static_cast<unsigned char>(bytes[1]) == 0xBB &&
                               static_cast<unsigned char>(bytes[2]) == 0xBF;
  if (encoding == TIXML_ENCODING_UTF8 || (encoding == TIXML_ENCODING_UNKNOWN && byte_order_mark))
    return NestingScan(bytes, size, true, limit).Run(0, nullptr);
  if (encoding != TIXML_ENCODING_UNKNOWN)
    return NestingScan(bytes, size, false, limit).Run(0, nullptr);
  // TinyXML takes the encoding from the first declaration at the document level, once that is read.
  size_t declaration_end = kStop;
  size_t deepest = NestingScan(bytes, size, false, limit).Run(0, &declaration_end);
  if (declaration_end != kStop && deepest <= limit)
    deepest = std::max(deepest, NestingScan(bytes, size, true, limit).Run(declaration_end, nullptr));
  return deepest;
}
