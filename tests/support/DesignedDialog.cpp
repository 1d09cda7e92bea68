#include "tests/support/DesignedDialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <tuple>

namespace {

std::basic_string<WCHAR> Lower(LPCWSTR psz) {
  std::basic_string<WCHAR> text(psz);
  std::transform(text.begin(), text.end(), text.begin(),
                 [](WCHAR ch) { return ch >= 'A' && ch <= 'Z' ? WCHAR(ch - 'A' + 'a') : ch; });
  return text;
}

}  // namespace

std::basic_string<WCHAR> Wide(const char* pszAscii) {
  return std::basic_string<WCHAR>(pszAscii, pszAscii + std::char_traits<char>::length(pszAscii));
}

void ExpectDesignedTemplate(const DIALOG_TEMPLATE& dt) {
  EXPECT_EQ(std::tuple(dt.style, dt.dwExtendedStyle), std::tuple(0x90C80048u, 0x80040000u));
  EXPECT_EQ(std::tuple(dt.x, dt.y, dt.cx, dt.cy), std::tuple(0, 0, 167, 149));
  EXPECT_EQ(dt.pszCaption, Wide(kDesignedCaption));
  EXPECT_EQ(dt.wPointSize, 8);
  EXPECT_EQ(dt.pszTypeface, Wide("MS Shell Dlg"));
  ASSERT_EQ(dt.cItems, std::size(kDesignedControls));
  for (std::size_t i = 0; i < dt.cItems; ++i) {
    const DIALOG_ITEM_TEMPLATE& item = dt.pItems[i];
    const DesignedControl& c = kDesignedControls[i];
    SCOPED_TRACE(c.id);
    EXPECT_EQ(item.id, c.id);
    EXPECT_EQ(Lower(item.pszClass), Wide(c.pszClass));
    EXPECT_EQ(item.pszText, Wide(c.pszText));
    EXPECT_EQ(std::tuple(item.x, item.y, item.cx, item.cy), std::tuple(c.x, c.y, c.cx, c.cy));
    EXPECT_EQ(std::tuple(item.style, item.dwExtendedStyle), std::tuple(c.style, 0u));
  }
}
