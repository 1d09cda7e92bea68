// The program's resources: typed, numbered entries built into the
// executable. Nothing is read from files at run time.
//
// On Windows they are the executable's own resources, compiled from
// res/Velkast.rc, and the system's functions read them. Elsewhere a module
// is a table of entries that the program registers when it starts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/framework/WinDef.h"

struct DIALOG_TEMPLATE;
struct DIALOG_ACCESSIBLE_NAME;

#if !defined(_WIN32)

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

// Registers the program's module; called once by its resource table.
bool AfxRegisterProgramResources(HINSTANCE hInstance);

// The icon group lpIconName (an integer name) of hInstance. The handle is
// shared: every call for the same icon returns it, and it is never
// destroyed by the caller. Null when there is no such icon.
HICON LoadIcon(HINSTANCE hInstance, LPCWSTR lpIconName);

#endif

// The program's own module: on Windows the executable, elsewhere the one
// registered by the program's resource table (null when it has none).
HINSTANCE AfxGetInstanceHandle();
// The module resources are loaded from: the program's own unless another
// one has been set.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hResource);

// The dialog template nID of hInstance, or null. On Windows it is read from
// the compiled template once and kept for the life of the process.
const DIALOG_TEMPLATE* AfxLoadDialogTemplate(HINSTANCE hInstance, UINT nID);

// The accessible names given for the controls of dialog nID (a resource of
// type DLGACCNAMES with the dialog's id); empty when there are none.
std::span<const DIALOG_ACCESSIBLE_NAME> AfxLoadAccessibleNames(HINSTANCE hInstance, UINT nID);
