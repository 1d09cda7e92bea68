// The password dialog driven through real Qt events: typing, clicks, keys
// and the clipboard, with the program's own resources.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

#include "cipher/AesTextCipher.h"
#include "cipher/BuiltinKey.h"
#include "platform/core/LocalMemory.h"
#include "platform/framework/qt/QtHandles.h"
#include "res/resource.h"
#include "tests/framework/GuiTestSupport.h"
#include "ui/CipherDlg.h"

namespace {

const QString kPassword = QStringLiteral("password");
const QString kPasswordHex = QStringLiteral("53877449c8ce5745eefc1ef26d760efa");

class CTestCipherDlg : public CCipherDlg {
 public:
  using CCipherDlg::m_strInput;
  using CCipherDlg::m_strOutput;
};

QLineEdit* Field(HWND hDlg, int nID) { return qobject_cast<QLineEdit*>(ControlWidget(hDlg, nID)); }

void Click(HWND hDlg, int nID) { QTest::mouseClick(ControlWidget(hDlg, nID), Qt::LeftButton); }

// Replaces the input field's text by typing it.
void TypeInput(HWND hDlg, const QString& text) {
  QLineEdit* pInput = Field(hDlg, IDC_INPUT);
  pInput->setFocus();
  QTest::keyClick(pInput, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(pInput, Qt::Key_Delete);
  TypeText(pInput, text);
  ASSERT_EQ(pInput->text(), text) << "typing did not reach the field";
}

// Selects all of a field and presses a shortcut in it (copy, paste).
void SelectAllAndPress(QLineEdit* pField, Qt::Key key) {
  pField->setFocus();
  QTest::keyClick(pField, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(pField, key, Qt::ControlModifier);
}

// What the engine itself makes of a text: the dialog must show exactly this.
QString EngineEncrypt(const QString& text) {
  CAesTextCipher cipher(g_szBuiltinPassPhrase, g_nBuiltinKeySize);
  std::int32_t nLength = 0;
  LPCWSTR psz = cipher.Encrypt(reinterpret_cast<LPCWSTR>(text.utf16()), &nLength);
  return psz != nullptr ? QString::fromUtf16(psz) : QStringLiteral("<null>");
}

TEST(CipherDlg, EncryptsAndDecryptsBackThroughTheFields) {
  CTestCipherDlg dlg;
  RunModal(dlg, [](HWND hDlg) {
    QLineEdit* pInput = Field(hDlg, IDC_INPUT);
    QLineEdit* pOutput = Field(hDlg, IDC_OUTPUT);
    Click(hDlg, IDC_DECRYPT);
    EXPECT_EQ(pOutput->text(), QString());  // an empty input decrypts to nothing

    // Typed, or set when too long to type: longer than a line edit's default
    // limit, so neither field may have one.
    const struct {
      QString password, known;
      bool bTyped;
    } cases[] = {{kPassword, kPasswordHex, true},
                 {QString(), QStringLiteral("cf118df792bfaa9cfbd8e0d83cf2a039"), true},
                 {QString::fromUtf8("Gr\u00fc\u00dfe \u20ac 5"), QString(), true},
                 {QStringLiteral("exactly 16 chars"), QString(), true},
                 {QString(40000, u'k'), QString(), false}};
    for (const auto& c : cases) {
      SCOPED_TRACE(c.password.left(20).toStdString());
      if (c.bTyped)
        TypeInput(hDlg, c.password);
      else
        pInput->setText(c.password);
      Click(hDlg, IDC_ENCRYPT);
      Click(hDlg, IDC_ENCRYPT);  // the second press replaces the first's output
      const QString encrypted = pOutput->text();
      EXPECT_EQ(encrypted, c.known.isEmpty() ? EngineEncrypt(c.password) : c.known);
      EXPECT_EQ(pInput->text(), c.password);

      // Carried over the way a person does, then decrypted back.
      SelectAllAndPress(pOutput, Qt::Key_C);
      SelectAllAndPress(pInput, Qt::Key_V);
      EXPECT_EQ(pInput->text(), encrypted);
      Click(hDlg, IDC_DECRYPT);
      EXPECT_EQ(pOutput->text(), c.password);
    }
  });
}

TEST(CipherDlg, FailuresShowTheFailureTextAndLeaveTheInput) {
  CTestCipherDlg dlg;
  RunModal(dlg, [](HWND hDlg) {
    QLineEdit* pInput = Field(hDlg, IDC_INPUT);
    QLineEdit* pOutput = Field(hDlg, IDC_OUTPUT);
    for (const QString& password : {QString::fromUtf8("\u6f22\u5b57"), QString::fromUtf8("key \U0001F511"),
                                    QString::fromUtf8("\u0141\u00f3d\u017a")}) {
      TypeInput(hDlg, password);  // outside code page 1252
      Click(hDlg, IDC_ENCRYPT);
      EXPECT_EQ(pOutput->text(), QStringLiteral("Unable to Encrypt"));
      EXPECT_EQ(pInput->text(), password);
    }

    // Each allocation of a press fails in turn until a press succeeds.
    const struct {
      int nButton;
      QString input, result, failure;
    } presses[] = {{IDC_DECRYPT, kPasswordHex, kPassword, QStringLiteral("Unable to Decrypt")},
                   {IDC_ENCRYPT, kPassword, kPasswordHex, QStringLiteral("Unable to Encrypt")}};
    for (const auto& press : presses) {
      TypeInput(hDlg, press.input);
      unsigned n = 1;
      for (; n <= 32; ++n) {
        pOutput->setText(QStringLiteral("previous"));
        SetLocalAllocFailure(n);
        Click(hDlg, press.nButton);
        SetLocalAllocFailure(0);
        EXPECT_EQ(pInput->text(), press.input);
        if (pOutput->text() == press.result)
          break;
        EXPECT_EQ(pOutput->text(), press.failure) << "allocation " << n;
      }
      EXPECT_GT(n, 1u) << "no press failed";
      EXPECT_EQ(pOutput->text(), press.result);
    }
  });
  EXPECT_EQ(GetLocalAllocCount(), 0);
}

TEST(CipherDlg, EndsWithOkOrCancel) {
  // OK reads the fields before the dialog ends, Cancel reads nothing.
  const struct {
    std::function<void(HWND)> end;
    INT_PTR nResult;
    const char16_t* pszRead;
  } endings[] = {
      {[](HWND hDlg) { AfxQtWidgetFromHandle(hDlg)->close(); }, IDOK, u"typed"},
      {[](HWND hDlg) { QTest::keyClick(Field(hDlg, IDC_INPUT), Qt::Key_Escape); }, IDCANCEL, u""},
      {[](HWND hDlg) { SendMessage(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }, IDOK, u"typed"},
      {[](HWND hDlg) { SendMessage(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); }, IDCANCEL, u""},
  };
  for (const auto& ending : endings) {
    CTestCipherDlg dlg;
    const INT_PTR nResult = RunModal(dlg, [&ending](HWND hDlg) {
      TypeInput(hDlg, QStringLiteral("typed"));
      ending.end(hDlg);
      EXPECT_TRUE(IsEnded(hDlg));
    });
    EXPECT_EQ(nResult, ending.nResult);
    EXPECT_EQ(dlg.m_strInput, ending.pszRead);
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
  }
}

TEST(CipherDlg, CommandsAreRoutedByTheMessageMap) {
  CTestCipherDlg dlg;
  RunModal(dlg, [](HWND hDlg) {
    auto command = [hDlg](int nID, WORD nCode) {
      return SendMessage(hDlg, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(nID), nCode), 0);
    };
    Field(hDlg, IDC_INPUT)->setText(kPassword);
    EXPECT_NE(command(IDC_ENCRYPT, BN_CLICKED), 0);
    EXPECT_EQ(Field(hDlg, IDC_OUTPUT)->text(), kPasswordHex);
    Field(hDlg, IDC_INPUT)->setText(kPasswordHex);
    EXPECT_NE(command(IDC_DECRYPT, BN_CLICKED), 0);
    EXPECT_EQ(Field(hDlg, IDC_OUTPUT)->text(), kPassword);

    // An id with no entry, and a notification other than a click.
    EXPECT_EQ(command(1005, BN_CLICKED), 0);
    EXPECT_EQ(command(IDC_ENCRYPT, 5), 0);
    EXPECT_EQ(Field(hDlg, IDC_OUTPUT)->text(), kPassword);
    EXPECT_FALSE(IsEnded(hDlg));
  });
}

TEST(CipherDlg, UpdateDataBothWays) {
  CTestCipherDlg dlg;
  RunModal(dlg, [&dlg](HWND hDlg) {
    Field(hDlg, IDC_INPUT)->setText(QStringLiteral("in"));
    Field(hDlg, IDC_OUTPUT)->setText(QStringLiteral("out"));
    EXPECT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(dlg.m_strInput, u"in");
    EXPECT_EQ(dlg.m_strOutput, u"out");

    dlg.m_strInput = u"\u00e9t\u00e9";
    dlg.m_strOutput = u"\U0001F511";
    EXPECT_TRUE(dlg.UpdateData(FALSE));
    EXPECT_EQ(Field(hDlg, IDC_INPUT)->text(), QString::fromUtf8("\u00e9t\u00e9"));
    EXPECT_EQ(Field(hDlg, IDC_OUTPUT)->text(), QString::fromUtf8("\U0001F511"));
  });
}

TEST(CipherDlg, KeyboardFocusTabOrderAndReadOnlyOutput) {
  CTestCipherDlg dlg;
  RunModal(dlg, [](HWND hDlg) {
    EXPECT_EQ(GetFocus(), GetDlgItem(hDlg, IDC_INPUT));
    const int order[] = {IDC_OUTPUT, IDC_DECRYPT, IDC_ENCRYPT, IDC_INPUT};  // the label is skipped
    for (int nID : order) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      EXPECT_EQ(GetDlgCtrlID(GetFocus()), nID);
    }
    for (int i = 2; i >= 0; --i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
      EXPECT_EQ(GetDlgCtrlID(GetFocus()), order[i]);
    }

    // Neither button is a default one: Enter presses nothing and ends nothing.
    TypeInput(hDlg, kPassword);
    for (int nID : {IDC_INPUT, IDC_DECRYPT, IDC_ENCRYPT}) {
      ControlWidget(hDlg, nID)->setFocus();
      QTest::keyClick(ControlWidget(hDlg, nID), Qt::Key_Return);
      QTest::keyClick(ControlWidget(hDlg, nID), Qt::Key_Enter, Qt::KeypadModifier);
    }
    QLineEdit* pOutput = Field(hDlg, IDC_OUTPUT);
    EXPECT_EQ(pOutput->text(), QString());
    EXPECT_FALSE(IsEnded(hDlg));
    QTest::keyClick(ControlWidget(hDlg, IDC_ENCRYPT), Qt::Key_Space);  // presses the focused button
    EXPECT_EQ(pOutput->text(), kPasswordHex);

    // The output takes no typing, deleting or pasting.
    pOutput->setFocus();
    TypeText(pOutput, QStringLiteral("typed"));
    QTest::keyClick(pOutput, Qt::Key_Backspace);
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    QTest::keyClick(pOutput, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(pOutput->text(), kPasswordHex);
  });
}

}  // namespace
