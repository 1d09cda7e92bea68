// The password dialog: type a password (or an encrypted text) into the
// input field, press Encrypt (or Decrypt), read the result in the
// read-only output field.
#pragma once

#include "platform/framework/AfxWin.h"

class CCipherDlg : public CDialog {
 public:
  explicit CCipherDlg(CWnd* pParent = nullptr);
  ~CCipherDlg() override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  void OnDecrypt();
  void OnEncrypt();

  HICON m_hIcon;
  CString m_strInput;
  CString m_strOutput;

  DECLARE_MESSAGE_MAP()
};
