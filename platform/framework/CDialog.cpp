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

INT_PTR CDialog::DoModal() {
  HINSTANCE hInstance = AfxGetResourceHandle();
  m_pTemplate = AfxLoadDialogTemplate(hInstance, m_nIDTemplate);
  if (m_pTemplate == nullptr)
    return -1;
  m_nModalResult = -1;
  HWND hWndParent = m_pParentWnd != nullptr ? m_pParentWnd->GetSafeHwnd() : nullptr;
  const INT_PTR nResult = ::DialogBoxIndirectParam(hInstance, m_pTemplate, hWndParent,
                                                   AfxWndProc, reinterpret_cast<LPARAM>(this));
  m_pTemplate = nullptr;
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
  const RESOURCE_ENTRY* pEntry = FindResource(AfxGetResourceHandle(), m_nIDTemplate, RT_DLGACCNAMES);
  if (pEntry == nullptr)
    return;
  const auto* pNames = static_cast<const DIALOG_ACCESSIBLE_NAME*>(pEntry->pData);
  for (std::size_t i = 0; i < pEntry->cbData; ++i) {
    if (HWND hWndCtrl = ::GetDlgItem(m_hWnd, pNames[i].id))
      ::SetWindowAccessibleName(hWndCtrl, pNames[i].pszName);
  }
}
