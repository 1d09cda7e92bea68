#include "tools/TerminalPrompt.h"

CTerminalPrompt::Result CTerminalPrompt::Ask(std::string_view prompt, Echo echo,
                                             std::string& answer) {
  if (echo == Echo::Off && !EchoOff(prompt))
    return Result::Error;
  WritePrompt(prompt);
  const Result result = ReadLine(answer);
  Restore();
  // Whatever comes next starts on a line of its own, also when the Enter
  // that ended the answer was not echoed.
  if (echo == Echo::Off || !m_bLineEnded)
    WritePrompt("\n");
  return result;
}
