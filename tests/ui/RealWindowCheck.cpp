// Shows the password dialog on a real X server (the one DISPLAY names),
// takes a screenshot of the screen and checks that its texts were drawn as
// glyphs: the label's letters must come out as many different ink shapes.
// A missing font draws nothing, or one box shape over and over.
//
// Usage: RealWindowCheck <screenshot.png>. Exit 0 when the text rendered.
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <set>
#include <tuple>
#include <vector>

#include "platform/framework/qt/QtHandles.h"
#include "res/resource.h"
#include "ui/CipherDlg.h"

namespace {

// The connected ink blobs of an image region: dark pixels, 8-connected.
// Each blob is described by its size and ink count, enough to tell letters
// apart from each other and from identical boxes.
std::vector<std::tuple<int, int, int>> InkShapes(const QImage& region) {
  const int w = region.width(), h = region.height();
  std::vector<int> seen(static_cast<std::size_t>(w * h), 0);
  auto dark = [&](int x, int y) { return qGray(region.pixel(x, y)) < 128; };
  std::vector<std::tuple<int, int, int>> shapes;
  for (int y0 = 0; y0 < h; ++y0) {
    for (int x0 = 0; x0 < w; ++x0) {
      if (seen[static_cast<std::size_t>(y0 * w + x0)] || !dark(x0, y0))
        continue;
      int minX = x0, maxX = x0, minY = y0, maxY = y0, ink = 0;
      std::vector<QPoint> stack{{x0, y0}};
      seen[static_cast<std::size_t>(y0 * w + x0)] = 1;
      while (!stack.empty()) {
        const QPoint p = stack.back();
        stack.pop_back();
        ++ink;
        minX = std::min(minX, p.x()), maxX = std::max(maxX, p.x());
        minY = std::min(minY, p.y()), maxY = std::max(maxY, p.y());
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            const int x = p.x() + dx, y = p.y() + dy;
            if (x < 0 || y < 0 || x >= w || y >= h || seen[static_cast<std::size_t>(y * w + x)] || !dark(x, y))
              continue;
            seen[static_cast<std::size_t>(y * w + x)] = 1;
            stack.push_back({x, y});
          }
      }
      shapes.emplace_back(maxX - minX + 1, maxY - minY + 1, ink);
    }
  }
  return shapes;
}

// How many different shapes the text of a control came out as, from the
// screenshot of the whole screen.
std::size_t DistinctShapes(const QImage& screen, const QWidget* pControl, int nInset) {
  const QRect area = QRect(pControl->mapToGlobal(QPoint(0, 0)), pControl->size())
                         .adjusted(nInset, nInset, -nInset, -nInset);
  const auto shapes = InkShapes(screen.copy(area));
  const std::set<std::tuple<int, int, int>> distinct(shapes.begin(), shapes.end());
  std::printf("%s: %zu ink shapes, %zu different\n", qPrintable(pControl->objectName()),
              shapes.size(), distinct.size());
  return distinct.size();
}

int Check(HWND hDlg, const QString& screenshotPath) {
  QWidget* pDialog = AfxQtWidgetFromHandle(hDlg);
  if (!QTest::qWaitForWindowExposed(pDialog)) {
    std::fprintf(stderr, "the dialog was never shown\n");
    return 1;
  }
  auto* pInput = qobject_cast<QLineEdit*>(AfxQtWidgetFromHandle(GetDlgItem(hDlg, IDC_INPUT)));
  auto* pOutput = qobject_cast<QLineEdit*>(AfxQtWidgetFromHandle(GetDlgItem(hDlg, IDC_OUTPUT)));
  QWidget* pLabel = AfxQtWidgetFromHandle(GetDlgItem(hDlg, IDC_STATIC));
  pLabel->setObjectName(QStringLiteral("label"));
  pOutput->setObjectName(QStringLiteral("output"));
  QTest::keyClicks(pInput, QStringLiteral("password"));
  QTest::mouseClick(AfxQtWidgetFromHandle(GetDlgItem(hDlg, IDC_ENCRYPT)), Qt::LeftButton);
  pInput->clearFocus();  // no caret in the picture
  QTest::qWait(300);     // let the server draw what the client sent

  const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
  screen.save(screenshotPath);
  // "Using AES Encryption" has 13 different letters, the output's 32 hex
  // digits 12 different ones; boxes would be one shape, no font no shape.
  const bool bLabelOk = DistinctShapes(screen, pLabel, 0) >= 9;
  const bool bOutputOk = pOutput->text() == QStringLiteral("53877449c8ce5745eefc1ef26d760efa") &&
                         DistinctShapes(screen, pOutput, 4) >= 8;
  return bLabelOk && bOutputOk ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);  // lines survive a sanitizer's exit
  QApplication app(argc, argv);
  if (argc != 2 || QGuiApplication::platformName() != QStringLiteral("xcb")) {
    std::fprintf(stderr, "usage: DISPLAY=... QT_QPA_PLATFORM=xcb %s <screenshot.png>\n", argv[0]);
    return 2;
  }
  CCipherDlg dlg;
  int nExit = 1;
  QTimer::singleShot(0, [&] {
    nExit = Check(dlg.GetSafeHwnd(), QString::fromLocal8Bit(argv[1]));
    EndDialog(dlg.GetSafeHwnd(), IDCANCEL);
  });
  const INT_PTR nResult = dlg.DoModal();
  if (nResult != IDCANCEL) {
    std::fprintf(stderr, "the dialog did not run (DoModal returned %ld)\n", static_cast<long>(nResult));
    return 1;
  }
  std::printf(nExit == 0 ? "text rendered\n" : "text did not render as glyphs\n");
  return nExit;
}
