// The program's own resources where the executable has no resource section:
// the compiled resource file, linked in as data (g_abProgramResources, see
// res/CMakeLists.txt), registered as the program's module at start-up.
// Linked only into programs that have resources.
#include "platform/framework/Resource.h"

extern const unsigned char g_abProgramResources[];
extern const unsigned long g_abProgramResources_size;

namespace {

const RESOURCE_MODULE kProgramModule = {g_abProgramResources, g_abProgramResources_size};

[[maybe_unused]] const bool g_bRegistered = AfxRegisterProgramResources(&kProgramModule);

}  // namespace
