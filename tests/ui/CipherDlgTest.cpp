// The password dialog driven through real Qt events (typing, pasting,
// clicks and keys), one behaviour a test, with the engine itself as the
// oracle for its output; its window held to the values it was designed with
// (typed in here, never read back from the template); a picture of it for a
// person to look at, and its text on a real X server.
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMimeData>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "cipher/AesTextCipher.h"
#include "cipher/BuiltinKey.h"
#include "platform/core/LocalMemory.h"
#include "platform/framework/DialogUnits.h"
#include "platform/framework/IconImages.h"
#include "platform/framework/qt/QtHandles.h"
#include "res/resource.h"
#include "tests/framework/GuiTestSupport.h"
#include "tests/support/DesignedDialog.h"
#include "tests/support/SingleLineEditCases.h"
#include "ui/CipherDlg.h"

namespace {

const QString kPassword = QStringLiteral("password");

// The dialog with its members in reach. Given a control (or -1 for none),
// its OnInitDialog gives that control the focus and returns FALSE.
class CTestCipherDlg : public CCipherDlg {
 public:
  explicit CTestCipherDlg(int nFocusID = 0) : m_nFocusID(nFocusID) {}
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
  void SetUp() override { m_nBlocks = GetLocalAllocCount(); }
  void TearDown() override {
    EXPECT_EQ(GetLocalAllocCount(), m_nBlocks) << "blocks of the local heap leaked";
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty()) << "a window was left behind";
  }
  INT_PTR Run(const std::function<void(HWND)>& script) { return RunModal(m_dlg, script); }

  CTestCipherDlg m_dlg;
  long m_nBlocks = 0;
};

QLineEdit* Field(HWND hDlg, int nID) { return qobject_cast<QLineEdit*>(ControlWidget(hDlg, nID)); }

// What the engine itself makes of a text: the dialog must show exactly this.
QString EngineEncrypt(const QString& text) {
  CAesTextCipher cipher(g_szBuiltinPassPhrase, g_nBuiltinKeySize);
  std::int32_t nLength = 0;
  LPCWSTR psz = cipher.Encrypt(reinterpret_cast<LPCWSTR>(text.utf16()), &nLength);
  return psz != nullptr ? QString::fromUtf16(psz) : QStringLiteral("<null>");
}

