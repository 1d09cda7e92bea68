// Enter in the system's dialogs, as the framework's dialogs have it on
// every backend: it presses the dialog's default push button, and without
// one it does nothing. (Left to itself, the dialog manager turns Enter into
// IDOK, or presses whichever button has the focus.)
#pragma once

#include "platform/core/WinTypes.h"

// Installs the filter on the calling thread's dialog loops; FALSE when the
// system refuses it.
BOOL AfxInstallDialogKeys();
void AfxRemoveDialogKeys();
