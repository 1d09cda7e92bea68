// What the window system's handles are in the Qt backend, and the way from
// a handle to its Qt object and back. Only the backend and tests that drive
// real Qt events include this.
#pragma once

#include <QIcon>
#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>
#include <vector>

#include "platform/framework/WinUser.h"

class QEventLoop;

struct HWND__ {
  QPointer<QWidget> widget;
  HWND hParent = nullptr;  // the dialog, for a control
  int id = 0;
  DWORD style = 0;
  // The window procedure: DefDlgProc for a dialog until the framework
  // subclasses it; null for controls, which have the default handling.
  WNDPROC pfnWndProc = nullptr;

  // Dialogs only.
  bool bDialog = false;
  DLGPROC pfnDlgProc = nullptr;
  std::vector<std::unique_ptr<HWND__>> children;
  int nBaseUnitX = 0;
  int nBaseUnitY = 0;
  HICON hIconBig = nullptr;
  HICON hIconSmall = nullptr;
  QEventLoop* pModalLoop = nullptr;
  bool bEnded = false;
  INT_PTR nResult = 0;
};

struct HICON__ {
  std::vector<QImage> images;  // one for each size
};

// The live window behind a handle, or null for a handle that is not (or no
// longer) a window.
HWND__* AfxQtWindowFromHandle(HWND hWnd);
QWidget* AfxQtWidgetFromHandle(HWND hWnd);
HWND AfxQtHandleFromWidget(const QWidget* pWidget);

void AfxQtRegisterHandle(HWND hWnd);
void AfxQtUnregisterHandle(HWND hWnd);

// The window icon a dialog shows for its big and small icons.
QIcon AfxQtComposeWindowIcon(HICON hIconBig, HICON hIconSmall);

inline QString AfxQtString(LPCWSTR psz) {
  return psz != nullptr ? QString::fromUtf16(psz) : QString();
}
