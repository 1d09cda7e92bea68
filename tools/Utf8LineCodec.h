// UTF-8 lines to UTF-16 text and back. A string reused for every line is
// allocated only for a line longer than any before it, and never grows by
// copying, so no stray copy of a line is left in released memory.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "tools/WideString.h"

// Strict decoding: overlong forms, surrogates, values above U+10FFFF and
// truncated sequences are errors. Returns false and stores the offset of the
// first byte that does not start a valid sequence; out then holds the text
// before it.
bool DecodeUtf8Strict(std::string_view in, WString& out, std::size_t* pErrorOffset);

// in without the sequence that its end cuts short, if any: what can be
// judged of a line before the rest of it comes.
std::string_view WithoutCutSequence(std::string_view in);

// Forgiving decoding, as a text field given these bytes would show them:
// each maximal invalid subsequence becomes one U+FFFD.
void DecodeUtf8Lenient(std::string_view in, WString& out);

// Appends the UTF-8 form of in; an unpaired surrogate becomes U+FFFD.
void AppendUtf8(WStringView in, std::string& out);

// The code point at in[i], joining a surrogate pair; *pUnits receives 1 or 2.
char32_t CodePointAt(WStringView in, std::size_t i, std::size_t* pUnits);
