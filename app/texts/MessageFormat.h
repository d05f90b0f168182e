// Filling a message text's placeholder. Message texts come from data files (message tables, skins), so they
// are never used as printf formats: only "%s" and "%%" are replaced, as text.
#pragma once

#include <string>

// `format` with every "%s" replaced by `value` (null counts as empty) and every "%%" by "%"; other '%'
// sequences stay as they are. A null `format` gives "".
std::wstring FormatMessageText(const wchar_t* format, const wchar_t* value);
