// The window system's messages, styles and functions: the framework classes
// and the program call only what is declared here.
//
// On Windows they are the system's own, from <windows.h>. Elsewhere the
// backend (platform/framework/qt for Qt) implements this subset of them with
// the same meanings.
#pragma once

#include <cstddef>

#include "platform/framework/WinDef.h"

// Windows CE's caption OK button, which the desktop's headers lack. The
// backends make the window's close button issue IDOK for it.
#ifndef WS_EX_CAPTIONOKBTN
#define WS_EX_CAPTIONOKBTN 0x80000000L
#endif

// The id of controls that need none.
inline constexpr int IDC_STATIC = -1;

// Names a control for assistive technology (screen readers).
BOOL SetWindowAccessibleName(HWND hWnd, LPCWSTR lpName);

#if !defined(_WIN32)

struct ICON_IMAGE;

// Window procedure: every message sent to a window goes through it.
using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
// Dialog procedure: called by the dialog manager's own window procedure
// first; nonzero means the message was handled (see DefDlgProc).
using DLGPROC = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

// Messages.
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_SETTEXT = 0x000C;
inline constexpr UINT WM_GETTEXT = 0x000D;
inline constexpr UINT WM_GETTEXTLENGTH = 0x000E;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_GETICON = 0x007F;
inline constexpr UINT WM_SETICON = 0x0080;
inline constexpr UINT WM_NCDESTROY = 0x0082;
inline constexpr UINT WM_INITDIALOG = 0x0110;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT BM_CLICK = 0x00F5;

// WM_SETICON / WM_GETICON wParam.
inline constexpr WPARAM ICON_SMALL = 0;
inline constexpr WPARAM ICON_BIG = 1;

// Button notification codes (high word of WM_COMMAND's wParam).
inline constexpr WORD BN_CLICKED = 0;

// Command ids the dialog manager issues by itself.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// Window styles.
inline constexpr DWORD WS_POPUP = 0x80000000;
inline constexpr DWORD WS_CHILD = 0x40000000;
inline constexpr DWORD WS_VISIBLE = 0x10000000;
inline constexpr DWORD WS_DISABLED = 0x08000000;
inline constexpr DWORD WS_BORDER = 0x00800000;
inline constexpr DWORD WS_DLGFRAME = 0x00400000;
inline constexpr DWORD WS_CAPTION = WS_BORDER | WS_DLGFRAME;
inline constexpr DWORD WS_SYSMENU = 0x00080000;
inline constexpr DWORD WS_THICKFRAME = 0x00040000;
inline constexpr DWORD WS_GROUP = 0x00020000;
inline constexpr DWORD WS_TABSTOP = 0x00010000;
inline constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
inline constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;

// Extended window styles.
inline constexpr DWORD WS_EX_APPWINDOW = 0x00040000;

// Dialog styles.
inline constexpr DWORD DS_ABSALIGN = 0x0001;
inline constexpr DWORD DS_FIXEDSYS = 0x0008;
inline constexpr DWORD DS_SETFONT = 0x0040;
inline constexpr DWORD DS_MODALFRAME = 0x0080;
inline constexpr DWORD DS_CENTER = 0x0800;

// Edit control styles.
inline constexpr DWORD ES_LEFT = 0x0000;
inline constexpr DWORD ES_CENTER = 0x0001;
inline constexpr DWORD ES_RIGHT = 0x0002;
inline constexpr DWORD ES_PASSWORD = 0x0020;
inline constexpr DWORD ES_AUTOHSCROLL = 0x0080;
inline constexpr DWORD ES_READONLY = 0x0800;

// Button styles.
inline constexpr DWORD BS_PUSHBUTTON = 0x0000;
inline constexpr DWORD BS_DEFPUSHBUTTON = 0x0001;

// Static control styles.
inline constexpr DWORD SS_LEFT = 0x0000;
inline constexpr DWORD SS_CENTER = 0x0001;
inline constexpr DWORD SS_RIGHT = 0x0002;

