#include "platform/framework/CDataExchange.h"

#include "platform/framework/WinUser.h"
#include "platform/framework/WindowText.h"

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
  HWND hWndCtrl = ::GetDlgItem(m_hWndDlg, nIDC);
  if (hWndCtrl == nullptr)
    Fail();
  return hWndCtrl;
}

void CDataExchange::Fail() { throw CUserException(); }

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
  HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    AfxGetWindowText(hWndCtrl, value);
  else
    AfxSetWindowText(hWndCtrl, value);
}
