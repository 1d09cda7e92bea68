#include "platform/framework/WindowText.h"

#include "platform/framework/WinUser.h"

void AfxGetWindowText(HWND hWnd, CString& rString) {
  const int nLength = ::GetWindowTextLength(hWnd);
  const int nCopied = ::GetWindowText(hWnd, rString.GetBuffer(nLength), nLength + 1);
  rString.ReleaseBuffer(nCopied);
}

void AfxSetWindowText(HWND hWnd, LPCWSTR lpszNew) {
  CString strOld;
  AfxGetWindowText(hWnd, strOld);
  if (!(strOld == lpszNew))
    ::SetWindowText(hWnd, lpszNew);
}
