#include "platform/framework/CDialog.h"

#include "platform/framework/DialogTemplate.h"
#include "platform/framework/Resource.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() = default;

// The dialog procedure of the framework's dialogs. WM_INITDIALOG, the first
// message the object can know the window by, attaches it and subclasses the
// window; from then on every message reaches the object through AfxWndProc,
// and what it leaves unhandled returns here as "not handled" for the dialog
// manager's own handling.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_INITDIALOG)
    return FALSE;
  auto* pDialog = reinterpret_cast<CDialog*>(lParam);
  if (pDialog == nullptr || !pDialog->SubclassWindow(hWnd))
    return TRUE;
  return AfxCallWndProc(pDialog, hWnd, message, wParam, lParam);
}

INT_PTR CDialog::DoModal() {
  HINSTANCE hInstance = AfxGetResourceHandle();
  auto tmpl = AfxLoadDialogTemplate(hInstance, m_nIDTemplate);
  if (!tmpl)
    return -1;
  m_pTemplate = std::make_unique<DIALOG_TEMPLATE>(std::move(*tmpl));
  m_nModalResult = -1;
  HWND hWndParent = m_pParentWnd != nullptr ? m_pParentWnd->GetSafeHwnd() : nullptr;
  const INT_PTR nResult = AfxDialogBoxIndirect(hInstance, *m_pTemplate, hWndParent, AfxDlgProc,
                                               reinterpret_cast<LPARAM>(this));
  m_pTemplate.reset();
  if (m_hWnd != nullptr)  // the window is gone even if its last message was lost
    Detach();
  return nResult;
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::EndDialog(int nResult) {
  m_nModalResult = nResult;
  if (m_hWnd != nullptr)
    ::EndDialog(m_hWnd, nResult);
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE))
    return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG)
    return HandleInitDialog();
  if (message == WM_CLOSE && m_pTemplate != nullptr &&
      (m_pTemplate->dwExtendedStyle & WS_EX_CAPTIONOKBTN) != 0) {
    // The window's close button stands for the caption's OK button.
    SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return 0;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CDialog::HandleInitDialog() {
  ApplyAccessibleNames();
  const BOOL bResult = OnInitDialog();
  // A template at (0, 0) asks for no place of its own: centre it once the
  // dialog has initialised itself (and perhaps changed its size).
  if (m_pTemplate != nullptr &&
      ((m_pTemplate->style & DS_CENTER) != 0 ||
       (m_pTemplate->x == 0 && m_pTemplate->y == 0 && (m_pTemplate->style & DS_ABSALIGN) == 0)))
    CenterWindow();
  return bResult;
}

void CDialog::ApplyAccessibleNames() {
  const auto names = AfxLoadAccessibleNames(AfxGetResourceHandle(), m_nIDTemplate);
  for (const DIALOG_ACCESSIBLE_NAME& name : names) {
    if (HWND hWndCtrl = ::GetDlgItem(m_hWnd, name.id))
      ::SetWindowAccessibleName(hWndCtrl, name.strName.c_str());
  }
}
