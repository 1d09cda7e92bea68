// The application: its start-up runs the password dialog, and the program
// ends when the dialog closes.
#pragma once

#include "platform/framework/AfxWin.h"

class CCipherApp : public CWinApp {
 public:
  CCipherApp();

  BOOL InitInstance() override;

  DECLARE_MESSAGE_MAP()
};

extern CCipherApp theApp;
