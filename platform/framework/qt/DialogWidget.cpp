#include "platform/framework/qt/DialogWidget.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QKeyEvent>

#include "platform/framework/qt/QtHandles.h"

namespace {

void SendCommand(HWND hDlg, int nID, HWND hWndCtrl) {
  SendMessage(hDlg, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(nID), BN_CLICKED),
              reinterpret_cast<LPARAM>(hWndCtrl));
}

// Screen readers announce a window by its role, then its title: to them
// the dialog's window is a dialog, as a QDialog is, not a plain pane.
QAccessibleInterface* DialogAccessible(const QString&, QObject* pObject) {
  auto* pDialog = dynamic_cast<DialogWidget*>(pObject);
  return pDialog != nullptr ? new QAccessibleWidget(pDialog, QAccessible::Dialog) : nullptr;
}

}  // namespace

DialogWidget::DialogWidget(HWND hDlg, QWidget* pParent, Qt::WindowFlags flags)
    : QWidget(pParent, flags), m_hDlg(hDlg) {
  static const bool bAccessible = (QAccessible::installFactory(DialogAccessible), true);
  Q_UNUSED(bAccessible);
}

void DialogWidget::keyPressEvent(QKeyEvent* pEvent) {
  const bool bPlain = (pEvent->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (bPlain && pEvent->key() == Qt::Key_Escape) {
    SendCommand(m_hDlg, IDCANCEL, GetDlgItem(m_hDlg, IDCANCEL));
    return;
  }
  if (bPlain && (pEvent->key() == Qt::Key_Return || pEvent->key() == Qt::Key_Enter)) {
    // Enter presses the focused push button, elsewhere the default push
    // button; without one it does nothing, so a stray Enter in a field never
    // closes the dialog.
    if (HWND hButton = ButtonForEnter())
      SendCommand(m_hDlg, GetDlgCtrlID(hButton), hButton);
    return;
  }
  QWidget::keyPressEvent(pEvent);
}

void DialogWidget::closeEvent(QCloseEvent* pEvent) {
  // The window stays until the dialog ends itself; the close button asks
  // it with WM_CLOSE, as the system's close button does.
  pEvent->ignore();
  if (HWND__* pDlg = AfxQtWindowFromHandle(m_hDlg); pDlg != nullptr && !pDlg->bEnded)
    SendMessage(m_hDlg, WM_CLOSE, 0, 0);
}

HWND DialogWidget::ButtonForEnter() const {
  HWND__* pDlg = AfxQtWindowFromHandle(m_hDlg);
  if (pDlg == nullptr)
    return nullptr;
  const auto isPushButton = [](const HWND__& wnd, DWORD type) {
    return wnd.widget && wnd.widget->isVisible() && wnd.widget->isEnabled() &&
           (wnd.style & 0x0F) == type && wnd.widget->inherits("QPushButton");
  };
  // A push button with the focus is the default one while it has it.
  HWND__* pFocus = AfxQtWindowFromHandle(GetFocus());
  if (pFocus != nullptr && pFocus->hParent == m_hDlg &&
      (isPushButton(*pFocus, BS_PUSHBUTTON) || isPushButton(*pFocus, BS_DEFPUSHBUTTON)))
    return pFocus;
  for (const auto& pChild : pDlg->children) {
    if (isPushButton(*pChild, BS_DEFPUSHBUTTON))
      return pChild.get();
  }
  return nullptr;
}
