// The process-hardening call, judged by what the system reports afterwards.
#include <gtest/gtest.h>

#include "platform/core/ProcessHardening.h"
#include "platform/core/WinTypes.h"

extern "C" HRESULT WINAPI WerGetFlags(HANDLE hProcess, PDWORD pdwFlags);

TEST(ProcessHardening, NoHeapInErrorReportsAndNoCrashDialog) {
  HardenProcess();
  EXPECT_NE(GetErrorMode() & SEM_NOGPFAULTERRORBOX, 0u);
  DWORD dwFlags = 0;
  if (SUCCEEDED(WerGetFlags(GetCurrentProcess(), &dwFlags))) {  // error reporting may be absent
    EXPECT_NE(dwFlags & 0x1, 0u) << "WER_FAULT_REPORTING_FLAG_NOHEAP";
  }
}
