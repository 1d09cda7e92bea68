// velkast-cli.exe on pipes: a thread feeds its standard input as the test
// writes, and one thread each drains its standard output and error, so
// neither side ever waits on a full pipe.
#include "tests/cli/CliProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/core/WinTypes.h"

namespace {

// A pipe with one end for the child to inherit.
struct Pipe {
  HANDLE hRead = nullptr;
  HANDLE hWrite = nullptr;
};

Pipe MakePipe(bool bChildReads) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  Pipe pipe;
  EXPECT_TRUE(CreatePipe(&pipe.hRead, &pipe.hWrite, &inherit, 0));
  SetHandleInformation(bChildReads ? pipe.hWrite : pipe.hRead, HANDLE_FLAG_INHERIT, 0);
  return pipe;
}

void Close(HANDLE& h) {
  if (h != nullptr)
    CloseHandle(h);
  h = nullptr;
}

// One argument as the C library's command-line parser reads it back.
std::wstring Quoted(const std::string& arg) {
  std::wstring quoted = L"\"";
  std::size_t nBackslashes = 0;
  for (const char ch : arg) {
    if (ch == '\\') {
      ++nBackslashes;
      continue;
    }
    quoted.append(ch == '"' ? 2 * nBackslashes + 1 : nBackslashes, L'\\');
    nBackslashes = 0;
    quoted.push_back(static_cast<unsigned char>(ch));
  }
  quoted.append(2 * nBackslashes, L'\\');
  return quoted + L"\"";
}

}  // namespace

struct CCliProcess::CStreams {
  PROCESS_INFORMATION process{};
  HANDLE hInput = nullptr;
  std::mutex mutex;
  std::condition_variable changed;
  std::string input;          // written by the test, taken by the feeder
  bool bInputEnded = false;
  std::string out, err;
  std::thread feeder, outReader, errReader;

  void Feed() {
    std::unique_lock lock(mutex);
    for (;;) {
      changed.wait(lock, [this] { return !input.empty() || bInputEnded; });
      if (input.empty())
        break;
      const std::string chunk = std::exchange(input, std::string());
      lock.unlock();
      DWORD cbWritten = 0;
      const bool bWritten = WriteFile(hInput, chunk.data(), static_cast<DWORD>(chunk.size()),
                                      &cbWritten, nullptr);
      lock.lock();
      if (!bWritten)
        break;  // the tool has stopped reading
    }
    Close(hInput);
  }

  void Drain(HANDLE hRead, std::string& to) {
    char buf[65536];
    DWORD cbRead = 0;
    while (ReadFile(hRead, buf, sizeof buf, &cbRead, nullptr) && cbRead > 0) {
      std::lock_guard lock(mutex);
      to.append(buf, cbRead);
      changed.notify_all();
    }
    CloseHandle(hRead);
  }
};

CCliProcess::CCliProcess(const std::vector<std::string>& args, bool bTerminal, StdoutTo to)
    : m_pStreams(std::make_unique<CStreams>()) {
  EXPECT_FALSE(bTerminal) << "no terminal on this system";
  EXPECT_NE(to, StdoutTo::DevFull) << "no /dev/full on this system";
  Pipe in = MakePipe(true), out = MakePipe(false), err = MakePipe(false);
  std::wstring commandLine = Quoted(VELKAST_CLI_PATH);
  for (const std::string& arg : args)
    commandLine += L" " + Quoted(arg);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in.hRead;
  startup.hStdOutput = out.hWrite;
  startup.hStdError = err.hWrite;
  EXPECT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                             nullptr, &startup, &m_pStreams->process));
  for (HANDLE& hChildEnd : {std::ref(in.hRead), std::ref(out.hWrite), std::ref(err.hWrite)})
    Close(hChildEnd);
  if (to == StdoutTo::ClosedPipe)
    Close(out.hRead);
  CStreams& s = *m_pStreams;
  s.hInput = in.hWrite;
  s.feeder = std::thread([&s] { s.Feed(); });
  if (out.hRead != nullptr)
    s.outReader = std::thread([&s, h = out.hRead] { s.Drain(h, s.out); });
  s.errReader = std::thread([&s, h = err.hRead] { s.Drain(h, s.err); });
}

CCliProcess::~CCliProcess() {
  CStreams& s = *m_pStreams;
  if (s.process.hProcess != nullptr && WaitForSingleObject(s.process.hProcess, 0) == WAIT_TIMEOUT)
    TerminateProcess(s.process.hProcess, 1);
  {
    std::lock_guard lock(s.mutex);
    s.bInputEnded = true;
    s.changed.notify_all();
  }
  for (std::thread* pThread : {&s.feeder, &s.outReader, &s.errReader})
    if (pThread->joinable())
      pThread->join();
  Close(s.process.hProcess);
  Close(s.process.hThread);
}

void CCliProcess::Write(std::string_view text) {
  std::lock_guard lock(m_pStreams->mutex);
  m_pStreams->input.append(text);
  m_pStreams->changed.notify_all();
}

bool CCliProcess::WaitFor(std::string_view text, int timeoutMs) {
  CStreams& s = *m_pStreams;
  std::unique_lock lock(s.mutex);
  return s.changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
    return s.out.find(text) != std::string::npos || s.err.find(text) != std::string::npos;
  });
}

CliResult CCliProcess::Finish() {
  CStreams& s = *m_pStreams;
  {
    std::lock_guard lock(s.mutex);
    s.bInputEnded = true;
    s.changed.notify_all();
  }
  for (std::thread* pThread : {&s.feeder, &s.outReader, &s.errReader})
    if (pThread->joinable())
      pThread->join();
  WaitForSingleObject(s.process.hProcess, INFINITE);
  DWORD dwStatus = 0;
  GetExitCodeProcess(s.process.hProcess, &dwStatus);
  m_result = {static_cast<int>(dwStatus), s.out, s.err};
  return m_result;
}

CliResult RunCli(const std::vector<std::string>& args, std::string_view input, StdoutTo to) {
  CCliProcess cli(args, false, to);
  cli.Write(input);
  return cli.Finish();
}
