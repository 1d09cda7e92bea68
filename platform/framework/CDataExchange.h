// One exchange of data between a dialog's controls and its members, and
// the exchange routine for text.
#pragma once

#include <exception>

#include "platform/framework/CString.h"
#include "platform/framework/WinDef.h"

// Thrown by CDataExchange::Fail: the exchange stops and UpdateData
// returns FALSE.
class CUserException : public std::exception {
 public:
  const char* what() const noexcept override { return "data exchange failed"; }
};

class CDataExchange {
 public:
  CDataExchange(HWND hWndDlg, BOOL bSaveAndValidate)
      : m_bSaveAndValidate(bSaveAndValidate), m_hWndDlg(hWndDlg) {}

  // The control nIDC of the dialog; fails the exchange when there is none.
  HWND PrepareEditCtrl(int nIDC);
  [[noreturn]] void Fail();

  BOOL m_bSaveAndValidate;  // TRUE: controls to members
  HWND m_hWndDlg;           // the dialog whose controls are exchanged
};

// Exchanges the whole text of control nIDC with value.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
