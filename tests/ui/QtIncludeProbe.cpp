// Compiled like a file of ui/: must fail, because no Qt header is on the
// dialog's include path.
#include <QWidget>

#include "ui/CipherDlg.h"

QWidget* g_pProbe = nullptr;
