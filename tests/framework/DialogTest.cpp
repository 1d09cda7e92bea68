// Dialogs built from templates of the test's own resource module: layout
// in a known font, the ways a dialog ends, initial focus, data exchange
// failures, and errors reported in the framework's message box.
#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <iterator>
#include <new>
#include <stdexcept>

#include "platform/framework/DialogTemplate.h"
#include "platform/framework/DialogUnits.h"
#include "platform/framework/qt/QtHandles.h"
#include "tests/framework/GuiTestSupport.h"

namespace {

constexpr UINT IDD_PROBE = 300;
constexpr UINT IDD_PROBE_AT_ORIGIN = 301;
constexpr int IDC_FIELD = 40;
constexpr int IDC_DEFAULT = 41;
constexpr int IDC_UNREACHABLE = 42;
constexpr int IDC_THROW = 43;
constexpr int IDC_MISSING = 44;

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DIALOG_ITEM_TEMPLATE kProbeItems[] = {
    {IDC_FIELD, WC_EDIT, u"first", 4, 30, 100, 12, kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0},
    {IDC_UNREACHABLE, WC_EDIT, u"", 4, 46, 100, 12, kChild | WS_BORDER | WS_DISABLED, 0},
    {IDC_DEFAULT, WC_BUTTON, u"Default", 110, 30, 50, 14, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
    {IDC_THROW, WC_BUTTON, u"Throw", 110, 46, 50, 14, kChild | WS_TABSTOP, 0},
    {IDC_STATIC, WC_STATIC, u"A label", 4, 4, 60, 8, kChild | SS_LEFT, 0},
};
// Placed by its template, no caption OK button: closing means IDCANCEL.
constexpr DIALOG_TEMPLATE kProbe = {
    WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_SETFONT, 0, 20, 30, 170, 70,
    u"Probe", 8, u"DejaVu Sans", kProbeItems, std::size(kProbeItems)};
constexpr DIALOG_TEMPLATE kProbeAtOrigin = {
    WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_SETFONT, WS_EX_CAPTIONOKBTN, 0, 0, 170, 70,
    u"Probe", 8, u"DejaVu Sans", kProbeItems, std::size(kProbeItems)};

const RESOURCE_ENTRY kEntries[] = {
    {RT_DIALOG, IDD_PROBE, &kProbe, sizeof kProbe},
    {RT_DIALOG, IDD_PROBE_AT_ORIGIN, &kProbeAtOrigin, sizeof kProbeAtOrigin},
};
const RESOURCE_MODULE kModule = {kEntries, std::size(kEntries)};

class CProbeDlg : public CDialog {
 public:
  explicit CProbeDlg(UINT nID = IDD_PROBE) : CDialog(nID) {}

  std::function<BOOL(CProbeDlg&)> onInit;
  std::function<void()> onThrow;
  bool bExchangeMissing = false;
  int nDefaultPresses = 0;
  CString m_strField;

 protected:
  BOOL OnInitDialog() override {
    const BOOL bFocusFirst = CDialog::OnInitDialog();
    return onInit ? onInit(*this) : bFocusFirst;
  }
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, IDC_FIELD, m_strField);
    if (bExchangeMissing)
      DDX_Text(pDX, IDC_MISSING, m_strField);
  }
  void OnDefault() { ++nDefaultPresses; }
  void OnThrow() { onThrow(); }

  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeDlg, CDialog)
  ON_BN_CLICKED(IDC_DEFAULT, OnDefault)
  ON_BN_CLICKED(IDC_THROW, OnThrow)
END_MESSAGE_MAP()

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override { AfxSetResourceHandle(&kModule); }
  void TearDown() override { AfxSetResourceHandle(nullptr); }
};

TEST_F(DialogTest, PixelRectanglesFollowAKnownFont) {
  if (!QFontDatabase::families().contains(QStringLiteral("DejaVu Sans")))
    GTEST_SKIP() << "DejaVu Sans is not installed";
  CProbeDlg dlg;
  RunModal(dlg, [](HWND hDlg) {
    QWidget* pDialog = AfxQtWidgetFromHandle(hDlg);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(8);
    ASSERT_EQ(QFontInfo(pDialog->font()).family(), QStringLiteral("DejaVu Sans"));
    const QFontMetrics metrics(font, pDialog);
    const int nBaseX = (metrics.horizontalAdvance(QStringLiteral(
                            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 26 + 1) / 2;
    const int nBaseY = metrics.height();

    for (const DIALOG_ITEM_TEMPLATE& item : kProbeItems) {
      RECT rc{item.x, item.y, item.x + item.cx, item.y + item.cy};
      ASSERT_TRUE(MapDialogRect(hDlg, &rc));
      const RECT expected = DialogUnitsToPixels(RECT{item.x, item.y, item.x + item.cx, item.y + item.cy},
                                                nBaseX, nBaseY);
      EXPECT_EQ(std::make_tuple(rc.left, rc.top, rc.right, rc.bottom),
                std::make_tuple(expected.left, expected.top, expected.right, expected.bottom));
      const QRect geometry = AfxQtWidgetFromHandle(GetDlgItem(hDlg, item.id))->geometry();
      EXPECT_EQ(geometry, QRect(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top)) << item.id;
    }
    // Placed where the template says, not centred.
    RECT rcOrigin{20, 30, 20, 30};
    MapDialogRect(hDlg, &rcOrigin);
    EXPECT_EQ(pDialog->pos(), QPoint(rcOrigin.left, rcOrigin.top));
  });
}

TEST_F(DialogTest, ClosingMeansCancelUnlessTheCaptionHasAnOkButton) {
  CProbeDlg plain;
  EXPECT_EQ(RunModal(plain, [](HWND hDlg) { AfxQtWidgetFromHandle(hDlg)->close(); }), IDCANCEL);
  CProbeDlg withOk(IDD_PROBE_AT_ORIGIN);
  EXPECT_EQ(RunModal(withOk, [](HWND hDlg) { AfxQtWidgetFromHandle(hDlg)->close(); }), IDOK);
}

TEST_F(DialogTest, EnterPressesTheDefaultPushButton) {
  CProbeDlg dlg;
  RunModal(dlg, [&dlg](HWND hDlg) {
    QTest::keyClick(ControlWidget(hDlg, IDC_FIELD), Qt::Key_Return);
    EXPECT_EQ(dlg.nDefaultPresses, 1);
    EXPECT_FALSE(IsEnded(hDlg));
  });
}

TEST_F(DialogTest, EndingDuringInitialisationSkipsTheLoop) {
  CProbeDlg dlg;
  bool bShown = false;
  dlg.onInit = [](CProbeDlg& self) {
    self.EndDialog(7);
    return TRUE;
  };
  QTimer::singleShot(0, [&bShown] { bShown = true; });
  EXPECT_EQ(dlg.DoModal(), 7);
  EXPECT_FALSE(bShown);  // no loop ran, so the timer has not fired yet
  QApplication::processEvents();
}

TEST_F(DialogTest, FocusAndTabStops) {
  CProbeDlg first;
  RunModal(first, [](HWND) {
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), IDC_FIELD);
    // Disabled fields and labels are skipped; the chain wraps.
    for (int nID : {IDC_DEFAULT, IDC_THROW, IDC_FIELD}) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      EXPECT_EQ(GetDlgCtrlID(GetFocus()), nID);
    }
  });

  // FALSE from OnInitDialog leaves the focus where the dialog put it.
  CProbeDlg second;
  second.onInit = [](CProbeDlg& self) {
    self.GetDlgItem(IDC_THROW)->SetFocus();
    return FALSE;
  };
  RunModal(second, [](HWND) { EXPECT_EQ(GetDlgCtrlID(GetFocus()), IDC_THROW); });
}

