#include "platform/framework/DialogTemplate.h"

#include "platform/framework/ResourceReader.h"
#include "platform/framework/WinUser.h"

namespace {

// Why a template names a class by a number: the resource compiler writes
// the predefined classes of EDITTEXT, PUSHBUTTON, LTEXT and their kin as
// atoms, not strings. The framework knows them by name.
std::basic_string<WCHAR> ClassOfAtom(WORD nAtom) {
  switch (nAtom) {
    case 0x0080: return WC_BUTTON;
    case 0x0081: return WC_EDIT;
    case 0x0082: return WC_STATIC;
    case 0x0083: return TEXT("ListBox");
    case 0x0084: return TEXT("ScrollBar");
    case 0x0085: return TEXT("ComboBox");
    default: return {};
  }
}

// Reads one DLGITEMTEMPLATE and what follows it. The reader stands at the
// item's DWORD boundary.
DIALOG_ITEM_TEMPLATE ReadItem(CResourceReader& in) {
  DIALOG_ITEM_TEMPLATE item{};
  item.style = in.Dword();
  item.dwExtendedStyle = in.Dword();
  item.x = in.Short();
  item.y = in.Short();
  item.cx = in.Short();
  item.cy = in.Short();
  // A word, so IDC_STATIC is stored as 0xFFFF: read back signed it is -1.
  item.id = in.Short();
  RESOURCE_NAME cls = in.Name();
  item.strClass = cls.nOrdinal != 0 ? ClassOfAtom(cls.nOrdinal) : std::move(cls.strName);
  // The text may be an ordinal too (a static control's icon by id); such a
  // control has no text of its own.
  item.strText = std::move(in.Name().strName);
  // Creation data: a count of bytes after the count itself. The resource
  // compiler gives standard templates none.
  in.Bytes(in.Word());
  return item;
}

}  // namespace

std::optional<DIALOG_TEMPLATE> AfxParseDialogTemplate(std::span<const BYTE> compiled) {
  CResourceReader in(compiled);
  DIALOG_TEMPLATE tmpl{};
  tmpl.compiled = compiled;
  tmpl.style = in.Dword();
  // An extended template starts with the words 1 and 0xFFFF, which read as
  // a style no standard template can have.
  if (HIWORD(tmpl.style) == 0xFFFF)
    return std::nullopt;
  tmpl.dwExtendedStyle = in.Dword();
  const WORD cItems = in.Word();
  tmpl.x = in.Short();
  tmpl.y = in.Short();
  tmpl.cx = in.Short();
  tmpl.cy = in.Short();
  in.Name();  // menu: the framework's dialogs have none
  in.Name();  // window class: the dialog manager's own
  tmpl.strCaption = in.String();
  // The font is there only when the style says so; DS_SHELLFONT includes it.
  if ((tmpl.style & DS_SETFONT) != 0) {
    tmpl.wPointSize = in.Word();
    tmpl.strTypeface = in.String();
  }
  for (WORD i = 0; i < cItems && !in.Failed(); ++i) {
    // Each item starts on a DWORD boundary of the template.
    in.AlignDword();
    tmpl.items.push_back(ReadItem(in));
  }
  if (in.Failed())
    return std::nullopt;
  return tmpl;
}

std::optional<std::vector<DIALOG_ACCESSIBLE_NAME>> AfxParseAccessibleNames(
    std::span<const BYTE> compiled) {
  std::vector<DIALOG_ACCESSIBLE_NAME> names;
  CResourceReader in(compiled);
  while (!in.AtEnd() && !in.Failed()) {
    const int nID = in.Short();
    // The resource compiler pads the table to a DWORD with zeros, and no
    // control named here has the id 0: a 0 ends the table.
    if (nID == 0)
      break;
    names.push_back({nID, in.String()});
  }
  if (in.Failed())
    return std::nullopt;
  return names;
}
