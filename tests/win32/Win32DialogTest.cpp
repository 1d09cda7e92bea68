// The password dialog on the Windows backend, driven inside the system's
// own modal loop: keys are posted to the controls, so the dialog manager,
// the edit controls and the program's key filter handle them as they would
// a person's. The values it must show come from the design (typed in) and
// from the engine.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/framework/Resource.h"
#include "platform/framework/WindowSystem.h"
#include "res/resource.h"
#include "tests/support/DesignedDialog.h"
#include "tests/support/SingleLineEditCases.h"
#include "ui/CipherDlg.h"

namespace {

using WString = std::basic_string<WCHAR>;
using Step = std::function<void(HWND)>;

constexpr INT_PTR kLeftOpen = 1000;

class CTestCipherDlg : public CCipherDlg {
 public:
  using CCipherDlg::m_hIcon;
  using CCipherDlg::m_strInput;
};

// Runs dlg.DoModal() with steps run one by one from a timer inside its
// modal loop. A timer fires only when no other message waits, so what one
// step posts has been handled when the next runs. A dialog the steps leave
// open is ended with kLeftOpen; one that ends before every step has run
// fails the test, and so does one still open after kDeadlineMs.
constexpr DWORD kDeadlineMs = 30000;
std::vector<Step>* g_pSteps = nullptr;
std::size_t g_nNext = 0;
CDialog* g_pDialog = nullptr;
DWORD g_dwStarted = 0;

void CALLBACK RunNextStep(HWND, UINT, UINT_PTR, DWORD dwNow) {
  HWND hDlg = g_pDialog->GetSafeHwnd();
  if (hDlg == nullptr)
    return;
  if (dwNow - g_dwStarted > kDeadlineMs) {
    ADD_FAILURE() << "the dialog still runs after " << kDeadlineMs / 1000 << " s";
    EndDialog(hDlg, kLeftOpen);
  } else if (g_nNext < g_pSteps->size()) {
    (*g_pSteps)[g_nNext++](hDlg);
  } else {
    EndDialog(hDlg, kLeftOpen);
  }
}

INT_PTR RunModal(CDialog& dlg, std::vector<Step> steps) {
  std::tie(g_pSteps, g_nNext, g_pDialog, g_dwStarted) = std::tuple(&steps, 0, &dlg, GetTickCount());
  const UINT_PTR nTimer = SetTimer(nullptr, 0, 10, RunNextStep);
  const INT_PTR nResult = dlg.DoModal();
  KillTimer(nullptr, nTimer);
  EXPECT_EQ(g_nNext, steps.size()) << "the dialog ended early (" << nResult << ")";
  return nResult;
}
INT_PTR RunModal(CDialog& dlg, Step step) { return RunModal(dlg, std::vector<Step>{step}); }

void PostKey(HWND hWnd, WPARAM nKey) {
  PostMessageW(hWnd, WM_KEYDOWN, nKey, 1);
  if (nKey == VK_RETURN || nKey == VK_ESCAPE)
    PostMessageW(hWnd, WM_CHAR, nKey, 1);
  PostMessageW(hWnd, WM_KEYUP, nKey, 0xC0000001);
}

void PostText(HWND hWnd, const WString& text) {
  for (const WCHAR ch : text)
    PostMessageW(hWnd, WM_CHAR, ch, 1);
}

WString Text(HWND hWnd) {
  WString text(static_cast<std::size_t>(GetWindowTextLengthW(hWnd)), WCHAR(0));
  GetWindowTextW(hWnd, text.data(), static_cast<int>(text.size()) + 1);
  return text;
}

WString Field(HWND hDlg, int nID) { return Text(GetDlgItem(hDlg, nID)); }

// Another process (the X clipboard's bridge, under Wine) may hold the
// clipboard for a moment: opening it is tried again, as programs do.
void SetClipboardText(HWND hOwner, const WString& text) {
  HGLOBAL hData = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(WCHAR));
  std::char_traits<WCHAR>::copy(static_cast<WCHAR*>(GlobalLock(hData)), text.c_str(),
                                text.size() + 1);
  GlobalUnlock(hData);
  bool bOpen = false;
  for (int nTry = 0; nTry < 100 && !(bOpen = OpenClipboard(hOwner)); ++nTry)
    Sleep(10);
  ASSERT_TRUE(bOpen && EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, hData));
  CloseClipboard();
}

// The controls in the order the dialog manager made them, which is template
// order (a control with id -1 cannot be found by its id), each with its
// rectangle in the dialog's client area: left, top, width, height.
std::vector<std::pair<HWND, std::tuple<LONG, LONG, LONG, LONG>>> Controls(HWND hDlg) {
  std::vector<std::pair<HWND, std::tuple<LONG, LONG, LONG, LONG>>> controls;
  for (HWND h = GetWindow(hDlg, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
    RECT rc{};
    GetWindowRect(h, &rc);
    MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rc), 2);
    controls.push_back({h, {rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top}});
  }
  return controls;
}

}  // namespace

