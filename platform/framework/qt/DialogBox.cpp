// Modal dialogs: creation from a template, the modal loop and its end.
#include <QApplication>
#include <QEventLoop>

#include "platform/framework/qt/DialogBuilder.h"

namespace {

HWND FirstTabStop(const HWND__& dlg) {
  for (const auto& pChild : dlg.children) {
    if ((pChild->style & WS_TABSTOP) && pChild->widget->isEnabled() && !pChild->widget->isHidden())
      return pChild.get();
  }
  return nullptr;
}

}  // namespace

INT_PTR AfxDialogBoxIndirect(HINSTANCE, const DIALOG_TEMPLATE& tmpl, HWND hWndParent,
                             DLGPROC lpDialogFunc, LPARAM dwInitParam) {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
    return -1;
  std::unique_ptr<HWND__> pDlg = BuildDialog(tmpl, hWndParent, lpDialogFunc);
  if (!pDlg)
    return -1;
  HWND hDlg = pDlg.get();

  HWND hFirst = FirstTabStop(*pDlg);
  if (SendMessage(hDlg, WM_INITDIALOG, reinterpret_cast<WPARAM>(hFirst), dwInitParam) != 0) {
    if (hFirst != nullptr)
      SetFocus(hFirst);
  } else if (pDlg->widget->focusWidget() == nullptr) {
    // FALSE leaves the focus where the dialog put it, or nowhere; Qt would
    // give it to the first control when the window is activated.
    pDlg->widget->setFocus(Qt::OtherFocusReason);
  }

  if (!pDlg->bEnded) {
    pDlg->widget->setWindowModality(Qt::ApplicationModal);
    pDlg->widget->show();
    pDlg->widget->activateWindow();
    QEventLoop loop;
    pDlg->pModalLoop = &loop;
    loop.exec(QEventLoop::DialogExec);
    pDlg->pModalLoop = nullptr;
  }

  pDlg->widget->hide();
  SendMessage(hDlg, WM_DESTROY, 0, 0);
  SendMessage(hDlg, WM_NCDESTROY, 0, 0);
  const INT_PTR nResult = pDlg->nResult;
  DestroyDialog(std::move(pDlg));
  return nResult;
}

BOOL EndDialog(HWND hDlg, INT_PTR nResult) {
  HWND__* pDlg = AfxQtWindowFromHandle(hDlg);
  if (pDlg == nullptr || !pDlg->bDialog)
    return FALSE;
  if (pDlg->bEnded)
    return TRUE;
  pDlg->bEnded = true;
  pDlg->nResult = nResult;
  pDlg->widget->hide();
  if (pDlg->pModalLoop != nullptr)
    pDlg->pModalLoop->exit(0);
  return TRUE;
}
