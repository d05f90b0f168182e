// Splitting the launcher's command line (or the text of its signed parameter file) into tokens.
//
// Rules, applied from left to right:
//   - A space (U+0020 only; a tab is an ordinary character) outside double quotes ends the current token.
//   - A double quote toggles "inside quotes" and is removed from the token; a quote where a token may start
//     starts one, so "" is an empty token.
//   - A run of backslashes that is followed by a double quote is halved (rounded down) and the quote is kept
//     as a literal character that does not toggle quoting. A run followed by anything else stays whole.
// So  /UserNick:"a b"  gives  /UserNick:a b,  \\"  gives  \",  and  \"  gives  ".
#pragma once

#include <cstdint>

// Splits `text` in place. With `tokens` null it only counts and leaves the text as it is. With `tokens` it
// writes NULs between the tokens, removes the quotes and halved backslashes, and stores a pointer to each
// token's start, up to `*count` pointers (the capacity on entry). When the array is full, recording stops
// (the rest of the text is left as it is) while counting goes on. On return `*count` holds the full number
// of tokens. Returns 1, or 0 when the array was too small. An empty or null text gives 0 tokens and 1.
int SplitArguments(wchar_t* text, wchar_t** tokens, int32_t* count);
