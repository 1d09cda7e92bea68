// The password dialog: its template and window held to the values it was
// designed with (typed in here, never read back from the template), and the
// dialog driven through real Qt events (typing, clicks and keys, with the
// engine itself as the oracle for its output); its icons, a picture of it
// for a person to look at, and its text on a real X server.
#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QLineEdit>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>
#include <set>
#include <span>
#include <string>
#include <tuple>
#include <utility>

#include "cipher/AesTextCipher.h"
#include "cipher/BuiltinKey.h"
#include "platform/core/LocalMemory.h"
#include "platform/framework/DialogUnits.h"
#include "platform/framework/qt/QtHandles.h"
#include "res/DialogTemplates.h"
#include "res/icon/IconFile.h"
#include "res/icon/MainFrameIcon.h"
#include "res/resource.h"
#include "tests/framework/GuiTestSupport.h"
#include "tests/support/DesignedDialog.h"
#include "ui/CipherDlg.h"

namespace {

const QString kPassword = QStringLiteral("password");

class CTestCipherDlg : public CCipherDlg {
 public:
  using CCipherDlg::m_strInput;
  using CCipherDlg::m_strOutput;
  using CCipherDlg::m_hIcon;
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

    // The last is set, being too long to type, and longer than a line
    // edit's default limit, so neither field may have one.
    for (const QString& password : {kPassword, QString(), QString::fromUtf8("Gr\u00fc\u00dfe \u20ac 5"),
                                    QString(40000, u'k')}) {
      SCOPED_TRACE(password.left(20).toStdString());
      if (password.size() < 100)
        TypeInput(hDlg, password);
      else
        pInput->setText(password);
      Click(hDlg, IDC_ENCRYPT);
      Click(hDlg, IDC_ENCRYPT);  // the second press replaces the first's output
      const QString encrypted = pOutput->text();
      EXPECT_EQ(encrypted, EngineEncrypt(password));
      EXPECT_EQ(pInput->text(), password);

      pInput->setText(encrypted);
      Click(hDlg, IDC_DECRYPT);
      EXPECT_EQ(pOutput->text(), password);
    }
  });
}

TEST(CipherDlg, FailuresShowTheFailureTextAndLeaveTheInput) {
  CTestCipherDlg dlg;
  RunModal(dlg, [](HWND hDlg) {
    // A password outside code page 1252, and the engine's first allocation
    // failing (its own tests fail each one in turn).
    const struct {
      int nButton;
      QString input;
      unsigned nFailure;
      const char* pszShown;
    } presses[] = {{IDC_ENCRYPT, QString::fromUtf8("\u6f22\u5b57 \U0001F511"), 0, "Unable to Encrypt"},
                   {IDC_DECRYPT, EngineEncrypt(kPassword), 1, "Unable to Decrypt"},
                   {IDC_ENCRYPT, kPassword, 1, "Unable to Encrypt"}};
    for (const auto& press : presses) {
      TypeInput(hDlg, press.input);
      SetLocalAllocFailure(press.nFailure);
      Click(hDlg, press.nButton);
      SetLocalAllocFailure(0);
      EXPECT_EQ(Field(hDlg, IDC_OUTPUT)->text(), QString::fromUtf8(press.pszShown));
      EXPECT_EQ(Field(hDlg, IDC_INPUT)->text(), press.input);
    }
  });
  EXPECT_EQ(GetLocalAllocCount(), 0);
}

TEST(CipherDlg, EndsWithOkOrCancel) {
  // The close button is the caption's OK: it reads the fields before the
  // dialog ends. Escape cancels and reads nothing.
  for (const bool bClose : {true, false}) {
    CTestCipherDlg dlg;
    const INT_PTR nResult = RunModal(dlg, [bClose](HWND hDlg) {
      TypeInput(hDlg, QStringLiteral("typed"));
      if (bClose)
        AfxQtWidgetFromHandle(hDlg)->close();
      else
        QTest::keyClick(Field(hDlg, IDC_INPUT), Qt::Key_Escape);
      EXPECT_TRUE(IsEnded(hDlg));
    });
    EXPECT_EQ(nResult, bClose ? IDOK : IDCANCEL);
    EXPECT_EQ(dlg.m_strInput, bClose ? u"typed" : u"");
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
  }
}

// OnInitDialog returning FALSE, after giving the focus to control nID (or
// to none).
class CFocusingDlg : public CCipherDlg {
 public:
  explicit CFocusingDlg(int nID) : m_nID(nID) {}

 protected:
  BOOL OnInitDialog() override {
    CCipherDlg::OnInitDialog();
    if (m_nID != 0)
      GetDlgItem(m_nID)->SetFocus();
    return FALSE;
  }

 private:
  int m_nID;
};

