// The program's resources: typed, numbered data that the resource compiler
// makes from res/Velkast.rc, built into the executable. Nothing is read from
// files at run time.
//
// On Windows they are the executable's own, and the system's functions find
// them. Elsewhere the same compiled bytes (a .res file) are linked in as data
// and registered as the program's module when it starts; the functions
// declared for that case find them there as the system does in an
// executable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/framework/DialogTemplate.h"
#include "platform/framework/WinDef.h"

#if !defined(_WIN32)

// A module's resources: the bytes of a compiled resource file.
struct RESOURCE_MODULE {
  const BYTE* pbResources;
  std::size_t cbResources;
};

// Integer resource names and types, as FindResource and LoadIcon take them.
inline LPCWSTR MAKEINTRESOURCE(UINT nID) {
  return reinterpret_cast<LPCWSTR>(static_cast<std::uintptr_t>(static_cast<WORD>(nID)));
}
inline bool IS_INTRESOURCE(LPCWSTR psz) {
  return (reinterpret_cast<std::uintptr_t>(psz) >> 16) == 0;
}

#define RT_ICON MAKEINTRESOURCE(3)
#define RT_DIALOG MAKEINTRESOURCE(5)
#define RT_GROUP_ICON MAKEINTRESOURCE(14)
#define RT_VERSION MAKEINTRESOURCE(16)

// The resource lpName of type lpType (each an integer name or a string,
// strings compared without regard to case), in whatever language it is;
// null when the module has none. LoadResource and LockResource give its
// data, SizeofResource the size of the data in bytes.
HRSRC FindResource(HINSTANCE hModule, LPCWSTR lpName, LPCWSTR lpType);
HGLOBAL LoadResource(HINSTANCE hModule, HRSRC hResInfo);
LPVOID LockResource(HGLOBAL hResData);
DWORD SizeofResource(HINSTANCE hModule, HRSRC hResInfo);

// Registers the program's module; called once, at start-up, by the code
// that links the compiled resources in.
bool AfxRegisterProgramResources(HINSTANCE hInstance);

// The icon group lpIconName (an integer name) of hInstance, with the best
// image for each size it has. The handle is shared: every call for the same
// icon returns it, and the caller never destroys it. Null when there is no
// such icon or it is damaged.
HICON LoadIcon(HINSTANCE hInstance, LPCWSTR lpIconName);

// Looks a value up in a version block (the data of an RT_VERSION resource)
// by its path: "\" is the VS_FIXEDFILEINFO, "\VarFileInfo\Translation" the
// list of language and code-page pairs, "\StringFileInfo\<table>\<key>" a
// string. Names are compared without regard to case. The length is in bytes,
// for a string in characters with its terminator. FALSE, and the outputs
// left alone, for a path the block does not hold.
BOOL VerQueryValue(LPCVOID pBlock, LPCWSTR lpSubBlock, LPVOID* lplpBuffer, UINT* puLen);

#endif

// The program's own module: on Windows the executable, elsewhere the one
// registered at start-up (null when the program has no resources).
HINSTANCE AfxGetInstanceHandle();
// The module resources are loaded from: the program's own unless another
// one has been set.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hResource);

// The data of resource lpName of type lpType in hInstance; empty when there
// is none.
std::span<const BYTE> AfxFindResourceData(HINSTANCE hInstance, LPCWSTR lpName, LPCWSTR lpType);

// The dialog template nID of hInstance; nothing when there is none or it is
// not a standard template.
std::optional<DIALOG_TEMPLATE> AfxLoadDialogTemplate(HINSTANCE hInstance, UINT nID);

// The accessible names given for the controls of dialog nID (a resource of
// type "DLGACCNAMES" with the dialog's id); empty when there are none.
std::vector<DIALOG_ACCESSIBLE_NAME> AfxLoadAccessibleNames(HINSTANCE hInstance, UINT nID);
