// The application icon group IDR_MAINFRAME, built into the program as the
// bytes of res/Velkast.ico (a Windows icon file with nine images).
#pragma once

extern const unsigned char g_abMainFrameIcon[];
extern const unsigned long g_abMainFrameIcon_size;  // bytes, without the trailing NUL
