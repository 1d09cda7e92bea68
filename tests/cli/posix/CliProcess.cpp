#include "tests/cli/CliProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <tuple>
#include <utility>

CCliProcess::CCliProcess(const std::vector<std::string>& args, bool bTerminal, StdoutTo to) {
  std::signal(SIGPIPE, SIG_IGN);  // a tool that stops reading must not kill the test
  int in[2], out[2] = {-1, -1}, err[2];
  if (bTerminal) {
    EXPECT_EQ(openpty(&in[1], &m_fdSlave, nullptr, nullptr, nullptr), 0);
    in[0] = err[1] = m_fdSlave;
    err[0] = dup(in[1]);
  } else {
    EXPECT_TRUE(pipe(in) == 0 && pipe(err) == 0);
  }
  if (to == StdoutTo::DevFull)
    out[1] = open("/dev/full", O_WRONLY);
  else
    EXPECT_EQ(pipe(out), 0);
  std::vector<char*> argp{const_cast<char*>(VELKAST_CLI_PATH)};
  for (const std::string& arg : args)
    argp.push_back(const_cast<char*>(arg.c_str()));
  argp.push_back(nullptr);
  m_pid = fork();
  if (m_pid == 0) {
    if (bTerminal && (setsid() < 0 || ioctl(m_fdSlave, TIOCSCTTY, 0) < 0))
      _exit(127);
    dup2(in[0], 0);
    dup2(out[1], 1);
    dup2(err[1], 2);
    closefrom(3);
    std::signal(SIGPIPE, SIG_DFL);  // as a shell starts it
    std::signal(SIGINT, SIG_DFL);
    // A sanitizer report exits with a status of its own, never the tool's 1.
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS"}) {
      const char* old = std::getenv(name);
      setenv(name, (std::string(old != nullptr ? old : "") + ":exitcode=86").c_str(), 1);
    }
    execv(argp[0], argp.data());
    _exit(127);
  }
  for (const int fd : {out[1], bTerminal ? -1 : in[0], bTerminal ? -1 : err[1]})
    close(fd);
  if (to == StdoutTo::ClosedPipe)
    close(std::exchange(out[0], -1));
  std::tie(m_fdIn, m_fdOut, m_fdErr) = std::tuple(in[1], out[0], err[0]);
  fcntl(m_fdIn, F_SETFL, O_NONBLOCK);
}

void CCliProcess::Write(std::string_view text) { m_input.append(text); }

CCliProcess::~CCliProcess() {
  if (m_pid > 0 && kill(m_pid, SIGKILL) == 0)
    waitpid(m_pid, nullptr, 0);
  for (const int fd : {m_fdIn, m_fdOut, m_fdErr, m_fdSlave})
    close(fd);
}

// Moves what it can within timeoutMs; false when nothing moved.
bool CCliProcess::Pump(int timeoutMs) {
  pollfd fds[3] = {
      {m_input.empty() ? -1 : m_fdIn, POLLOUT, 0}, {m_fdOut, POLLIN, 0}, {m_fdErr, POLLIN, 0}};
  if (poll(fds, 3, timeoutMs) <= 0)
    return false;
  if (fds[0].revents != 0) {
    const ssize_t n = write(m_fdIn, m_input.data(), m_input.size());
    if (n > 0)
      m_input.erase(0, static_cast<std::size_t>(n));
    else if (errno != EAGAIN && errno != EINTR)
      m_input.clear();  // the tool has stopped reading
  }
  for (auto [revents, fd, to] : {std::tuple{fds[1].revents, &m_fdOut, &m_result.out},
                                 std::tuple{fds[2].revents, &m_fdErr, &m_result.err}}) {
    if (revents == 0)
      continue;
    char buf[65536];
    const ssize_t n = read(*fd, buf, sizeof buf);
    if (n > 0)
      to->append(buf, static_cast<std::size_t>(n));
    else if (n == 0 || errno != EINTR)
      close(std::exchange(*fd, -1));  // the end, or EIO from a terminal
  }
  return true;
}

bool CCliProcess::WaitFor(std::string_view text, int timeoutMs) {
  while (m_result.out.find(text) == std::string::npos &&
         m_result.err.find(text) == std::string::npos)
    if (!Pump(timeoutMs))
      return false;
  return true;
}

CliResult CCliProcess::Finish() {
  const bool bTerminal = m_fdSlave >= 0;
  while (!m_input.empty())
    Pump(-1);
  if (!bTerminal)
    close(std::exchange(m_fdIn, -1));
  // A terminal never ends while we hold it: read what it shows after the exit.
  while (m_fdOut >= 0 || (!bTerminal && m_fdErr >= 0))
    Pump(-1);
  int wstatus = 0;
  waitpid(std::exchange(m_pid, -1), &wstatus, 0);
  while (bTerminal && Pump(50)) {}
  m_result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -WTERMSIG(wstatus);
  return m_result;
}

CliResult RunCli(const std::vector<std::string>& args, std::string_view input, StdoutTo to) {
  CCliProcess cli(args, false, to);
  cli.Write(input);
  return cli.Finish();
}
