// Builds a dialog's widgets from its template.
#pragma once

#include <memory>

#include "platform/framework/DialogTemplate.h"
#include "platform/framework/qt/QtHandles.h"

// Creates the dialog window (hidden) and its controls, in template order,
// which is also the tab order. Null when a control's class is unknown.
// The dialog's window procedure is DefDlgProc, which calls pfnDlgProc.
std::unique_ptr<HWND__> BuildDialog(const DIALOG_TEMPLATE& tmpl, HWND hWndParent,
                                    DLGPROC pfnDlgProc);

// Deletes the dialog's widgets and forgets its handles.
void DestroyDialog(std::unique_ptr<HWND__> pDlg);
