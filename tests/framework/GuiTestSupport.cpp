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

void Click(HWND hDlg, int nID) { QTest::mouseClick(ControlWidget(hDlg, nID), Qt::LeftButton); }

bool IsEnded(HWND hDlg) {
  const HWND__* pDlg = AfxQtWindowFromHandle(hDlg);
  return pDlg == nullptr || pDlg->bEnded;
}

void PrintTo(const QString& str, std::ostream* os) { *os << '"' << str.toStdString() << '"'; }

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
