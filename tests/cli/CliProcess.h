// Runs the built velkast-cli as a separate process, the way scripts and
// terminals do: on pipes, onto special files, or (on Linux) on a
// pseudo-terminal. The Windows version runs it on pipes only.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#if !defined(_WIN32)
#include <signal.h>
#include <termios.h>
#endif

struct CliResult {
  int status = -1;  // exit status, or minus the signal that ended it
  std::string out;  // standard output
  std::string err;  // standard error, or what the terminal showed
};

// Where standard output goes. DevFull exists on Linux only.
enum class StdoutTo { Pipe, DevFull, ClosedPipe };

class CCliProcess {
 public:
  // On a terminal, standard input and standard error are a new
  // pseudo-terminal that is also the controlling terminal; standard output
  // stays a pipe.
  CCliProcess(const std::vector<std::string>& args, bool bTerminal, StdoutTo to = StdoutTo::Pipe);
  ~CCliProcess();
  // Sends text to standard input (types it, on a terminal).
  void Write(std::string_view text);
  // Keeps feeding and reading until out or err holds text; false when
  // nothing more comes for timeoutMs.
  bool WaitFor(std::string_view text, int timeoutMs = 10000);
  // Ends the input (but not the terminal) and waits for the exit.
  CliResult Finish();

#if !defined(_WIN32)
  void Signal(int sig) const { kill(m_pid, sig); }
  pid_t Pid() const { return m_pid; }
  // The terminal's local modes (c_lflag).
  tcflag_t LocalModes() const {
    termios modes{};
    tcgetattr(m_fdSlave, &modes);
    return modes.c_lflag;
  }
#endif

 private:
#if defined(_WIN32)
  struct CStreams;  // the pipes and the threads that move them
  std::unique_ptr<CStreams> m_pStreams;
#else
  bool Pump(int timeoutMs);

  pid_t m_pid = -1;
  int m_fdIn = -1, m_fdOut = -1, m_fdErr = -1;
  int m_fdSlave = -1;  // kept open to read the terminal's modes
  std::string m_input;
#endif
  CliResult m_result;
};

// Runs velkast-cli on pipes with input on standard input.
CliResult RunCli(const std::vector<std::string>& args, std::string_view input,
                 StdoutTo to = StdoutTo::Pipe);
