// Message maps: lookup in the most derived map first, then down the chain
// of base maps to CDialog's defaults; no window needed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/framework/AfxWin.h"

namespace {

std::vector<std::string> g_calls;

class CBaseProbeDlg : public CDialog {
 public:
  CBaseProbeDlg() : CDialog(9999) {}
  BOOL Command(WPARAM wParam) { return OnCommand(wParam, 0); }

 protected:
  void OnTen() { g_calls.push_back("base 10"); }
  void OnTwenty() { g_calls.push_back("base 20"); }
  void OnOK() override { g_calls.push_back("OnOK"); }
  void OnCancel() override { g_calls.push_back("OnCancel"); }

  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseProbeDlg, CDialog)
  ON_BN_CLICKED(10, OnTen)
  ON_BN_CLICKED(20, OnTwenty)
END_MESSAGE_MAP()

class CDerivedProbeDlg : public CBaseProbeDlg {
 protected:
  void OnTenAgain() { g_calls.push_back("derived 10"); }
  void OnThirty() { g_calls.push_back("derived 30"); }

  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedProbeDlg, CBaseProbeDlg)
  ON_BN_CLICKED(10, OnTenAgain)
  ON_BN_CLICKED(30, OnThirty)
END_MESSAGE_MAP()

TEST(MessageMap, DerivedEntriesFirstThenTheBaseChain) {
  CDerivedProbeDlg dlg;
  g_calls.clear();
  for (WORD nID : {10, 20, 30, IDOK, IDCANCEL})
    EXPECT_TRUE(dlg.Command(MAKEWPARAM(nID, BN_CLICKED))) << nID;
  EXPECT_EQ(g_calls, (std::vector<std::string>{"derived 10", "base 20", "derived 30", "OnOK",
                                               "OnCancel"}));
}

TEST(MessageMap, UnlistedIdsAndOtherNotificationsRunNothing) {
  CDerivedProbeDlg dlg;
  g_calls.clear();
  EXPECT_FALSE(dlg.Command(MAKEWPARAM(11, BN_CLICKED)));
  EXPECT_FALSE(dlg.Command(MAKEWPARAM(10, 5)));
  EXPECT_FALSE(dlg.OnCmdMsg(0, BN_CLICKED));
  EXPECT_TRUE(g_calls.empty());
}

TEST(MessageMap, CDialogDefaultsWithoutAWindow) {
  // OnOK reads the controls first; with no window there are none, yet a
  // dialog without exchanges still ends. OnCancel always ends.
  class CPlainDlg : public CDialog {
   public:
    CPlainDlg() : CDialog(9999) {}
    INT_PTR Result() const { return m_nModalResult; }
    BOOL Command(WPARAM wParam) { return OnCommand(wParam, 0); }
  };
  CPlainDlg dlg;
  EXPECT_TRUE(dlg.Command(MAKEWPARAM(IDOK, BN_CLICKED)));
  EXPECT_EQ(dlg.Result(), IDOK);
  EXPECT_TRUE(dlg.Command(MAKEWPARAM(IDCANCEL, BN_CLICKED)));
  EXPECT_EQ(dlg.Result(), IDCANCEL);
  EXPECT_EQ(dlg.DoModal(), -1);  // no template 9999 anywhere
}

}  // namespace
