// What the notice and keyword readers share: loading an XML file through its wide path, walking its record
// elements and converting element text into fixed fields.
//
// Record elements: the root's first child element of the given name, then every following sibling element
// of any name. A field takes the text of the record's first child element of its name, when that element's
// first child is text (CDATA included); anything else leaves the field empty.
#pragma once

#include <tinyxml.h>

#include <cstddef>

// Clears `document` and loads the file at `path` into it (TinyXML's default encoding detection). False for
// a null or empty path, a file that cannot be opened, or a parse error.
bool LoadXmlRecordFile(TiXmlDocument* document, const wchar_t* path);

// The first record element, or null (no root, or no child element of that name).
const TiXmlElement* FirstRecordElement(const TiXmlDocument& document, const char* first_name);

// Converts the text of `record`'s child element `name` from UTF-8 into `field` (zeroed by the caller) when
// its UTF-16 form, terminator included, needs at most `limit` units; a longer text leaves the field empty
// rather than cut. Invalid UTF-8 becomes U+FFFD.
void ReadRecordField(const TiXmlElement& record, const char* name, wchar_t* field, size_t limit);
