// CString: value semantics over UTF-16 code units.
#include <gtest/gtest.h>

#include "platform/framework/CString.h"

namespace {

TEST(CString, OwnsItsCharactersAndCountsCodeUnits) {
  CString a(u"key \U0001F511");
  CString b = a;
  EXPECT_EQ(a.GetLength(), 6);  // the emoji is a surrogate pair
  b += CString(u"!");
  EXPECT_EQ(a, u"key \U0001F511");
  EXPECT_EQ(b, u"key \U0001F511!");
  EXPECT_NE(a.GetString(), b.GetString());

  CString empty(static_cast<LPCWSTR>(nullptr));
  EXPECT_TRUE(empty.IsEmpty());
  EXPECT_EQ(empty.GetString()[0], u'\0');
  a = static_cast<LPCWSTR>(nullptr);
  EXPECT_TRUE(a.IsEmpty());

  CString withNul(u"ab\0cd", 5);
  EXPECT_EQ(withNul.GetLength(), 5);
  EXPECT_EQ(withNul.GetAt(3), u'c');
}

TEST(CString, AssignsFromItsOwnCharacters) {
  CString str(u"abcdef");
  str = str.GetString() + 2;
  EXPECT_EQ(str, u"cdef");
}

TEST(CString, BufferRoundTrip) {
  CString str(u"abc");
  LPWSTR p = str.GetBuffer(8);
  std::u16string_view(u"wxyz\0").copy(p, 5);
  str.ReleaseBuffer();
  EXPECT_EQ(str, u"wxyz");
  str.GetBuffer(2);
  str.ReleaseBuffer(2);
  EXPECT_EQ(str, u"wx");
}

}  // namespace