TEST_F(DialogTest, CentredWhenTheTemplateSaysOrigin) {
  CProbeDlg dlg(IDD_PROBE_AT_ORIGIN);
  RunModal(dlg, [](HWND hDlg) {
    RECT rcWindow{}, rcArea{};
    ASSERT_TRUE(GetWindowRect(hDlg, &rcWindow));
    ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &rcArea, 0));
    EXPECT_NEAR(rcWindow.left + rcWindow.right, rcArea.left + rcArea.right, 1);
    EXPECT_NEAR(rcWindow.top + rcWindow.bottom, rcArea.top + rcArea.bottom, 1);
  });
}

TEST_F(DialogTest, WindowTextOfTheDialogIsItsCaption) {
  CProbeDlg dlg;
  RunModal(dlg, [&dlg](HWND hDlg) {
    CString strCaption;
    dlg.GetWindowText(strCaption);
    EXPECT_EQ(strCaption, u"Probe");
    dlg.SetWindowText(u"Renamed \u00e9");
    EXPECT_EQ(AfxQtWidgetFromHandle(hDlg)->windowTitle(), QString::fromUtf8("Renamed \u00e9"));
    EXPECT_EQ(dlg.GetDlgItem(IDC_FIELD)->GetDlgCtrlID(), IDC_FIELD);
    EXPECT_EQ(dlg.GetDlgItem(IDC_MISSING), nullptr);
  });
}

TEST_F(DialogTest, FailedExchangeKeepsTheDialogOpen) {
  CProbeDlg dlg;
  dlg.bExchangeMissing = true;
  const INT_PTR nResult = RunModal(dlg, [&dlg](HWND hDlg) {
    SetWindowText(GetDlgItem(hDlg, IDC_FIELD), u"typed");
    EXPECT_FALSE(dlg.UpdateData(TRUE));
    SendMessage(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_FALSE(IsEnded(hDlg));
    dlg.bExchangeMissing = false;
    SendMessage(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(IsEnded(hDlg));
  });
  EXPECT_EQ(nResult, IDOK);
  EXPECT_EQ(dlg.m_strField, u"typed");
}

// Closes the message box the next event turn shows, recording what it said.
void AnswerNextMessageBox(QString* pTitle, QString* pText) {
  QTimer::singleShot(0, [pTitle, pText] {
    auto* pBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (pBox == nullptr) {
      ADD_FAILURE() << "no message box";
      return;
    }
    *pTitle = pBox->windowTitle();
    *pText = pBox->text();
    pBox->accept();
  });
}

TEST_F(DialogTest, ExceptionsFromHandlersAreReportedAndStopThere) {
  CProbeDlg dlg;
  RunModal(dlg, [&dlg](HWND hDlg) {
    QString title, text;
    dlg.onThrow = [] { throw std::runtime_error("disk on fire"); };
    AnswerNextMessageBox(&title, &text);
    QTest::mouseClick(ControlWidget(hDlg, IDC_THROW), Qt::LeftButton);
    EXPECT_EQ(title, QStringLiteral("framework_dialog_tests"));
    EXPECT_TRUE(text.contains(QStringLiteral("disk on fire"))) << text.toStdString();

    dlg.onThrow = [] { throw std::bad_alloc(); };
    AnswerNextMessageBox(&title, &text);
    QTest::mouseClick(ControlWidget(hDlg, IDC_THROW), Qt::LeftButton);
    EXPECT_EQ(text, QStringLiteral("Out of memory."));
    EXPECT_FALSE(IsEnded(hDlg));
  });
}

TEST_F(DialogTest, MissingTemplateFails) {
  CProbeDlg dlg(999);
  EXPECT_EQ(dlg.DoModal(), -1);
  EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
}

}  // namespace
