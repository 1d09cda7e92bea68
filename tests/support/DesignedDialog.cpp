#include "tests/support/DesignedDialog.h"

#include <gtest/gtest.h>

#include <iterator>
#include <tuple>

std::basic_string<WCHAR> Wide(const char* pszAscii) {
  return std::basic_string<WCHAR>(pszAscii, pszAscii + std::char_traits<char>::length(pszAscii));
}

void ExpectDesignedDialogIn(HINSTANCE hModule) {
  const auto tmpl = AfxLoadDialogTemplate(hModule, 102);
  ASSERT_TRUE(tmpl);
  const DIALOG_TEMPLATE& dt = *tmpl;
  EXPECT_EQ(std::tuple(dt.style, dt.dwExtendedStyle), std::tuple(0x90C80048u, 0x80040000u));
  EXPECT_EQ(std::tuple(dt.x, dt.y, dt.cx, dt.cy), std::tuple(0, 0, 167, 149));
  EXPECT_EQ(dt.strCaption, Wide(kDesignedCaption));
  EXPECT_EQ(dt.wPointSize, 8);
  EXPECT_EQ(dt.strTypeface, Wide("MS Shell Dlg"));
  ASSERT_EQ(dt.items.size(), std::size(kDesignedControls));
  for (std::size_t i = 0; i < dt.items.size(); ++i) {
    const DIALOG_ITEM_TEMPLATE& item = dt.items[i];
    const DesignedControl& c = kDesignedControls[i];
    SCOPED_TRACE(c.id);
    EXPECT_EQ(item.id, c.id);
    EXPECT_EQ(item.strClass, Wide(c.pszClass));
    EXPECT_EQ(item.strText, Wide(c.pszText));
    EXPECT_EQ(std::tuple(item.x, item.y, item.cx, item.cy), std::tuple(c.x, c.y, c.cx, c.cy));
    EXPECT_EQ(std::tuple(item.style, item.dwExtendedStyle), std::tuple(c.style, 0u));
  }
  const auto names = AfxLoadAccessibleNames(hModule, 102);
  ASSERT_EQ(names.size(), std::size(kDesignedAccessibleNames));
  for (std::size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(names[i].id, kDesignedAccessibleNames[i].id);
    EXPECT_EQ(names[i].strName, Wide(kDesignedAccessibleNames[i].pszName));
  }
  EXPECT_TRUE(!AfxLoadDialogTemplate(hModule, 999) && AfxLoadAccessibleNames(hModule, 999).empty());
}
