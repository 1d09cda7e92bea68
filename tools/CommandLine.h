// The command line of velkast-cli: one command and its options. Passwords
// never come from here, so no argument is ever echoed back in full.
#pragma once

#include <string>

enum class CliCommand { None, Encrypt, Decrypt, Help, Version };

struct CCommandLine {
  CliCommand m_nCommand = CliCommand::None;
  bool m_bLenient = false;
  // Set when the arguments are not a valid call; one line, no prefix.
  std::string m_strError;
};

// --help or --version anywhere wins over everything else, even over errors,
// so a user who asks for help always gets it.
CCommandLine ParseCommandLine(int argc, const char* const* argv);
