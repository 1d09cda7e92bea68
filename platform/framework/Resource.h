// The program's resources: a module is a table of typed, numbered entries
// built into the executable. Nothing is read from files at run time.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/framework/WinDef.h"

struct DIALOG_TEMPLATE;

// Resource types.
inline constexpr UINT RT_DIALOG = 5;          // pData: a DIALOG_TEMPLATE
inline constexpr UINT RT_GROUP_ICON = 14;     // pData: the bytes of an icon file
inline constexpr UINT RT_VERSION = 16;        // pData: the version block
inline constexpr UINT RT_DLGACCNAMES = 0x7F01;  // pData: DIALOG_ACCESSIBLE_NAME[]

struct RESOURCE_ENTRY {
  UINT nType;
  UINT nID;
  const void* pData;
  std::size_t cbData;  // bytes, or number of elements for arrays of structures
};

struct RESOURCE_MODULE {
  const RESOURCE_ENTRY* pEntries;
  std::size_t cEntries;
};

// Integer resource names, as LoadIcon and friends take them.
inline LPCWSTR MAKEINTRESOURCE(UINT nID) {
  return reinterpret_cast<LPCWSTR>(static_cast<std::uintptr_t>(static_cast<WORD>(nID)));
}
inline bool IS_INTRESOURCE(LPCWSTR psz) {
  return (reinterpret_cast<std::uintptr_t>(psz) >> 16) == 0;
}

// The entry of the given type and id, or null.
const RESOURCE_ENTRY* FindResource(HINSTANCE hModule, UINT nID, UINT nType);

// The program's own module: the one registered by the program's resource
// table, or null when it has none.
HINSTANCE AfxGetInstanceHandle();
// Registers the program's module; called once by its resource table.
bool AfxRegisterProgramResources(HINSTANCE hInstance);
// The module resources are loaded from: the program's own unless another
// one has been set.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hResource);

// The icon group lpIconName (an integer name) of hInstance. The handle is
// shared: every call for the same icon returns it, and it is never
// destroyed by the caller. Null when there is no such icon.
HICON LoadIcon(HINSTANCE hInstance, LPCWSTR lpIconName);

// The dialog template nID of hInstance, or null.
const DIALOG_TEMPLATE* AfxLoadDialogTemplate(HINSTANCE hInstance, UINT nID);
