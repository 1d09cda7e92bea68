// A module's resources as the resource compiler writes them to a .res file:
// the directory walk behind FindResource where the executable has no
// resource section of its own.
//
// The file is a run of entries, each a header followed by its data:
//   DWORD DataSize, DWORD HeaderSize, TYPE and NAME (each an ordinal or a
//   string), DWORD-aligned, DWORD DataVersion, WORD MemoryFlags,
//   WORD LanguageId, DWORD Version, DWORD Characteristics;
// then DataSize bytes, padded to a DWORD. The first entry is empty: it marks
// the file as a 32-bit resource file.
#include <cstdint>

#include "platform/framework/Resource.h"
#include "platform/framework/ResourceReader.h"

namespace {

constinit HINSTANCE g_hProgramModule = nullptr;

struct RESOURCE_FILE_ENTRY {
  RESOURCE_NAME type;
  RESOURCE_NAME name;
  std::span<const BYTE> data;
};

std::span<const BYTE> ModuleBytes(HINSTANCE hModule) {
  return hModule != nullptr ? std::span(hModule->pbResources, hModule->cbResources)
                            : std::span<const BYTE>();
}

// The entry whose header starts at offset; nothing when it runs past the
// end of the file. *pNext is where the next entry starts.
std::optional<RESOURCE_FILE_ENTRY> ReadEntry(std::span<const BYTE> file, std::size_t offset,
                                             std::size_t* pNext = nullptr) {
  CResourceReader in(file, offset);
  const DWORD cbData = in.Dword();
  const DWORD cbHeader = in.Dword();
  RESOURCE_FILE_ENTRY entry{in.Name(), in.Name(), {}};
  // The header says its own size; fields after the names are not needed.
  CResourceReader data(file, offset + cbHeader);
  entry.data = data.Bytes(cbData);
  if (in.Failed() || data.Failed() || in.Offset() > offset + cbHeader)
    return std::nullopt;
  if (pNext != nullptr) {
    data.AlignDword();
    *pNext = data.Offset();
  }
  return entry;
}

// The entry FindResource found in hModule.
std::optional<RESOURCE_FILE_ENTRY> EntryAt(HINSTANCE hModule, HRSRC hResInfo) {
  const auto file = ModuleBytes(hModule);
  // Unsigned: a handle before the file's start is far past its end.
  const std::uintptr_t at =
      reinterpret_cast<std::uintptr_t>(hResInfo) - reinterpret_cast<std::uintptr_t>(file.data());
  if (hResInfo == nullptr || at >= file.size())
    return std::nullopt;
  return ReadEntry(file, at);
}

// Integer names compare by value, strings as SameResourceName says.
bool IsName(const RESOURCE_NAME& name, LPCWSTR lpName) {
  if (IS_INTRESOURCE(lpName))
    return name.nOrdinal != 0 &&
           name.nOrdinal == static_cast<WORD>(reinterpret_cast<std::uintptr_t>(lpName));
  return name.nOrdinal == 0 && SameResourceName(name.strName, lpName);
}

}  // namespace

HINSTANCE AfxGetInstanceHandle() { return g_hProgramModule; }

bool AfxRegisterProgramResources(HINSTANCE hInstance) {
  g_hProgramModule = hInstance;
  return true;
}

HRSRC FindResource(HINSTANCE hModule, LPCWSTR lpName, LPCWSTR lpType) {
  const auto file = ModuleBytes(hModule);
  std::size_t next = 0;
  for (std::size_t at = 0; at < file.size(); at = next) {
    const auto entry = ReadEntry(file, at, &next);
    if (!entry)
      return nullptr;  // a damaged file ends the walk
    if (IsName(entry->type, lpType) && IsName(entry->name, lpName))
      return reinterpret_cast<HRSRC>(const_cast<BYTE*>(file.data() + at));
  }
  return nullptr;
}

HGLOBAL LoadResource(HINSTANCE hModule, HRSRC hResInfo) {
  const auto entry = EntryAt(hModule, hResInfo);
  return entry ? const_cast<BYTE*>(entry->data.data()) : nullptr;
}

LPVOID LockResource(HGLOBAL hResData) { return hResData; }

DWORD SizeofResource(HINSTANCE hModule, HRSRC hResInfo) {
  const auto entry = EntryAt(hModule, hResInfo);
  return entry ? static_cast<DWORD>(entry->data.size()) : 0;
}
