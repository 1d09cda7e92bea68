#include "tests/framework/GuiTestSupport.h"

#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "platform/framework/qt/QtHandles.h"

INT_PTR RunModal(CDialog& dlg, const std::function<void(HWND)>& script) {
  QTimer watchdog;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, [&dlg] {
    ADD_FAILURE() << "dialog still open after a minute";
    EndDialog(dlg.GetSafeHwnd(), kWatchdog);
  });
  watchdog.start(60000);

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
