// The launcher's records keep names, paths and command-line values in fixed-size wide-character fields. These
// helpers are the one way text gets into such a field: never past its end, always terminated, a text that
// does not fit cut at width - 1 units.
#pragma once

#include <cstddef>

// Copies `text` (null counts as empty) into `field` of `width` units. Returns false when it had to be cut.
// `width` 0 writes nothing.
bool CopyToField(wchar_t* field, size_t width, const wchar_t* text);
// Appends `text` to the terminated text in `field`, cut at width - 1 units. False when it had to be cut.
bool AppendToField(wchar_t* field, size_t width, const wchar_t* text);

template <size_t N>
bool CopyToField(wchar_t (&field)[N], const wchar_t* text) {
  return CopyToField(field, N, text);
}
template <size_t N>
bool AppendToField(wchar_t (&field)[N], const wchar_t* text) {
  return AppendToField(field, N, text);
}

// True when `name` can stand as one component of a file path or registry key: not empty, no "\", "/" or ":",
// and no "..". Game ids and skin names come from the command line and from ini files and are joined into
// paths and registry keys; a name that fails here would reach outside its folder or key.
bool IsPlainName(const wchar_t* name);
