// Asks for one answer on a terminal, with echo off for a password. The
// terminal's own settings come back when the answer is in, when any signal
// that ends the program arrives while it waits (Ctrl-C, a hang-up, kill, a
// timer...; the program then ends as that signal would have ended it), and
// while it is suspended (Ctrl-Z).
//
// A terminal keeps only so much of a line and drops what is typed beyond
// it: an answer that reaches that limit may have been cut, and is refused.
//
// On Windows the terminal is the console: the answer is read as UTF-16, so
// every character arrives as typed whatever the console's code page, and
// is handed on as UTF-8 like every other line; Ctrl+C, Ctrl+Break and
// closing the console put the console's mode back.
#pragma once

#include <string>
#include <string_view>

#if defined(_WIN32)
#include "platform/core/WinTypes.h"
#else
#include <termios.h>
#endif

class CTerminalPrompt {
 public:
  // Cut: the answer reached the terminal's limit for a line; it is not given.
  enum class Result { Answered, NoAnswer, Cut, Error };
  enum class Echo { Off, On };

  // fdTerminal: the terminal to read from (standard input).
  explicit CTerminalPrompt(int fdTerminal);
  ~CTerminalPrompt();
  CTerminalPrompt(const CTerminalPrompt&) = delete;
  CTerminalPrompt& operator=(const CTerminalPrompt&) = delete;

  // Writes prompt (a literal: a signal handler may show it again) to the
  // controlling terminal (standard error if there is none), reads one line
  // into answer with the line rules of the streams, and restores the
  // terminal. NoAnswer: the input ended first. Reads to the end of the line
  // also when it is cut, so nothing of it is left for the shell to read.
  Result Ask(std::string_view prompt, Echo echo, std::string& answer);

  int Error() const { return m_nError; }

  // The terminal's limit, as messages say it: "the terminal keeps at most
  // 4095 bytes of a line".
  static std::string_view LineLimitText();

 private:
  // What each system does: the prompt shown (again after the program is
  // suspended and continued), echo off and back, one line read.
  void WritePrompt(std::string_view text);
  bool EchoOff(std::string_view prompt);
  void Restore();
  Result ReadLine(std::string& answer);

  int m_fdTerminal;
#if defined(_WIN32)
  HANDLE m_hPrompt = INVALID_HANDLE_VALUE;  // the console's screen, for the prompt
  DWORD m_dwSavedMode = 0;
#else
  int m_fdPrompt;
  bool m_bOwnPromptFd = false;
  termios m_saved{};
#endif
  bool m_bEchoOff = false;
  int m_nError = 0;
  bool m_bLineEnded = false;  // the answer ended with Enter, not end of input
};
