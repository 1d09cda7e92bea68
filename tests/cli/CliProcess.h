// Runs the built velkast-cli as a separate process, the way scripts and
// terminals do: through pipes, onto special files, or on a pseudo-terminal.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <sys/types.h>
#include <termios.h>

struct CliResult {
  int status = -1;   // exit status, or -1 when ended by a signal
  int signal = 0;    // the signal that ended it
  std::string out;   // standard output
  std::string err;   // standard error
};

enum class StdoutTo {
  Pipe,        // captured
  DevFull,     // every write fails with ENOSPC
  ClosedPipe,  // a pipe nobody reads: every write fails with EPIPE
};

// Runs velkast-cli with args, feeding input on standard input.
CliResult RunCli(const std::vector<std::string>& args, std::string_view input,
                 StdoutTo target = StdoutTo::Pipe);

// The lines of a text ended by "\n" (a missing last "\n" is tolerated).
std::vector<std::string> SplitLines(const std::string& text);

// A velkast-cli that stays running on pipes, for call-and-answer use.
class CPipedCli {
 public:
  explicit CPipedCli(const std::vector<std::string>& args);
  ~CPipedCli();
  void Write(std::string_view text);
  // The next line of standard output, waiting at most timeoutMs; empty
  // optional-like: returns false on timeout or end of output.
  bool ReadLine(std::string* pLine, int timeoutMs);
  // Closes standard input and waits for the exit status.
  int Finish();

 private:
  pid_t m_pid = -1;
  int m_fdIn = -1;
  int m_fdOut = -1;
  std::string m_pending;
};

// A velkast-cli whose controlling terminal, standard input and standard
// error are a pseudo-terminal; standard output is the terminal too, or a
// pipe when bStdoutToPipe.
class CPtyCli {
 public:
  CPtyCli(const std::vector<std::string>& args, bool bStdoutToPipe, bool bEcho = true);
  ~CPtyCli();
  // Reads the terminal's output until it contains text or timeoutMs passes.
  bool WaitFor(std::string_view text, int timeoutMs);
  // Types on the keyboard.
  void Type(std::string_view keys);
  void Signal(int sig);
  // The terminal's current local modes (c_lflag).
  tcflag_t LocalModes() const;
  // Waits for the end of the process and collects the rest of its output.
  CliResult Finish();
  const std::string& Screen() const { return m_screen; }

 private:
  void Drain(int timeoutMs);

  pid_t m_pid = -1;
  int m_fdMaster = -1;
  int m_fdSlave = -1;  // kept open to read the terminal's modes
  int m_fdOut = -1;    // standard output when it is a pipe
  std::string m_screen;
};
