// Running framework dialogs under GoogleTest in a Qt application: modal
// dialogs driven by a script from inside their loop, and real key input.
#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

#include <functional>
#include <ostream>

#include "platform/framework/AfxWin.h"

// Runs dlg.DoModal(). Once the dialog is shown and active, script runs
// inside the modal loop with the dialog's window; a dialog the script
// leaves open is ended with kLeftOpen. A test that hangs is ended by its
// CTest timeout.
inline constexpr INT_PTR kLeftOpen = 1000;
INT_PTR RunModal(CDialog& dlg, const std::function<void(HWND)>& script);

// The widget of control nID of a dialog.
QWidget* ControlWidget(HWND hDlg, int nID);

// Types text into the focused widget as key events that carry it, one
// code point at a time (QTest::keyClicks takes Latin-1 only).
void TypeText(QWidget* pWidget, const QString& text);

// Whether the dialog's modal loop has ended.
bool IsEnded(HWND hDlg);

void PrintTo(const CString& str, std::ostream* os);
void PrintTo(const QString& str, std::ostream* os);
void PrintTo(const QRect& rc, std::ostream* os);
