// A window object of the framework, attached to a window of the window
// system. Messages sent to the window arrive at WindowProc; commands are
// routed through the message maps.
#pragma once

#include <map>
#include <memory>

#include "platform/framework/CCmdTarget.h"
#include "platform/framework/CString.h"

class CDataExchange;

class CWnd : public CCmdTarget {
 public:
  CWnd() = default;
  ~CWnd() override;

  HWND GetSafeHwnd() const { return m_hWnd; }

  // The framework object attached to hWnd, or null.
  static CWnd* FromHandlePermanent(HWND hWnd);
  BOOL Attach(HWND hWndNew);
  HWND Detach();
  // Attaches the object and routes the window's messages through AfxWndProc;
  // what the object leaves unhandled goes on to the window's own procedure.
  BOOL SubclassWindow(HWND hWnd);

  // The child control nID as a framework object that stays valid while
  // this window exists; null when there is no such control.
  CWnd* GetDlgItem(int nID) const;
  int GetDlgCtrlID() const;

  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

  void SetWindowText(LPCWSTR lpszString);
  void GetWindowText(CString& rString) const;
  int GetWindowTextLength() const;
  CWnd* SetFocus();

  // Centres the window on its parent, or on the screen's work area.
  void CenterWindow(CWnd* pAlternateOwner = nullptr);

  // TRUE: controls to members; FALSE: members to controls. FALSE when the
  // exchange failed (the failure has been reported).
  BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

  HWND m_hWnd = nullptr;

 protected:
  virtual void DoDataExchange(CDataExchange* pDX);

  // Dispatches one message: commands through OnCommand, the rest to
  // DefWindowProc.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The window's own procedure from before SubclassWindow, or the system's
  // default handling.
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // WM_COMMAND: wParam = MAKEWPARAM(id, code). TRUE when a handler ran.
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  // The window is gone: the object is detached from it, and is no longer
  // the application's main window.
  virtual void OnNcDestroy();

  friend LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

 private:
  WNDPROC m_pfnSuper = nullptr;
  mutable std::map<HWND, std::unique_ptr<CWnd>> m_childWrappers;

  DECLARE_MESSAGE_MAP()
};

// The window procedure of windows the framework has subclassed: finds the
// object and calls AfxCallWndProc.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

// Calls pWnd->WindowProc. An exception that escapes a handler is reported
// in a message box and does not pass further.
LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
