// Enter in the system's dialogs, as the framework's dialogs have it on
// every backend: it presses the push button that has the focus, elsewhere
// the dialog's default push button, and without one it does nothing. (Left
// to itself, the dialog manager turns Enter in a field into IDOK.)
#pragma once

#include "platform/core/WinTypes.h"

// Installs the filter on the calling thread's dialog loops; FALSE when the
// system refuses it.
BOOL AfxInstallDialogKeys();
void AfxRemoveDialogKeys();
