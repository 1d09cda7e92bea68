// The process's connection to the window system, made by the backend
// before the first window and closed after the last one.
#pragma once

#include "platform/core/WinTypes.h"

// Connects to the window system, or joins a connection the host process
// already made. FALSE when there is no display to connect to, after telling
// the user why in one message (AfxMessageBox), as the backend knows it: no
// display named, or the display named cannot be opened.
BOOL AfxInitWindowSystem(int& argc, char** argv);
// Closes a connection that AfxInitWindowSystem made.
void AfxTermWindowSystem();
