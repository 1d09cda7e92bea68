// VerQueryValue over a compiled version block, the bytes the system reads
// on Windows. The block is a tree of nodes, each
//   WORD wLength (the node with its children), WORD wValueLength,
//   WORD wType (1: the value is text, its length in characters),
//   the key as a terminated string, DWORD-aligned, the value, DWORD-aligned,
//   the children up to wLength;
// the root's key is "VS_VERSION_INFO" and its value the VS_FIXEDFILEINFO.
#include <optional>
#include <string_view>

#include "platform/framework/Resource.h"
#include "platform/framework/ResourceReader.h"

namespace {

struct VERSION_NODE {
  std::basic_string<WCHAR> strKey;
  std::span<const BYTE> value;
  UINT nValueLength;            // as the node states it: characters for text
  std::size_t childrenAt, end;  // offsets in the block
};

std::optional<VERSION_NODE> ReadNode(std::span<const BYTE> block, std::size_t at) {
  CResourceReader in(block, at);
  const WORD wLength = in.Word();
  const WORD wValueLength = in.Word();
  const WORD wType = in.Word();
  VERSION_NODE node{in.String(), {}, wValueLength, 0, at + wLength};
  in.AlignDword();
  node.value = in.Bytes(wType == 1 ? 2 * std::size_t{wValueLength} : wValueLength);
  const std::size_t valueEnd = in.Offset();
  in.AlignDword();
  node.childrenAt = in.Offset();
  // A node is three words at least, and holds its key and value.
  if (in.Failed() || wLength < 3 * sizeof(WORD) || node.end > block.size() || valueEnd > node.end)
    return std::nullopt;
  return node;
}

// The child of parent named key; children start DWORD-aligned.
std::optional<VERSION_NODE> FindChild(std::span<const BYTE> block, const VERSION_NODE& parent,
                                      std::basic_string_view<WCHAR> key) {
  for (std::size_t at = parent.childrenAt; at < parent.end;) {
    const auto child = ReadNode(block, at);
    if (!child || child->end <= at || child->end > parent.end)
      return std::nullopt;
    if (SameResourceName(child->strKey, key))
      return child;
    at = (child->end + 3) & ~std::size_t{3};
  }
  return std::nullopt;
}

}  // namespace

BOOL VerQueryValue(LPCVOID pBlock, LPCWSTR lpSubBlock, LPVOID* lplpBuffer, UINT* puLen) {
  if (pBlock == nullptr || lpSubBlock == nullptr || lplpBuffer == nullptr || puLen == nullptr)
    return FALSE;
  // The root's first word is the size of the whole block.
  const auto* pb = static_cast<const BYTE*>(pBlock);
  const std::span<const BYTE> block(pb, static_cast<std::size_t>(pb[0] | (pb[1] << 8)));
  auto node = ReadNode(block, 0);
  // Each name in the path is the key of a child; repeated backslashes are
  // one, and "\" alone is the root.
  for (std::basic_string_view<WCHAR> path(lpSubBlock); node && !path.empty();) {
    const std::size_t start = path.find_first_not_of(WCHAR('\\'));
    if (start == std::basic_string_view<WCHAR>::npos)
      break;
    path.remove_prefix(start);
    const std::size_t end = path.find(WCHAR('\\'));
    node = FindChild(block, *node, path.substr(0, end));
    path.remove_prefix(end == std::basic_string_view<WCHAR>::npos ? path.size() : end);
  }
  if (!node)
    return FALSE;
  *lplpBuffer = const_cast<BYTE*>(node->value.data());
  *puLen = node->nValueLength;
  return TRUE;
}
