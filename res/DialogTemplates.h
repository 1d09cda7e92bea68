// The program's dialog templates and their annotations, for the resource
// table.
#pragma once

#include "platform/framework/DialogTemplate.h"

extern const DIALOG_TEMPLATE g_dlgMainDialog;
extern const DIALOG_ACCESSIBLE_NAME g_aMainDialogAccessibleNames[2];
