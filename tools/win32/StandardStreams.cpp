#include "tools/StandardStreams.h"

#include <fcntl.h>
#include <io.h>

#include <cerrno>

#include "libvelkast/Utf8Codec.h"
#include "libvelkast/WideString.h"
#include "platform/core/LocalMemory.h"

namespace {

HANDLE HandleOf(int fd) { return reinterpret_cast<HANDLE>(_get_osfhandle(fd)); }

HANDLE ConsoleOf(int fd) {
  HANDLE hStream = HandleOf(fd);
  DWORD dwMode = 0;
  return hStream != INVALID_HANDLE_VALUE && GetConsoleMode(hStream, &dwMode) ? hStream : nullptr;
}

// The C library's name for why a write failed, as on other systems.
int ErrnoOf(DWORD dwError) {
  switch (dwError) {
    case ERROR_BROKEN_PIPE:  // the reader closed its end
    case ERROR_NO_DATA:
    case ERROR_PIPE_NOT_CONNECTED: return EPIPE;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_INVALID_HANDLE: return EBADF;
    default: return EIO;
  }
}

}  // namespace

void PrepareStandardStreams() {
  for (const int fd : {0, 1, 2})
    _setmode(fd, _O_BINARY);
}

bool IsTerminal(int fd) { return ConsoleOf(fd) != nullptr; }

long WriteBytes(int fd, std::string_view text) {
  HANDLE hConsole = ConsoleOf(fd);
  if (hConsole == nullptr) {
    DWORD cbWritten = 0;
    const DWORD cb = static_cast<DWORD>(text.size());
    if (!WriteFile(HandleOf(fd), text.data(), cb, &cbWritten, nullptr)) {
      errno = ErrnoOf(GetLastError());
      return -1;
    }
    return static_cast<long>(cbWritten);
  }
  // A console shows UTF-16; bytes would pass through its code page.
  WString wide;
  DecodeUtf8Lenient(text, wide);
  DWORD cchWritten = 0;
  const BOOL bWritten =
      WriteConsoleW(hConsole, wide.data(), static_cast<DWORD>(wide.size()), &cchWritten, nullptr);
  SecureZeroMemory(wide.data(), wide.capacity() * sizeof(WCHAR));
  if (!bWritten) {
    errno = EIO;
    return -1;
  }
  return static_cast<long>(text.size());
}

bool MayEndInShellBlank(int fd) { return GetFileType(HandleOf(fd)) == FILE_TYPE_PIPE; }
