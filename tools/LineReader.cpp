#include "tools/LineReader.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/core/LocalMemory.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

CLineReader::CLineReader(int fd, std::size_t cbChunk) : m_fd(fd), m_buffer(cbChunk) {}

CLineReader::~CLineReader() {
  SecureZeroMemory(m_buffer.data(), m_buffer.size());
}

bool CLineReader::HasBufferedLine() const {
  if (m_bEof || m_nError != 0)
    return true;
  return std::memchr(m_buffer.data() + m_nScanned, '\n', m_nEnd - m_nScanned) != nullptr;
}

void CLineReader::WipeLine() {
  SecureZeroMemory(m_buffer.data() + m_nLine, m_nBegin - m_nLine);
  m_nLine = m_nBegin;
}

CLineReader::Result CLineReader::Next(std::string_view* pLine) {
  WipeLine();
  for (;;) {
    if (m_bAtStart && !SkipByteOrderMark()) {
      if (!Fill() && m_nError != 0)
        return Result::Error;
      continue;
    }
    const char* base = m_buffer.data();
    const auto* nl =
        static_cast<const char*>(std::memchr(base + m_nScanned, '\n', m_nEnd - m_nScanned));
    if (nl != nullptr) {
      std::size_t cb = static_cast<std::size_t>(nl - (base + m_nBegin));
      if (cb > 0 && base[m_nBegin + cb - 1] == '\r')
        --cb;
      *pLine = std::string_view(base + m_nBegin, cb);
      m_nBegin = m_nScanned = static_cast<std::size_t>(nl - base) + 1;
      return Result::Line;
    }
    m_nScanned = m_nEnd;
    if (m_nError != 0)
      return Result::Error;
    if (m_bEof) {
      if (m_nBegin == m_nEnd)
        return Result::End;
      *pLine = std::string_view(base + m_nBegin, m_nEnd - m_nBegin);
      m_nBegin = m_nScanned = m_nEnd;
      return Result::Line;
    }
    if (!Fill() && m_nError != 0)
      return Result::Error;
  }
}

bool CLineReader::SkipByteOrderMark() {
  // Decided as soon as a byte differs, so a short first line never waits
  // for more input.
  const std::size_t cb = std::min(m_nEnd, kByteOrderMark.size());
  const bool bMarkSoFar = std::string_view(m_buffer.data(), cb) == kByteOrderMark.substr(0, cb);
  if (bMarkSoFar && cb < kByteOrderMark.size() && !m_bEof && m_nError == 0)
    return false;
  if (bMarkSoFar && cb == kByteOrderMark.size())
    m_nLine = m_nBegin = m_nScanned = cb;
  m_bAtStart = false;
  return true;
}

bool CLineReader::Fill() {
  // Move the unfinished line to the front, and grow only when it fills
  // the whole buffer.
  if (m_nBegin > 0) {
    const std::size_t cbKept = m_nEnd - m_nBegin;
    std::memmove(m_buffer.data(), m_buffer.data() + m_nBegin, cbKept);
    SecureZeroMemory(m_buffer.data() + cbKept, m_nEnd - cbKept);
    m_nScanned -= m_nBegin;
    m_nEnd = cbKept;
    m_nLine = m_nBegin = 0;
  }
  if (m_nEnd == m_buffer.size()) {
    std::vector<char> larger(2 * m_buffer.size());
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
