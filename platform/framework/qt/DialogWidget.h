// The top-level widget of a dialog. It turns the keys a dialog manager
// handles and the window manager's close button into the dialog's
// messages.
#pragma once

#include <QWidget>

#include "platform/framework/WinDef.h"

class DialogWidget : public QWidget {
 public:
  DialogWidget(HWND hDlg, QWidget* pParent, Qt::WindowFlags flags);

 protected:
  void keyPressEvent(QKeyEvent* pEvent) override;
  void closeEvent(QCloseEvent* pEvent) override;

 private:
  // The push button Enter presses, or null.
  HWND ButtonForEnter() const;

  HWND m_hDlg;
};
