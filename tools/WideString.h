// Wide text in the tool: strings of the platform's WCHAR, which holds one
// UTF-16 code unit wherever the tool builds (WCHAR here, wchar_t on
// Windows). The UTF-8 codec relies on that size.
#pragma once

#include <string>
#include <string_view>

#include "platform/core/WinTypes.h"

static_assert(sizeof(WCHAR) == 2, "WCHAR must be a UTF-16 code unit");

using WString = std::basic_string<WCHAR>;
using WStringView = std::basic_string_view<WCHAR>;