// The compiled template and accessible names, in the test program and in
// Velkast.exe itself, read with the reader the Linux build uses, are the
// design.
TEST(Win32Resources, CompiledDialogAndAccessibleNamesAreTheDesign) {
  HMODULE hProgram = LoadLibraryExW(TEXT(VELKAST_PROGRAM_PATH), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(hProgram, nullptr) << VELKAST_PROGRAM_PATH;
  for (HINSTANCE hModule : {GetModuleHandleW(nullptr), hProgram}) {
    const auto tmpl = AfxLoadDialogTemplate(hModule, IDD_MAIN_DIALOG);
    ASSERT_TRUE(tmpl);
    ExpectDesignedTemplate(*tmpl);
    ExpectDesignedAccessibleNames(AfxLoadAccessibleNames(hModule, IDD_MAIN_DIALOG));
    EXPECT_FALSE(AfxLoadDialogTemplate(hModule, 999));
  }
  FreeLibrary(hProgram);
}

// The system's dialog manager places each of x, y, cx and cy by itself in
// the base units of the dialog's font; the framework centres the window on
// the work area and gives it the icon group as big and small icon.
TEST(Win32Dialog, LaidOutByTheSystemCentredWithItsIcons) {
  CTestCipherDlg dlg;
  RunModal(dlg, [&dlg](HWND hDlg) {
    RECT rcUnits{0, 0, 4, 8};
    MapDialogRect(hDlg, &rcUnits);
    const auto controls = Controls(hDlg);
    ASSERT_EQ(controls.size(), std::size(kDesignedControls));
    for (std::size_t i = 0; i < controls.size(); ++i) {
      const DesignedControl& c = kDesignedControls[i];
      EXPECT_EQ(controls[i].second,
                std::tuple(MulDiv(c.x, rcUnits.right, 4), MulDiv(c.y, rcUnits.bottom, 8),
                           MulDiv(c.cx, rcUnits.right, 4), MulDiv(c.cy, rcUnits.bottom, 8)));
      EXPECT_EQ(Text(controls[i].first), Wide(c.pszText)) << c.id;
    }
    // The rectangles the Qt backend is held to.
    if (rcUnits.right == 7 && rcUnits.bottom == 13) {
      EXPECT_EQ(controls[1].second, std::tuple(12, 187, 271, 23));
      EXPECT_EQ(controls[3].second, std::tuple(193, 47, 88, 23));
      EXPECT_EQ(controls[4].second, std::tuple(12, 11, 138, 13));
    }
    EXPECT_EQ(Text(hDlg), Wide(kDesignedCaption));
    // The framework's name for the program: the executable's, as the system gives it.
    EXPECT_EQ(AfxGetAppName(), L"win32_dialog_tests");

    RECT rcWindow{}, rcArea{};
    GetWindowRect(hDlg, &rcWindow);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcArea, 0);
    EXPECT_LE(std::abs(rcWindow.left + rcWindow.right - rcArea.left - rcArea.right), 1);
    EXPECT_LE(std::abs(rcWindow.top + rcWindow.bottom - rcArea.top - rcArea.bottom), 1);
    EXPECT_NE(dlg.m_hIcon, nullptr);
    for (WPARAM nSize : {ICON_BIG, ICON_SMALL})
      EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(hDlg, WM_GETICON, nSize, 0)), dlg.m_hIcon);
  });
}

