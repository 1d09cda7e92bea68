// Running framework dialogs under GoogleTest in a Qt application: modal
// dialogs driven by a script from inside their loop, and real input.
#pragma once

#include <QString>
#include <QWidget>

#include <functional>
#include <ostream>

#include "platform/framework/AfxWin.h"

// Runs dlg.DoModal(). Once the dialog is shown and active, script runs
// inside the modal loop with the dialog's window; a dialog the script
// leaves open is ended with kLeftOpen. A test still running after
// kTestDeadlineMs fails, and its dialogs and message boxes are ended, so a
// dialog that no longer ends by itself fails the test instead of hanging it.
inline constexpr INT_PTR kLeftOpen = 1000;
inline constexpr int kTestDeadlineMs = 30000;
INT_PTR RunModal(CDialog& dlg, const std::function<void(HWND)>& script);

// The widget of control nID of a dialog.
QWidget* ControlWidget(HWND hDlg, int nID);

// Clicks control nID with the mouse.
void Click(HWND hDlg, int nID);

// Whether the dialog's modal loop has ended.
bool IsEnded(HWND hDlg);

void PrintTo(const QString& str, std::ostream* os);
