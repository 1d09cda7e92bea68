// The password dialog under test on either backend, driven as a person
// would: each backend's tests implement the input below with its own (real
// Qt events, or messages to the system's controls), and
// CipherDlgBehaviourTest.cpp holds both backends to the same behaviour.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/core/LocalMemory.h"
#include "ui/CipherDlg.h"

using WString = std::basic_string<WCHAR>;
using Step = std::function<void(HWND)>;

// Runs dlg.DoModal() with the steps run one by one inside its modal loop,
// each once what the one before sent has been handled. A dialog the steps
// leave open is ended with kLeftOpen; one that ends before every step has
// run fails the test, and so does one still running after kTestDeadlineMs,
// whose dialogs are then ended: a dialog that no longer ends by itself
// fails the test instead of hanging it.
inline constexpr INT_PTR kLeftOpen = 1000;
inline constexpr int kTestDeadlineMs = 30000;
INT_PTR RunModal(CDialog& dlg, std::vector<Step> steps);

enum class Key { kTab, kReturn, kEnter /* the keypad's */, kSpace, kEscape, kBackspace };
void PressKey(HWND hWnd, Key key);
void TypeText(HWND hWnd, const WString& text);
// Puts text on the clipboard and pastes it into the edit control with the
// caret after nCaret characters.
void PasteText(HWND hEdit, const WString& text, int nCaret = 0);
void Click(HWND hDlg, int nID);
void PressCloseBox(HWND hDlg);
void ExpectNoWindowLeft();

inline WString WindowText(HWND hWnd) {
  WString text(static_cast<std::size_t>(GetWindowTextLength(hWnd)), WCHAR(0));
  GetWindowText(hWnd, text.data(), static_cast<int>(text.size()) + 1);
  return text;
}

// The dialog with its members in reach. Given a control (or -1 for none),
// its OnInitDialog gives that control the focus and returns FALSE.
class CTestCipherDlg : public CCipherDlg {
 public:
  explicit CTestCipherDlg(int nFocusID = 0) : m_nFocusID(nFocusID) {}
  using CCipherDlg::m_hIcon;
  using CCipherDlg::m_strInput;

 protected:
  BOOL OnInitDialog() override {
    const BOOL bFocusFirst = CCipherDlg::OnInitDialog();
    if (m_nFocusID > 0)
      GetDlgItem(m_nFocusID)->SetFocus();
    return m_nFocusID == 0 && bFocusFirst;
  }

 private:
  int m_nFocusID;
};

// Each test runs the dialog; after each, no window is left behind and the
// engine has released every block it took.
class CipherDlgTest : public ::testing::Test {
 protected:
  void TearDown() override {
    EXPECT_EQ(GetLocalAllocCount(), m_nBlocks) << "blocks of the local heap leaked";
    ExpectNoWindowLeft();
  }
  INT_PTR Run(std::vector<Step> steps) { return RunModal(m_dlg, std::move(steps)); }

  CTestCipherDlg m_dlg;
  const long m_nBlocks = GetLocalAllocCount();
};
