#include "CliProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace {

const char* CliPath() {
  return VELKAST_CLI_PATH;
}

[[noreturn]] void Fail(const char* what) {
  throw std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

// The environment, with sanitizer reports given their own exit statuses so
// they can never pass for the tool's own 1.
std::vector<std::string> ChildEnvironment() {
  std::vector<std::string> env;
  std::string asan = "ASAN_OPTIONS=exitcode=86";
  std::string ubsan = "UBSAN_OPTIONS=exitcode=87:print_stacktrace=1";
  for (char** p = environ; *p != nullptr; ++p) {
    const std::string_view var = *p;
    if (var.starts_with("ASAN_OPTIONS="))
      asan = std::string(var) + ":exitcode=86";
    else if (var.starts_with("UBSAN_OPTIONS="))
      ubsan = std::string(var) + ":exitcode=87";
    else
      env.emplace_back(var);
  }
  env.push_back(asan);
  env.push_back(ubsan);
  return env;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings)
    pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

std::vector<std::string> Argv(const std::vector<std::string>& args) {
  std::vector<std::string> argv{CliPath()};
  argv.insert(argv.end(), args.begin(), args.end());
  return argv;
}

void MakePipe(int fds[2]) {
  if (pipe2(fds, O_CLOEXEC) != 0)
    Fail("pipe2");
}

void DecodeStatus(int wstatus, CliResult* pResult) {
  if (WIFEXITED(wstatus)) {
    pResult->status = WEXITSTATUS(wstatus);
  } else if (WIFSIGNALED(wstatus)) {
    pResult->status = -1;
    pResult->signal = WTERMSIG(wstatus);
  }
}

// Spawns the tool on the given descriptors for 0, 1, 2 (-1: /dev/full for
// standard output). SIGPIPE starts at its default, as from a shell.
pid_t Spawn(const std::vector<std::string>& args, int fdIn, int fdOut, int fdErr) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fdIn, 0);
  if (fdOut >= 0)
    posix_spawn_file_actions_adddup2(&actions, fdOut, 1);
  else
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/full", O_WRONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, fdErr, 2);
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  posix_spawnattr_setsigdefault(&attr, &defaults);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF);

  std::vector<std::string> argv = Argv(args);
  std::vector<std::string> env = ChildEnvironment();
  pid_t pid = -1;
  const int rc = posix_spawn(&pid, CliPath(), &actions, &attr, Pointers(argv).data(),
                             Pointers(env).data());
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attr);
  if (rc != 0) {
    errno = rc;
    Fail("posix_spawn");
  }
  return pid;
}

// Appends what fd has to out; false at its end.
bool ReadSome(int fd, std::string& out) {
  char buf[65536];
  const ssize_t n = read(fd, buf, sizeof buf);
  if (n > 0)
    out.append(buf, static_cast<std::size_t>(n));
  return n > 0 || (n < 0 && (errno == EINTR || errno == EAGAIN));
}

}  // namespace

CliResult RunCli(const std::vector<std::string>& args, std::string_view input, StdoutTo target) {
  // Writing to a tool that has stopped reading must fail, not kill the test.
  std::signal(SIGPIPE, SIG_IGN);
  int in[2], out[2], err[2];
  MakePipe(in);
  MakePipe(out);
  MakePipe(err);
  const pid_t pid = Spawn(args, in[0], target == StdoutTo::DevFull ? -1 : out[1], err[1]);
  close(in[0]);
  close(out[1]);
  close(err[1]);
  if (target == StdoutTo::ClosedPipe) {
    close(out[0]);
    out[0] = -1;
  }
  fcntl(in[1], F_SETFL, O_NONBLOCK);

  CliResult result;
  std::size_t written = 0;
  int fdIn = in[1];
  if (input.empty()) {
    close(fdIn);
    fdIn = -1;
  }
  int fdOut = out[0], fdErr = err[0];
  while (fdIn >= 0 || fdOut >= 0 || fdErr >= 0) {
    pollfd fds[3] = {{fdIn, POLLOUT, 0}, {fdOut, POLLIN, 0}, {fdErr, POLLIN, 0}};
    if (poll(fds, 3, -1) < 0 && errno != EINTR)
      Fail("poll");
    if (fdIn >= 0 && fds[0].revents != 0) {
      const ssize_t n = write(fdIn, input.data() + written, input.size() - written);
      if (n > 0)
        written += static_cast<std::size_t>(n);
      if ((n < 0 && errno != EAGAIN && errno != EINTR) || written == input.size()) {
        close(fdIn);
        fdIn = -1;
      }
    }
    if (fdOut >= 0 && fds[1].revents != 0 && !ReadSome(fdOut, result.out)) {
      close(fdOut);
      fdOut = -1;
    }
    if (fdErr >= 0 && fds[2].revents != 0 && !ReadSome(fdErr, result.err)) {
      close(fdErr);
      fdErr = -1;
    }
  }
  int wstatus = 0;
  waitpid(pid, &wstatus, 0);
  DecodeStatus(wstatus, &result);
  return result;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t end = text.find('\n', begin);
    if (end == std::string::npos)
      end = text.size();
    lines.push_back(text.substr(begin, end - begin));
    begin = end + 1;
  }
  return lines;
}

