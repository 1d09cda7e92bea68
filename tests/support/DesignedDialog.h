// The password dialog as it was designed, typed in here from the design and
// never read back from a template: a template that drifts from it fails.
#pragma once

#include <string>
#include <utility>

#include "platform/framework/DialogTemplate.h"
#include "platform/framework/Resource.h"

struct DesignedControl {
  int id;
  const char* pszClass;  // a predefined class, by the name the framework gives it
  const char* pszText;
  short x, y, cx, cy;  // dialog units
  DWORD style;
};

// The controls in template (and tab) order.
// clang-format off
inline constexpr DesignedControl kDesignedControls[] = {
    // id   class     text                     x    y    cx   cy  style
    {1000, "Edit",   "",                      7,   79,  154, 14, 0x50810080},
    {1001, "Edit",   "",                      7,   115, 155, 14, 0x50810880},
    {1003, "Button", "Decrypt",               110, 7,   50,  14, 0x50010000},
    {1004, "Button", "Encrypt",               110, 29,  50,  14, 0x50010000},
    {-1,   "Static", "Using AES Encryption",  7,   7,   79,  8,  0x50020000},
};
// clang-format on

inline constexpr char kDesignedCaption[] = "Velkast v1.1";

// Names for screen readers of the two fields the label does not name.
inline constexpr std::pair<int, const char*> kDesignedAccessibleNames[] = {
    {1000, "Password or encrypted text"}, {1001, "Result"}};

// Expects the module's dialog 102 to be the designed one, read with the
// framework's reader: style 0x90C80048, extended style 0x80040000, at
// (0, 0), 167 x 149 units, the caption, 8-point "MS Shell Dlg", the controls
// and the accessible names above in order; and no dialog 999.
void ExpectDesignedDialogIn(HINSTANCE hModule);

// ASCII text as wide text, for comparisons.
std::basic_string<WCHAR> Wide(const char* pszAscii);
