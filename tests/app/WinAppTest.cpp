// The application object under the framework's main routine: the order of
// its calls and the exit code, the main window's reference, the stored
// registry names, and errors reported under the application's name.
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
    if (m_onInit)
      m_onInit();
    return m_bInitResult;
  }
  int Run() override {
    m_calls.push_back("Run");
    return CWinApp::Run();
  }
  int ExitInstance() override {
    m_calls.push_back("ExitInstance");
    return 7;
  }

  BOOL m_bInitResult = FALSE;
  std::function<void()> m_onInit;
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
  for (const BOOL bInitResult : {FALSE, TRUE}) {
    CProbeApp app;
    ASSERT_EQ(AfxGetApp(), &app);
    app.m_bInitResult = bInitResult;
    EXPECT_EQ(RunMain(), 7);
    // FALSE skips the message loop; Run ends with ExitInstance's value.
    const std::vector<std::string> expected =
        bInitResult ? std::vector<std::string>{"InitInstance", "Run", "ExitInstance"}
                    : std::vector<std::string>{"InitInstance", "ExitInstance"};
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
  bool bEndedByError = true;
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
      bEndedByError = IsEnded(hDlg);
      EXPECT_EQ(app.m_pMainWnd, &dlg);
      QTest::keyClick(AfxQtWidgetFromHandle(hDlg), Qt::Key_Escape);
    });
    EXPECT_EQ(app.m_pMainWnd, nullptr);
  };
  RunMain();
  EXPECT_EQ(title, ExecutableName());
  EXPECT_EQ(text, QStringLiteral("Out of memory."));
  EXPECT_FALSE(bEndedByError);
}

TEST(WinApp, SetRegistryKeyKeepsCopiesOfTheNames) {
  CWinApp app(u"Probe");
  std::u16string key = u"First key";
  app.SetRegistryKey(key.c_str());
  key[0] = u'X';
  EXPECT_EQ(std::u16string(app.m_pszRegistryKey), u"First key");
  EXPECT_EQ(std::u16string(app.m_pszProfileName), u"Probe");
  EXPECT_NE(app.m_pszProfileName, app.m_pszAppName);

  app.SetRegistryKey(u"Second key");
  EXPECT_EQ(std::u16string(app.m_pszRegistryKey), u"Second key");
  EXPECT_EQ(std::u16string(app.m_pszProfileName), u"Probe");
}

}  // namespace
