// What --help and --version print.
#pragma once

#include <string>

std::string HelpText();
// "velkast-cli 1.0.0.1": the program's version, from the build.
std::string VersionText();
