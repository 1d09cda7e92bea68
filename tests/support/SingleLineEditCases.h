// How a single-line edit control takes text, as the system's own control
// does (Windows, and Wine, where the Windows tests run): the Windows backend
// has it from the system, and the Qt backend is held to the same cases.
#pragma once

struct PasteCase {
  const char* pszBefore;  // the field's text; the caret after nCaret characters
  int nCaret;
  const char* pszPasted;
  const char* pszAfter;
};

// A pasted text keeps what comes before its first line feed, without a
// carriage return right before it; a carriage return alone is no line end.
inline constexpr PasteCase kPasteCases[] = {
    {"", 0, "hunter2\n", "hunter2"},   {"xyz", 2, "abc\r\ndef", "xyabcz"},
    {"xyz", 3, "\r\nabc", "xyz"},      {"", 0, "a\rb\nc", "a\rb"},
    {"xyz", 0, "a\tb c", "a\tb cxyz"},
};

// Text set by the program is kept as it is, line breaks and all.
inline constexpr const char* kSetTexts[] = {"x\ry", "line 1\r\nline 2"};
