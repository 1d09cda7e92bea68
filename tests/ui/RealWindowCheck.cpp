// Shows the password dialog on a real X server (the one DISPLAY names),
// takes a screenshot of the screen and checks that its texts were drawn as
// glyphs: the letters of a text must come out as many different shapes. A
// missing font draws nothing, or one box shape over and over.
//
// Usage: RealWindowCheck <screenshot.png>. Exit 0 when the text rendered.
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <set>
#include <string>

#include "platform/framework/qt/QtHandles.h"
#include "res/resource.h"
#include "ui/CipherDlg.h"

namespace {

// How many different shapes the text of a control came out as: runs of
// columns with ink, each as its pattern of dark pixels.
std::size_t DistinctShapes(const QImage& screen, HWND hDlg, int nID, int nInset) {
  const QWidget* pControl = AfxQtWidgetFromHandle(GetDlgItem(hDlg, nID));
  const QImage area = screen.copy(QRect(pControl->mapToGlobal(QPoint(0, 0)), pControl->size())
                                      .adjusted(nInset, nInset, -nInset, -nInset));
  auto dark = [&area](int x, int y) { return qGray(area.pixel(x, y)) < 128; };
  auto inked = [&](int x) {
    for (int y = 0; y < area.height(); ++y)
      if (dark(x, y))
        return true;
    return false;
  };
  std::set<std::string> shapes;
  for (int x = 0; x < area.width(); ++x) {
    std::string shape;
    for (; x < area.width() && inked(x); ++x)
      for (int y = 0; y < area.height(); ++y)
        shape += dark(x, y) ? '#' : '.';
    if (!shape.empty())
      shapes.insert(shape);
  }
  std::printf("control %d: %zu different shapes\n", nID, shapes.size());
  return shapes.size();
}

bool TextRendered(HWND hDlg, const QString& screenshotPath) {
  if (!QTest::qWaitForWindowExposed(AfxQtWidgetFromHandle(hDlg))) {
    std::fprintf(stderr, "the dialog was never shown\n");
    return false;
  }
  auto* pInput = qobject_cast<QLineEdit*>(AfxQtWidgetFromHandle(GetDlgItem(hDlg, IDC_INPUT)));
  auto* pOutput = qobject_cast<QLineEdit*>(AfxQtWidgetFromHandle(GetDlgItem(hDlg, IDC_OUTPUT)));
  QTest::keyClicks(pInput, QStringLiteral("password"));
  QTest::mouseClick(AfxQtWidgetFromHandle(GetDlgItem(hDlg, IDC_ENCRYPT)), Qt::LeftButton);
  pInput->clearFocus();  // no caret in the picture
  QTest::qWait(300);     // let the server draw what the client sent

  const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
  screen.save(screenshotPath);
  // "Using AES Encryption" has 14 different letters, this output 15
  // different digits. One glyph repeated comes out as a few shapes at its
  // different pixel offsets, so would a box; no font draws no shape at all.
  const bool bLabel = DistinctShapes(screen, hDlg, IDC_STATIC, 0) >= 9;
  const bool bOutput = DistinctShapes(screen, hDlg, IDC_OUTPUT, 4) >= 8;
  return bLabel && bOutput && pOutput->text() == QStringLiteral("53877449c8ce5745eefc1ef26d760efa");
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
  bool bRendered = false;
  QTimer::singleShot(0, [&] {
    bRendered = TextRendered(dlg.GetSafeHwnd(), QString::fromLocal8Bit(argv[1]));
    EndDialog(dlg.GetSafeHwnd(), IDCANCEL);
  });
  if (dlg.DoModal() != IDCANCEL) {
    std::fprintf(stderr, "the dialog did not run\n");
    return 1;
  }
  std::puts(bRendered ? "text rendered" : "text did not render as glyphs");
  return bRendered ? 0 : 1;
}
