#include "tools/CommandLine.h"

#include <string_view>

namespace {

// Windows programs answer "/?" with their help.
#if defined(_WIN32)
constexpr bool kSlashQuestionIsHelp = true;
#else
constexpr bool kSlashQuestionIsHelp = false;
#endif

// An option as it may be named in a message: up to an '=' that could carry
// a value the user did not mean to show.
std::string OptionName(std::string_view arg) { return std::string(arg.substr(0, arg.find('='))); }

bool IsHelp(std::string_view arg) {
  return arg == "--help" || arg == "-h" || (kSlashQuestionIsHelp && arg == "/?");
}

bool IsVersion(std::string_view arg) { return arg == "--version" || arg == "-V"; }

}  // namespace

CCommandLine ParseCommandLine(int argc, const char* const* argv) {
  CCommandLine cmd;
  // "--" ends the options: what follows it is never taken for one.
  int nOptionsEnd = 1;
  while (nOptionsEnd < argc && std::string_view(argv[nOptionsEnd]) != "--")
    ++nOptionsEnd;

  for (int i = 1; i < nOptionsEnd; ++i) {
    const std::string_view arg = argv[i];
    if (!IsHelp(arg) && !IsVersion(arg))
      continue;
    if (argc != 2)
      cmd.m_strError = std::string(arg) + " cannot be combined with other arguments";
    else
      cmd.m_nCommand = IsHelp(arg) ? CliCommand::Help : CliCommand::Version;
    return cmd;
  }

  for (int i = 1; i < argc && cmd.m_strError.empty(); ++i) {
    const std::string_view arg = argv[i];
    const bool bOption = i < nOptionsEnd && arg.size() > 1 && arg[0] == '-';
    if (i == nOptionsEnd) {
      continue;  // the "--" itself
    } else if (bOption && arg == "--lenient") {
      cmd.m_bLenient = true;
    } else if (bOption && (IsHelp(OptionName(arg)) || IsVersion(OptionName(arg)))) {
      // No value there is a secret: named whole, as typed.
      cmd.m_strError = "'" + std::string(arg) + "': " + OptionName(arg) + " takes no value";
    } else if (bOption && OptionName(arg) == "--lenient") {
      cmd.m_strError = "--lenient takes no value";
    } else if (bOption) {
      cmd.m_strError = "unknown option '" + OptionName(arg) + "'";
    } else if (cmd.m_nCommand != CliCommand::None) {
      // Most likely a password typed after the command: never repeat it.
      cmd.m_strError =
          "unexpected argument after the command; passwords and texts are read "
          "from standard input only";
    } else if (arg == "encrypt") {
      cmd.m_nCommand = CliCommand::Encrypt;
    } else if (arg == "decrypt") {
      cmd.m_nCommand = CliCommand::Decrypt;
    } else {
      cmd.m_strError = "unknown command; the commands are encrypt and decrypt";
    }
  }
  if (cmd.m_strError.empty() && cmd.m_nCommand == CliCommand::None)
    cmd.m_strError = "no command given";
  if (cmd.m_strError.empty() && cmd.m_bLenient && cmd.m_nCommand != CliCommand::Decrypt)
    cmd.m_strError = "--lenient applies to decrypt only";
  return cmd;
}
