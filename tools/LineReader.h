// Reads a file descriptor in chunks and hands out its lines, and the start
// of a line still coming, so the caller can refuse a line by its first bad
// byte without waiting for its end.
//
// A line ends at "\n", and one "\r" right before it is dropped too. The last
// line needs no "\n". One UTF-8 byte order mark at the very start of the
// input is skipped (editors on Windows often begin a file with one); input
// that begins as UTF-16 does is not read at all. Nothing else is trimmed. A
// line longer than the limit is refused as soon as it passes it, so the
// buffer never holds more than the limit and a chunk. Lines are views into
// the buffer, so reading allocates nothing per line.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "tools/InputEncoding.h"

class CLineReader {
 public:
  enum class Result {
    Line,     // a whole line
    Partial,  // the start of a line, longer than the start given before
    TooLong,  // the line passes cbMaxLine bytes; every byte within it was given
    Utf16,    // the input is UTF-16: Encoding() says which
    End,
    Error,
  };

  CLineReader(int fd, std::size_t cbMaxLine, std::size_t cbChunk = 64 * 1024);
  ~CLineReader();  // wipes the buffer: it held passwords
  CLineReader(const CLineReader&) = delete;
  CLineReader& operator=(const CLineReader&) = delete;

  // The next line, or the start of one, valid until the next call, which
  // wipes a whole line first. After Partial the next call goes on with the
  // same line. A start never ends in a "\r" that may yet belong to the line
  // end. Error leaves errno in Error().
  Result Next(std::string_view* pLine);

  // Wipes the line Next returned last, with its line end.
  void WipeLine();

  // True when Next can give a whole line (or the end) without reading, and
  // so without blocking.
  bool HasBufferedLine() const;

  int Error() const { return m_nError; }
  InputEncoding Encoding() const { return m_nEncoding; }
  std::size_t MaxLine() const { return m_cbMaxLine; }

 private:
  // Reads once more into the buffer; false at the end of input or on error.
  bool Fill();
  // False while the bytes read so far could still start a byte order mark
  // or UTF-16.
  bool DecideEncoding();
  // The line that ends at nEnd (at a "\n" when bNewline).
  Result TakeLine(std::size_t nEnd, bool bNewline, std::string_view* pLine);
  // For the open line past the limit: its start up to the limit, then TooLong.
  Result OverLimit(std::string_view* pLine);

  int m_fd;
  std::size_t m_cbMaxLine;
  std::vector<char> m_buffer;
  std::size_t m_nLine = 0;     // start of the line returned last
  std::size_t m_nBegin = 0;    // start of the unread data
  std::size_t m_nEnd = 0;      // end of the unread data
  std::size_t m_nScanned = 0;  // data before this holds no "\n"
  std::size_t m_cbGiven = 0;   // how much of the open line Partial gave
  InputEncoding m_nEncoding = InputEncoding::Undecided;
  bool m_bEof = false;
  int m_nError = 0;
};