CPipedCli::CPipedCli(const std::vector<std::string>& args) {
  std::signal(SIGPIPE, SIG_IGN);
  int in[2], out[2];
  MakePipe(in);
  MakePipe(out);
  m_pid = Spawn(args, in[0], out[1], STDERR_FILENO);
  close(in[0]);
  close(out[1]);
  m_fdIn = in[1];
  m_fdOut = out[0];
}

CPipedCli::~CPipedCli() {
  if (m_pid > 0)
    Finish();
}

void CPipedCli::Write(std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = write(m_fdIn, text.data(), text.size());
    if (n <= 0)
      return;
    text.remove_prefix(static_cast<std::size_t>(n));
  }
}

bool CPipedCli::ReadLine(std::string* pLine, int timeoutMs) {
  for (;;) {
    const std::size_t nl = m_pending.find('\n');
    if (nl != std::string::npos) {
      *pLine = m_pending.substr(0, nl);
      m_pending.erase(0, nl + 1);
      return true;
    }
    pollfd fd{m_fdOut, POLLIN, 0};
    if (poll(&fd, 1, timeoutMs) <= 0 || !ReadSome(m_fdOut, m_pending))
      return false;
  }
}

int CPipedCli::Finish() {
  if (m_fdIn >= 0)
    close(m_fdIn);
  m_fdIn = -1;
  int wstatus = 0;
  waitpid(m_pid, &wstatus, 0);
  m_pid = -1;
  close(m_fdOut);
  CliResult result;
  DecodeStatus(wstatus, &result);
  return result.status;
}

CPtyCli::CPtyCli(const std::vector<std::string>& args, bool bStdoutToPipe, bool bEcho) {
  if (openpty(&m_fdMaster, &m_fdSlave, nullptr, nullptr, nullptr) != 0)
    Fail("openpty");
  termios modes{};
  tcgetattr(m_fdSlave, &modes);
  if (bEcho)
    modes.c_lflag |= ECHO | ICANON | ISIG;
  tcsetattr(m_fdSlave, TCSANOW, &modes);
  int out[2] = {-1, -1};
  if (bStdoutToPipe)
    MakePipe(out);

  std::vector<std::string> argv = Argv(args);
  std::vector<std::string> env = ChildEnvironment();
  std::vector<char*> argp = Pointers(argv), envp = Pointers(env);
  m_pid = fork();
  if (m_pid < 0)
    Fail("fork");
  if (m_pid == 0) {
    // The child: a new session whose controlling terminal is the slave.
    close(m_fdMaster);
    setsid();
    ioctl(m_fdSlave, TIOCSCTTY, 0);
    dup2(m_fdSlave, 0);
    dup2(bStdoutToPipe ? out[1] : m_fdSlave, 1);
    dup2(m_fdSlave, 2);
    signal(SIGPIPE, SIG_DFL);
    signal(SIGINT, SIG_DFL);
    execve(CliPath(), argp.data(), envp.data());
    _exit(127);
  }
  if (bStdoutToPipe) {
    close(out[1]);
    m_fdOut = out[0];
  }
}

CPtyCli::~CPtyCli() {
  if (m_pid > 0) {
    kill(m_pid, SIGKILL);
    waitpid(m_pid, nullptr, 0);
  }
  close(m_fdMaster);
  close(m_fdSlave);
  if (m_fdOut >= 0)
    close(m_fdOut);
}

void CPtyCli::Drain(int timeoutMs) {
  pollfd fd{m_fdMaster, POLLIN, 0};
  while (poll(&fd, 1, timeoutMs) > 0 && ReadSome(m_fdMaster, m_screen)) {
  }
}

bool CPtyCli::WaitFor(std::string_view text, int timeoutMs) {
  const int stepMs = 20;
  for (int waited = 0; waited <= timeoutMs; waited += stepMs) {
    if (m_screen.find(text) != std::string::npos)
      return true;
    Drain(stepMs);
  }
  return m_screen.find(text) != std::string::npos;
}

void CPtyCli::Type(std::string_view keys) {
  if (write(m_fdMaster, keys.data(), keys.size()) != static_cast<ssize_t>(keys.size()))
    Fail("write to the terminal");
}

void CPtyCli::Signal(int sig) {
  kill(m_pid, sig);
}

tcflag_t CPtyCli::LocalModes() const {
  termios modes{};
  tcgetattr(m_fdSlave, &modes);
  return modes.c_lflag;
}

CliResult CPtyCli::Finish() {
  CliResult result;
  if (m_fdOut >= 0) {
    while (ReadSome(m_fdOut, result.out)) {
    }
  }
  int wstatus = 0;
  waitpid(m_pid, &wstatus, 0);
  m_pid = -1;
  Drain(50);
  DecodeStatus(wstatus, &result);
  result.err = m_screen;
  return result;
}
