// velkast-cli: makes and reads Velkast encrypted texts from scripts.
#include <unistd.h>

#include <csignal>
#include <new>
#include <string>

#include "cipher/AesTextCipher.h"
#include "cipher/BuiltinKey.h"
#include "platform/core/LocalMemory.h"
#include "tools/CommandLine.h"
#include "tools/DecryptStream.h"
#include "tools/Diagnostics.h"
#include "tools/EncryptStream.h"
#include "tools/HelpText.h"
#include "tools/LineReader.h"
#include "tools/LineStream.h"
#include "tools/OutputWriter.h"
#include "tools/TerminalPrompt.h"

namespace {

int PrintText(const std::string& text) {
  COutputWriter out(STDOUT_FILENO, false);
  out.Append(text);
  return out.Flush() ? kExitOk : ReportOutputFailure(out);
}

// One password asked on the terminal, its text printed.
int EncryptFromPrompt(CLineEncryptor& encryptor, COutputWriter& out) {
  std::string password;
  CTerminalPrompt prompt(STDIN_FILENO);
  const CTerminalPrompt::Result result = prompt.Ask("Password: ", password);
  int status = kExitRefused;
  if (result == CTerminalPrompt::Result::Error)
    ReportSystemError("cannot read a password from the terminal", prompt.Error());
  else if (result == CTerminalPrompt::Result::NoAnswer)
    ReportError("no password entered");
  else if (encryptor.TransformLine(password, 1, out))
    status = out.Flush() ? kExitOk : ReportOutputFailure(out);
  SecureZeroMemory(password.data(), password.capacity());
  return status;
}

int RunCommand(const CCommandLine& cmd) {
  // One cipher serves the whole stream.
  CAesTextCipher cipher(g_szBuiltinPassPhrase, g_nBuiltinKeySize);
  COutputWriter out(STDOUT_FILENO, isatty(STDOUT_FILENO) != 0);
  if (cmd.m_nCommand == CliCommand::Encrypt) {
    CLineEncryptor encryptor(cipher);
    if (isatty(STDIN_FILENO))
      return EncryptFromPrompt(encryptor, out);
    CLineReader reader(STDIN_FILENO);
    return RunLineStream(reader, out, encryptor);
  }
  CLineDecryptor decryptor(cipher, cmd.m_bLenient);
  CLineReader reader(STDIN_FILENO);
  return RunLineStream(reader, out, decryptor);
}

}  // namespace

int main(int argc, char** argv) {
  // A closed pipe is reported as a write error, not a silent death.
  std::signal(SIGPIPE, SIG_IGN);

  const CCommandLine cmd = ParseCommandLine(argc, argv);
  if (cmd.m_nCommand == CliCommand::Help)
    return PrintText(HelpText());
  if (cmd.m_nCommand == CliCommand::Version)
    return PrintText(VersionText());
  if (!cmd.m_strError.empty()) {
    ReportError(cmd.m_strError + " (see 'velkast-cli --help')");
    return kExitUsage;
  }
  try {
    return RunCommand(cmd);
  } catch (const std::bad_alloc&) {
    ReportError("out of memory");
    return kExitRefused;
  }
}
