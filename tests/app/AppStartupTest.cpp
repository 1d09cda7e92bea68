// Application objects under the framework's main routine: the program's own
// running its dialog (first, while it is the current application), with the
// registry names it stores; then probe applications: the order of their
// calls and the exit code, the main window's reference, and errors reported
// under the application's name.
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <string>

#include "app/CipherApp.h"
#include "platform/framework/qt/QtHandles.h"
#include "res/resource.h"
#include "tests/framework/GuiTestSupport.h"
#include "ui/CipherDlg.h"

namespace {

int RunMain() {
  char szArg0[] = "probe", *argv[] = {szArg0, nullptr};
  return AfxWinMain(1, argv);
}

class CProbeApp : public CWinApp {
 public:
  BOOL InitInstance() override {
    m_calls += "InitInstance ";
    return m_onInit();
  }
  int Run() override {
    m_calls += "Run ";
    return CWinApp::Run();
  }
  int ExitInstance() override {
    m_calls += "ExitInstance";
    return 7;
  }

  std::function<BOOL()> m_onInit;
  std::string m_calls;
};

// The password dialog with an Encrypt handler that runs out of memory.
class CThrowingDlg : public CCipherDlg {
 protected:
  void OnEncryptThrows() { throw std::bad_alloc(); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CThrowingDlg, CCipherDlg)
ON_BN_CLICKED(IDC_ENCRYPT, OnEncryptThrows)
END_MESSAGE_MAP()

// The program's application object makes its dialog the main window and
// ends with 0 when the window is closed.
TEST(CipherApp, RunsItsDialogAsMainWindowAndEndsWhenItCloses) {
  QTimer::singleShot(0, [&] {
    ASSERT_NE(dynamic_cast<CCipherDlg*>(theApp.m_pMainWnd), nullptr);
    QWidget* pDialog = AfxQtWidgetFromHandle(theApp.m_pMainWnd->GetSafeHwnd());
    EXPECT_TRUE(QTest::qWaitForWindowActive(pDialog));
    EXPECT_EQ(QStringView(theApp.m_pszRegistryKey), u"Local AppWizard-Generated Applications");
    pDialog->close();  // the window manager's close button
  });
  EXPECT_EQ(RunMain(), 0);

  // SetRegistryKey keeps copies of the key and of the application's name.
  std::u16string key = u"First key";
  theApp.SetRegistryKey(key.c_str());
  key[0] = u'X';
  EXPECT_EQ(QString::fromUtf16(theApp.m_pszRegistryKey), u"First key");
  EXPECT_EQ(QString::fromUtf16(theApp.m_pszProfileName), QCoreApplication::applicationName());
  EXPECT_NE(theApp.m_pszProfileName, theApp.m_pszAppName);
}

// FALSE from InitInstance skips the message loop, TRUE runs it; either way
// the framework ends with ExitInstance's value. The main window is
// forgotten when it goes; a handler's exception is reported in a message box
// titled with the application's name (the executable's, as Qt names it too),
// and the dialog goes on. With no application object the framework cannot
// start.
TEST(WinApp, StartUpMainWindowAndHandlerErrors) {
  for (const BOOL bInitResult : {FALSE, TRUE}) {
    CProbeApp app;  // the current application while it lives
    QString shown;
    app.m_onInit = [&] {
      CThrowingDlg dlg;
      app.m_pMainWnd = &dlg;
      RunModal(dlg, {[&](HWND hDlg) {
                 QTimer::singleShot(0, [&] {
                   auto* pBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                   ASSERT_NE(pBox, nullptr);
                   shown = pBox->windowTitle() + ": " + pBox->text();
                   pBox->accept();
                 });
                 Click(hDlg, IDC_ENCRYPT);
                 EXPECT_TRUE(!IsEnded(hDlg) && app.m_pMainWnd == &dlg);
               }});
      EXPECT_EQ(app.m_pMainWnd, nullptr);
      return bInitResult;
    };
    EXPECT_EQ(RunMain(), 7);
    EXPECT_EQ(app.m_calls,
              bInitResult ? "InitInstance Run ExitInstance" : "InitInstance ExitInstance");
    EXPECT_EQ(shown, QCoreApplication::applicationName() + ": Out of memory.");
  }
  EXPECT_EQ(RunMain(), -1);
}

}  // namespace
