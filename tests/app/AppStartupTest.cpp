// Application objects under the framework's main routine: the order of
// their calls and the exit code, the main window's reference, the stored
// registry names, errors reported under the application's name, and the
// program's own application object running its dialog.
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "app/CipherApp.h"
#include "platform/framework/qt/QtHandles.h"
#include "res/resource.h"
#include "tests/framework/GuiTestSupport.h"
#include "ui/CipherDlg.h"

namespace {

// What the framework must name the application: the executable's file name
// without its extension, as the file system gives it.
QString ExecutableName() {
  return QString::fromStdString(std::filesystem::read_symlink("/proc/self/exe").stem().string());
}

int RunMain() {
  char szArg0[] = "probe";
  char* argv[] = {szArg0, nullptr};
  return AfxWinMain(1, argv);
}

class CProbeApp : public CWinApp {
 public:
  BOOL InitInstance() override {
    m_calls.push_back("InitInstance");
    return m_onInit();
  }
  int Run() override {
    m_calls.push_back("Run");
    return CWinApp::Run();
  }
  int ExitInstance() override {
    m_calls.push_back("ExitInstance");
    return 7;
  }

  std::function<BOOL()> m_onInit;
  std::vector<std::string> m_calls;
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

TEST(WinApp, StartUpRunsInitInstanceThenEndsWithExitInstancesCode) {
  // FALSE from InitInstance skips the message loop; Run ends with
  // ExitInstance's value.
  for (const BOOL bInitResult : {FALSE, TRUE}) {
    CProbeApp app;
    ASSERT_EQ(AfxGetApp(), &app);
    app.m_onInit = [bInitResult] { return bInitResult; };
    EXPECT_EQ(RunMain(), 7);
    std::vector<std::string> expected{"InitInstance", "ExitInstance"};
    if (bInitResult)
      expected.insert(expected.begin() + 1, "Run");
    EXPECT_EQ(app.m_calls, expected);
    EXPECT_EQ(QString::fromUtf16(app.m_pszAppName), ExecutableName());
  }
  // With no application object the framework cannot start.
  EXPECT_EQ(AfxGetApp(), nullptr);
  EXPECT_EQ(RunMain(), -1);
}

TEST(WinApp, MainWindowIsForgottenAndHandlerErrorsAreReportedUnderTheAppName) {
  CProbeApp app;
  QString title, text;
  app.m_onInit = [&] {
    CThrowingDlg dlg;
    app.m_pMainWnd = &dlg;
    RunModal(dlg, [&](HWND hDlg) {
      QTimer::singleShot(0, [&] {
        if (auto* pBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
          title = pBox->windowTitle();
          text = pBox->text();
          pBox->accept();
        }
      });
      QTest::mouseClick(ControlWidget(hDlg, IDC_ENCRYPT), Qt::LeftButton);
      EXPECT_FALSE(IsEnded(hDlg));  // the dialog goes on
      EXPECT_EQ(app.m_pMainWnd, &dlg);
    });
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    return FALSE;
  };
  RunMain();
  EXPECT_EQ(title, ExecutableName());
  EXPECT_EQ(text, QStringLiteral("Out of memory."));
}

TEST(WinApp, SetRegistryKeyKeepsCopiesOfTheNames) {
  CWinApp app(u"Probe");
  std::u16string key = u"First key";
  app.SetRegistryKey(key.c_str());
  key[0] = u'X';
  EXPECT_EQ(std::u16string(app.m_pszRegistryKey), u"First key");
  EXPECT_EQ(std::u16string(app.m_pszProfileName), u"Probe");
  EXPECT_NE(app.m_pszProfileName, app.m_pszAppName);
}

TEST(CipherApp, RunsItsDialogAsMainWindowAndEndsWhenItCloses) {
  ASSERT_EQ(AfxGetApp(), &theApp);
  bool bShown = false;
  QTimer::singleShot(0, [&] {
    ASSERT_NE(dynamic_cast<CCipherDlg*>(theApp.m_pMainWnd), nullptr);
    QWidget* pDialog = AfxQtWidgetFromHandle(theApp.m_pMainWnd->GetSafeHwnd());
    bShown = QTest::qWaitForWindowActive(pDialog);
    EXPECT_EQ(std::u16string(theApp.m_pszRegistryKey), u"Local AppWizard-Generated Applications");
    pDialog->close();  // the window manager's close button
  });
  EXPECT_EQ(RunMain(), 0);
  EXPECT_TRUE(bShown);
}

}  // namespace
