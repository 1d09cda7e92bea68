#include "tests/framework/GuiTestSupport.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "platform/framework/qt/QtHandles.h"

INT_PTR RunModal(CDialog& dlg, const std::function<void(HWND)>& script) {
  QTimer::singleShot(0, [&dlg, &script] {
    const HWND hDlg = dlg.GetSafeHwnd();
    QWidget* pWidget = AfxQtWidgetFromHandle(hDlg);
    ASSERT_NE(pWidget, nullptr) << "no dialog window";
    EXPECT_TRUE(QTest::qWaitForWindowActive(pWidget));
    script(hDlg);
    if (!IsEnded(hDlg))
      EndDialog(hDlg, kLeftOpen);
  });
  return dlg.DoModal();
}

QWidget* ControlWidget(HWND hDlg, int nID) { return AfxQtWidgetFromHandle(GetDlgItem(hDlg, nID)); }

void TypeText(QWidget* pWidget, const QString& text) {
  for (qsizetype i = 0; i < text.size();) {
    const qsizetype n = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    QTest::sendKeyEvent(QTest::Click, pWidget, Qt::Key_unknown, text.mid(i, n), Qt::NoModifier);
    i += n;
  }
}

bool IsEnded(HWND hDlg) {
  const HWND__* pDlg = AfxQtWindowFromHandle(hDlg);
  return pDlg == nullptr || pDlg->bEnded;
}

void PrintTo(const CString& str, std::ostream* os) { PrintTo(QString::fromUtf16(str.GetString()), os); }

void PrintTo(const QString& str, std::ostream* os) { *os << '"' << str.toStdString() << '"'; }

void PrintTo(const QRect& rc, std::ostream* os) {
  *os << rc.x() << ' ' << rc.y() << ' ' << rc.width() << 'x' << rc.height();
}

// main for GUI tests: a QApplication around GoogleTest. Without a platform
// chosen by the environment the tests run offscreen, which also lets the
// test runner list them on a machine without a display.
int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
