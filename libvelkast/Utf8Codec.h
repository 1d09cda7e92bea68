// UTF-8 to UTF-16 text and back. A string reused for every password is
// allocated only for one longer than any before it, and never grows by
// copying, so no stray copy of a password is left in released memory.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "libvelkast/WideString.h"

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

// The UTF-8 form of in, an unpaired surrogate as U+FFFD: its length in
// bytes, written to out (room for Utf8Length(in) bytes; returns the end), or
// appended to out (which grows once at most).
std::size_t Utf8Length(WStringView in);
char* EncodeUtf8(WStringView in, char* out);
void AppendUtf8(WStringView in, std::string& out);

// The code point at in[i], joining a surrogate pair; *pUnits receives 1 or 2.
char32_t CodePointAt(WStringView in, std::size_t i, std::size_t* pUnits);
