// How deep the elements of an XML text nest as TinyXML 2.6 reads them, found before TinyXML parses the text.
// TinyXML's parser (and its destructor) recurse once per open element, so a small file nested some 30,000
// levels deep overflows the stack; the readers refuse a text that nests deeper than their files can need.
//
// The scan reads the bytes the way TinyXML does, so that neither side of the count can be fooled:
//   - no element is counted that TinyXML takes as something else: the inside of comments ("<!--" to "-->"),
//     CDATA sections ("<![CDATA[" to "]]>"), declarations ("<?xml", quoted values of version, encoding and
//     standalone) and other "<?" and "<!" nodes (to the first '>'), quoted attribute values ('>' and '<'
//     included), and self-closing tags, which open nothing;
//   - no element escapes the count that TinyXML parses: a character reference "&#...;" steps to the first ';'
//     after it and a UTF-8 lead byte over its whole sequence in text and attribute values, as TinyXML steps,
//     markup bytes included. Which of the two ways a byte steps follows the encoding: UTF-8 when given or
//     when the text starts with a byte-order mark; when it is to be detected, byte by byte until the first
//     declaration at the document level ends, and from there both ways are scanned and the deeper counts.
#pragma once

#include <tinyxml.h>

#include <cstddef>

// The deepest level of an element (the root is level 1) that TinyXML reaches when it parses `bytes` (the text
// ends at its first NUL or after `size` bytes) with `encoding`, counted up to `limit` + 1: the scan stops
// as soon as an element lies deeper than `limit`. 0 for a text without elements. Where TinyXML would stop
// at an error the scan stops too (an end tag's name is not compared, so a text with mismatched tags may
// count deeper than TinyXML gets). Linear in the text; no recursion, no allocation, no global.
size_t XmlNestingDepth(const char* bytes, size_t size, TiXmlEncoding encoding, size_t limit);
