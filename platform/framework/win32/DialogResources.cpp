// The executable's own resources on Windows: the module handles, and the
// dialog templates and accessible names read from their compiled form into
// the framework's structures, once each.
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/framework/DialogTemplate.h"
#include "platform/framework/Resource.h"

namespace {

HINSTANCE g_hResourceOverride = nullptr;

// Reads a compiled resource: little-endian words, strings of UTF-16 code
// units, and the "string or ordinal" fields of dialog templates.
class CResourceReader {
 public:
  explicit CResourceReader(std::span<const BYTE> bytes) : m_bytes(bytes) {}

  bool AtEnd() const { return m_at >= m_bytes.size(); }
  bool Failed() const { return m_bFailed; }

  WORD Word() {
    if (!Has(2))
      return 0;
    const WORD w = static_cast<WORD>(m_bytes[m_at] | (m_bytes[m_at + 1] << 8));
    m_at += 2;
    return w;
  }
  DWORD Dword() {
    const DWORD lo = Word();
    return lo | (static_cast<DWORD>(Word()) << 16);
  }
  short Short() { return static_cast<short>(Word()); }

  std::wstring String() {
    std::wstring text;
    for (WORD w = Word(); w != 0 && !m_bFailed; w = Word())
      text.push_back(static_cast<WCHAR>(w));
    return text;
  }
  // 0x0000: nothing; 0xFFFF and a word: an ordinal; otherwise a string.
  std::pair<std::wstring, WORD> StringOrOrdinal() {
    const WORD first = Word();
    if (first == 0x0000)
      return {};
    if (first == 0xFFFF)
      return {std::wstring(), Word()};
    m_at -= 2;
    return {String(), 0};
  }
  void AlignDword() { m_at = (m_at + 3) & ~std::size_t{3}; }
  void Skip(std::size_t cb) {
    if (Has(cb))
      m_at += cb;
  }

 private:
  bool Has(std::size_t cb) {
    if (m_at > m_bytes.size() || cb > m_bytes.size() - m_at)
      m_bFailed = true;
    return !m_bFailed;
  }

  std::span<const BYTE> m_bytes;
  std::size_t m_at = 0;
  bool m_bFailed = false;
};

std::optional<std::span<const BYTE>> LockedResource(HINSTANCE hInstance, UINT nID, LPCWSTR lpType) {
  HRSRC hInfo = ::FindResourceW(hInstance, MAKEINTRESOURCEW(nID), lpType);
  HGLOBAL hData = hInfo != nullptr ? ::LoadResource(hInstance, hInfo) : nullptr;
  const void* pData = hData != nullptr ? ::LockResource(hData) : nullptr;
  if (pData == nullptr)
    return std::nullopt;
  return std::span(static_cast<const BYTE*>(pData), ::SizeofResource(hInstance, hInfo));
}

// The predefined window classes a template names by ordinal.
LPCWSTR ClassOfOrdinal(WORD nOrdinal) {
  switch (nOrdinal) {
    case 0x0080: return WC_BUTTONW;
    case 0x0081: return WC_EDITW;
    case 0x0082: return WC_STATICW;
    case 0x0083: return WC_LISTBOXW;
    case 0x0084: return WC_SCROLLBARW;
    case 0x0085: return WC_COMBOBOXW;
    default: return L"";
  }
}

// A template with the strings and controls it points to.
struct CLoadedDialog {
  DIALOG_TEMPLATE tmpl{};
  std::vector<DIALOG_ITEM_TEMPLATE> items;
  std::vector<std::unique_ptr<std::wstring>> strings;

