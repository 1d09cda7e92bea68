// Resource ids of the program: its dialog, its controls and its icon.
#pragma once

#define IDD_MAIN_DIALOG 102
#define IDR_MAINFRAME 128

#define IDC_INPUT 1000
#define IDC_OUTPUT 1001
#define IDC_DECRYPT 1003
#define IDC_ENCRYPT 1004
