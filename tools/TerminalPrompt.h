// Asks for one answer on a terminal, with echo off for a password. The
// terminal's own settings come back when the answer is in, when a signal
// (Ctrl-C, a hang-up, kill) ends the program while it waits, and while it
// is suspended (Ctrl-Z).
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
  enum class Result { Answered, NoAnswer, Error };
  enum class Echo { Off, On };

  // fdTerminal: the terminal to read from (standard input).
  explicit CTerminalPrompt(int fdTerminal);
  ~CTerminalPrompt();
  CTerminalPrompt(const CTerminalPrompt&) = delete;
  CTerminalPrompt& operator=(const CTerminalPrompt&) = delete;

  // Writes prompt (a literal: a signal handler may show it again) to the
  // controlling terminal (standard error if there is none), reads one line
  // into answer with the line rules of the streams, and restores the
  // terminal. NoAnswer: the input ended first.
  Result Ask(std::string_view prompt, Echo echo, std::string& answer);

  int Error() const { return m_nError; }

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
