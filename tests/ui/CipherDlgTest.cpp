// The password dialog driven through real Qt events: typing, clicks, keys
// and the clipboard, with the program's own resources.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

#include <string>
#include <vector>

#include "cipher/AesTextCipher.h"
#include "cipher/BuiltinKey.h"
#include "platform/core/LocalMemory.h"
#include "platform/framework/qt/QtHandles.h"
#include "tests/framework/GuiTestSupport.h"
#include "res/resource.h"
#include "ui/CipherDlg.h"

namespace {

class CTestCipherDlg : public CCipherDlg {
 public:
  using CCipherDlg::m_hIcon;
  using CCipherDlg::m_strInput;
  using CCipherDlg::m_strOutput;
};

QLineEdit* Input(HWND hDlg) { return qobject_cast<QLineEdit*>(ControlWidget(hDlg, IDC_INPUT)); }
QLineEdit* Output(HWND hDlg) { return qobject_cast<QLineEdit*>(ControlWidget(hDlg, IDC_OUTPUT)); }

void Click(HWND hDlg, int nID) { QTest::mouseClick(ControlWidget(hDlg, nID), Qt::LeftButton); }

// Replaces the input field's text by typing it.
void TypeInput(HWND hDlg, const QString& text) {
  QLineEdit* pInput = Input(hDlg);
  pInput->setFocus();
  QTest::keyClick(pInput, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(pInput, Qt::Key_Delete);
  TypeText(pInput, text);
}

// What the engine itself makes of a text: the dialog must show exactly this.
QString EngineEncrypt(const QString& text) {
  CAesTextCipher cipher(g_szBuiltinPassPhrase, g_nBuiltinKeySize);
  std::int32_t nLength = 0;
  LPCWSTR psz = cipher.Encrypt(reinterpret_cast<LPCWSTR>(text.utf16()), &nLength);
  return psz != nullptr ? QString::fromUtf16(psz) : QStringLiteral("<null>");
}

TEST(CipherDlg, EncryptsAndDecryptsThroughTheFields) {
  CTestCipherDlg dlg;
  RunModal(dlg, [](HWND hDlg) {
    TypeInput(hDlg, QStringLiteral("password"));
    Click(hDlg, IDC_ENCRYPT);
    EXPECT_EQ(Output(hDlg)->text(), QStringLiteral("53877449c8ce5745eefc1ef26d760efa"));
    EXPECT_EQ(Input(hDlg)->text(), QStringLiteral("password"));

    // Pressing again replaces the output rather than adding to it.
    Click(hDlg, IDC_ENCRYPT);
    EXPECT_EQ(Output(hDlg)->text(), QStringLiteral("53877449c8ce5745eefc1ef26d760efa"));

    const QStringList passwords = {QStringLiteral("correct horse battery staple"),
                                   QString::fromUtf8("Gr\u00fc\u00dfe \u20ac 5"),
                                   QStringLiteral("exactly 16 chars"), QString(64, u'x')};
    for (const QString& password : passwords) {
      TypeInput(hDlg, password);
      Click(hDlg, IDC_ENCRYPT);
      const QString encrypted = Output(hDlg)->text();
      EXPECT_EQ(encrypted, EngineEncrypt(password)) << password.toStdString();

      // Take the result away the way a person does, and bring it back.
      Output(hDlg)->setFocus();
      QTest::keyClick(Output(hDlg), Qt::Key_A, Qt::ControlModifier);
      QTest::keyClick(Output(hDlg), Qt::Key_C, Qt::ControlModifier);
      EXPECT_EQ(QApplication::clipboard()->text(), encrypted);
      Input(hDlg)->setFocus();
      QTest::keyClick(Input(hDlg), Qt::Key_A, Qt::ControlModifier);
      QTest::keyClick(Input(hDlg), Qt::Key_V, Qt::ControlModifier);
      EXPECT_EQ(Input(hDlg)->text(), encrypted);

      Click(hDlg, IDC_DECRYPT);
      EXPECT_EQ(Output(hDlg)->text(), password);
    }
  });
}

TEST(CipherDlg, EmptyInputBothWays) {
  CTestCipherDlg dlg;
  RunModal(dlg, [](HWND hDlg) {
    Click(hDlg, IDC_ENCRYPT);
    EXPECT_EQ(Output(hDlg)->text(), QStringLiteral("cf118df792bfaa9cfbd8e0d83cf2a039"));
    Click(hDlg, IDC_DECRYPT);
    EXPECT_EQ(Output(hDlg)->text(), QString());
    EXPECT_EQ(Input(hDlg)->text(), QString());
  });
}

TEST(CipherDlg, TextOutsideTheCodePageCannotBeEncrypted) {
  CTestCipherDlg dlg;
  RunModal(dlg, [](HWND hDlg) {
    for (const QString& password : {QString::fromUtf8("\u6f22\u5b57"),
                                    QString::fromUtf8("key \U0001F511"),
                                    QString::fromUtf8("\u0141\u00f3d\u017a")}) {
      TypeInput(hDlg, password);
      ASSERT_EQ(Input(hDlg)->text(), password) << "typing did not reach the field";
      Click(hDlg, IDC_ENCRYPT);
      EXPECT_EQ(Output(hDlg)->text(), QStringLiteral("Unable to Encrypt"));
      EXPECT_EQ(Input(hDlg)->text(), password);
    }
  });
}

// Makes each allocation of one press fail in turn until a press succeeds:
// every failing press shows exactly the failure text and leaves the input
// alone.
void ExpectAllocationFailuresShow(HWND hDlg, int nButton, const QString& input,
                                  const QString& expected, const QString& failureText) {
  TypeInput(hDlg, input);
  int nFailures = 0;
  for (unsigned n = 1; n <= 32; ++n) {
    Output(hDlg)->setText(QStringLiteral("previous"));
    SetLocalAllocFailure(n);
    Click(hDlg, nButton);
    SetLocalAllocFailure(0);
    EXPECT_EQ(Input(hDlg)->text(), input);
    if (Output(hDlg)->text() == expected)
      break;
    EXPECT_EQ(Output(hDlg)->text(), failureText) << "allocation " << n;
    ++nFailures;
  }
  EXPECT_GT(nFailures, 0);
  EXPECT_EQ(Output(hDlg)->text(), expected);
}

TEST(CipherDlg, AllocationFailureShowsTheFailureText) {
  CTestCipherDlg dlg;
  RunModal(dlg, [](HWND hDlg) {
    ExpectAllocationFailuresShow(hDlg, IDC_DECRYPT, QStringLiteral("53877449c8ce5745eefc1ef26d760efa"),
                                 QStringLiteral("password"), QStringLiteral("Unable to Decrypt"));
    ExpectAllocationFailuresShow(hDlg, IDC_ENCRYPT, QStringLiteral("password"),
                                 QStringLiteral("53877449c8ce5745eefc1ef26d760efa"),
                                 QStringLiteral("Unable to Encrypt"));
  });
  EXPECT_EQ(GetLocalAllocCount(), 0);
}

TEST(CipherDlg, LongTextsAreNeitherLimitedNorCut) {
  CTestCipherDlg dlg;
  RunModal(dlg, [](HWND hDlg) {
    const QString password(40000, u'k');
    Input(hDlg)->setText(password);
    Click(hDlg, IDC_ENCRYPT);
    const QString encrypted = Output(hDlg)->text();
    EXPECT_EQ(encrypted.size(), 2 * (40000 + 17 - (40000 + 17) % 16));
    EXPECT_EQ(encrypted, EngineEncrypt(password));
    Input(hDlg)->setText(encrypted);
    Click(hDlg, IDC_DECRYPT);
    EXPECT_EQ(Output(hDlg)->text(), password);
  });
}

TEST(CipherDlg, CloseButtonEndsWithOkAndReadsTheFields) {
  CTestCipherDlg dlg;
  const INT_PTR nResult = RunModal(dlg, [](HWND hDlg) {
    TypeInput(hDlg, QStringLiteral("typed"));
    AfxQtWidgetFromHandle(hDlg)->close();
    EXPECT_TRUE(IsEnded(hDlg));
  });
  EXPECT_EQ(nResult, IDOK);
  EXPECT_EQ(dlg.m_strInput, u"typed");
  EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
}

TEST(CipherDlg, EscapeEndsWithCancel) {
  CTestCipherDlg dlg;
  const INT_PTR nResult = RunModal(dlg, [](HWND hDlg) {
    TypeInput(hDlg, QStringLiteral("typed"));
    QTest::keyClick(Input(hDlg), Qt::Key_Escape);
  });
  EXPECT_EQ(nResult, IDCANCEL);
  EXPECT_EQ(dlg.m_strInput, u"");  // cancelling reads nothing
}

TEST(CipherDlg, EnterPressesNoButtonAndKeepsTheDialogOpen) {
  CTestCipherDlg dlg;
  RunModal(dlg, [](HWND hDlg) {
    TypeInput(hDlg, QStringLiteral("password"));
    QTest::keyClick(Input(hDlg), Qt::Key_Return);
    QTest::keyClick(Input(hDlg), Qt::Key_Enter, Qt::KeypadModifier);
    for (int nID : {IDC_DECRYPT, IDC_ENCRYPT}) {
      ControlWidget(hDlg, nID)->setFocus();
      QTest::keyClick(ControlWidget(hDlg, nID), Qt::Key_Return);
    }
    EXPECT_EQ(Output(hDlg)->text(), QString());
    EXPECT_FALSE(IsEnded(hDlg));
    // Space still presses the focused button.
    QTest::keyClick(ControlWidget(hDlg, IDC_ENCRYPT), Qt::Key_Space);
    EXPECT_EQ(Output(hDlg)->text(), QStringLiteral("53877449c8ce5745eefc1ef26d760efa"));
  });
}

TEST(CipherDlg, CommandsAreRoutedByTheMessageMaps) {
  for (const int nEndID : {IDOK, IDCANCEL}) {
    CTestCipherDlg dlg;
    const INT_PTR nResult = RunModal(dlg, [nEndID](HWND hDlg) {
      Input(hDlg)->setText(QStringLiteral("password"));
      auto command = [hDlg](int nID) {
        return SendMessage(hDlg, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(nID), BN_CLICKED), 0);
      };
      EXPECT_NE(command(IDC_ENCRYPT), 0);
      EXPECT_EQ(Output(hDlg)->text(), QStringLiteral("53877449c8ce5745eefc1ef26d760efa"));
      Input(hDlg)->setText(Output(hDlg)->text());
      EXPECT_NE(command(IDC_DECRYPT), 0);
      EXPECT_EQ(Output(hDlg)->text(), QStringLiteral("password"));

      // An id with no entry, and a button notification other than a click.
      EXPECT_EQ(command(1005), 0);
      EXPECT_EQ(SendMessage(hDlg, WM_COMMAND, MAKEWPARAM(IDC_ENCRYPT, 5), 0), 0);
      EXPECT_EQ(Output(hDlg)->text(), QStringLiteral("password"));
      EXPECT_FALSE(IsEnded(hDlg));

      EXPECT_NE(command(nEndID), 0);
      EXPECT_TRUE(IsEnded(hDlg));
    });
    EXPECT_EQ(nResult, nEndID);
  }
}

TEST(CipherDlg, UpdateDataBothWays) {
  CTestCipherDlg dlg;
  RunModal(dlg, [&dlg](HWND hDlg) {
    Input(hDlg)->setText(QStringLiteral("in"));
    Output(hDlg)->setText(QStringLiteral("out"));
    EXPECT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(dlg.m_strInput, u"in");
    EXPECT_EQ(dlg.m_strOutput, u"out");

    dlg.m_strInput = u"\u00e9t\u00e9";
    dlg.m_strOutput = u"\U0001F511";
    EXPECT_TRUE(dlg.UpdateData(FALSE));
    EXPECT_EQ(Input(hDlg)->text(), QString::fromUtf8("\u00e9t\u00e9"));
    EXPECT_EQ(Output(hDlg)->text(), QString::fromUtf8("\U0001F511"));
  });
}

TEST(CipherDlg, FocusStartsInTheInputAndTabFollowsTemplateOrder) {
  CTestCipherDlg dlg;
  RunModal(dlg, [](HWND hDlg) {
    EXPECT_EQ(GetFocus(), GetDlgItem(hDlg, IDC_INPUT));
    const std::vector<int> order = {IDC_OUTPUT, IDC_DECRYPT, IDC_ENCRYPT, IDC_INPUT};
    for (int nID : order) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      EXPECT_EQ(GetDlgCtrlID(GetFocus()), nID);
    }
    for (auto it = order.rbegin() + 1; it != order.rend(); ++it) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
      EXPECT_EQ(GetDlgCtrlID(GetFocus()), *it);
    }
  });
}

TEST(CipherDlg, OutputFieldIsReadOnlyButCopyable) {
  CTestCipherDlg dlg;
  RunModal(dlg, [](HWND hDlg) {
    Click(hDlg, IDC_ENCRYPT);
    const QString result = Output(hDlg)->text();
    QLineEdit* pOutput = Output(hDlg);
    EXPECT_TRUE(pOutput->isReadOnly());
    EXPECT_FALSE(Input(hDlg)->isReadOnly());
    pOutput->setFocus();
    TypeText(pOutput, QStringLiteral("typed"));
    QTest::keyClick(pOutput, Qt::Key_Backspace);
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    QTest::keyClick(pOutput, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(pOutput->text(), result);

    // The context menu offers copying and selecting all, nothing that edits.
    pOutput->setSelection(0, 4);
    std::unique_ptr<QMenu> pMenu(pOutput->createStandardContextMenu());
    QStringList enabled;
    for (QAction* pAction : pMenu->actions()) {
      if (pAction->isEnabled() && !pAction->isSeparator())
        enabled << pAction->text().remove(u'&').section(u'\t', 0, 0);
    }
    EXPECT_EQ(enabled, QStringList({QStringLiteral("Copy"), QStringLiteral("Select All")}));
  });
}

}  // namespace
