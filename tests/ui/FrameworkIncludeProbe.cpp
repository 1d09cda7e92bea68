// Compiled like a file of ui/: must succeed, so the failing probe beside it
// fails for want of Qt and for no other reason.
#include "ui/CipherDlg.h"

CWnd* g_pProbe = nullptr;
