// Core files off by the resource limit; on Linux the process is also made
// non-dumpable, which covers a core_pattern that pipes to a crash handler
// (the limit does not stop those) and access to the process's memory.
#include "platform/core/ProcessHardening.h"

#include <sys/resource.h>

#if defined(__linux__)
#include <sys/prctl.h>
#endif

void HardenProcess() {
  // Soft and hard limit, so nothing the process runs later can raise it.
  const rlimit noCore = {0, 0};
  setrlimit(RLIMIT_CORE, &noCore);
#if defined(__linux__)
  prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
#endif
}
