// The process-hardening call, made in a child so the test process stays as
// it was, judged by what the system reports afterwards.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#if defined(__linux__)
#include <sys/prctl.h>
#endif

#include <gtest/gtest.h>

#include "platform/core/ProcessHardening.h"

TEST(ProcessHardening, NoCoreFileAndNoDumpableProcess) {
  const pid_t pid = fork();
  if (pid == 0) {
    HardenProcess();
    rlimit core{};
    int nFaults = 0;
    if (getrlimit(RLIMIT_CORE, &core) != 0 || core.rlim_cur != 0 || core.rlim_max != 0)
      nFaults |= 1;
#if defined(__linux__)
    if (prctl(PR_GET_DUMPABLE, 0, 0, 0, 0) != 0)
      nFaults |= 2;
#endif
    _exit(nFaults);
  }
  int status = -1;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: core files allowed; 2: the process is dumpable";
}
