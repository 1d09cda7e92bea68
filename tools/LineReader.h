// Reads a file descriptor in large chunks and hands out its lines.
//
// A line ends at "\n", and one "\r" right before it is dropped too. The last
// line needs no "\n". One UTF-8 byte order mark at the very start of the
// input is skipped (editors on Windows often begin a file with one);
// nothing else is trimmed. The buffer only grows for a
// line longer than it; lines are views into it, so reading allocates nothing
// per line.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

class CLineReader {
 public:
  enum class Result { Line, End, Error };

  explicit CLineReader(int fd, std::size_t cbChunk = 64 * 1024);
  ~CLineReader();  // wipes the buffer: it held passwords
  CLineReader(const CLineReader&) = delete;
  CLineReader& operator=(const CLineReader&) = delete;

  // The next line, valid until the next call, which wipes it first. Error
  // leaves errno in Error().
  Result Next(std::string_view* pLine);

  // Wipes the line Next returned last, with its line end.
  void WipeLine();

  // True when Next can answer without reading (and so without blocking).
  bool HasBufferedLine() const;

  int Error() const { return m_nError; }

 private:
  // Reads once more into the buffer; false at the end of input or on error.
  bool Fill();
  // Skips a byte order mark at the start of the input. False while the
  // bytes read so far could still be the start of one.
  bool SkipByteOrderMark();

  int m_fd;
  std::vector<char> m_buffer;
  std::size_t m_nLine = 0;     // start of the line returned last
  std::size_t m_nBegin = 0;    // start of the unread data
  std::size_t m_nEnd = 0;      // end of the unread data
  std::size_t m_nScanned = 0;  // data before this holds no "\n"
  bool m_bEof = false;
  bool m_bAtStart = true;  // whether the input begins with a byte order mark is open
  int m_nError = 0;
};
