// The password dialog's template, the window built from it, its icon, and
// a picture of it for a person to look at.
#include <QAccessible>
#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>

#include <gtest/gtest.h>

#include <span>

#include "platform/framework/DialogTemplate.h"
#include "platform/framework/DialogUnits.h"
#include "platform/framework/qt/QtHandles.h"
#include "res/DialogTemplates.h"
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

TEST(CipherDlgTemplate, IsTheDialogAsDesigned) {
  const DIALOG_TEMPLATE* pTemplate = AfxLoadDialogTemplate(AfxGetResourceHandle(), IDD_MAIN_DIALOG);
  ASSERT_EQ(pTemplate, &g_dlgMainDialog);
  EXPECT_EQ(pTemplate->style, 0x90C80048u);
  EXPECT_EQ(pTemplate->style & DS_MODALFRAME, 0u);
  EXPECT_EQ(pTemplate->dwExtendedStyle, 0x80040000u);
  EXPECT_EQ(std::make_tuple(pTemplate->x, pTemplate->y, pTemplate->cx, pTemplate->cy),
            std::make_tuple(0, 0, 167, 149));
  EXPECT_EQ(CString(pTemplate->pszCaption), u"Velkast v1.1");
  EXPECT_EQ(pTemplate->wPointSize, 8);
  EXPECT_EQ(CString(pTemplate->pszTypeface), u"MS Shell Dlg");

  struct Expected {
    int id;
    const char16_t* cls;
    const char16_t* text;
    short x, y, cx, cy;
    DWORD style;
  };
  const Expected expected[] = {
      {1000, u"edit", u"", 7, 79, 154, 14, 0x50810080},
      {1001, u"edit", u"", 7, 115, 155, 14, 0x50810880},
      {1003, u"button", u"Decrypt", 110, 7, 50, 14, 0x50010000},
      {1004, u"button", u"Encrypt", 110, 29, 50, 14, 0x50010000},
      {-1, u"static", u"Using AES Encryption", 7, 7, 79, 8, 0x50020000},
  };
  ASSERT_EQ(pTemplate->cItems, std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const DIALOG_ITEM_TEMPLATE& item = pTemplate->pItems[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(item.id, expected[i].id);
    EXPECT_EQ(CString(item.pszClass), expected[i].cls);
    EXPECT_EQ(CString(item.pszText), expected[i].text);
    EXPECT_EQ(std::make_tuple(item.x, item.y, item.cx, item.cy),
              std::make_tuple(expected[i].x, expected[i].y, expected[i].cx, expected[i].cy));
    EXPECT_EQ(item.style, expected[i].style);
    EXPECT_EQ(item.dwExtendedStyle, 0u);
  }
}

// The font fontconfig itself picks for sans-serif.
QString FontconfigSansSerif() {
  QProcess fcMatch;
  fcMatch.start(QStringLiteral("fc-match"), {QStringLiteral("-f"), QStringLiteral("%{family[0]}"),
                                             QStringLiteral("sans-serif")});
  if (!fcMatch.waitForFinished(10000))
    return QString();
  return QString::fromUtf8(fcMatch.readAllStandardOutput());
}

TEST(CipherDlgWindow, LaysOutTheTemplateInTheDialogFont) {
  CTestCipherDlg dlg;
  RunModal(dlg, [](HWND hDlg) {
    QWidget* pDialog = AfxQtWidgetFromHandle(hDlg);
    const QFont font = pDialog->font();
    EXPECT_EQ(QFontInfo(font).family(), FontconfigSansSerif());
    EXPECT_EQ(font.pointSize(), 8);

    // Base units measured here from the font, the way the dialog manager does.
    const QFontMetrics metrics(font, pDialog);
    const int nBaseX =
        (metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 26 + 1) / 2;
    const int nBaseY = metrics.height();
    auto toPixels = [&](int x, int y, int cx, int cy) {
      const RECT rc = DialogUnitsToPixels(RECT{x, y, x + cx, y + cy}, nBaseX, nBaseY);
      return QRect(QPoint(rc.left, rc.top), QPoint(rc.right - 1, rc.bottom - 1));
    };
    EXPECT_EQ(pDialog->size(), toPixels(0, 0, 167, 149).size());
    for (std::size_t i = 0; i < g_dlgMainDialog.cItems; ++i) {
      const DIALOG_ITEM_TEMPLATE& item = g_dlgMainDialog.pItems[i];
      QWidget* pControl = AfxQtWidgetFromHandle(GetDlgItem(hDlg, item.id));
      ASSERT_NE(pControl, nullptr);
      EXPECT_EQ(pControl->geometry(), toPixels(item.x, item.y, item.cx, item.cy)) << item.id;
      EXPECT_TRUE(pControl->isVisible());
    }

    // Centred in the work area.
    RECT rcWindow{}, rcArea{};
    ASSERT_TRUE(GetWindowRect(hDlg, &rcWindow));
    ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &rcArea, 0));
    EXPECT_NEAR(rcWindow.left + rcWindow.right, rcArea.left + rcArea.right, 1);
    EXPECT_NEAR(rcWindow.top + rcWindow.bottom, rcArea.top + rcArea.bottom, 1);
  });
}

