// The window system's functions on the backend's windows: messages and
// their default handling, text, focus and geometry.
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

#include <algorithm>

#include "platform/framework/qt/QtHandles.h"
#include "platform/framework/qt/SingleLineEdit.h"

namespace {

QString WidgetText(const HWND__& wnd) {
  const QWidget* pWidget = wnd.widget.data();
  if (wnd.bDialog)
    return pWidget->windowTitle();
  if (const auto* pEdit = qobject_cast<const QLineEdit*>(pWidget))
    return pEdit->text();
  if (const auto* pLabel = qobject_cast<const QLabel*>(pWidget))
    return pLabel->text();
  if (const auto* pButton = qobject_cast<const QAbstractButton*>(pWidget))
    return pButton->text();
  return QString();
}

void SetWidgetText(HWND__& wnd, const QString& text) {
  QWidget* pWidget = wnd.widget.data();
  if (wnd.bDialog)
    pWidget->setWindowTitle(text);
  else if (auto* pEdit = dynamic_cast<SingleLineEdit*>(pWidget))
    pEdit->SetTextAsIs(text);
  else if (auto* pLineEdit = qobject_cast<QLineEdit*>(pWidget))
    pLineEdit->setText(text);
  else if (auto* pLabel = qobject_cast<QLabel*>(pWidget))
    pLabel->setText(text);
  else if (auto* pButton = qobject_cast<QAbstractButton*>(pWidget))
    pButton->setText(text);
}

LRESULT CopyText(const QString& text, WPARAM cchMax, LPWSTR pszBuffer) {
  if (cchMax == 0 || pszBuffer == nullptr)
    return 0;
  const std::size_t nCopy =
      std::min<std::size_t>(static_cast<std::size_t>(text.size()), cchMax - 1);
  std::copy_n(reinterpret_cast<const WCHAR*>(text.utf16()), nCopy, pszBuffer);
  pszBuffer[nCopy] = u'\0';
  return static_cast<LRESULT>(nCopy);
}

HICON SetIcon(HWND__& dlg, WPARAM nType, HICON hIcon) {
  HICON& slot = nType == ICON_BIG ? dlg.hIconBig : dlg.hIconSmall;
  HICON hPrevious = slot;
  slot = hIcon;
  dlg.widget->setWindowIcon(AfxQtComposeWindowIcon(dlg.hIconBig, dlg.hIconSmall));
  return hPrevious;
}

void ClickButton(HWND__& wnd) {
  if (auto* pButton = qobject_cast<QAbstractButton*>(wnd.widget.data()))
    pButton->click();
}

QRect ScreenRect(QWidget& widget) {
  if (widget.isWindow()) {
    // The native window knows its frame, as far as the platform can tell
    // before the window manager has seen it.
    widget.winId();
    return widget.frameGeometry();
  }
  return QRect(widget.mapToGlobal(QPoint(0, 0)), widget.size());
}

RECT ToRect(const QRect& rc) {
  return RECT{rc.left(), rc.top(), rc.left() + rc.width(), rc.top() + rc.height()};
}

}  // namespace

LRESULT SendMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  HWND__* pWnd = AfxQtWindowFromHandle(hWnd);
  if (pWnd == nullptr)
    return 0;
  if (pWnd->pfnWndProc != nullptr)
    return pWnd->pfnWndProc(hWnd, uMsg, wParam, lParam);
  return DefWindowProc(hWnd, uMsg, wParam, lParam);
}

LRESULT CallWindowProc(WNDPROC lpPrevWndFunc, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  return lpPrevWndFunc != nullptr ? lpPrevWndFunc(hWnd, uMsg, wParam, lParam)
                                  : DefWindowProc(hWnd, uMsg, wParam, lParam);
}

LRESULT DefWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  HWND__* pWnd = AfxQtWindowFromHandle(hWnd);
  if (pWnd == nullptr)
    return 0;
  switch (uMsg) {
    case WM_SETTEXT:
      SetWidgetText(*pWnd, AfxQtString(reinterpret_cast<LPCWSTR>(lParam)));
      return TRUE;
    case WM_GETTEXT: return CopyText(WidgetText(*pWnd), wParam, reinterpret_cast<LPWSTR>(lParam));
    case WM_GETTEXTLENGTH: return WidgetText(*pWnd).size();
    case WM_SETICON:
      return pWnd->bDialog ? reinterpret_cast<LRESULT>(
                                 SetIcon(*pWnd, wParam, reinterpret_cast<HICON>(lParam)))
                           : 0;
    case WM_GETICON:
      return reinterpret_cast<LRESULT>(wParam == ICON_BIG ? pWnd->hIconBig : pWnd->hIconSmall);
    case BM_CLICK: ClickButton(*pWnd); return 0;
    default: return 0;
  }
}

