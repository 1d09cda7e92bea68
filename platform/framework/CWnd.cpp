#include "platform/framework/CWnd.h"

#include <algorithm>
#include <unordered_map>

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CDataExchange.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/WindowText.h"

namespace {

// Windows that have a framework object of their own: the permanent map.
std::unordered_map<HWND, CWnd*>& PermanentMap() {
  static std::unordered_map<HWND, CWnd*> map;
  return map;
}

}  // namespace

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::~CWnd() {
  if (m_hWnd != nullptr)
    Detach();
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
  const auto& map = PermanentMap();
  const auto it = map.find(hWnd);
  return it != map.end() ? it->second : nullptr;
}

BOOL CWnd::Attach(HWND hWndNew) {
  if (hWndNew == nullptr || m_hWnd != nullptr || FromHandlePermanent(hWndNew) != nullptr)
    return FALSE;
  m_hWnd = hWndNew;
  PermanentMap().emplace(hWndNew, this);
  return TRUE;
}

HWND CWnd::Detach() {
  HWND hWnd = m_hWnd;
  if (hWnd != nullptr)
    PermanentMap().erase(hWnd);
  if (m_pfnSuper != nullptr && ::IsWindow(hWnd))
    ::SetWindowLongPtr(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
  m_pfnSuper = nullptr;
  m_hWnd = nullptr;
  m_childWrappers.clear();
  return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
  if (!Attach(hWnd))
    return FALSE;
  m_pfnSuper = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtr(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
  return TRUE;
}

CWnd* CWnd::GetDlgItem(int nID) const {
  HWND hChild = ::GetDlgItem(m_hWnd, nID);
  if (hChild == nullptr)
    return nullptr;
  if (CWnd* pPermanent = FromHandlePermanent(hChild))
    return pPermanent;
  auto& pWrapper = m_childWrappers[hChild];
  if (!pWrapper) {
    pWrapper = std::make_unique<CWnd>();
    pWrapper->m_hWnd = hChild;  // a plain wrapper, not in the permanent map
  }
  return pWrapper.get();
}

int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::SendMessage(m_hWnd, message, wParam, lParam);
}

void CWnd::SetWindowText(LPCWSTR lpszString) { ::SetWindowText(m_hWnd, lpszString); }

void CWnd::GetWindowText(CString& rString) const { AfxGetWindowText(m_hWnd, rString); }

int CWnd::GetWindowTextLength() const { return ::GetWindowTextLength(m_hWnd); }

CWnd* CWnd::SetFocus() {
  HWND hPrevious = ::SetFocus(m_hWnd);
  return FromHandlePermanent(hPrevious);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
  RECT rcWindow{};
  RECT rcArea{};
  if (!::GetWindowRect(m_hWnd, &rcWindow) ||
      !::SystemParametersInfo(SPI_GETWORKAREA, 0, &rcArea, 0))
    return;
  RECT rcCenter = rcArea;
  HWND hOwner = pAlternateOwner != nullptr ? pAlternateOwner->m_hWnd : ::GetParent(m_hWnd);
  if (hOwner != nullptr)
    ::GetWindowRect(hOwner, &rcCenter);

  const LONG cx = rcWindow.right - rcWindow.left;
  const LONG cy = rcWindow.bottom - rcWindow.top;
  LONG x = (rcCenter.left + rcCenter.right) / 2 - cx / 2;
  LONG y = (rcCenter.top + rcCenter.bottom) / 2 - cy / 2;
  // Keep the window inside the work area, its top left corner first.
  x = std::max(rcArea.left, std::min(x, rcArea.right - cx));
  y = std::max(rcArea.top, std::min(y, rcArea.bottom - cy));
  ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
  CDataExchange dx(m_hWnd, bSaveAndValidate);
  try {
    DoDataExchange(&dx);
    return TRUE;
  } catch (const CUserException&) {
    return FALSE;  // the exchange routine has reported it
  } catch (const std::exception& e) {
    AfxReportException(e);
    return FALSE;
  }
}

void CWnd::DoDataExchange(CDataExchange*) {}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && OnCommand(wParam, lParam))
    return TRUE;
  const LRESULT lResult = DefWindowProc(message, wParam, lParam);
  if (message == WM_NCDESTROY)
    OnNcDestroy();
  return lResult;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pfnSuper != nullptr)
    return ::CallWindowProc(m_pfnSuper, m_hWnd, message, wParam, lParam);
  return ::DefWindowProc(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM) { return OnCmdMsg(LOWORD(wParam), HIWORD(wParam)); }

void CWnd::OnNcDestroy() {
  // No reference to a destroyed main window stays behind.
  if (CWinApp* pApp = AfxGetApp(); pApp != nullptr && pApp->m_pMainWnd == this)
    pApp->m_pMainWnd = nullptr;
  Detach();
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
  if (pWnd == nullptr)
    return ::DefWindowProc(hWnd, nMsg, wParam, lParam);
  return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

LRESULT AfxCallWndProc(CWnd* pWnd, HWND, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  try {
    return pWnd->WindowProc(nMsg, wParam, lParam);
  } catch (const std::exception& e) {
    AfxReportException(e);
  } catch (...) {
    AfxMessageBox(TEXT("An unexpected error occurred."), MB_ICONERROR);
  }
  return 0;
}
