// The password dialog on the Qt backend, beyond what CipherDlgBehaviourTest
// holds both backends to: dropped text; its window held to the values it
// was designed with (typed in here, never read back from the template) in
// the units of the desktop's font; a picture of it for a person to look at,
// and its text on a real X server.
#include <QApplication>
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

#include "platform/framework/DialogUnits.h"
#include "platform/framework/IconImages.h"
#include "platform/framework/qt/QtHandles.h"
#include "res/resource.h"
#include "tests/framework/GuiTestSupport.h"
#include "tests/support/DesignedDialog.h"

namespace {

const QString kPassword = QStringLiteral("password");

QLineEdit* Field(HWND hDlg, int nID) { return qobject_cast<QLineEdit*>(ControlWidget(hDlg, nID)); }

// Text dragged in and dropped at the field's end keeps its first line, as
// pasted text does.
TEST_F(CipherDlgTest, DroppedTextKeepsItsFirstLine) {
  Run({[](HWND hDlg) {
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
  }});
}

// FALSE from OnInitDialog leaves the focus where it put it, or on no control
// (on this backend only: under Wine the system puts it on the first one).
TEST_F(CipherDlgTest, FocusGivenAtInitIsKept) {
  for (int nID : {IDC_ENCRYPT, -1}) {
    CTestCipherDlg dlg(nID);
    RunModal(dlg, {[nID](HWND) { EXPECT_EQ(GetDlgCtrlID(GetFocus()), nID < 0 ? 0 : nID); }});
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

// Laid out as above and centred on the work area once initialised, to
// within the pixel that halving an odd size loses.
TEST_F(CipherDlgTest, WindowIsLaidOutInTheUnitsOfTheDesktopFontAndCentred) {
  const QFont desktop = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  Run({[&desktop](HWND hDlg) {
    ExpectLaidOutInTheUnitsOf(hDlg, desktop.family(), desktop.pointSize());
    const QRect frame = AfxQtWidgetFromHandle(hDlg)->frameGeometry();
    const QRect area = AfxQtWidgetFromHandle(hDlg)->screen()->availableGeometry();
    EXPECT_LE(qAbs(2 * frame.left() + frame.width() - 2 * area.left() - area.width()), 1);
    EXPECT_LE(qAbs(2 * frame.top() + frame.height() - 2 * area.top() - area.height()), 1);
  }});
}

// The big and small icons are the dialog's icon group; at each of its sizes
// the window shows the 24-bit image of the icon file.
TEST_F(CipherDlgTest, WindowShowsTheIconGroup) {
  std::ifstream in(VELKAST_ICON_FILE, std::ios::binary);
  const std::vector<BYTE> file{std::istreambuf_iterator<char>(in), {}};
  const auto entries = IconFileEntries(file);
  ASSERT_TRUE(entries);
  Run({[this, &entries](HWND hDlg) {
    for (WPARAM nSize : {ICON_BIG, ICON_SMALL})
      EXPECT_EQ(SendMessage(hDlg, WM_GETICON, nSize, 0), reinterpret_cast<LRESULT>(m_dlg.m_hIcon));
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
  }});
}

// The password is not masked. The result is drawn as the system draws a
// read-only field, on the window's colour, the input on the colour of a
// field to type in: on a light palette, and on a dark one the desktop
// switches to while the dialog is open (pictures of both for a person).
TEST_F(CipherDlgTest, PasswordIsShownAsTypedAndTheResultAsReadOnly) {
  const QPalette previous = QApplication::palette();
  Run({[](HWND hDlg) {
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
  }});
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
  RunModal(dlg, {[](HWND hDlg) {
             ExpectLaidOutInTheUnitsOf(hDlg, QStringLiteral("DejaVu Sans"), 16);
             QTest::keyClicks(ControlWidget(hDlg, IDC_INPUT), kPassword);
             Click(hDlg, IDC_ENCRYPT);
             ControlWidget(hDlg, IDC_INPUT)->clearFocus();  // no caret in the picture
             QTest::qWait(300);  // let the server draw what the client sent
             const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
             screen.save(QStringLiteral(VELKAST_TEST_OUTPUT_DIR "/real-window.png"));
             // "Using AES Encryption" has 14 different letters, the output 15
             // different digits: over 30 different columns each. A box for every
             // glyph (no font found) comes out as 2, no text as none.
             EXPECT_GE(DistinctInkColumns(screen, ControlWidget(hDlg, IDC_STATIC), 0), 16u);
             EXPECT_GE(DistinctInkColumns(screen, ControlWidget(hDlg, IDC_OUTPUT), 4), 16u);
           }});
}

}  // namespace
