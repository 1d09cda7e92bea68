// What the password dialog does on either backend, driven through the
// backend's own input as a person would (keys, typing, the clipboard,
// clicks, the close box), one behaviour a test, with the engine itself as
// the oracle for its output and the system's own edit control (Windows, and
// Wine, where the Windows tests run) for how a field takes text.
#include <gtest/gtest.h>

#include <tuple>

#include "cipher/AesTextCipher.h"
#include "cipher/BuiltinKey.h"
#include "res/resource.h"
#include "tests/support/CipherDlgDriver.h"
#include "tests/support/DesignedDialog.h"

namespace {

const WString kPassword = TEXT("password");

// What the engine itself makes of a text: the dialog must show exactly this.
WString EngineEncrypt(const WString& text) {
  CAesTextCipher cipher(g_szBuiltinPassPhrase, g_nBuiltinKeySize);
  std::int32_t nLength = 0;
  LPCWSTR psz = cipher.Encrypt(text.c_str(), &nLength);
  return psz != nullptr ? psz : TEXT("<null>");
}

WString Field(HWND hDlg, int nID) { return WindowText(GetDlgItem(hDlg, nID)); }

// Focus starts on the input and Tab follows the template, the label left
// out. Enter, the keypad's Enter and Space press the focused button; neither
// button is a default one, so Enter in a field presses nothing and ends
// nothing (the dialog ending early fails the test). The input is a text that
// either command would answer, so any command that ran would show.
TEST_F(CipherDlgTest, TabFollowsTheTemplateAndKeysPressOnlyTheFocusedButton) {
  const WString typed = EngineEncrypt(kPassword);
  // The control Tab has come to, the key pressed there, the output then.
  const std::tuple<int, Key, WString> presses[] = {
      {IDC_INPUT, Key::kReturn, WString()},
      {IDC_OUTPUT, Key::kEnter, WString()},
      {IDC_DECRYPT, Key::kSpace, kPassword},
      {IDC_ENCRYPT, Key::kReturn, EngineEncrypt(typed)},
      {IDC_INPUT, Key::kEnter, EngineEncrypt(typed)},
      {IDC_OUTPUT, Key::kReturn, EngineEncrypt(typed)},
      {IDC_DECRYPT, Key::kEnter, kPassword}};
  std::vector<Step> steps{[&typed](HWND hDlg) { TypeText(GetDlgItem(hDlg, IDC_INPUT), typed); }};
  for (const auto& [nID, key, shown] : presses) {
    steps.push_back([nID, key](HWND) {
      EXPECT_EQ(GetDlgCtrlID(GetFocus()), nID);
      PressKey(GetFocus(), key);
    });
    steps.push_back([nID, &shown](HWND hDlg) {
      EXPECT_EQ(Field(hDlg, IDC_OUTPUT), shown) << nID;
      PressKey(GetFocus(), Key::kTab);
    });
  }
  Run(steps);
}

TEST_F(CipherDlgTest, OutputTakesNoTypingDeletingOrPasting) {
  Run({[](HWND hDlg) {
         HWND hOutput = GetDlgItem(hDlg, IDC_OUTPUT);
         SetWindowText(hOutput, TEXT("shown"));
         SetFocus(hOutput);
         TypeText(hOutput, TEXT("typed"));
         PressKey(hOutput, Key::kBackspace);
       },
       [](HWND hDlg) { PasteText(GetDlgItem(hDlg, IDC_OUTPUT), TEXT("pasted")); },
       [](HWND hDlg) { EXPECT_EQ(Field(hDlg, IDC_OUTPUT), TEXT("shown")); }});
}

// Each press replaces the last one's output, and decrypting the output
// gives the password back. The last password and its text are longer than
// an edit control's own limit (32,767 in Qt and on Windows, 30,000 under
// Wine): pasted whole, they show that neither field has one.
TEST_F(CipherDlgTest, CommandsShowWhatTheEngineMakes) {
  Run({[](HWND hDlg) {
    const auto pasteAndPress = [hDlg](const WString& input, int nButton) {
      SetWindowText(GetDlgItem(hDlg, IDC_INPUT), TEXT(""));
      PasteText(GetDlgItem(hDlg, IDC_INPUT), input);
      Click(hDlg, nButton);
      Click(hDlg, nButton);
      return Field(hDlg, IDC_OUTPUT);
    };
    for (const WString& password :
         {WString(), WString(TEXT("Gr\u00fc\u00dfe \u20ac 5")), WString(40000, WCHAR('k'))}) {
      const WString text = pasteAndPress(password, IDC_ENCRYPT);
      EXPECT_TRUE(text == EngineEncrypt(password)) << text.size();  // not printed: up to 80,032
      EXPECT_TRUE(pasteAndPress(text, IDC_DECRYPT) == password) << password.size();
    }
  }});
}

// A password outside code page 1252, and the engine's first allocation
// failing (its own tests fail each one in turn).
TEST_F(CipherDlgTest, FailuresShowTheFailureTextAndKeepTheInput) {
  Run({[](HWND hDlg) {
    const std::tuple<int, WString, unsigned, const WCHAR*> presses[] = {
        {IDC_ENCRYPT, TEXT("\u6f22\u5b57 \U0001F511"), 0, TEXT("Unable to Encrypt")},
        {IDC_DECRYPT, EngineEncrypt(kPassword), 1, TEXT("Unable to Decrypt")},
        {IDC_ENCRYPT, kPassword, 1, TEXT("Unable to Encrypt")}};
    for (const auto& [nButton, input, nFailure, pszShown] : presses) {
      SetWindowText(GetDlgItem(hDlg, IDC_INPUT), input.c_str());
      SetLocalAllocFailure(nFailure);
      Click(hDlg, nButton);
      SetLocalAllocFailure(0);
      EXPECT_EQ(Field(hDlg, IDC_OUTPUT), pszShown);
      EXPECT_EQ(Field(hDlg, IDC_INPUT), input);
    }
  }});
}

// As the system's single-line edit control takes them: pasted text keeps
// what comes before its first line feed, without a carriage return right
// before it (a carriage return alone is no line end); text the program sets
// is kept as it is, line breaks and all.
TEST_F(CipherDlgTest, EditsTakePastedAndSetTextAsTheSystemsOwn) {
  Run({[](HWND hDlg) {
    HWND hInput = GetDlgItem(hDlg, IDC_INPUT);
    // The field's text, the caret after so many of its characters, the text
    // pasted there, and the field's text then.
    const std::tuple<const char*, int, const char*, const char*> pastes[] = {
        {"", 0, "hunter2\n", "hunter2"},
        {"xyz", 2, "abc\r\ndef", "xyabcz"},
        {"xyz", 3, "\r\nabc", "xyz"},
        {"", 0, "a\rb\nc", "a\rb"},
        {"xyz", 0, "a\tb c", "a\tb cxyz"}};
    for (const auto& [pszBefore, nCaret, pszPasted, pszAfter] : pastes) {
      SetWindowText(hInput, Wide(pszBefore).c_str());
      PasteText(hInput, Wide(pszPasted), nCaret);
      EXPECT_EQ(WindowText(hInput), Wide(pszAfter)) << pszPasted;
    }
    for (const char* pszSet : {"x\ry", "line 1\r\nline 2"})
      for (int nID : {IDC_INPUT, IDC_OUTPUT}) {
        SetWindowText(GetDlgItem(hDlg, nID), Wide(pszSet).c_str());
        EXPECT_EQ(Field(hDlg, nID), Wide(pszSet));
      }
  }});
}

// The close box is the caption's OK: it reads the fields before the dialog
// ends. Escape cancels and reads nothing.
TEST_F(CipherDlgTest, CloseEndsWithOkAndEscapeWithCancel) {
  for (const bool bClose : {true, false}) {
    CTestCipherDlg dlg;
    const INT_PTR nResult = RunModal(
        dlg, {[](HWND hDlg) { TypeText(GetDlgItem(hDlg, IDC_INPUT), TEXT("typed")); },
              [bClose](HWND hDlg) {
                bClose ? PressCloseBox(hDlg) : PressKey(GetDlgItem(hDlg, IDC_INPUT), Key::kEscape);
              }});
    EXPECT_EQ(nResult, bClose ? IDOK : IDCANCEL);
    EXPECT_EQ(WString(dlg.m_strInput.GetString()), bClose ? TEXT("typed") : TEXT(""));
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
  }
}

}  // namespace
