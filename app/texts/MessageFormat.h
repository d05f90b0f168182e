// Filling a message text's placeholder. Message texts come from data files (message tables, skins), so they
// are never used as printf formats: only "%s" (or "%d") and "%%" are replaced, as text.
#pragma once

#include <cstdint>
#include <string>

// `format` with every "%s" replaced by `value` (null counts as empty) and every "%%" by "%"; other '%'
// sequences stay as they are. A null `format` gives "".
std::wstring FormatMessageText(const wchar_t* format, const wchar_t* value);
// `format` with every "%d" replaced by `value` in decimal and every "%%" by "%"; a null `format` gives "".
std::wstring FormatMessageNumber(const wchar_t* format, int32_t value);
