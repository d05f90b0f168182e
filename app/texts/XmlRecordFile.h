// What the XML readers share: reading an XML file through its wide path and parsing its bytes, walking record
// elements and converting element text into fixed fields.
//
// Record elements: the root's first child element of the given name, then every following sibling element
// of any name. A field takes the text of the record's first child element of its name, when that element's
// first child is text (CDATA included); anything else leaves the field empty.
#pragma once

#include <tinyxml.h>

#include <cstddef>
#include <string>

// The whole file at `path` (a wide path) into `bytes`. False for a null or empty path, a file that cannot be
// read whole, or no memory for it.
bool ReadXmlFileBytes(const wchar_t* path, std::string* bytes);

// NULs after the copy that TinyXML parses. Its parser steps over a whole UTF-8 sequence even when the text
// ends inside it (a lead byte as one of the last three bytes), and so reads up to three bytes past the
// terminator; these NULs keep that read inside the copy and end the parse there.
const size_t kXmlTextPadding = 4;

// The deepest level of elements a reader accepts (the root is level 1). The real files nest three levels;
// TinyXML recurses once per level, and some 30,000 levels overflow the stack.
const size_t kMaxXmlNesting = 64;

// Clears `document` and parses `size` bytes of an XML file into it, as TinyXML's file loader reads a file
// (the text ends at its first NUL; CR LF and a lone CR read as LF), from a copy ending in kXmlTextPadding
// NULs. False for an empty text, a text whose elements nest deeper than kMaxXmlNesting (XmlNesting.h; not
// handed to TinyXML), a parse error, or no memory for the copy. Pure: no file, no global.
bool ParseXmlBytes(TiXmlDocument* document, const char* bytes, size_t size, TiXmlEncoding encoding);
// The copy that ParseXmlBytes hands to TinyXML, without the padding (tests).
std::string NormalizedXmlText(const char* bytes, size_t size);

// The first record element, or null (no root, or no child element of that name).
const TiXmlElement* FirstRecordElement(const TiXmlDocument& document, const char* first_name);

// Converts the text of `record`'s child element `name` from UTF-8 into `field` (zeroed by the caller) when
// its UTF-16 form, terminator included, needs at most `limit` units; a longer text leaves the field empty
// rather than cut. Invalid UTF-8 becomes U+FFFD.
void ReadRecordField(const TiXmlElement& record, const char* name, wchar_t* field, size_t limit);