TEST_F(CipherDlgTest, FocusStartsOnTheInputAndTabFollowsTheTemplate) {
  Run([](HWND) {
    for (int nID : {IDC_INPUT, IDC_OUTPUT, IDC_DECRYPT, IDC_ENCRYPT, IDC_INPUT}) {  // no label
      EXPECT_EQ(GetDlgCtrlID(GetFocus()), nID);
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
  });
}

// Enter and Space press the focused button; neither button is a default
// one, so Enter in a field presses nothing and ends nothing. The input is a
// text that either command would answer, so any command that ran would show.
TEST_F(CipherDlgTest, EnterAndSpacePressOnlyTheFocusedButton) {
  Run([](HWND hDlg) {
    const QString typed = EngineEncrypt(kPassword);
    QTest::keyClicks(Field(hDlg, IDC_INPUT), typed);
    const std::tuple<int, Qt::Key, QString> presses[] = {
        {IDC_INPUT, Qt::Key_Return, QString()},
        {IDC_OUTPUT, Qt::Key_Enter, QString()},
        {IDC_DECRYPT, Qt::Key_Return, kPassword},
        {IDC_ENCRYPT, Qt::Key_Enter, EngineEncrypt(typed)},
        {IDC_DECRYPT, Qt::Key_Space, kPassword}};
    for (const auto& [nID, key, shown] : presses) {
      ControlWidget(hDlg, nID)->setFocus();
      QTest::keyClick(ControlWidget(hDlg, nID), key);
      EXPECT_EQ(Field(hDlg, IDC_OUTPUT)->text(), shown) << nID << ' ' << key;
      EXPECT_FALSE(IsEnded(hDlg));
    }
  });
}

TEST_F(CipherDlgTest, OutputTakesNoTypingDeletingOrPasting) {
  Run([](HWND hDlg) {
    QLineEdit* pOutput = Field(hDlg, IDC_OUTPUT);
    pOutput->setText(QStringLiteral("shown"));
    QTest::keyClicks(pOutput, QStringLiteral("typed"));
    QTest::keyClick(pOutput, Qt::Key_Backspace);
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    QTest::keyClick(pOutput, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(pOutput->text(), QStringLiteral("shown"));
  });
}

// Each press replaces the last one's output, and decrypting the output
// gives the password back. The last password is longer than a line edit's
// default limit, so neither field may have one.
TEST_F(CipherDlgTest, CommandsShowWhatTheEngineMakes) {
  Run([](HWND hDlg) {
    for (const QString& password :
         {QString(), QString::fromUtf8("Gr\u00fc\u00dfe \u20ac 5"), QString(40000, u'k')}) {
      Field(hDlg, IDC_INPUT)->setText(password);
      Click(hDlg, IDC_ENCRYPT);
      Click(hDlg, IDC_ENCRYPT);
      EXPECT_EQ(Field(hDlg, IDC_OUTPUT)->text(), EngineEncrypt(password));
      Field(hDlg, IDC_INPUT)->setText(Field(hDlg, IDC_OUTPUT)->text());
      Click(hDlg, IDC_DECRYPT);
      EXPECT_EQ(Field(hDlg, IDC_OUTPUT)->text(), password);
    }
  });
}

// A password outside code page 1252, and the engine's first allocation
// failing (its own tests fail each one in turn).
TEST_F(CipherDlgTest, FailuresShowTheFailureTextAndKeepTheInput) {
  Run([](HWND hDlg) {
    const std::tuple<int, QString, unsigned, const char*> presses[] = {
        {IDC_ENCRYPT, QString::fromUtf8("\u6f22\u5b57 \U0001F511"), 0, "Unable to Encrypt"},
        {IDC_DECRYPT, EngineEncrypt(kPassword), 1, "Unable to Decrypt"},
        {IDC_ENCRYPT, kPassword, 1, "Unable to Encrypt"}};
    for (const auto& [nButton, input, nFailure, pszShown] : presses) {
      Field(hDlg, IDC_INPUT)->setText(input);
      SetLocalAllocFailure(nFailure);
      Click(hDlg, nButton);
      SetLocalAllocFailure(0);
      EXPECT_EQ(Field(hDlg, IDC_OUTPUT)->text(), QString::fromUtf8(pszShown));
      EXPECT_EQ(Field(hDlg, IDC_INPUT)->text(), input);
    }
  });
}

// As the system's single-line edit control takes it (the cases the Windows
// backend's tests run on the system itself): what comes before the first
// line feed of text pasted with a real Ctrl+V.
TEST_F(CipherDlgTest, PastedTextKeepsItsFirstLine) {
  Run([](HWND hDlg) {
    QLineEdit* pInput = Field(hDlg, IDC_INPUT);
    for (const PasteCase& c : kPasteCases) {
      pInput->setText(QString::fromLatin1(c.pszBefore));
      pInput->setCursorPosition(c.nCaret);
      QApplication::clipboard()->setText(QString::fromLatin1(c.pszPasted));
      QTest::keyClick(pInput, Qt::Key_V, Qt::ControlModifier);
      EXPECT_EQ(pInput->text(), QString::fromLatin1(c.pszAfter)) << c.pszPasted;
    }
  });
}

// Dragged in, moved to the field's end and dropped there.
TEST_F(CipherDlgTest, DroppedTextKeepsItsFirstLine) {
  Run([](HWND hDlg) {
    QLineEdit* pInput = Field(hDlg, IDC_INPUT);
    pInput->setText(QStringLiteral("xyz"));
    QMimeData data;
    data.setText(QStringLiteral("abc\r\ndef"));
    const QPoint end(pInput->width() - 2, pInput->height() / 2);
    QDragEnterEvent enter(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QDragMoveEvent move(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QDropEvent drop(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    for (QEvent* pEvent : std::initializer_list<QEvent*>{&enter, &move, &drop})
      QApplication::sendEvent(pInput, pEvent);
    EXPECT_EQ(pInput->text(), QStringLiteral("xyzabc"));
  });
}

TEST_F(CipherDlgTest, TextSetByTheProgramIsKeptAsIs) {
  Run([](HWND hDlg) {
    for (const char* pszSet : kSetTexts)
      for (int nID : {IDC_INPUT, IDC_OUTPUT}) {
        const QString text = QString::fromLatin1(pszSet);
        SetWindowText(GetDlgItem(hDlg, nID), reinterpret_cast<LPCWSTR>(text.utf16()));
        EXPECT_EQ(Field(hDlg, nID)->text(), text);
      }
  });
}

// The close button is the caption's OK: it reads the fields before the
// dialog ends. Escape cancels and reads nothing.
TEST_F(CipherDlgTest, CloseEndsWithOkAndEscapeWithCancel) {
  for (const bool bClose : {true, false}) {
    CTestCipherDlg dlg;
    const INT_PTR nResult = RunModal(dlg, [bClose](HWND hDlg) {
      QTest::keyClicks(Field(hDlg, IDC_INPUT), QStringLiteral("typed"));
      if (bClose)
        AfxQtWidgetFromHandle(hDlg)->close();
      else
        QTest::keyClick(Field(hDlg, IDC_INPUT), Qt::Key_Escape);
    });
    EXPECT_EQ(nResult, bClose ? IDOK : IDCANCEL);
    EXPECT_EQ(QString::fromUtf16(dlg.m_strInput), bClose ? u"typed" : u"");
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
  }
}

// FALSE from OnInitDialog leaves the focus where it put it, or on no control.
TEST_F(CipherDlgTest, FocusGivenAtInitIsKept) {
  for (int nID : {IDC_ENCRYPT, -1}) {
    CTestCipherDlg dlg(nID);
    RunModal(dlg, [nID](HWND) { EXPECT_EQ(GetDlgCtrlID(GetFocus()), nID < 0 ? 0 : nID); });
  }
}

// The window as the dialog manager builds it with the base units of its
// font, each of x, y, cx and cy mapped by itself; fixed in size, with a
// close button only. Its font is the desktop's general font, family and size.
void ExpectLaidOutInTheUnitsOf(HWND hDlg, const QString& family, int nPointSize) {
  QWidget* pDialog = AfxQtWidgetFromHandle(hDlg);
  EXPECT_EQ(pDialog->windowTitle(), QLatin1String(kDesignedCaption));
  EXPECT_EQ(std::tuple(pDialog->font().family(), pDialog->font().pointSize()),
            std::tuple(family, nPointSize));
  const QFontMetrics metrics(pDialog->font(), pDialog);
  const int nBaseX = AverageCharWidthFromAlphabet(metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")));
  const int nBaseY = metrics.height();
  auto toPixels = [=](int x, int y, int cx, int cy) {
    return std::tuple(MulDiv(x, nBaseX, 4), MulDiv(y, nBaseY, 8), MulDiv(cx, nBaseX, 4),
                      MulDiv(cy, nBaseY, 8));
  };
  EXPECT_EQ(std::tuple(0, 0, pDialog->width(), pDialog->height()), toPixels(0, 0, 167, 149));
  EXPECT_EQ(pDialog->minimumSize(), pDialog->maximumSize());
  EXPECT_EQ(pDialog->windowFlags() & (Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
            Qt::WindowCloseButtonHint);
  for (const DesignedControl& c : kDesignedControls) {
    const QWidget* pControl = ControlWidget(hDlg, c.id);
    ASSERT_NE(pControl, nullptr) << c.id;
    const QRect rc = pControl->geometry();
    EXPECT_EQ(std::tuple(rc.x(), rc.y(), rc.width(), rc.height()), toPixels(c.x, c.y, c.cx, c.cy))
        << c.id;
    EXPECT_EQ(pControl->property("text").toString(), QLatin1String(c.pszText)) << c.id;
    EXPECT_EQ(pControl->font(), pDialog->font()) << c.id;
    EXPECT_TRUE(pControl->isVisible()) << c.id;
  }
}

TEST_F(CipherDlgTest, WindowIsLaidOutInTheUnitsOfTheDesktopFont) {
  const QFont desktop = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  Run([&desktop](HWND hDlg) {
    ExpectLaidOutInTheUnitsOf(hDlg, desktop.family(), desktop.pointSize());
  });
}

// Centred on the work area once initialised, to within the pixel that
// halving an odd size loses.
TEST_F(CipherDlgTest, WindowIsCentredOnTheWorkArea) {
  Run([](HWND hDlg) {
    const QWidget* pDialog = AfxQtWidgetFromHandle(hDlg);
    const QRect frame = pDialog->frameGeometry();
    const QRect area = pDialog->screen()->availableGeometry();
    EXPECT_LE(qAbs(2 * frame.left() + frame.width() - 2 * area.left() - area.width()), 1);
    EXPECT_LE(qAbs(2 * frame.top() + frame.height() - 2 * area.top() - area.height()), 1);
  });
}

TEST_F(CipherDlgTest, FieldsAreNamedForScreenReaders) {
  Run([](HWND hDlg) {
    for (const auto& name : kDesignedAccessibleNames)
      EXPECT_EQ(ControlWidget(hDlg, name.id)->accessibleName(), QLatin1String(name.pszName));
  });
}

// The big and small icons are the icon group; at each of its sizes the
// window shows the 24-bit image of the icon file.
TEST_F(CipherDlgTest, WindowShowsTheIconGroup) {
  std::ifstream in(VELKAST_ICON_FILE, std::ios::binary);
  const std::vector<BYTE> file{std::istreambuf_iterator<char>(in), {}};
  const auto entries = IconFileEntries(file);
  ASSERT_TRUE(entries);
  Run([&entries](HWND hDlg) {
    const LRESULT hBig = SendMessage(hDlg, WM_GETICON, ICON_BIG, 0);
    EXPECT_TRUE(hBig != 0 && hBig == SendMessage(hDlg, WM_GETICON, ICON_SMALL, 0));
    const QIcon icon = AfxQtWidgetFromHandle(hDlg)->windowIcon();
    EXPECT_EQ(icon.availableSizes(), QList<QSize>({QSize(16, 16), QSize(32, 32), QSize(48, 48)}));
    for (const ICON_ENTRY& entry : *entries) {
      const auto image = DecodeIconImage(entry.image);
      ASSERT_TRUE(image);
      const QImage expected(reinterpret_cast<const uchar*>(image->pixels.data()), image->nWidth,
                            image->nHeight, QImage::Format_ARGB32);
      const QImage shown =
          icon.pixmap(expected.size()).toImage().convertToFormat(QImage::Format_ARGB32);
      EXPECT_TRUE(entry.nBitCount != 24 || shown == expected) << entry.nWidth;
    }
  });
}

// The password is not masked. The result is drawn as the system draws a
// read-only field, on the window's colour, the input on the colour of a
// field to type in: on a light palette, and on a dark one the desktop
// switches to while the dialog is open (pictures of both for a person).
TEST_F(CipherDlgTest, PasswordIsShownAsTypedAndTheResultAsReadOnly) {
  const QPalette previous = QApplication::palette();
  Run([](HWND hDlg) {
    QTest::keyClicks(Field(hDlg, IDC_INPUT), kPassword);
    EXPECT_EQ(Field(hDlg, IDC_INPUT)->displayText(), kPassword);
    SendMessage(GetDlgItem(hDlg, IDC_ENCRYPT), BM_CLICK, 0, 0);
    for (const auto& [pszName, pszWindow, pszBase] :
         {std::tuple("light", "#efefef", "#ffffff"), {"dark", "#353535", "#1e1e1e"}}) {
      QPalette palette{QColor(pszWindow), QColor(pszWindow)};
      palette.setColor(QPalette::Base, QColor(pszBase));
      QApplication::setPalette(palette);
      QCoreApplication::processEvents();
      const QImage picture = AfxQtWidgetFromHandle(hDlg)->grab().toImage();
      picture.save(QStringLiteral(VELKAST_TEST_OUTPUT_DIR "/cipher-dialog-%1.png").arg(pszName));
      const auto inside = [&picture, hDlg](int nID) {  // right of any text, inside the frame
        const QRect rc = ControlWidget(hDlg, nID)->geometry();
        return picture.pixelColor(rc.right() - 4, rc.center().y()).name();
      };
      EXPECT_EQ(std::tuple(inside(IDC_INPUT), inside(IDC_OUTPUT)), std::tuple(pszBase, pszWindow))
          << pszName;
    }
  });
  QApplication::setPalette(previous);
}

// How many different columns of dark pixels a control's text came out as on
// the screen.
std::size_t DistinctInkColumns(const QImage& screen, const QWidget* pControl, int nInset) {
  const QImage area = screen.copy(QRect(pControl->mapToGlobal(QPoint(0, 0)), pControl->size())
                                      .adjusted(nInset, nInset, -nInset, -nInset));
  std::set<std::string> columns = {std::string(area.height(), '.')};  // and the blank one
  for (int x = 0; x < area.width(); ++x) {
    std::string column;
    for (int y = 0; y < area.height(); ++y)
      column += qGray(area.pixel(x, y)) < 128 ? '#' : '.';
    columns.insert(column);
  }
  return columns.size() - 1;
}

// Offscreen cannot see a missing font, nor a desktop's: real_window_test.sh
// runs this in an X server of its own, on a desktop whose general font is
// DejaVu Sans at 16 points.
TEST(CipherDlgWindow, TextRendersInTheDesktopFontOnARealScreen) {
  if (QGuiApplication::platformName() != QStringLiteral("xcb"))
    GTEST_SKIP() << "needs a real X server";
  CCipherDlg dlg;
  RunModal(dlg, [](HWND hDlg) {
    ExpectLaidOutInTheUnitsOf(hDlg, QStringLiteral("DejaVu Sans"), 16);
    QTest::keyClicks(ControlWidget(hDlg, IDC_INPUT), kPassword);
    Click(hDlg, IDC_ENCRYPT);
    ControlWidget(hDlg, IDC_INPUT)->clearFocus();  // no caret in the picture
    QTest::qWait(300);                             // let the server draw what the client sent
    const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    screen.save(QStringLiteral(VELKAST_TEST_OUTPUT_DIR "/real-window.png"));
    // "Using AES Encryption" has 14 different letters, the output 15
    // different digits: over 30 different columns each. A box for every
    // glyph (no font found) comes out as 2, no text as none.
    EXPECT_GE(DistinctInkColumns(screen, ControlWidget(hDlg, IDC_STATIC), 0), 16u);
    EXPECT_GE(DistinctInkColumns(screen, ControlWidget(hDlg, IDC_OUTPUT), 4), 16u);
  });
}

}  // namespace
