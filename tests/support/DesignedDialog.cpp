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
  EXPECT_EQ(std::tuple(dt.style, dt.dwExtendedStyle, dt.x, dt.y, dt.cx, dt.cy, dt.strCaption,
                       dt.wPointSize, dt.strTypeface),
            std::tuple(0x90C80048u, 0x80040000u, 0, 0, 167, 149, Wide(kDesignedCaption), 8,
                       Wide("MS Shell Dlg")));
  ASSERT_EQ(dt.items.size(), std::size(kDesignedControls));
  for (std::size_t i = 0; i < dt.items.size(); ++i) {
    const DIALOG_ITEM_TEMPLATE& item = dt.items[i];
    const DesignedControl& c = kDesignedControls[i];
    EXPECT_EQ(
        std::tuple(item.id, item.strClass, item.strText, item.x, item.y, item.cx, item.cy,
                   item.style, item.dwExtendedStyle),
        std::tuple(c.id, Wide(c.pszClass), Wide(c.pszText), c.x, c.y, c.cx, c.cy, c.style, 0u));
  }
  const auto names = AfxLoadAccessibleNames(hModule, 102);
  ASSERT_EQ(names.size(), std::size(kDesignedAccessibleNames));
  for (std::size_t i = 0; i < names.size(); ++i) {
    const auto& [nID, pszName] = kDesignedAccessibleNames[i];
    EXPECT_EQ(std::tuple(names[i].id, names[i].strName), std::tuple(nID, Wide(pszName)));
  }
  EXPECT_TRUE(!AfxLoadDialogTemplate(hModule, 999) && AfxLoadAccessibleNames(hModule, 999).empty());
}
