// A dialog template read from its compiled form: the window's styles,
// position and size in dialog units, caption, font and its controls in tab
// order; and the table of accessible names that goes with it. The reader
// here is the one both backends use: the Qt backend builds its window from
// what it returns, and the framework's dialogs take their place and their
// close button's meaning from it on either system.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/framework/WinDef.h"

// Control class names a backend understands (compared without regard to
// case, as the system compares class names).
#if defined(_WIN32)
#include <commctrl.h>
#else
inline constexpr WCHAR WC_BUTTON[] = u"Button";
inline constexpr WCHAR WC_EDIT[] = u"Edit";
inline constexpr WCHAR WC_STATIC[] = u"Static";
#endif

struct DIALOG_ITEM_TEMPLATE {
  int id;                             // control id; IDC_STATIC (-1) for none
  std::basic_string<WCHAR> strClass;  // a predefined class is named: WC_BUTTON, WC_EDIT, ...
  std::basic_string<WCHAR> strText;   // initial text
  short x, y, cx, cy;                 // dialog units
  DWORD style;
  DWORD dwExtendedStyle;
};

struct DIALOG_TEMPLATE {
  DWORD style;
  DWORD dwExtendedStyle;
  short x, y, cx, cy;  // dialog units
  std::basic_string<WCHAR> strCaption;
  WORD wPointSize;  // font, given with DS_SETFONT
  std::basic_string<WCHAR> strTypeface;
  std::vector<DIALOG_ITEM_TEMPLATE> items;
  std::span<const BYTE> compiled;  // the resource it was read from
};

// A control's accessible name, for controls that no label in front of them
// names. The resource "DLGACCNAMES" with a dialog's id holds them.
struct DIALOG_ACCESSIBLE_NAME {
  int id;
  std::basic_string<WCHAR> strName;
};

// Reads a standard (DLGTEMPLATE) dialog template. Nothing for an extended
// template (DLGTEMPLATEEX), which no resource of this program is, or for
// bytes that end before the template does.
std::optional<DIALOG_TEMPLATE> AfxParseDialogTemplate(std::span<const BYTE> compiled);

// Reads a table of accessible names: pairs of a control id (a word) and a
// terminated name. Nothing when a name runs past the end.
std::optional<std::vector<DIALOG_ACCESSIBLE_NAME>> AfxParseAccessibleNames(
    std::span<const BYTE> compiled);
