#include "tools/TerminalPrompt.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "platform/core/LocalMemory.h"

namespace {

// What the signal handlers need to put the terminal back. Written only
// while no handler is installed; read only by the handlers.
int g_fdEchoOff = -1;
int g_fdPromptForSignal = -1;
termios g_termiosSaved{};
termios g_termiosQuiet{};
std::string_view g_prompt;

constexpr int kRestoringSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP};
struct sigaction g_previous[std::size(kRestoringSignals)];
struct sigaction g_action {};

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

void InstallHandlers() {
  g_action.sa_handler = RestoreOnSignal;
  sigemptyset(&g_action.sa_mask);
  for (const int sig : kRestoringSignals)
    sigaddset(&g_action.sa_mask, sig);  // one restore at a time
  for (std::size_t i = 0; i < std::size(kRestoringSignals); ++i)
    sigaction(kRestoringSignals[i], &g_action, &g_previous[i]);
}

void RemoveHandlers() {
  for (std::size_t i = 0; i < std::size(kRestoringSignals); ++i)
    sigaction(kRestoringSignals[i], &g_previous[i], nullptr);
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

CTerminalPrompt::Result CTerminalPrompt::ReadLine(std::string& answer) {
  answer.clear();
  answer.reserve(4096);  // a terminal line fits: no copies left behind by growth
  char chunk[256];
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
    answer.append(chunk, static_cast<std::size_t>(n));
    if (answer.back() == '\n')
      break;
  }
  SecureZeroMemory(chunk, sizeof chunk);
  if (answer.empty())
    return Result::NoAnswer;
  m_bLineEnded = answer.back() == '\n';
  if (m_bLineEnded) {
    answer.pop_back();
    if (!answer.empty() && answer.back() == '\r')
      answer.pop_back();
  }
  return Result::Answered;
}
