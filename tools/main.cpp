// velkast-cli: makes and reads Velkast encrypted texts from scripts.
#include <new>
#include <string>
#include <string_view>

#include "cipher/BuiltinKey.h"
#include "libvelkast/TextLimits.h"
#include "platform/core/LocalMemory.h"
#include "platform/core/ProcessHardening.h"
#include "tools/CommandLine.h"
#include "tools/DecryptStream.h"
#include "tools/Diagnostics.h"
#include "tools/EncryptStream.h"
#include "tools/HelpText.h"
#include "tools/LineCipher.h"
#include "tools/LineReader.h"
#include "tools/LineStream.h"
#include "tools/OutputWriter.h"
#include "tools/StandardStreams.h"
#include "tools/TerminalPrompt.h"

namespace {

constexpr int kStandardInput = 0;
constexpr int kStandardOutput = 1;

int PrintText(const std::string& text) {
  COutputWriter out(kStandardOutput, false);
  out.Append(text);
  return out.Flush() ? kExitOk : ReportOutputFailure(out);
}

// What is asked for on a terminal, and what is said when no whole answer
// comes.
struct CPrompt {
  std::string_view prompt;
  CTerminalPrompt::Echo echo;
  std::string_view readError;
  std::string_view noAnswer;
  std::string_view cutWhat;   // what the terminal may have cut
  std::string_view pipeHint;  // and how to give it whole
};

// A password is asked with echo off; an encrypted text is no secret to
// whoever sees the screen.
constexpr CPrompt kPasswordPrompt = {"Password: ",
                                     CTerminalPrompt::Echo::Off,
                                     "cannot read a password from the terminal",
                                     "no password entered",
                                     "the password",
                                     "pipe a long password in: velkast-cli encrypt < file"};
constexpr CPrompt kTextPrompt = {"Encrypted text: ",
                                 CTerminalPrompt::Echo::On,
                                 "cannot read an encrypted text from the terminal",
                                 "no encrypted text entered",
                                 "the text",
                                 "pipe a long text in: velkast-cli decrypt < file"};

// One line asked on the terminal, its result printed.
int AnswerPrompt(const CPrompt& ask, CLineTransform& transform, COutputWriter& out) {
  std::string answer;
  CTerminalPrompt prompt(kStandardInput);
  const CTerminalPrompt::Result result = prompt.Ask(ask.prompt, ask.echo, answer);
  int status = kExitRefused;
  if (result == CTerminalPrompt::Result::Error)
    ReportSystemError(ask.readError, prompt.Error());
  else if (result == CTerminalPrompt::Result::NoAnswer)
    ReportError(ask.noAnswer);
  else if (result == CTerminalPrompt::Result::Cut)  // never shown, never encrypted
    ReportError(std::string(ask.cutWhat) + " may have been cut short: " +
                std::string(CTerminalPrompt::LineLimitText()) + "; " + std::string(ask.pipeHint));
  else if (transform.TransformLine(answer, 1, out))
    status = out.Flush() ? kExitOk : ReportOutputFailure(out);
  transform.WipeLine();
  SecureZeroMemory(answer.data(), answer.capacity());
  return status;
}

// Standard input one line at a time, or one answer asked on the terminal.
int Run(const CPrompt& ask, std::size_t cbMaxLine, CLineTransform& transform, COutputWriter& out) {
  if (IsTerminal(kStandardInput))
    return AnswerPrompt(ask, transform, out);
  CLineReader reader(kStandardInput, cbMaxLine);
  return RunLineStream(reader, out, transform);
}

int RunCommand(const CCommandLine& cmd) {
  // One cipher serves the whole stream.
  CLineCipher cipher(g_szBuiltinPassPhrase, g_nBuiltinKeySize);
  COutputWriter out(kStandardOutput, IsTerminal(kStandardOutput));
  const bool bShellBlanks = MayEndInShellBlank(kStandardInput);
  if (cmd.m_nCommand == CliCommand::Encrypt) {
    CLineEncryptor encryptor(cipher, bShellBlanks);
    return Run(kPasswordPrompt, kMaxPasswordBytes, encryptor, out);
  }
  CLineDecryptor decryptor(cipher, cmd.m_bLenient, bShellBlanks);
  return Run(kTextPrompt, kMaxTextBytes, decryptor, out);
}

}  // namespace

int main(int argc, char** argv) {
  HardenProcess();
  // A closed pipe is reported as a write error, not a silent death.
  PrepareStandardStreams();

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
