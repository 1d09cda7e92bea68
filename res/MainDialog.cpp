// IDD_MAIN_DIALOG: the password dialog. The label at the top left, the
// Decrypt and Encrypt buttons at the top right, the input field across the
// middle and the read-only output field below it.
#include <iterator>

#include "platform/framework/WinUser.h"
#include "res/DialogTemplates.h"
#include "res/resource.h"

namespace {

constexpr DWORD kEditStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;

constexpr DIALOG_ITEM_TEMPLATE kMainDialogItems[] = {
    {IDC_INPUT, WC_EDIT, u"", 7, 79, 154, 14, kEditStyle, 0},
    {IDC_OUTPUT, WC_EDIT, u"", 7, 115, 155, 14, kEditStyle | ES_READONLY, 0},
    {IDC_DECRYPT, WC_BUTTON, u"Decrypt", 110, 7, 50, 14, kButtonStyle, 0},
    {IDC_ENCRYPT, WC_BUTTON, u"Encrypt", 110, 29, 50, 14, kButtonStyle, 0},
    {IDC_STATIC, WC_STATIC, u"Using AES Encryption", 7, 7, 79, 8,
     WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT, 0},
};

}  // namespace

constinit const DIALOG_TEMPLATE g_dlgMainDialog = {
    WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_SETFONT | DS_FIXEDSYS,
    WS_EX_CAPTIONOKBTN | WS_EX_APPWINDOW,
    0, 0, 167, 149,
    u"Velkast v1.1",
    8, u"MS Shell Dlg",
    kMainDialogItems, std::size(kMainDialogItems),
};

// The label names neither field, so each gets a name of its own.
constinit const DIALOG_ACCESSIBLE_NAME g_aMainDialogAccessibleNames[2] = {
    {IDC_INPUT, u"Password or encrypted text"},
    {IDC_OUTPUT, u"Result"},
};
