// Runs the built velkast-cli as a separate process, the way scripts and
// terminals do: its input on a pipe or (on Linux) a pseudo-terminal, its
// output taken by the test or sent onto a full device or a closed pipe.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#if defined(_WIN32)
#include "platform/core/WinTypes.h"
#else
#include <signal.h>
#include <termios.h>
#endif

struct CliResult {
  int status = -1;  // exit status, or minus the signal that ended it
  std::string out;  // standard output
  std::string err;  // standard error, or what the terminal showed
};

// Where standard output goes: to the test (into a file it reads, so the tool
// never waits on it), onto /dev/full (Linux only), or into a pipe nobody reads.
enum class StdoutTo { Pipe, DevFull, ClosedPipe };

class CCliProcess {
 public:
  // args: the arguments, separated by spaces. On a terminal, standard input
  // and standard error are a new pseudo-terminal that is also the
  // controlling terminal; standard output goes where `to` says.
  CCliProcess(std::string_view args, bool bTerminal, StdoutTo to = StdoutTo::Pipe);
  ~CCliProcess();
  // Sends text to standard input (types it, on a terminal). A tool that
  // takes none of it for kDeadlineMs fails the test and is killed.
  void Write(std::string_view text);
  // Reads until out or err holds text; false when it has not come within
  // timeoutMs.
  bool WaitFor(std::string_view text, int timeoutMs = 10000);
  // Ends the input (but not the terminal) and waits for the exit; a tool
  // still running after kDeadlineMs fails the test and is killed.
  CliResult Finish();

  static constexpr int kDeadlineMs = 60000;

#if !defined(_WIN32)
  void Signal(int sig) const { kill(m_pid, sig); }
  pid_t Pid() const { return m_pid; }
  // The terminal's local modes (c_lflag).
  tcflag_t LocalModes() const {
    termios t{};
    tcgetattr(m_fdSlave, &t);
    return t.c_lflag;
  }
#endif

 private:
  std::vector<std::string> Words() const;  // the arguments one by one
  // Fails the test naming the tool and what it did not do, and ends it.
  void Kill(std::string_view what);
  void Terminate();
  void ReadOutput();  // what the files (and the terminal) have gained

  std::string m_strArgs;
#if defined(_WIN32)
  PROCESS_INFORMATION m_process{};
  HANDLE m_hInput = nullptr;          // the pipe to standard input
  std::wstring m_outPath, m_errPath;  // the files standard output and error go to
#else
  pid_t m_pid = -1;
  // Input: a pipe, or the terminal's master side (its slave side kept open to
  // read the terminal's modes); output: the files the test reads, or -1.
  int m_fdIn = -1, m_fdSlave = -1, m_fdOut = -1, m_fdErr = -1;
#endif
  CliResult m_result;
};

// Runs velkast-cli with input on standard input.
CliResult RunCli(std::string_view args, std::string_view input, StdoutTo to = StdoutTo::Pipe);
