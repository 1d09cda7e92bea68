// Windows writes no core file of a crashed process; a crash dump is
// written only where the machine's Windows Error Reporting settings ask
// for local dumps. The process changes nothing here.
#include "platform/core/ProcessHardening.h"

void HardenProcess() {}
