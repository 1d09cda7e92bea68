// velkast-cli with its standard input on a pipe or a pseudo-terminal that
// the test writes as it goes, and its standard output and error in files
// that the test reads as they grow, so the tool never waits on the test.
#include "tests/cli/CliProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <utility>

CCliProcess::CCliProcess(std::string_view args, bool bTerminal, StdoutTo to) : m_strArgs(args) {
  std::signal(SIGPIPE, SIG_IGN);  // a tool that stops reading must not kill the test
  const auto newFile = [] { return open("/tmp", O_TMPFILE | O_RDWR, 0600); };
  int in[2] = {-1, -1}, out[2] = {-1, -1};
  EXPECT_EQ(bTerminal ? openpty(&in[1], &m_fdSlave, nullptr, nullptr, nullptr) : pipe(in), 0);
  if (to == StdoutTo::ClosedPipe)
    EXPECT_EQ(pipe(out), 0);
  else
    out[1] = to == StdoutTo::DevFull ? open("/dev/full", O_WRONLY) : (m_fdOut = newFile());
  m_fdErr = bTerminal ? -1 : newFile();
  std::vector<std::string> words = Words();
  std::vector<char*> argp{const_cast<char*>(VELKAST_CLI_PATH)};
  for (std::string& word : words)
    argp.push_back(word.data());
  argp.push_back(nullptr);
  m_pid = fork();
  if (m_pid == 0) {
    if (bTerminal && (setsid() < 0 || ioctl(m_fdSlave, TIOCSCTTY, 0) < 0))
      _exit(127);
    dup2(bTerminal ? m_fdSlave : in[0], 0);
    dup2(out[1], 1);
    dup2(bTerminal ? m_fdSlave : m_fdErr, 2);
    closefrom(3);
    sigset_t none;  // every signal as a shell starts it: default, unblocked
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    for (int sig = 1; sig < NSIG; ++sig)
      std::signal(sig, SIG_DFL);
    execv(argp[0], argp.data());
    _exit(127);
  }
  for (const int fd : {in[0], out[0], out[1] == m_fdOut ? -1 : out[1]})
    close(fd);  // a closed pipe is closed here, before the tool writes to it
  m_fdIn = in[1];
  fcntl(m_fdIn, F_SETFL, O_NONBLOCK);  // so Write can keep a deadline
}

void CCliProcess::Terminate() { kill(m_pid, SIGKILL); }

CCliProcess::~CCliProcess() {
  if (m_pid > 0 && kill(m_pid, SIGKILL) == 0)
    waitpid(m_pid, nullptr, 0);
  for (const int fd : {m_fdIn, m_fdOut, m_fdErr, m_fdSlave})
    close(fd);
}

void CCliProcess::Write(std::string_view text) {
  pollfd room{m_fdIn, POLLOUT, 0};
  while (!text.empty()) {
    const ssize_t n = write(m_fdIn, text.data(), text.size());
    if (n > 0)
      text.remove_prefix(static_cast<std::size_t>(n));
    else if (errno != EAGAIN)
      return;  // the tool has stopped reading
    else if (poll(&room, 1, kDeadlineMs) == 0)
      return Kill("took no input");
  }
}

void CCliProcess::ReadOutput() {
  char buf[65536];
  ssize_t n = 0;
  for (auto [fd, to] : {std::pair{m_fdOut, &m_result.out}, std::pair{m_fdErr, &m_result.err}})
    while (fd >= 0 && (n = pread(fd, buf, sizeof buf, static_cast<off_t>(to->size()))) > 0)
      to->append(buf, static_cast<std::size_t>(n));
  pollfd terminal{m_fdSlave >= 0 ? m_fdIn : -1, POLLIN, 0};
  while (poll(&terminal, 1, 0) > 0 && (n = read(m_fdIn, buf, sizeof buf)) > 0)
    m_result.err.append(buf, static_cast<std::size_t>(n));
}

CliResult CCliProcess::Finish() {
  if (m_fdSlave < 0)
    close(std::exchange(m_fdIn, -1));
  int wstatus = 0;
  for (int nWaited = 0; waitpid(m_pid, &wstatus, WNOHANG) == 0; nWaited += 10) {
    if (nWaited == kDeadlineMs)
      Kill("did not end");
    poll(nullptr, 0, 10);
  }
  m_pid = -1;
  // What the tool wrote last reaches the terminal's master side a moment later.
  poll(nullptr, 0, m_fdSlave >= 0 ? 50 : 0);
  ReadOutput();
  m_result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -WTERMSIG(wstatus);
  return m_result;
}
