// The tool's messages on standard error: always one line, always prefixed
// with the program's name, so scripts can log and match them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "libvelkast/PasswordRules.h"

inline constexpr std::string_view kProgramName = "velkast-cli";

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitRefused = 1;  // a line refused, or input or output failed
inline constexpr int kExitUsage = 2;

// "velkast-cli: <message>"
void ReportError(std::string_view message);
// "velkast-cli: line <n>: <message>"
void ReportLineError(std::size_t nLine, std::string_view message);
// "velkast-cli: <what>: <strerror(err)>"
void ReportSystemError(std::string_view what, int err);

// "U+00E9", "U+1F600": how messages name a character.
std::string CodePointName(char32_t cp);

// "character 5, U+0100, is outside code page 1252: ...": a password's
// refused character in the library's words; empty for no fault.
std::string CharacterFaultText(const CPasswordFault& fault);
