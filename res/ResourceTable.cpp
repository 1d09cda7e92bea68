// The program's resource module: every resource it carries, registered as
// the program's own when the program starts.
#include <iterator>

#include "platform/framework/Resource.h"
#include "res/DialogTemplates.h"
#include "res/icon/MainFrameIcon.h"
#include "res/resource.h"
#include "res/version/VersionInfo.h"

namespace {

const RESOURCE_ENTRY kResources[] = {
    {RT_DIALOG, IDD_MAIN_DIALOG, &g_dlgMainDialog, sizeof g_dlgMainDialog},
    {RT_DLGACCNAMES, IDD_MAIN_DIALOG, g_aMainDialogAccessibleNames,
     std::size(g_aMainDialogAccessibleNames)},
    {RT_GROUP_ICON, IDR_MAINFRAME, g_abMainFrameIcon, g_abMainFrameIcon_size},
    {RT_VERSION, 1, &g_versionBlock, 0},
};

const RESOURCE_MODULE kProgramModule = {kResources, std::size(kResources)};

[[maybe_unused]] const bool g_bRegistered = AfxRegisterProgramResources(&kProgramModule);

}  // namespace
