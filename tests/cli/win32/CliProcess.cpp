// velkast-cli.exe with its standard input on a pipe that the test writes as
// it goes, and its standard output and error in files, so the program never
// waits on the test to read them.
#include "tests/cli/CliProcess.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>

namespace {

std::wstring TempFileName() {
  WCHAR szDir[MAX_PATH], szFile[MAX_PATH];
  GetTempPathW(MAX_PATH, szDir);
  GetTempFileNameW(szDir, L"cli", 0, szFile);
  return szFile;
}

HANDLE CreateForChild(const std::wstring& path) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0,
                     nullptr);
}

std::string FileText(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

CCliProcess::CCliProcess(std::string_view args, bool bTerminal, StdoutTo to)
    : m_strArgs(args), m_outPath(TempFileName()), m_errPath(TempFileName()) {
  EXPECT_FALSE(bTerminal || to == StdoutTo::DevFull) << "no terminal and no /dev/full here";
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE hChildIn = nullptr, hChildOut = nullptr, hUnread = nullptr;
  CreatePipe(&hChildIn, &m_hInput, &inherit, 0);
  SetHandleInformation(m_hInput, HANDLE_FLAG_INHERIT, 0);
  if (to == StdoutTo::ClosedPipe) {
    CreatePipe(&hUnread, &hChildOut, &inherit, 0);
    CloseHandle(hUnread);  // nobody will read what the program writes
    DeleteFileW(std::exchange(m_outPath, L"").c_str());
  } else {
    hChildOut = CreateForChild(m_outPath);
  }
  HANDLE hChildErr = CreateForChild(m_errPath);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  std::tie(startup.hStdInput, startup.hStdOutput, startup.hStdError) =
      std::tuple(hChildIn, hChildOut, hChildErr);
  // The arguments are plain words: quoted, they need no escapes.
  std::wstring commandLine = L"\"" VELKAST_CLI_PATH L"\"";
  for (const std::string& word : Words())
    commandLine += L" \"" + std::wstring(word.begin(), word.end()) + L"\"";
  // Wine has been seen to refuse a process now and then while others start
  // and end beside it; a second try is not the program's doing.
  auto start = [&] {
    return CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                          &startup, &m_process);
  };
  bool bStarted = start();
  for (DWORD dwWait = 200; !bStarted && dwWait <= 400; dwWait += 200) {
    Sleep(dwWait);
    bStarted = start();
  }
  EXPECT_TRUE(bStarted) << "velkast-cli.exe did not start: error " << GetLastError();
  for (HANDLE h : {hChildIn, hChildOut, hChildErr})
    CloseHandle(h);
}

CCliProcess::~CCliProcess() {
  if (m_hInput != nullptr)
    CloseHandle(m_hInput);
  TerminateProcess(m_process.hProcess, 1);  // no effect once it has ended
  WaitForSingleObject(m_process.hProcess, kDeadlineMs);
  CloseHandle(m_process.hProcess);
  CloseHandle(m_process.hThread);
  DeleteFileW(m_outPath.c_str());
  DeleteFileW(m_errPath.c_str());
}

void CCliProcess::Terminate() { TerminateProcess(m_process.hProcess, 1); }

// The program reads as the test writes; once it has stopped reading, what
// is left to write is dropped. A pipe write has no deadline of its own: it
// runs beside, and a program that takes none of it is ended, which ends it.
void CCliProcess::Write(std::string_view text) {
  auto written = std::async(std::launch::async, [&] {
    DWORD cbWritten = 0;
    WriteFile(m_hInput, text.data(), static_cast<DWORD>(text.size()), &cbWritten, nullptr);
  });
  if (written.wait_for(std::chrono::milliseconds(kDeadlineMs)) == std::future_status::timeout)
    Kill("took no input");
}

void CCliProcess::ReadOutput() {
  m_result.out = FileText(m_outPath);
  m_result.err = FileText(m_errPath);
}

CliResult CCliProcess::Finish() {
  CloseHandle(std::exchange(m_hInput, nullptr));
  if (WaitForSingleObject(m_process.hProcess, kDeadlineMs) == WAIT_TIMEOUT) {
    Kill("did not end");
    WaitForSingleObject(m_process.hProcess, kDeadlineMs);
  }
  DWORD dwStatus = 0;
  GetExitCodeProcess(m_process.hProcess, &dwStatus);
  m_result.status = static_cast<int>(dwStatus);
  ReadOutput();
  return m_result;
}