// Focus at start, tab order, Enter and Space pressing the focused button
// only, the output taking no typing or pasting: as on the other backend.
// The input is a text that either command would answer, so any command
// that ran would show.
TEST(Win32Dialog, KeysAsOnTheOtherBackend) {
  CTestCipherDlg dlg;
  const WString password = L"password", text = L"53877449c8ce5745eefc1ef26d760efa";
  std::vector<Step> steps{[](HWND hDlg) { EXPECT_EQ(GetFocus(), GetDlgItem(hDlg, IDC_INPUT)); }};
  for (int nID : {IDC_OUTPUT, IDC_DECRYPT, IDC_ENCRYPT, IDC_INPUT}) {  // the label is skipped
    steps.push_back([](HWND) { PostKey(GetFocus(), VK_TAB); });
    steps.push_back([nID](HWND) { EXPECT_EQ(GetDlgCtrlID(GetFocus()), nID); });
  }
  steps.push_back([&](HWND hDlg) { PostText(GetDlgItem(hDlg, IDC_INPUT), text); });
  const std::tuple<int, WPARAM, const WCHAR*> presses[] = {
      {IDC_INPUT, VK_RETURN, L""},
      {IDC_OUTPUT, VK_RETURN, L""},
      {IDC_DECRYPT, VK_RETURN, password.c_str()},
      {IDC_ENCRYPT, VK_RETURN,
       L"3be9bacdb612c81926566c3b647c469a5e18cd8fb9074a49c1ddaa4053c9b662"
       L"cf118df792bfaa9cfbd8e0d83cf2a039"},
      {IDC_DECRYPT, VK_SPACE, password.c_str()}};
  for (const auto& [nID, nKey, pszShown] : presses) {
    steps.push_back([nID, nKey](HWND hDlg) {
      SetFocus(GetDlgItem(hDlg, nID));
      PostKey(GetFocus(), nKey);
    });
    steps.push_back(
        [nID, pszShown](HWND hDlg) { EXPECT_EQ(Field(hDlg, IDC_OUTPUT), pszShown) << nID; });
  }
  steps.push_back([&](HWND hDlg) {
    HWND hOutput = GetDlgItem(hDlg, IDC_OUTPUT);
    SetFocus(hOutput);
    PostText(hOutput, L"typed");
    PostKey(hOutput, VK_BACK);
    SetClipboardText(hDlg, L"pasted");
    PostMessageW(hOutput, WM_PASTE, 0, 0);
  });
  steps.push_back([&](HWND hDlg) { EXPECT_EQ(Field(hDlg, IDC_OUTPUT), password); });
  EXPECT_EQ(RunModal(dlg, std::move(steps)), kLeftOpen);
}

// The system's edit controls take pasted and set text as the Qt backend's
// are held to: the same cases on both; and, as there, no length limit: a
// 40,000-character password and its 80,032-digit text, pasted, go through
// Encrypt and Decrypt whole.
TEST(Win32Dialog, EditsTakePastedAndSetTextAsTheOtherBackend) {
  CTestCipherDlg dlg;
  RunModal(dlg, [](HWND hDlg) {
    HWND hInput = GetDlgItem(hDlg, IDC_INPUT);
    const auto pasteAndPress = [hDlg, hInput](const WString& text, int nButton) {
      SetWindowTextW(hInput, L"");
      SetClipboardText(hDlg, text);
      SendMessageW(hInput, WM_PASTE, 0, 0);
      SendMessageW(GetDlgItem(hDlg, nButton), BM_CLICK, 0, 0);
      return Field(hDlg, IDC_OUTPUT);
    };
    const WString password(40000, L'k'), text = pasteAndPress(password, IDC_ENCRYPT);
    EXPECT_EQ(text.size(), 80032u);
    EXPECT_TRUE(pasteAndPress(text, IDC_DECRYPT) == password);  // not printed: 40,000 letters
    for (const PasteCase& c : kPasteCases) {
      SetWindowTextW(hInput, Wide(c.pszBefore).c_str());
      SendMessageW(hInput, EM_SETSEL, c.nCaret, c.nCaret);
      SetClipboardText(hDlg, Wide(c.pszPasted));
      SendMessageW(hInput, WM_PASTE, 0, 0);
      EXPECT_EQ(Text(hInput), Wide(c.pszAfter)) << c.pszPasted;
    }
    for (const char* pszSet : kSetTexts) {
      for (int nID : {IDC_INPUT, IDC_OUTPUT}) {
        SetWindowTextW(GetDlgItem(hDlg, nID), Wide(pszSet).c_str());
        EXPECT_EQ(Field(hDlg, nID), Wide(pszSet));
      }
    }
  });
}

// The close box is the caption's OK: the fields are read and the dialog
// ends with IDOK. Escape cancels and reads nothing.
TEST(Win32Dialog, CloseBoxEndsWithOkAndEscapeWithCancel) {
  for (const bool bClose : {true, false}) {
    CTestCipherDlg dlg;
    const INT_PTR nResult =
        RunModal(dlg, {[](HWND hDlg) { PostText(GetDlgItem(hDlg, IDC_INPUT), L"typed"); },
                       [bClose](HWND hDlg) {
                         if (bClose)
                           PostMessageW(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
                         else
                           PostKey(GetDlgItem(hDlg, IDC_INPUT), VK_ESCAPE);
                       }});
    EXPECT_EQ(nResult, bClose ? IDOK : IDCANCEL);
    EXPECT_EQ(dlg.m_strInput, bClose ? L"typed" : L"");
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
  }
}

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  int nArgs = 0;
  AfxInitWindowSystem(nArgs, nullptr);
  const int nStatus = RUN_ALL_TESTS();
  AfxTermWindowSystem();
  return nStatus;
}
