// The framework's own message boxes, titled with the application name.
#pragma once

#include <exception>

#include "platform/framework/CString.h"
#include "platform/framework/WinUser.h"

// The current application's name. Until the framework has named it, the
// running executable's file name without its directory and extension.
CString AfxGetAppName();

// Shows lpszText in a modal message box titled with the application name.
int AfxMessageBox(LPCWSTR lpszText, UINT nType = MB_OK);

// Reports an exception that reached the framework: out of memory, or any
// other failure with its description.
void AfxReportException(const std::exception& e);
