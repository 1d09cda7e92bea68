// Accessible names through the system's accessibility annotations, which
// screen readers ask before the control's own answer.
#include <initguid.h>
#include <objbase.h>
#include <oleacc.h>

#include "platform/framework/WinUser.h"

BOOL SetWindowAccessibleName(HWND hWnd, LPCWSTR lpName) {
  if (!::IsWindow(hWnd) || lpName == nullptr)
    return FALSE;
  IAccPropServices* pServices = nullptr;
  if (FAILED(::CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void**>(&pServices))))
    return FALSE;
  const HRESULT hr =
      pServices->SetHwndPropStr(hWnd, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME, lpName);
  pServices->Release();
  return SUCCEEDED(hr);
}
