#include "tools/LineReader.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/core/LocalMemory.h"

CLineReader::CLineReader(int fd, std::size_t cbMaxLine, std::size_t cbChunk)
    : m_fd(fd), m_cbMaxLine(cbMaxLine), m_buffer(cbChunk) {}

CLineReader::~CLineReader() { SecureZeroMemory(m_buffer.data(), m_buffer.size()); }

bool CLineReader::HasBufferedLine() const {
  if (m_bEof || m_nError != 0)
    return true;
  return std::memchr(m_buffer.data() + m_nScanned, '\n', m_nEnd - m_nScanned) != nullptr;
}

void CLineReader::WipeLine() {
  SecureZeroMemory(m_buffer.data() + m_nLine, m_nBegin - m_nLine);
  m_nLine = m_nBegin;
}

CLineReader::Result CLineReader::OverLimit(std::string_view* pLine) {
  if (m_cbGiven >= m_cbMaxLine)
    return Result::TooLong;
  m_cbGiven = m_cbMaxLine;
  *pLine = std::string_view(m_buffer.data() + m_nBegin, m_cbMaxLine);
  return Result::Partial;
}

CLineReader::Result CLineReader::TakeLine(std::size_t nEnd, bool bNewline,
                                          std::string_view* pLine) {
  std::size_t cb = nEnd - m_nBegin;
  if (bNewline && cb > 0 && m_buffer[nEnd - 1] == '\r')
    --cb;
  if (cb > m_cbMaxLine)
    return OverLimit(pLine);
  *pLine = std::string_view(m_buffer.data() + m_nBegin, cb);
  m_nBegin = m_nScanned = nEnd + (bNewline ? 1 : 0);
  m_cbGiven = 0;
  return Result::Line;
}

bool CLineReader::DecideEncoding() {
  const std::string_view first(m_buffer.data(), m_nEnd);
  m_nEncoding = SniffInputEncoding(first, m_bEof || m_nError != 0);
  if (m_nEncoding == InputEncoding::Utf8WithMark)
    m_nLine = m_nBegin = m_nScanned = 3;
  return m_nEncoding != InputEncoding::Undecided;
}

CLineReader::Result CLineReader::Next(std::string_view* pLine) {
  WipeLine();
  for (;;) {
    if (m_nEncoding == InputEncoding::Undecided && !DecideEncoding()) {
      if (!Fill() && m_nError != 0)
        return Result::Error;
      continue;
    }
    if (m_nEncoding == InputEncoding::Utf16LE || m_nEncoding == InputEncoding::Utf16BE)
      return Result::Utf16;
    const char* base = m_buffer.data();
    const auto* nl =
        static_cast<const char*>(std::memchr(base + m_nScanned, '\n', m_nEnd - m_nScanned));
    if (nl != nullptr)
      return TakeLine(static_cast<std::size_t>(nl - base), true, pLine);
    m_nScanned = m_nEnd;
    if (m_nError != 0)
      return Result::Error;
    if (m_bEof)
      return m_nBegin == m_nEnd ? Result::End : TakeLine(m_nEnd, false, pLine);
    // The open line, without a "\r" at its end that may yet belong to its
    // line end: given as soon as it has grown, so it is judged as it comes.
    std::size_t cb = m_nEnd - m_nBegin;
    if (cb > 0 && base[m_nEnd - 1] == '\r')
      --cb;
    if (cb > m_cbMaxLine)
      return OverLimit(pLine);
    if (cb > m_cbGiven) {
      m_cbGiven = cb;
      *pLine = std::string_view(base + m_nBegin, cb);
      return Result::Partial;
    }
    if (!Fill() && m_nError != 0)
      return Result::Error;
  }
}

bool CLineReader::Fill() {
  // Move the open line to the front, and grow only when it fills the whole
  // buffer: never past what a line of the limit with its "\r\n" needs (or
  // the byte order mark, which comes before any line).
  if (m_nBegin > 0) {
    const std::size_t cbKept = m_nEnd - m_nBegin;
    std::memmove(m_buffer.data(), m_buffer.data() + m_nBegin, cbKept);
    SecureZeroMemory(m_buffer.data() + cbKept, m_nEnd - cbKept);
    m_nScanned -= m_nBegin;
    m_nEnd = cbKept;
    m_nLine = m_nBegin = 0;
  }
  if (m_nEnd == m_buffer.size()) {
    const std::size_t cbMost = std::max<std::size_t>(m_cbMaxLine + 2, 3);
    std::vector<char> larger(std::min(2 * m_buffer.size(), cbMost));
    std::memcpy(larger.data(), m_buffer.data(), m_nEnd);
    SecureZeroMemory(m_buffer.data(), m_buffer.size());
    m_buffer.swap(larger);
  }
  for (;;) {
    const ssize_t n = ::read(m_fd, m_buffer.data() + m_nEnd, m_buffer.size() - m_nEnd);
    if (n > 0) {
      m_nEnd += static_cast<std::size_t>(n);
      return true;
    }
    if (n == 0) {
      m_bEof = true;
      return false;
    }
    if (errno != EINTR) {
      m_nError = errno;
      return false;
    }
  }
}
