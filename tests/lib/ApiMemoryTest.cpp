// The C API when memory runs out: each allocation of a call made to fail in
// turn (the local heap's failure hook) gives VELKAST_E_MEMORY, a length of
// 0 and nothing written, until the call gets all it asks and answers as
// ever. Nothing stays allocated, and no block goes back to the heap holding
// a password, a plaintext, key bytes or digits.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/core/LocalMemory.h"
#include "velkast.h"

namespace {

int g_nReleased = 0, g_nReleasedDirty = 0;
void CheckWiped(const void* p, SIZE_T cb) {
  ++g_nReleased;
  g_nReleasedDirty += std::count(static_cast<const char*>(p), static_cast<const char*>(p) + cb,
                                 0) != static_cast<std::ptrdiff_t>(cb);
}

}  // namespace

TEST(LibraryMemory, EachAllocationFailingInTurn) {
  // Long enough to be kept outside the string object. The text is OpenSSL's.
  const std::string kPassword =
      "caf\xc3\xa9 cr\xc3\xa8me br\xc3\xbbl\xc3\xa9"
      "e";
  const std::string kText = "4a10b90dec2d5a688f0c881d50e61b8e243a4be3580a8e7bb1c1c90322ede9d0";
  const struct {
    bool bEncrypt;
    std::string in;
    unsigned flags;
    velkast_status status;
    std::string out;
  } calls[] = {
      {true, kPassword, 0, VELKAST_OK, kText},
      {false, "4A10B90DEC2D5A688F0C881D50E61B8E243A4BE3580A8E7BB1C1C90322EDE9D0", 0, VELKAST_OK,
       kPassword},
      {false, "5806906526d67e576df16771250235c3", VELKAST_LENIENT, VELKAST_OK, "abc"},
      {false, "5806906526d67e576df16771250235c3", 0, VELKAST_E_NOT_A_TEXT, ""},
      {true, kPassword + "\x1b", 0, VELKAST_E_CONTROL, ""},
  };
  const long baseline = GetLocalAllocCount();
  SetLocalFreeObserver(CheckWiped);
  for (const auto& call : calls) {
    for (unsigned nth = 1; nth < 20; ++nth) {
      char out[80];
      std::fill(std::begin(out), std::end(out), '#');
      std::size_t len = 99;
      SetLocalAllocFailure(nth);
      const velkast_status status =
          call.bEncrypt
              ? velkast_encrypt(call.in.data(), call.in.size(), out, sizeof out, &len)
              : velkast_decrypt(call.in.data(), call.in.size(), call.flags, out, sizeof out, &len);
      SetLocalAllocFailure(0);
      if (status == VELKAST_E_MEMORY) {
        EXPECT_TRUE(len == 0 && out[0] == '#') << call.in << ", allocation " << nth;
        continue;
      }
      EXPECT_EQ(status, call.status) << call.in;
      EXPECT_EQ(std::string(out, status == VELKAST_OK ? len : 0), call.out) << call.in;
      EXPECT_GT(nth, 1u) << call.in << ": no allocation failed";
      break;
    }
  }
  SetLocalFreeObserver(nullptr);
  EXPECT_EQ(GetLocalAllocCount(), baseline);
  EXPECT_GT(g_nReleased, 50);
  EXPECT_EQ(g_nReleasedDirty, 0);
}
