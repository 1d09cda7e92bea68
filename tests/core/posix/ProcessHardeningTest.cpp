// The process-hardening call, made in a child so the test process stays as
// it was, judged by what the system reports afterwards.
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/core/ProcessHardening.h"

TEST(ProcessHardening, NoCoreFileAndNoDumpableProcess) {
  const pid_t pid = fork();
  if (pid == 0) {
    HardenProcess();
    rlimit core{1, 1};  // as if allowed, should the call fail
    getrlimit(RLIMIT_CORE, &core);
    _exit((core.rlim_cur != 0 || core.rlim_max != 0 ? 1 : 0) |
          (prctl(PR_GET_DUMPABLE, 0, 0, 0, 0) != 0 ? 2 : 0));
  }
  int status = -1;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  EXPECT_EQ(status, 0) << "exit status 1: core files allowed; 2: the process is dumpable";
}