TEST(CipherDlgWindow, TextsButtonsAndNames) {
  CTestCipherDlg dlg;
  RunModal(dlg, [](HWND hDlg) {
    QWidget* pDialog = AfxQtWidgetFromHandle(hDlg);
    EXPECT_EQ(pDialog->windowTitle(), QStringLiteral("Velkast v1.1"));
    EXPECT_FALSE(pDialog->windowFlags() & Qt::WindowMinMaxButtonsHint);
    EXPECT_TRUE(pDialog->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(pDialog->minimumSize(), pDialog->maximumSize());  // not resizable
    EXPECT_TRUE(pDialog->isWindowModified() == false && pDialog->isModal());

    auto* pLabel = qobject_cast<QLabel*>(AfxQtWidgetFromHandle(GetDlgItem(hDlg, IDC_STATIC)));
    ASSERT_NE(pLabel, nullptr);
    EXPECT_EQ(pLabel->text(), QStringLiteral("Using AES Encryption"));
    EXPECT_EQ(pLabel->focusPolicy(), Qt::NoFocus);
    for (auto [nID, text] : {std::pair{IDC_DECRYPT, "Decrypt"}, std::pair{IDC_ENCRYPT, "Encrypt"}}) {
      auto* pButton = qobject_cast<QPushButton*>(ControlWidget(hDlg, nID));
      ASSERT_NE(pButton, nullptr);
      EXPECT_EQ(pButton->text(), QString::fromLatin1(text));
      EXPECT_FALSE(pButton->isDefault());
      EXPECT_FALSE(pButton->autoDefault());
    }

    // A screen reader tells the two fields apart.
    const QString inputName = ControlWidget(hDlg, IDC_INPUT)->accessibleName();
    const QString outputName = ControlWidget(hDlg, IDC_OUTPUT)->accessibleName();
    EXPECT_FALSE(inputName.isEmpty());
    EXPECT_FALSE(outputName.isEmpty());
    EXPECT_NE(inputName, outputName);
    QAccessibleInterface* pAccessible = QAccessible::queryAccessibleInterface(ControlWidget(hDlg, IDC_INPUT));
    ASSERT_NE(pAccessible, nullptr);
    EXPECT_EQ(pAccessible->text(QAccessible::Name), inputName);
  });
}

// The icon group's images as an independent reader decodes them.
std::vector<velkast::icon::IconImage> ReferenceImages() {
  auto images = velkast::icon::ParseIconFile(std::span(g_abMainFrameIcon, g_abMainFrameIcon_size));
  return images ? *images : std::vector<velkast::icon::IconImage>{};
}

TEST(CipherDlgWindow, BigAndSmallIconsAreTheIconGroup) {
  CTestCipherDlg dlg;
  ASSERT_NE(dlg.m_hIcon, nullptr);
  EXPECT_EQ(dlg.m_hIcon, LoadIcon(AfxGetResourceHandle(), MAKEINTRESOURCE(IDR_MAINFRAME)));
  RunModal(dlg, [&dlg](HWND hDlg) {
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessage(hDlg, WM_GETICON, ICON_BIG, 0)), dlg.m_hIcon);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessage(hDlg, WM_GETICON, ICON_SMALL, 0)), dlg.m_hIcon);

    // The window shows the 24-bit image of each size, transparency included.
    const QIcon icon = AfxQtWidgetFromHandle(hDlg)->windowIcon();
    EXPECT_EQ(icon.availableSizes(), QList<QSize>({QSize(16, 16), QSize(32, 32), QSize(48, 48)}));
    const auto reference = ReferenceImages();
    ASSERT_EQ(reference.size(), 9u);
    for (const auto& image : reference) {
      if (image.bitCount != 24)
        continue;
      const QImage shown = icon.pixmap(QSize(image.width, image.height)).toImage()
                               .convertToFormat(QImage::Format_ARGB32);
      ASSERT_EQ(shown.size(), QSize(image.width, image.height));
      int nMismatches = 0;
      for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
          nMismatches += shown.pixel(x, y) != image.pixels[static_cast<std::size_t>(y * image.width + x)];
      EXPECT_EQ(nMismatches, 0) << image.width;
    }
  });
}

TEST(CipherDlgWindow, SavesAPicture) {
  CTestCipherDlg dlg;
  RunModal(dlg, [](HWND hDlg) {
    TypeText(ControlWidget(hDlg, IDC_INPUT), QStringLiteral("password"));
    SendMessage(GetDlgItem(hDlg, IDC_ENCRYPT), BM_CLICK, 0, 0);
    const QString path = QStringLiteral(VELKAST_TEST_OUTPUT_DIR "/cipher-dialog.png");
    EXPECT_TRUE(AfxQtWidgetFromHandle(hDlg)->grab().save(path)) << path.toStdString();
  });
}

}  // namespace
