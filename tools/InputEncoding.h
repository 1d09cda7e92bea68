// What the first bytes of the input say of its encoding. The tool reads
// UTF-8; a UTF-8 byte order mark is skipped, and UTF-16 (what Windows tools
// save as "Unicode", and Windows PowerShell 5.1's ">" writes) is named, so
// it is never taken for damaged UTF-8 or a damaged text.
#pragma once

#include <string_view>

enum class InputEncoding {
  Undecided,     // too few bytes yet
  Utf8,          // as it stands
  Utf8WithMark,  // begins with the 3 bytes of a UTF-8 byte order mark
  Utf16LE,       // a byte order mark FF FE, or a first character with a NUL after it
  Utf16BE,       // a byte order mark FE FF, or a first character with a NUL before it
};

// bComplete: no more bytes will come. A NUL in the first two bytes would
// refuse the first line anyway; there it means UTF-16 far more often than
// a NUL typed into a password. A line end first decides at once, so an empty
// first line is answered without waiting for more input.
InputEncoding SniffInputEncoding(std::string_view first, bool bComplete);

// "UTF-16LE", "UTF-16BE", or "UTF-8".
std::string_view EncodingName(InputEncoding encoding);
