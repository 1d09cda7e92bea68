// A modal dialog made from a dialog template in the program's resources.
#pragma once

#include <memory>

#include "platform/framework/CWnd.h"

struct DIALOG_TEMPLATE;

class CDialog : public CWnd {
 public:
  explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  ~CDialog() override;

  // Creates the window from the template, runs OnInitDialog, dispatches
  // messages until EndDialog, destroys the window and returns the end
  // code; -1 when the window cannot be created.
  virtual INT_PTR DoModal();

  // Writes the members to the controls. TRUE gives the focus to the first
  // tab stop.
  virtual BOOL OnInitDialog();

  void EndDialog(int nResult);

 protected:
  // IDOK: reads the controls and, when that succeeds, ends with IDOK.
  virtual void OnOK();
  // IDCANCEL: ends with IDCANCEL.
  virtual void OnCancel();

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  UINT m_nIDTemplate;
  CWnd* m_pParentWnd;
  INT_PTR m_nModalResult = -1;

 private:
  BOOL HandleInitDialog();
  void ApplyAccessibleNames();

  // Read once by DoModal, for the window and for the dialog's own use while
  // it runs.
  std::unique_ptr<DIALOG_TEMPLATE> m_pTemplate;

  DECLARE_MESSAGE_MAP()
};

// The dialog procedure CDialog::DoModal gives the dialog manager.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
