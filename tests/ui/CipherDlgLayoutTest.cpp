// The password dialog's window as built from its template: layout in the
// dialog font, texts, icons, and a picture of it for a person to look at.
#include <QFontInfo>
#include <QFontMetrics>
#include <QProcess>

#include <gtest/gtest.h>

#include <span>

#include "platform/framework/DialogUnits.h"
#include "platform/framework/qt/QtHandles.h"
#include "res/icon/IconFile.h"
#include "res/icon/MainFrameIcon.h"
#include "res/resource.h"
#include "tests/framework/GuiTestSupport.h"
#include "ui/CipherDlg.h"

namespace {

class CTestCipherDlg : public CCipherDlg {
 public:
  using CCipherDlg::m_hIcon;
};

// The font fontconfig itself picks for sans-serif.
QString FontconfigSansSerif() {
  QProcess fcMatch;
  fcMatch.start(QStringLiteral("fc-match"),
                {QStringLiteral("-f"), QStringLiteral("%{family[0]}"), QStringLiteral("sans-serif")});
  fcMatch.waitForFinished(10000);
  return QString::fromUtf8(fcMatch.readAllStandardOutput());
}

TEST(CipherDlgWindow, LaysOutItsControlsInTheDialogFontAndSavesAPicture) {
  CTestCipherDlg dlg;
  RunModal(dlg, [](HWND hDlg) {
    QWidget* pDialog = AfxQtWidgetFromHandle(hDlg);
    EXPECT_EQ(pDialog->windowTitle(), QStringLiteral("Velkast v1.1"));
    const QFont font = pDialog->font();
    EXPECT_EQ(QFontInfo(font).family(), FontconfigSansSerif());
    EXPECT_EQ(font.pointSize(), 8);

    // Base units measured here from the font, the way the dialog manager does.
    const QFontMetrics metrics(font, pDialog);
    const int nBaseX = AverageCharWidthFromAlphabet(
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")));
    auto toPixels = [&](const RECT& rcUnits) {
      const RECT rc = DialogUnitsToPixels(rcUnits, nBaseX, metrics.height());
      return QRect(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    };
    EXPECT_EQ(pDialog->size(), toPixels({0, 0, 167, 149}).size());
    EXPECT_EQ(pDialog->minimumSize(), pDialog->maximumSize());  // not resizable
    EXPECT_FALSE(pDialog->windowFlags() & Qt::WindowMinMaxButtonsHint);
    EXPECT_TRUE(pDialog->windowFlags() & Qt::WindowCloseButtonHint);

    const struct {
      int nID;
      RECT rcUnits;
      const char* pszText;
    } controls[] = {{IDC_INPUT, {7, 79, 161, 93}, ""},
                    {IDC_OUTPUT, {7, 115, 162, 129}, ""},
                    {IDC_DECRYPT, {110, 7, 160, 21}, "Decrypt"},
                    {IDC_ENCRYPT, {110, 29, 160, 43}, "Encrypt"},
                    {IDC_STATIC, {7, 7, 86, 15}, "Using AES Encryption"}};
    for (const auto& control : controls) {
      QWidget* pControl = ControlWidget(hDlg, control.nID);
      ASSERT_NE(pControl, nullptr) << control.nID;
      EXPECT_EQ(pControl->geometry(), toPixels(control.rcUnits)) << control.nID;
      EXPECT_EQ(pControl->property("text").toString(), QString::fromUtf8(control.pszText));
      EXPECT_TRUE(pControl->isVisible());
    }
    // A screen reader tells the two fields apart.
    const QString inputName = ControlWidget(hDlg, IDC_INPUT)->accessibleName();
    EXPECT_FALSE(inputName.isEmpty());
    EXPECT_NE(ControlWidget(hDlg, IDC_OUTPUT)->accessibleName(), inputName);

    // Centred in the work area.
    RECT rcWindow{}, rcArea{};
    ASSERT_TRUE(GetWindowRect(hDlg, &rcWindow));
    ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &rcArea, 0));
    EXPECT_NEAR(rcWindow.left + rcWindow.right, rcArea.left + rcArea.right, 1);
    EXPECT_NEAR(rcWindow.top + rcWindow.bottom, rcArea.top + rcArea.bottom, 1);

    TypeText(ControlWidget(hDlg, IDC_INPUT), QStringLiteral("password"));
    SendMessage(GetDlgItem(hDlg, IDC_ENCRYPT), BM_CLICK, 0, 0);
    const QString path = QStringLiteral(VELKAST_TEST_OUTPUT_DIR "/cipher-dialog.png");
    EXPECT_TRUE(pDialog->grab().save(path)) << path.toStdString();
  });
}

TEST(CipherDlgWindow, BigAndSmallIconsAreTheIconGroup) {
  CTestCipherDlg dlg;
  ASSERT_NE(dlg.m_hIcon, nullptr);
  EXPECT_EQ(dlg.m_hIcon, LoadIcon(AfxGetResourceHandle(), MAKEINTRESOURCE(IDR_MAINFRAME)));  // shared
  RunModal(dlg, [&dlg](HWND hDlg) {
    for (WPARAM nSize : {ICON_BIG, ICON_SMALL})
      EXPECT_EQ(reinterpret_cast<HICON>(SendMessage(hDlg, WM_GETICON, nSize, 0)), dlg.m_hIcon);

    // The window shows the 24-bit image of each size, transparency included.
    const QIcon icon = AfxQtWidgetFromHandle(hDlg)->windowIcon();
    EXPECT_EQ(icon.availableSizes(), QList<QSize>({QSize(16, 16), QSize(32, 32), QSize(48, 48)}));
    const auto images = velkast::icon::ParseIconFile(std::span(g_abMainFrameIcon, g_abMainFrameIcon_size));
    ASSERT_TRUE(images);
    for (const auto& image : *images) {
      if (image.bitCount != 24)
        continue;
      const QImage expected(reinterpret_cast<const uchar*>(image.pixels.data()), image.width,
                            image.height, QImage::Format_ARGB32);
      const QImage shown = icon.pixmap(expected.size()).toImage().convertToFormat(QImage::Format_ARGB32);
      EXPECT_TRUE(shown == expected) << image.width;
    }
  });
}

}  // namespace
