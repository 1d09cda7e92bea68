// The program's own application object, started by the framework's main
// routine as the program starts: its dialog is the main window while it
// runs, and closing it ends the program with the framework's exit code.
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

#include "app/CipherApp.h"
#include "platform/framework/qt/QtHandles.h"
#include "ui/CipherDlg.h"

namespace {

TEST(CipherApp, RunsItsDialogAsMainWindowAndEndsWhenItCloses) {
  ASSERT_EQ(AfxGetApp(), &theApp);
  const QString executable =
      QString::fromStdString(std::filesystem::read_symlink("/proc/self/exe").stem().string());
  bool bShown = false;
  QTimer::singleShot(0, [&] {
    ASSERT_NE(dynamic_cast<CCipherDlg*>(theApp.m_pMainWnd), nullptr);
    QWidget* pDialog = AfxQtWidgetFromHandle(theApp.m_pMainWnd->GetSafeHwnd());
    ASSERT_NE(pDialog, nullptr);
    bShown = QTest::qWaitForWindowActive(pDialog);
    EXPECT_EQ(std::u16string(theApp.m_pszRegistryKey), u"Local AppWizard-Generated Applications");
    EXPECT_EQ(QString::fromUtf16(theApp.m_pszProfileName), executable);
    pDialog->close();  // the window manager's close button
  });
  char szArg0[] = "Velkast";
  char* argv[] = {szArg0, nullptr};
  EXPECT_EQ(AfxWinMain(1, argv), 0);
  EXPECT_TRUE(bShown);
  EXPECT_EQ(theApp.m_pMainWnd, nullptr);
  EXPECT_EQ(QString::fromUtf16(theApp.m_pszAppName), executable);
}

}  // namespace
