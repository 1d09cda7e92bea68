// A dialog template as data: the window's styles, position and size in
// dialog units, caption, font and its controls in tab order. Templates are
// constant objects in the program's resources; the backend builds the real
// window from them.
#pragma once

#include <cstddef>

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
  int id;                  // control id; IDC_STATIC (-1) for none
  LPCWSTR pszClass;        // WC_BUTTON, WC_EDIT or WC_STATIC
  LPCWSTR pszText;         // initial text
  short x, y, cx, cy;      // dialog units
  DWORD style;
  DWORD dwExtendedStyle;
};

struct DIALOG_TEMPLATE {
  DWORD style;
  DWORD dwExtendedStyle;
  short x, y, cx, cy;      // dialog units
  LPCWSTR pszCaption;
  WORD wPointSize;         // font, used with DS_SETFONT
  LPCWSTR pszTypeface;
  const DIALOG_ITEM_TEMPLATE* pItems;
  std::size_t cItems;
};

// A control's accessible name, for controls that no label in front of
// them names. A resource of type RT_DLGACCNAMES with a dialog's id holds an
// array of these for that dialog.
struct DIALOG_ACCESSIBLE_NAME {
  int id;
  LPCWSTR pszName;
};
