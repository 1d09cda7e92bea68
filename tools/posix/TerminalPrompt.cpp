#include "tools/TerminalPrompt.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <utility>

#include "platform/core/LocalMemory.h"

namespace {

// A terminal line in canonical mode holds 4095 bytes and its newline;
// Linux drops what is typed beyond that.
constexpr std::size_t kLineLimit = 4095;

// What the signal handlers need to put the terminal back. Written only
// while no handler is installed; read only by the handlers.
int g_fdEchoOff = -1;
int g_fdPromptForSignal = -1;
termios g_termiosSaved{};
termios g_termiosQuiet{};
std::string_view g_prompt;

struct sigaction g_action {};
bool g_bInstalled[NSIG];  // the signals that have g_action

// Whether sig, left to its default action, ends the program; the others are
// ignored, continue, stop, or cannot be caught. Ctrl-Z (SIGTSTP) is handled
// on its own.
bool EndsTheProgram(int sig) {
  for (const int other :
       {SIGKILL, SIGSTOP, SIGCHLD, SIGCONT, SIGURG, SIGWINCH, SIGTSTP, SIGTTIN, SIGTTOU})
    if (sig == other)
      return false;
  return true;
}

// Only async-signal-safe calls in the handlers.
void WriteForSignal(std::string_view text) {
  if (g_fdPromptForSignal >= 0)
    (void)!write(g_fdPromptForSignal, text.data(), text.size());
}

// Ctrl-Z: the shell gets its terminal back with echo on; when the program
// is continued, echo goes off again and the prompt is shown anew.
void SuspendWithEchoOn() {
  const int savedErrno = errno;
  tcsetattr(g_fdEchoOff, TCSANOW, &g_termiosSaved);
  WriteForSignal("\n");
  signal(SIGTSTP, SIG_DFL);
  sigset_t tstp;
  sigemptyset(&tstp);
  sigaddset(&tstp, SIGTSTP);
  sigprocmask(SIG_UNBLOCK, &tstp, nullptr);
  raise(SIGTSTP);  // stops here until continued
  sigprocmask(SIG_BLOCK, &tstp, nullptr);
  sigaction(SIGTSTP, &g_action, nullptr);
  tcsetattr(g_fdEchoOff, TCSANOW, &g_termiosQuiet);
  WriteForSignal(g_prompt);
  errno = savedErrno;
}

// Every other signal: the terminal back, then the signal's own default
// action, which takes effect as the handler returns (the signal is blocked
// until then), so the program ends as it would have without the prompt.
void RestoreOnSignal(int sig) {
  if (g_fdEchoOff < 0)
    return;
  if (sig == SIGTSTP) {
    SuspendWithEchoOn();
    return;
  }
  tcsetattr(g_fdEchoOff, TCSANOW, &g_termiosSaved);
  WriteForSignal("\n");
  signal(sig, SIG_DFL);
  raise(sig);
}

// Takes over every signal that would end the program or stop it at Ctrl-Z,
// where nothing else has: one the program was started ignoring (nohup's
// SIGHUP, a shell's SIGINT for a background job) stays ignored, and another
// handler (a sanitizer's) stays in place.
void InstallHandlers() {
  g_action.sa_handler = RestoreOnSignal;
  sigfillset(&g_action.sa_mask);  // one handler at a time
  for (int sig = 1; sig < NSIG; ++sig) {
    struct sigaction current {};
    g_bInstalled[sig] = (EndsTheProgram(sig) || sig == SIGTSTP) &&
                        sigaction(sig, nullptr, &current) == 0 &&
                        !(current.sa_flags & SA_SIGINFO) && current.sa_handler == SIG_DFL &&
                        sigaction(sig, &g_action, nullptr) == 0;
  }
}

void RemoveHandlers() {
  for (int sig = 1; sig < NSIG; ++sig)
    if (std::exchange(g_bInstalled[sig], false))
      signal(sig, SIG_DFL);
}

void WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = write(fd, text.data(), text.size());
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      return;
    text.remove_prefix(static_cast<std::size_t>(n));
  }
}

}  // namespace

CTerminalPrompt::CTerminalPrompt(int fdTerminal) : m_fdTerminal(fdTerminal) {
  m_fdPrompt = open("/dev/tty", O_WRONLY | O_NOCTTY | O_CLOEXEC);
  m_bOwnPromptFd = m_fdPrompt >= 0;
  if (!m_bOwnPromptFd)
    m_fdPrompt = STDERR_FILENO;
}

CTerminalPrompt::~CTerminalPrompt() {
  Restore();
  if (m_bOwnPromptFd)
    close(m_fdPrompt);
}

void CTerminalPrompt::WritePrompt(std::string_view text) { WriteAll(m_fdPrompt, text); }

bool CTerminalPrompt::EchoOff(std::string_view prompt) {
  if (tcgetattr(m_fdTerminal, &m_saved) != 0) {
    m_nError = errno;
    return false;
  }
  termios quiet = m_saved;
  quiet.c_lflag &= ~tcflag_t(ECHO | ECHOE | ECHOK | ECHONL);
  quiet.c_lflag |= ICANON;  // whole lines, with the user's line editing

  g_fdEchoOff = m_fdTerminal;
  g_fdPromptForSignal = m_fdPrompt;
  g_termiosSaved = m_saved;
  g_termiosQuiet = quiet;
  g_prompt = prompt;
  InstallHandlers();
  m_bEchoOff = true;
  if (tcsetattr(m_fdTerminal, TCSANOW, &quiet) != 0) {
    m_nError = errno;
    Restore();
    return false;
  }
  return true;
}

void CTerminalPrompt::Restore() {
  if (!m_bEchoOff)
    return;
  tcsetattr(m_fdTerminal, TCSANOW, &m_saved);
  RemoveHandlers();
  g_fdEchoOff = -1;
  g_fdPromptForSignal = -1;
  g_prompt = {};
  m_bEchoOff = false;
}

std::string_view CTerminalPrompt::LineLimitText() {
  return "the terminal keeps at most 4095 bytes of a line";
}

CTerminalPrompt::Result CTerminalPrompt::ReadLine(std::string& answer) {
  answer.clear();
  answer.reserve(kLineLimit + 1);  // never more: no copies left behind by growth
  char chunk[256];
  bool bCut = false;
  for (;;) {
    const ssize_t n = read(m_fdTerminal, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR)
      continue;
    if (n < 0) {
      m_nError = errno;
      SecureZeroMemory(chunk, sizeof chunk);
      return Result::Error;
    }
    if (n == 0)
      break;
    const std::size_t cb = static_cast<std::size_t>(n);
    const std::size_t cbKept = std::min(cb, kLineLimit + 1 - answer.size());
    bCut = bCut || cbKept < cb;
    answer.append(chunk, cbKept);
    m_bLineEnded = chunk[cb - 1] == '\n';
    if (m_bLineEnded)
      break;
  }
  SecureZeroMemory(chunk, sizeof chunk);
  if (answer.empty())
    return Result::NoAnswer;
  if (!answer.empty() && answer.back() == '\n') {
    answer.pop_back();
    if (!answer.empty() && answer.back() == '\r')
      answer.pop_back();
  }
  return bCut || answer.size() >= kLineLimit ? Result::Cut : Result::Answered;
}