LRESULT DefDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  HWND__* pDlg = AfxQtWindowFromHandle(hDlg);
  if (pDlg == nullptr || !pDlg->bDialog)
    return DefWindowProc(hDlg, uMsg, wParam, lParam);
  if (pDlg->pfnDlgProc != nullptr) {
    const INT_PTR nHandled = pDlg->pfnDlgProc(hDlg, uMsg, wParam, lParam);
    // WM_INITDIALOG's answer is the focus decision itself; the framework's
    // dialogs give no other message a result of its own.
    if (nHandled != 0)
      return uMsg == WM_INITDIALOG ? nHandled : 0;
  }
  if (uMsg == WM_CLOSE) {
    SendMessage(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return 0;
  }
  return DefWindowProc(hDlg, uMsg, wParam, lParam);
}

LONG_PTR GetWindowLongPtr(HWND hWnd, int nIndex) {
  const HWND__* pWnd = AfxQtWindowFromHandle(hWnd);
  if (pWnd == nullptr || nIndex != GWLP_WNDPROC)
    return 0;
  return reinterpret_cast<LONG_PTR>(pWnd->pfnWndProc);
}

LONG_PTR SetWindowLongPtr(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
  HWND__* pWnd = AfxQtWindowFromHandle(hWnd);
  if (pWnd == nullptr || nIndex != GWLP_WNDPROC)
    return 0;
  const LONG_PTR previous = reinterpret_cast<LONG_PTR>(pWnd->pfnWndProc);
  pWnd->pfnWndProc = reinterpret_cast<WNDPROC>(dwNewLong);
  return previous;
}

BOOL IsWindow(HWND hWnd) { return AfxQtWindowFromHandle(hWnd) != nullptr; }

HWND GetDlgItem(HWND hDlg, int nIDDlgItem) {
  HWND__* pDlg = AfxQtWindowFromHandle(hDlg);
  if (pDlg == nullptr)
    return nullptr;
  for (const auto& pChild : pDlg->children) {
    if (pChild->id == nIDDlgItem)
      return pChild.get();
  }
  return nullptr;
}

int GetDlgCtrlID(HWND hWnd) {
  HWND__* pWnd = AfxQtWindowFromHandle(hWnd);
  return pWnd != nullptr && !pWnd->bDialog ? pWnd->id : 0;
}

HWND GetParent(HWND hWnd) {
  HWND__* pWnd = AfxQtWindowFromHandle(hWnd);
  return pWnd != nullptr ? AfxQtWindowFromHandle(pWnd->hParent) : nullptr;
}

BOOL SetWindowText(HWND hWnd, LPCWSTR lpString) {
  return IsWindow(hWnd) ? static_cast<BOOL>(
                              SendMessage(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)))
                        : FALSE;
}

int GetWindowText(HWND hWnd, LPWSTR lpString, int nMaxCount) {
  if (nMaxCount <= 0)
    return 0;
  return static_cast<int>(SendMessage(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount),
                                      reinterpret_cast<LPARAM>(lpString)));
}

int GetWindowTextLength(HWND hWnd) {
  return static_cast<int>(SendMessage(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

HWND SetFocus(HWND hWnd) {
  HWND hPrevious = GetFocus();
  if (QWidget* pWidget = AfxQtWidgetFromHandle(hWnd))
    pWidget->setFocus(Qt::OtherFocusReason);
  return hPrevious;
}

HWND GetFocus() { return AfxQtHandleFromWidget(QApplication::focusWidget()); }

BOOL GetWindowRect(HWND hWnd, RECT* lpRect) {
  QWidget* pWidget = AfxQtWidgetFromHandle(hWnd);
  if (pWidget == nullptr || lpRect == nullptr)
    return FALSE;
  *lpRect = ToRect(ScreenRect(*pWidget));
  return TRUE;
}

BOOL SetWindowPos(HWND hWnd, HWND, int x, int y, int cx, int cy, UINT uFlags) {
  QWidget* pWidget = AfxQtWidgetFromHandle(hWnd);
  if (pWidget == nullptr)
    return FALSE;
  if ((uFlags & SWP_NOSIZE) == 0) {
    if (pWidget->isWindow() && pWidget->minimumSize() == pWidget->maximumSize())
      pWidget->setFixedSize(cx, cy);
    else
      pWidget->resize(cx, cy);
  }
  if ((uFlags & SWP_NOMOVE) == 0)
    pWidget->move(x, y);
  return TRUE;
}

BOOL SystemParametersInfo(UINT uiAction, UINT, void* pvParam, UINT) {
  const QScreen* pScreen = QGuiApplication::primaryScreen();
  if (uiAction != SPI_GETWORKAREA || pScreen == nullptr || pvParam == nullptr)
    return FALSE;
  *static_cast<RECT*>(pvParam) = ToRect(pScreen->availableGeometry());
  return TRUE;
}

BOOL SetWindowAccessibleName(HWND hWnd, LPCWSTR lpName) {
  QWidget* pWidget = AfxQtWidgetFromHandle(hWnd);
  if (pWidget == nullptr)
    return FALSE;
  pWidget->setAccessibleName(AfxQtString(lpName));
  return TRUE;
}