// Message box types and results.
inline constexpr UINT MB_OK = 0x0000;
inline constexpr UINT MB_ICONERROR = 0x0010;
inline constexpr UINT MB_ICONEXCLAMATION = 0x0030;

// SetWindowPos flags.
inline constexpr UINT SWP_NOSIZE = 0x0001;
inline constexpr UINT SWP_NOMOVE = 0x0002;
inline constexpr UINT SWP_NOZORDER = 0x0004;

// SystemParametersInfo actions.
inline constexpr UINT SPI_GETWORKAREA = 0x0030;

// SetWindowLongPtr / GetWindowLongPtr index: the window procedure.
inline constexpr int GWLP_WNDPROC = -4;

// Ends a modal dialog's loop with nResult; FALSE for a window that is not
// a modal dialog.
BOOL EndDialog(HWND hDlg, INT_PTR nResult);

// Calls the window's procedure, or the default handling for a window
// without one (controls).
LRESULT SendMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProc(WNDPROC lpPrevWndFunc, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
// The default handling of a window's messages: text and icons.
LRESULT DefWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
// A dialog's window procedure: its dialog procedure first; when that does
// not handle the message, the default handling, with WM_CLOSE as IDCANCEL.
LRESULT DefDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

// GWLP_WNDPROC only. Setting returns the previous value; 0 for another index.
LONG_PTR GetWindowLongPtr(HWND hWnd, int nIndex);
LONG_PTR SetWindowLongPtr(HWND hWnd, int nIndex, LONG_PTR dwNewLong);

BOOL IsWindow(HWND hWnd);
HWND GetDlgItem(HWND hDlg, int nIDDlgItem);
int GetDlgCtrlID(HWND hWnd);
HWND GetParent(HWND hWnd);

BOOL SetWindowText(HWND hWnd, LPCWSTR lpString);
// Copies at most nMaxCount - 1 code units and a terminator; returns the
// number copied.
int GetWindowText(HWND hWnd, LPWSTR lpString, int nMaxCount);
int GetWindowTextLength(HWND hWnd);

HWND SetFocus(HWND hWnd);
HWND GetFocus();

// Window rectangle in screen pixels, frame included.
BOOL GetWindowRect(HWND hWnd, RECT* lpRect);
BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT uFlags);
// SPI_GETWORKAREA: the primary screen's work area into pvParam (a RECT).
BOOL SystemParametersInfo(UINT uiAction, UINT uiParam, void* pvParam, UINT fWinIni);

// The full path of the running executable (hModule must be null); returns
// the number of code units copied, without the terminator.
DWORD GetModuleFileName(HINSTANCE hModule, LPWSTR lpFilename, DWORD nSize);

// Shows a modal message box; returns the button pressed (IDOK).
int MessageBox(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType);

// Builds an icon from decoded images (see IconImages.h), one for each size
// it shows; null when there are none. The caller owns the handle.
HICON CreateIconFromImages(const ICON_IMAGE* pImages, std::size_t cImages);
BOOL DestroyIcon(HICON hIcon);

#endif

struct DIALOG_TEMPLATE;

// Creates a modal dialog from a template read from hInstance (as
// DialogBoxIndirectParam does from its compiled form, which the Windows
// backend hands the system). The dialog's window procedure is DefDlgProc,
// which calls lpDialogFunc first; WM_INITDIALOG goes there with lParam =
// dwInitParam, and when it returns nonzero the focus goes to the first tab
// stop. Then the window is shown and its modal loop runs until EndDialog;
// the window is destroyed (WM_DESTROY, WM_NCDESTROY) and the end code
// returned. -1 when the window cannot be created.
INT_PTR AfxDialogBoxIndirect(HINSTANCE hInstance, const DIALOG_TEMPLATE& tmpl, HWND hWndParent,
                             DLGPROC lpDialogFunc, LPARAM dwInitParam);
