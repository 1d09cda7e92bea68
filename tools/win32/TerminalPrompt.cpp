#include "tools/TerminalPrompt.h"

#include <io.h>

#include <cerrno>

#include "libvelkast/Utf8Codec.h"
#include "libvelkast/WideString.h"
#include "platform/core/LocalMemory.h"

namespace {

// What the control handler needs to put the console back. Written only
// while no handler is installed.
HANDLE g_hEchoOff = nullptr;
DWORD g_dwSavedMode = 0;

// Ctrl+C, Ctrl+Break, closing the console: the mode goes back, and the
// system's own handler, next in line, then ends the program.
BOOL WINAPI RestoreOnControl(DWORD) {
  if (g_hEchoOff != nullptr)
    SetConsoleMode(g_hEchoOff, g_dwSavedMode);
  return FALSE;
}

HANDLE InputOf(int fd) { return reinterpret_cast<HANDLE>(_get_osfhandle(fd)); }

void WriteToConsole(HANDLE hConsole, std::string_view ascii) {
  const WString wide(ascii.begin(), ascii.end());
  DWORD cchWritten = 0;
  WriteConsoleW(hConsole, wide.data(), static_cast<DWORD>(wide.size()), &cchWritten, nullptr);
}

// The console's own sign for the end of input: Ctrl+Z first on a line.
constexpr WCHAR kEndOfInput = 0x1A;

// The console keeps as much of a line as the first read asks for, less two
// for its "\r\n" (and at least 254 characters); it drops what is typed
// beyond that. One read asks for this much, so long lines fit.
constexpr DWORD kReadUnits = 16384;
constexpr std::size_t kLineLimit = kReadUnits - 2;

}  // namespace

CTerminalPrompt::CTerminalPrompt(int fdTerminal) : m_fdTerminal(fdTerminal) {
  // The console's screen, also when standard error goes elsewhere.
  m_hPrompt = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
}

CTerminalPrompt::~CTerminalPrompt() {
  Restore();
  if (m_hPrompt != INVALID_HANDLE_VALUE)
    CloseHandle(m_hPrompt);
}

void CTerminalPrompt::WritePrompt(std::string_view text) { WriteToConsole(m_hPrompt, text); }

bool CTerminalPrompt::EchoOff(std::string_view) {
  HANDLE hInput = InputOf(m_fdTerminal);
  if (!GetConsoleMode(hInput, &m_dwSavedMode)) {
    m_nError = EIO;
    return false;
  }
  g_hEchoOff = hInput;
  g_dwSavedMode = m_dwSavedMode;
  SetConsoleCtrlHandler(RestoreOnControl, TRUE);
  m_bEchoOff = true;
  // Whole lines, with the console's line editing, and Ctrl+C as a signal.
  const DWORD dwQuiet =
      (m_dwSavedMode | ENABLE_LINE_INPUT | ENABLE_PROCESSED_INPUT) & ~ENABLE_ECHO_INPUT;
  if (!SetConsoleMode(hInput, dwQuiet)) {
    m_nError = EIO;
    Restore();
    return false;
  }
  return true;
}

void CTerminalPrompt::Restore() {
  if (!m_bEchoOff)
    return;
  SetConsoleMode(InputOf(m_fdTerminal), m_dwSavedMode);
  SetConsoleCtrlHandler(RestoreOnControl, FALSE);
  g_hEchoOff = nullptr;
  m_bEchoOff = false;
}

std::string_view CTerminalPrompt::LineLimitText() {
  return "the console keeps at most 16382 characters of a line";
}

CTerminalPrompt::Result CTerminalPrompt::ReadLine(std::string& answer) {
  HANDLE hInput = InputOf(m_fdTerminal);
  WString line(kReadUnits, TEXT('\0'));
  std::size_t cchLine = 0;
  // What a console that hands a longer line over in parts gives past the
  // limit: read to the line's end, and dropped.
  WCHAR overflow[256];
  bool bCut = false;
  Result result = Result::Answered;
  for (;;) {
    const bool bRoom = cchLine < line.size();
    WCHAR* pInto = bRoom ? line.data() + cchLine : overflow;
    const DWORD cchRoom = bRoom ? static_cast<DWORD>(line.size() - cchLine) : 256;
    DWORD cchRead = 0;
    if (!ReadConsoleW(hInput, pInto, cchRoom, &cchRead, nullptr)) {
      m_nError = EIO;
      result = Result::Error;
      break;
    }
    if (cchRead == 0)
      break;
    bCut = bCut || !bRoom;
    cchLine += bRoom ? cchRead : 0;
    m_bLineEnded = pInto[cchRead - 1] == L'\n';
    if (m_bLineEnded)
      break;
  }
  SecureZeroMemory(overflow, sizeof overflow);
  line.resize(cchLine);
  if (result == Result::Answered && (line.empty() || line.front() == kEndOfInput))
    result = Result::NoAnswer;
  if (result == Result::Answered) {
    if (!line.empty() && line.back() == L'\n')
      line.pop_back();
    if (m_bLineEnded && !line.empty() && line.back() == L'\r')
      line.pop_back();
    if (bCut || line.size() >= kLineLimit)
      result = Result::Cut;
  }
  if (result == Result::Answered) {
    answer.clear();
    answer.reserve(3 * line.size());  // every UTF-16 unit takes at most three bytes
    AppendUtf8(line, answer);
  }
  SecureZeroMemory(line.data(), line.capacity() * sizeof(WCHAR));
  return result;
}
