// velkast-cli.exe with its standard input on a pipe that the test writes as
// it goes, and its standard output and error in files, so the program never
// waits on the test to read them.
#include "tests/cli/CliProcess.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "platform/core/WinTypes.h"

namespace {

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
  return quoted.append(2 * nBackslashes, L'\\') + L"\"";
}

std::wstring TempFileName() {
  WCHAR szDir[MAX_PATH], szFile[MAX_PATH];
  GetTempPathW(MAX_PATH, szDir);
  GetTempFileNameW(szDir, L"cli", 0, szFile);
  return szFile;
}

HANDLE Inheritable(HANDLE h) {
  SetHandleInformation(h, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  return h;
}

std::string FileText(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

struct CCliProcess::CStreams {
  PROCESS_INFORMATION process{};
  HANDLE hInput = nullptr;
  std::wstring outPath = TempFileName(), errPath = TempFileName();
  bool bOutToFile = true;
};

CCliProcess::CCliProcess(const std::vector<std::string>& args, bool bTerminal, StdoutTo to)
    : m_pStreams(std::make_unique<CStreams>()) {
  EXPECT_FALSE(bTerminal) << "no terminal on this system";
  EXPECT_NE(to, StdoutTo::DevFull) << "no /dev/full on this system";
  CStreams& s = *m_pStreams;
  HANDLE hChildIn = nullptr, hPipeOut = nullptr;
  CreatePipe(&hChildIn, &s.hInput, nullptr, 0);
  HANDLE hChildOut;
  if (to == StdoutTo::ClosedPipe) {
    CreatePipe(&hPipeOut, &hChildOut, nullptr, 0);
    CloseHandle(hPipeOut);  // nobody will read what the program writes
    s.bOutToFile = false;
  } else {
    hChildOut = CreateFileW(s.outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            CREATE_ALWAYS, 0, nullptr);
  }
  HANDLE hChildErr = CreateFileW(s.errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                 CREATE_ALWAYS, 0, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = Inheritable(hChildIn);
  startup.hStdOutput = Inheritable(hChildOut);
  startup.hStdError = Inheritable(hChildErr);
  std::wstring commandLine = Quoted(VELKAST_CLI_PATH);
  for (const std::string& arg : args)
    commandLine += L" " + Quoted(arg);
  EXPECT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                             nullptr, &startup, &s.process));
  for (HANDLE h : {hChildIn, hChildOut, hChildErr})
    CloseHandle(h);
}

CCliProcess::~CCliProcess() {
  CStreams& s = *m_pStreams;
  if (s.hInput != nullptr)
    CloseHandle(s.hInput);
  if (WaitForSingleObject(s.process.hProcess, 0) == WAIT_TIMEOUT)
    TerminateProcess(s.process.hProcess, 1);
  WaitForSingleObject(s.process.hProcess, INFINITE);
  CloseHandle(s.process.hProcess);
  CloseHandle(s.process.hThread);
  DeleteFileW(s.outPath.c_str());
  DeleteFileW(s.errPath.c_str());
}

// The program reads as the test writes; once it has stopped reading, what
// is left to write is dropped.
void CCliProcess::Write(std::string_view text) {
  DWORD cbWritten = 0;
  WriteFile(m_pStreams->hInput, text.data(), static_cast<DWORD>(text.size()), &cbWritten, nullptr);
}

bool CCliProcess::WaitFor(std::string_view text, int timeoutMs) {
  const CStreams& s = *m_pStreams;
  for (int nWaited = 0; nWaited <= timeoutMs; nWaited += 10) {
    if (FileText(s.outPath).find(text) != std::string::npos ||
        FileText(s.errPath).find(text) != std::string::npos)
      return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

CliResult CCliProcess::Finish() {
  CStreams& s = *m_pStreams;
  CloseHandle(std::exchange(s.hInput, nullptr));
  WaitForSingleObject(s.process.hProcess, INFINITE);
  DWORD dwStatus = 0;
  GetExitCodeProcess(s.process.hProcess, &dwStatus);
  m_result = {static_cast<int>(dwStatus), s.bOutToFile ? FileText(s.outPath) : "", FileText(s.errPath)};
  return m_result;
}

CliResult RunCli(const std::vector<std::string>& args, std::string_view input, StdoutTo to) {
  CCliProcess cli(args, false, to);
  cli.Write(input);
  return cli.Finish();
}
