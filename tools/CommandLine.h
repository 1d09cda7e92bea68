// The command line of velkast-cli: one command and its options. Passwords
// never come from here, so no argument that could hold one is echoed back
// in full (only a value given to --help or --version is).
#pragma once

#include <string>

enum class CliCommand { None, Encrypt, Decrypt, Help, Version };

struct CCommandLine {
  CliCommand m_nCommand = CliCommand::None;
  bool m_bLenient = false;
  // Set when the arguments are not a valid call; one line, no prefix.
  std::string m_strError;
};

// --help and --version stand alone: given with any other argument they are a
// usage error, as every other unexpected argument is. "--" ends the options.
// On Windows "/?" is --help.
CCommandLine ParseCommandLine(int argc, const char* const* argv);
