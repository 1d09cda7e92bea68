// Windows writes no core file of a crashed process. What stands in for one
// is the report of Windows Error Reporting, which may carry the process's
// heap (where passwords are) and, where a machine is set up for it, a local
// dump: the process asks for reports without its heap and without a crash
// dialog that waits while the memory is held.
#include "platform/core/ProcessHardening.h"

#include "platform/core/WinTypes.h"

// kernel32's, declared here: the cross compiler's werapi.h does not stand
// on its own.
extern "C" HRESULT WINAPI WerSetFlags(DWORD dwFlags);

namespace {

constexpr DWORD kWerNoHeap = 0x1;  // WER_FAULT_REPORTING_FLAG_NOHEAP

}  // namespace

void HardenProcess() {
  ::WerSetFlags(kWerNoHeap);
  ::SetErrorMode(::GetErrorMode() | SEM_NOGPFAULTERRORBOX);
}
