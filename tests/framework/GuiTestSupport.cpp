#include "tests/framework/GuiTestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "platform/framework/qt/QtHandles.h"

INT_PTR RunModal(CDialog& dlg, std::vector<Step> steps) {
  QTimer::singleShot(0, [&dlg, &steps] {
    const HWND hDlg = dlg.GetSafeHwnd();
    QWidget* pWidget = AfxQtWidgetFromHandle(hDlg);
    ASSERT_NE(pWidget, nullptr) << "no dialog window";
    EXPECT_TRUE(QTest::qWaitForWindowActive(pWidget));
    for (const Step& step : steps) {
      ASSERT_FALSE(IsEnded(hDlg)) << "the dialog ended early";
      step(hDlg);
    }
    if (!IsEnded(hDlg))
      EndDialog(hDlg, kLeftOpen);
  });
  return dlg.DoModal();
}

QWidget* ControlWidget(HWND hDlg, int nID) { return AfxQtWidgetFromHandle(GetDlgItem(hDlg, nID)); }

void PressKey(HWND hWnd, Key key) {
  constexpr Qt::Key kKeys[] = {Qt::Key_Tab,   Qt::Key_Return, Qt::Key_Enter,
                               Qt::Key_Space, Qt::Key_Escape, Qt::Key_Backspace};
  QTest::keyClick(AfxQtWidgetFromHandle(hWnd), kKeys[static_cast<int>(key)]);
}

void TypeText(HWND hWnd, const WString& text) {
  QTest::keyClicks(AfxQtWidgetFromHandle(hWnd), QString::fromStdU16String(text));
}

void PasteText(HWND hEdit, const WString& text, int nCaret) {
  auto* pEdit = qobject_cast<QLineEdit*>(AfxQtWidgetFromHandle(hEdit));
  pEdit->setCursorPosition(nCaret);
  QApplication::clipboard()->setText(QString::fromStdU16String(text));
  QTest::keyClick(pEdit, Qt::Key_V, Qt::ControlModifier);
}

void Click(HWND hDlg, int nID) { QTest::mouseClick(ControlWidget(hDlg, nID), Qt::LeftButton); }

void PressCloseBox(HWND hDlg) { AfxQtWidgetFromHandle(hDlg)->close(); }

void ExpectNoWindowLeft() {
  EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty()) << "a window was left behind";
}

bool IsEnded(HWND hDlg) {
  const HWND__* pDlg = AfxQtWindowFromHandle(hDlg);
  return pDlg == nullptr || pDlg->bEnded;
}

void PrintTo(const QString& str, std::ostream* os) { *os << '"' << str.toStdString() << '"'; }

namespace {

// Restarts the deadline with each test. Its timer fires inside whatever loop
// the test waits in, as long as it waits in one; the CTest timeout is the
// last resort for a test that spins without one.
struct CDeadlineListener : ::testing::EmptyTestEventListener {
  QTimer timer;
  void OnTestStart(const ::testing::TestInfo&) override { timer.start(kTestDeadlineMs); }
  void OnTestEnd(const ::testing::TestInfo&) override { timer.stop(); }
};

}  // namespace

// main for GUI tests: a QApplication around GoogleTest. Without a platform
// chosen by the environment the tests run offscreen, which also lets the
// test runner list them on a machine without a display.
int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  auto& listeners = ::testing::UnitTest::GetInstance()->listeners();
  CDeadlineListener deadline;
  // A test still running then fails, and every dialog and message box that
  // is open is ended: the framework's through EndDialog, which needs none of
  // the dialog's own handling, the others by rejecting them.
  deadline.timer.callOnTimeout([] {
    ADD_FAILURE() << "still running after " << kTestDeadlineMs / 1000 << " s";
    for (QWidget* pWidget : QApplication::topLevelWidgets()) {
      if (!pWidget->isVisible())
        continue;
      if (HWND hDlg = AfxQtHandleFromWidget(pWidget))
        EndDialog(hDlg, kLeftOpen);
      else if (auto* pDialog = qobject_cast<QDialog*>(pWidget))
        pDialog->reject();
    }
  });
  listeners.Append(&deadline);
  const int nStatus = RUN_ALL_TESTS();
  listeners.Release(&deadline);
  return nStatus;
}
