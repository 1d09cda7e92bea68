// Buffered writing of result lines to a file descriptor, with every write
// error kept: the first one stops all further output and is reported by the
// caller, so a closed pipe or a full disk never passes for success.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "libvelkast/WideString.h"

class COutputWriter {
 public:
  // bFlushEachLine: hand every line to the system as soon as it is ended
  // (for a terminal, where someone waits for each result).
  COutputWriter(int fd, bool bFlushEachLine, std::size_t cbBuffer = 64 * 1024);
  ~COutputWriter();  // wipes the buffer: it held passwords
  COutputWriter(const COutputWriter&) = delete;
  COutputWriter& operator=(const COutputWriter&) = delete;

  void Append(std::string_view text);
  // Appends UTF-16 text as UTF-8.
  void AppendUtf8(WStringView text);
  // Appends ASCII-only UTF-16 text (hex digits) byte for byte.
  void AppendAscii(WStringView text);
  // Ends the line; flushes when asked to, or when the buffer is full.
  void EndLine();

  // Writes out everything buffered. False once any write has failed.
  bool Flush();
  bool Failed() const { return m_nError != 0; }
  int Error() const { return m_nError; }

 private:
  void FlushIfFull();
  // Flushes when cb more bytes would not fit in the buffer as it is.
  void MakeRoom(std::size_t cb);

  int m_fd;
  bool m_bFlushEachLine;
  std::size_t m_cbThreshold;
  std::string m_buffer;
  int m_nError = 0;
};
