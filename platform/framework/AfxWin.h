// The framework's classes and the window system, for the program's code.
#pragma once

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CCmdTarget.h"
#include "platform/framework/CDataExchange.h"
#include "platform/framework/CDialog.h"
#include "platform/framework/CString.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/CWnd.h"
#include "platform/framework/MessageMap.h"
#include "platform/framework/Resource.h"
#include "platform/framework/WinDef.h"
#include "platform/framework/WinUser.h"