  LPCWSTR Keep(std::wstring text) {
    strings.push_back(std::make_unique<std::wstring>(std::move(text)));
    return strings.back()->c_str();
  }
};

// A standard (not extended) dialog template; nothing for anything else.
std::unique_ptr<CLoadedDialog> ReadDialog(std::span<const BYTE> bytes) {
  auto pDialog = std::make_unique<CLoadedDialog>();
  CResourceReader in(bytes);
  DIALOG_TEMPLATE& tmpl = pDialog->tmpl;
  tmpl.style = in.Dword();
  if (HIWORD(tmpl.style) == 0xFFFF)  // the signature of an extended template
    return nullptr;
  tmpl.dwExtendedStyle = in.Dword();
  const WORD cItems = in.Word();
  tmpl.x = in.Short();
  tmpl.y = in.Short();
  tmpl.cx = in.Short();
  tmpl.cy = in.Short();
  in.StringOrOrdinal();  // menu
  in.StringOrOrdinal();  // window class
  tmpl.pszCaption = pDialog->Keep(in.String());
  if (tmpl.style & DS_SETFONT) {
    tmpl.wPointSize = in.Word();
    tmpl.pszTypeface = pDialog->Keep(in.String());
  }
  for (WORD i = 0; i < cItems && !in.Failed(); ++i) {
    in.AlignDword();
    DIALOG_ITEM_TEMPLATE item{};
    item.style = in.Dword();
    item.dwExtendedStyle = in.Dword();
    item.x = in.Short();
    item.y = in.Short();
    item.cx = in.Short();
    item.cy = in.Short();
    item.id = static_cast<short>(in.Word());
    auto [className, nClassOrdinal] = in.StringOrOrdinal();
    item.pszClass = nClassOrdinal != 0 ? ClassOfOrdinal(nClassOrdinal) : pDialog->Keep(className);
    item.pszText = pDialog->Keep(in.StringOrOrdinal().first);
    in.Skip(in.Word());  // creation data
    pDialog->items.push_back(item);
  }
  if (in.Failed())
    return nullptr;
  tmpl.pItems = pDialog->items.data();
  tmpl.cItems = pDialog->items.size();
  return pDialog;
}

struct CLoadedNames {
  std::vector<DIALOG_ACCESSIBLE_NAME> names;
  std::vector<std::unique_ptr<std::wstring>> strings;
};

// Pairs of a control id (a word) and its name (a terminated string). No
// control has the id 0: a 0 there is padding after the last pair.
std::unique_ptr<CLoadedNames> ReadAccessibleNames(std::span<const BYTE> bytes) {
  auto pNames = std::make_unique<CLoadedNames>();
  CResourceReader in(bytes);
  while (!in.AtEnd() && !in.Failed()) {
    const int nID = static_cast<short>(in.Word());
    if (nID == 0)
      break;
    pNames->strings.push_back(std::make_unique<std::wstring>(in.String()));
    pNames->names.push_back({nID, pNames->strings.back()->c_str()});
  }
  return in.Failed() ? nullptr : std::move(pNames);
}

// Each resource is read once and kept, like the module it comes from.
template <typename T>
using Cache = std::map<std::pair<HINSTANCE, UINT>, std::unique_ptr<T>>;

template <typename T, typename Reader>
const T* Load(Cache<T>& cache, HINSTANCE hInstance, UINT nID, LPCWSTR lpType, Reader read) {
  const auto key = std::make_pair(hInstance, nID);
  if (auto it = cache.find(key); it != cache.end())
    return it->second.get();
  const auto bytes = LockedResource(hInstance, nID, lpType);
  std::unique_ptr<T> pLoaded = bytes ? read(*bytes) : nullptr;
  return pLoaded ? cache.emplace(key, std::move(pLoaded)).first->second.get() : nullptr;
}

}  // namespace

HINSTANCE AfxGetInstanceHandle() { return ::GetModuleHandleW(nullptr); }

HINSTANCE AfxGetResourceHandle() {
  return g_hResourceOverride != nullptr ? g_hResourceOverride : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE hResource) { g_hResourceOverride = hResource; }

const DIALOG_TEMPLATE* AfxLoadDialogTemplate(HINSTANCE hInstance, UINT nID) {
  static Cache<CLoadedDialog> cache;
  const CLoadedDialog* pDialog = Load(cache, hInstance, nID, RT_DIALOG, ReadDialog);
  return pDialog != nullptr ? &pDialog->tmpl : nullptr;
}

std::span<const DIALOG_ACCESSIBLE_NAME> AfxLoadAccessibleNames(HINSTANCE hInstance, UINT nID) {
  static Cache<CLoadedNames> cache;
  const CLoadedNames* pNames = Load(cache, hInstance, nID, L"DLGACCNAMES", ReadAccessibleNames);
  if (pNames == nullptr)
    return {};
  return pNames->names;
}
