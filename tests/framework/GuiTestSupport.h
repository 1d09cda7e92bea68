// Running framework dialogs under GoogleTest in a Qt application: modal
// dialogs driven by steps from inside their loop, and real Qt input.
#pragma once

#include <QString>
#include <QWidget>

#include <ostream>

#include "tests/support/CipherDlgDriver.h"

// The widget of control nID of a dialog.
QWidget* ControlWidget(HWND hDlg, int nID);

// Whether the dialog's modal loop has ended.
bool IsEnded(HWND hDlg);

void PrintTo(const QString& str, std::ostream* os);
