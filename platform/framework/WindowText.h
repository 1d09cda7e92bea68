// A window's text as a CString: what CWnd's text functions and the data
// exchange share.
#pragma once

#include "platform/framework/CString.h"
#include "platform/framework/WinDef.h"

// The window's whole text.
void AfxGetWindowText(HWND hWnd, CString& rString);

// Sets the text only when it differs, so an unchanged field keeps its caret
// and selection.
void AfxSetWindowText(HWND hWnd, LPCWSTR lpszNew);
