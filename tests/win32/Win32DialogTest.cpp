// The password dialog on the Windows backend, driven inside the system's
// own modal loop for CipherDlgBehaviourTest: input is posted to the
// controls, so the dialog manager, the edit controls and the program's key
// filter handle it as they would a person's. Here, what only this backend
// has: its compiled resources, and the window as the system lays it out.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "platform/framework/WindowSystem.h"
#include "tests/support/CipherDlgDriver.h"
#include "tests/support/DesignedDialog.h"

namespace {

std::vector<Step>* g_pSteps = nullptr;
std::size_t g_nNext = 0;
CDialog* g_pDialog = nullptr;
DWORD g_dwStarted = 0;

// A timer fires only when no other message waits, so what one step posts
// has been handled when the next runs.
void CALLBACK RunNextStep(HWND, UINT, UINT_PTR, DWORD dwNow) {
  HWND hDlg = g_pDialog->GetSafeHwnd();
  if (hDlg == nullptr)
    return;
  const bool bLate = dwNow - g_dwStarted > kTestDeadlineMs;
  EXPECT_FALSE(bLate) << "the dialog still runs after " << kTestDeadlineMs / 1000 << " s";
  if (bLate || g_nNext == g_pSteps->size())
    EndDialog(hDlg, kLeftOpen);
  else
    (*g_pSteps)[g_nNext++](hDlg);
}

}  // namespace

INT_PTR RunModal(CDialog& dlg, std::vector<Step> steps) {
  std::tie(g_pSteps, g_nNext, g_pDialog, g_dwStarted) = std::tuple(&steps, 0, &dlg, GetTickCount());
  const UINT_PTR nTimer = SetTimer(nullptr, 0, 10, RunNextStep);
  const INT_PTR nResult = dlg.DoModal();
  KillTimer(nullptr, nTimer);
  EXPECT_EQ(g_nNext, steps.size()) << "the dialog ended early (" << nResult << ")";
  return nResult;
}

// Keys are posted as the keyboard would send them, so the dialog manager,
// the edit controls and the program's key filter handle them in order.
void PressKey(HWND hWnd, Key key) {
  constexpr WPARAM kKeys[] = {VK_TAB, VK_RETURN, VK_RETURN, VK_SPACE, VK_ESCAPE, VK_BACK};
  const WPARAM nKey = kKeys[static_cast<int>(key)];
  const LPARAM nFlags = key == Key::kEnter ? 0x01000001 : 1;  // the keypad's is an extended key
  PostMessageW(hWnd, WM_KEYDOWN, nKey, nFlags);
  if (nKey == VK_RETURN || nKey == VK_ESCAPE)
    PostMessageW(hWnd, WM_CHAR, nKey, nFlags);
  PostMessageW(hWnd, WM_KEYUP, nKey, 0xC0000000 | nFlags);
}

void TypeText(HWND hWnd, const WString& text) {
  for (const WCHAR ch : text)
    PostMessageW(hWnd, WM_CHAR, ch, 1);
}

// Another process (the X clipboard's bridge, under Wine) may hold the
// clipboard for a moment: opening it is tried again, as programs do.
void PasteText(HWND hEdit, const WString& text, int nCaret) {
  HGLOBAL hData = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(WCHAR));
  std::char_traits<WCHAR>::copy(static_cast<WCHAR*>(GlobalLock(hData)), text.c_str(),
                                text.size() + 1);
  GlobalUnlock(hData);
  bool bOpen = false;
  for (int nTry = 0; nTry < 100 && !(bOpen = OpenClipboard(hEdit)); ++nTry)
    Sleep(10);
  ASSERT_TRUE(bOpen && EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, hData));
  CloseClipboard();
  SendMessageW(hEdit, EM_SETSEL, nCaret, nCaret);
  SendMessageW(hEdit, WM_PASTE, 0, 0);
}

void Click(HWND hDlg, int nID) { SendMessageW(GetDlgItem(hDlg, nID), BM_CLICK, 0, 0); }

void PressCloseBox(HWND hDlg) { PostMessageW(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0); }

// Windows of this thread only: another test may run beside this one.
void ExpectNoWindowLeft() {
  const auto expectHidden = [](HWND hWnd, LPARAM) {
    EXPECT_FALSE(IsWindowVisible(hWnd)) << "a window was left behind";
    return TRUE;
  };
  EnumThreadWindows(GetCurrentThreadId(), expectHidden, 0);
}

// The compiled template and accessible names, in the test program and in
// Velkast.exe itself, read with the reader the Linux build uses, are the
// design.
TEST(Win32Resources, CompiledDialogAndAccessibleNamesAreTheDesign) {
  HMODULE hProgram = LoadLibraryExW(TEXT(VELKAST_PROGRAM_PATH), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(hProgram, nullptr) << VELKAST_PROGRAM_PATH;
  for (HINSTANCE hModule : {GetModuleHandleW(nullptr), hProgram})
    ExpectDesignedDialogIn(hModule);
  FreeLibrary(hProgram);
}

// The system's dialog manager places each of x, y, cx and cy by itself in
// the base units of the dialog's font; the framework centres the window on
// the work area and gives it the icon group as big and small icon.
TEST_F(CipherDlgTest, LaidOutByTheSystemCentredWithItsIcons) {
  Run({[this](HWND hDlg) {
    RECT rcUnits{0, 0, 4, 8};
    MapDialogRect(hDlg, &rcUnits);
    // The controls in the order the dialog manager made them, which is
    // template order (a control with id -1 cannot be found by its id).
    const DesignedControl* c = std::begin(kDesignedControls);
    for (HWND h = GetWindow(hDlg, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT), ++c) {
      ASSERT_NE(c, std::end(kDesignedControls));
      RECT rc{};
      GetWindowRect(h, &rc);
      MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rc), 2);
      EXPECT_EQ(std::tuple(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top),
                std::tuple(MulDiv(c->x, rcUnits.right, 4), MulDiv(c->y, rcUnits.bottom, 8),
                           MulDiv(c->cx, rcUnits.right, 4), MulDiv(c->cy, rcUnits.bottom, 8)))
          << c->id;
      EXPECT_EQ(WindowText(h), Wide(c->pszText)) << c->id;
    }
    EXPECT_EQ(c, std::end(kDesignedControls));
    EXPECT_EQ(WindowText(hDlg), Wide(kDesignedCaption));
    // The framework's name for the program: the executable's, as the system gives it.
    EXPECT_EQ(AfxGetAppName(), L"win32_dialog_tests");

    RECT rcWindow{}, rcArea{};
    GetWindowRect(hDlg, &rcWindow);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcArea, 0);
    EXPECT_LE(std::abs(rcWindow.left + rcWindow.right - rcArea.left - rcArea.right), 1);
    EXPECT_LE(std::abs(rcWindow.top + rcWindow.bottom - rcArea.top - rcArea.bottom), 1);
    EXPECT_NE(m_dlg.m_hIcon, nullptr);
    for (WPARAM nSize : {ICON_BIG, ICON_SMALL})
      EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(hDlg, WM_GETICON, nSize, 0)), m_dlg.m_hIcon);
  }});
}

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  int nArgs = 0;
  AfxInitWindowSystem(nArgs, nullptr);
  const int nStatus = RUN_ALL_TESTS();
  AfxTermWindowSystem();
  return nStatus;
}