TEST(CipherDlg, FirstFocusFollowsOnInitDialogsResult) {
  // TRUE: the first tab stop, the input field. FALSE: wherever OnInitDialog
  // put it, or on no control.
  CCipherDlg dlgTrue;
  CFocusingDlg dlgNone(0), dlgEncrypt(IDC_ENCRYPT);
  const std::pair<CDialog*, int> cases[] = {
      {&dlgTrue, IDC_INPUT}, {&dlgNone, 0}, {&dlgEncrypt, IDC_ENCRYPT}};
  for (auto [pDlg, nID] : cases)
    RunModal(*pDlg, [nID](HWND) { EXPECT_EQ(GetDlgCtrlID(GetFocus()), nID); });
}

TEST(CipherDlg, KeyboardTabOrderAndReadOnlyOutput) {
  CTestCipherDlg dlg;
  RunModal(dlg, [](HWND hDlg) {
    for (int nID : {IDC_OUTPUT, IDC_DECRYPT, IDC_ENCRYPT, IDC_INPUT}) {  // the label is skipped
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      EXPECT_EQ(GetDlgCtrlID(GetFocus()), nID);
    }

    // Neither button is a default one: Enter presses nothing and ends nothing.
    TypeInput(hDlg, kPassword);
    for (int nID : {IDC_INPUT, IDC_DECRYPT, IDC_ENCRYPT}) {
      ControlWidget(hDlg, nID)->setFocus();
      QTest::keyClick(ControlWidget(hDlg, nID), Qt::Key_Return);
    }
    // Nor does a command with no entry in the map, or a notification other
    // than a click.
    SendMessage(hDlg, WM_COMMAND, MAKEWPARAM(1005, BN_CLICKED), 0);
    SendMessage(hDlg, WM_COMMAND, MAKEWPARAM(IDC_ENCRYPT, 5), 0);
    QLineEdit* pOutput = Field(hDlg, IDC_OUTPUT);
    EXPECT_EQ(pOutput->text(), QString());
    EXPECT_FALSE(IsEnded(hDlg));
    QTest::keyClick(ControlWidget(hDlg, IDC_ENCRYPT), Qt::Key_Space);  // presses the focused button
    EXPECT_EQ(pOutput->text(), EngineEncrypt(kPassword));

    // The output takes no typing, deleting or pasting.
    pOutput->setFocus();
    TypeText(pOutput, QStringLiteral("typed"));
    QTest::keyClick(pOutput, Qt::Key_Backspace);
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    QTest::keyClick(pOutput, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(pOutput->text(), EngineEncrypt(kPassword));
  });
}

// The resource's template holds the designed values, whatever spelling of
// a class name a resource script gives it.
TEST(CipherDlgTemplate, HoldsTheDesignedStylesPlacesTextsAndFont) {
  ExpectDesignedTemplate(g_dlgMainDialog);
}

// The window as the dialog manager builds it with the base units of its
// font, each of x, y, cx and cy mapped by itself; centred on the screen
// once initialised; the password shown as typed.
TEST(CipherDlgWindow, IsBuiltAsDesignedCentredAndShowsThePasswordAsTyped) {
  CTestCipherDlg dlg;
  RunModal(dlg, [](HWND hDlg) {
    QWidget* pDialog = AfxQtWidgetFromHandle(hDlg);
    EXPECT_EQ(pDialog->windowTitle(), QLatin1String(kDesignedCaption));
    EXPECT_EQ(pDialog->font().pointSize(), 8);
    const QFontMetrics metrics(pDialog->font(), pDialog);
    const int nBaseX = AverageCharWidthFromAlphabet(metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")));
    const int nBaseY = metrics.height();
    auto toPixels = [=](int x, int y, int cx, int cy) {
      return QRect(MulDiv(x, nBaseX, 4), MulDiv(y, nBaseY, 8), MulDiv(cx, nBaseX, 4),
                   MulDiv(cy, nBaseY, 8));
    };
    EXPECT_EQ(pDialog->size(), toPixels(0, 0, 167, 149).size());
    EXPECT_EQ(pDialog->minimumSize(), pDialog->maximumSize());  // not resizable
    EXPECT_FALSE(pDialog->windowFlags() & Qt::WindowMinMaxButtonsHint);
    EXPECT_TRUE(pDialog->windowFlags() & Qt::WindowCloseButtonHint);
    for (const DesignedControl& c : kDesignedControls) {
      const QWidget* pControl = ControlWidget(hDlg, c.id);
      ASSERT_NE(pControl, nullptr) << c.id;
      EXPECT_EQ(pControl->geometry(), toPixels(c.x, c.y, c.cx, c.cy)) << c.id;
      EXPECT_EQ(pControl->property("text").toString(), QLatin1String(c.pszText)) << c.id;
      EXPECT_TRUE(pControl->isVisible()) << c.id;
    }
    // Centred on the work area, to within the pixel that halving an odd
    // size loses.
    const QRect frame = pDialog->frameGeometry();
    const QRect area = pDialog->screen()->availableGeometry();
    EXPECT_LE(std::abs(2 * frame.left() + frame.width() - 2 * area.left() - area.width()), 1);
    EXPECT_LE(std::abs(2 * frame.top() + frame.height() - 2 * area.top() - area.height()), 1);
    // A screen reader tells the two fields apart.
    for (const auto& name : kDesignedAccessibleNames)
      EXPECT_EQ(ControlWidget(hDlg, name.id)->accessibleName(), QLatin1String(name.pszName));

    QLineEdit* pInput = Field(hDlg, IDC_INPUT);
    TypeText(pInput, kPassword);
    EXPECT_EQ(pInput->echoMode(), QLineEdit::Normal);
    EXPECT_EQ(pInput->displayText(), kPassword);
    SendMessage(GetDlgItem(hDlg, IDC_ENCRYPT), BM_CLICK, 0, 0);
    const QString path = QStringLiteral(VELKAST_TEST_OUTPUT_DIR "/cipher-dialog.png");
    EXPECT_TRUE(pDialog->grab().save(path)) << path.toStdString();
  });
}

TEST(CipherDlgWindow, BigAndSmallIconsAreTheIconGroup) {
  CTestCipherDlg dlg;
  RunModal(dlg, [&dlg](HWND hDlg) {
    for (WPARAM nSize : {ICON_BIG, ICON_SMALL})
      EXPECT_EQ(reinterpret_cast<HICON>(SendMessage(hDlg, WM_GETICON, nSize, 0)), dlg.m_hIcon);

    // The window shows the 24-bit image of each size, transparency included.
    const QIcon icon = AfxQtWidgetFromHandle(hDlg)->windowIcon();
    EXPECT_EQ(icon.availableSizes(), QList<QSize>({QSize(16, 16), QSize(32, 32), QSize(48, 48)}));
    const auto images = velkast::icon::ParseIconFile(std::span(g_abMainFrameIcon, g_abMainFrameIcon_size));
    ASSERT_TRUE(images);
    for (const auto& image : *images) {
      const QImage expected(reinterpret_cast<const uchar*>(image.pixels.data()), image.width,
                            image.height, QImage::Format_ARGB32);
      const QImage shown = icon.pixmap(expected.size()).toImage().convertToFormat(QImage::Format_ARGB32);
      EXPECT_TRUE(image.bitCount != 24 || shown == expected) << image.width;
    }
  });
}

// How many different shapes a control's text came out as on the screen:
// runs of columns with ink, each as its pattern of dark pixels.
std::size_t DistinctShapes(const QImage& screen, const QWidget* pControl, int nInset) {
  const QImage area = screen.copy(QRect(pControl->mapToGlobal(QPoint(0, 0)), pControl->size())
                                      .adjusted(nInset, nInset, -nInset, -nInset));
  std::set<std::string> shapes;
  std::string shape;
  for (int x = 0; x <= area.width(); ++x) {
    std::string column;
    for (int y = 0; x < area.width() && y < area.height(); ++y)
      column += qGray(area.pixel(x, y)) < 128 ? '#' : '.';
    if (column.find('#') != std::string::npos)
      shape += column;
    else if (!shape.empty())
      shapes.insert(std::exchange(shape, std::string()));
  }
  return shapes.size();
}

// Offscreen cannot see a missing font: real_window_test.sh runs this in an
// X server of its own.
TEST(CipherDlgWindow, TextRendersAsGlyphsOnARealScreen) {
  if (QGuiApplication::platformName() != QStringLiteral("xcb"))
    GTEST_SKIP() << "needs a real X server";
  CCipherDlg dlg;
  RunModal(dlg, [](HWND hDlg) {
    TypeText(ControlWidget(hDlg, IDC_INPUT), QStringLiteral("password"));
    QTest::mouseClick(ControlWidget(hDlg, IDC_ENCRYPT), Qt::LeftButton);
    ControlWidget(hDlg, IDC_INPUT)->clearFocus();  // no caret in the picture
    QTest::qWait(300);                             // let the server draw what the client sent
    const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    screen.save(QStringLiteral(VELKAST_TEST_OUTPUT_DIR "/real-window.png"));
    // "Using AES Encryption" has 14 different letters, the output 15
    // different digits. One glyph repeated comes out as a few shapes at its
    // different pixel offsets, so would a box; no font draws no shape.
    EXPECT_GE(DistinctShapes(screen, ControlWidget(hDlg, IDC_STATIC), 0), 9u);
    EXPECT_GE(DistinctShapes(screen, ControlWidget(hDlg, IDC_OUTPUT), 4), 8u);
  });
}

}  // namespace
