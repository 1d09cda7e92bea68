#include "tools/OutputWriter.h"

#include <algorithm>
#include <cerrno>

#include "libvelkast/Utf8Codec.h"
#include "platform/core/LocalMemory.h"
#include "tools/StandardStreams.h"

COutputWriter::COutputWriter(int fd, bool bFlushEachLine, std::size_t cbBuffer)
    : m_fd(fd), m_bFlushEachLine(bFlushEachLine), m_cbThreshold(cbBuffer) {
  // Room for a full buffer and a piece of a long result more; it never grows.
  m_buffer.reserve(2 * cbBuffer);
}

COutputWriter::~COutputWriter() { SecureZeroMemory(m_buffer.data(), m_buffer.capacity()); }

// A long result goes out in pieces: the buffer never grows, so no copy of
// a password is left behind by a reallocation, and memory stays bounded.
void COutputWriter::MakeRoom(std::size_t cb) {
  if (m_buffer.size() + cb > m_buffer.capacity())
    Flush();
}

void COutputWriter::Append(std::string_view text) {
  while (!text.empty() && !Failed()) {
    MakeRoom(std::min(text.size(), m_cbThreshold));
    const std::size_t cb = std::min(text.size(), m_buffer.capacity() - m_buffer.size());
    m_buffer.append(text.substr(0, cb));
    text.remove_prefix(cb);
  }
}

void COutputWriter::AppendUtf8(WStringView text) {
  // Pieces of whole characters, each at most three bytes a unit.
  const std::size_t cchPiece = m_cbThreshold / 3;
  while (!text.empty() && !Failed()) {
    std::size_t cch = std::min(text.size(), cchPiece);
    if (cch < text.size() && text[cch - 1] >= 0xD800 && text[cch - 1] <= 0xDBFF)
      --cch;  // not between the halves of a surrogate pair
    MakeRoom(3 * cch);
    ::AppendUtf8(text.substr(0, cch), m_buffer);
    text.remove_prefix(cch);
  }
}

void COutputWriter::AppendAscii(WStringView text) {
  while (!text.empty() && !Failed()) {
    const std::size_t cch = std::min(text.size(), m_cbThreshold);
    MakeRoom(cch);
    const std::size_t cbOld = m_buffer.size();
    m_buffer.resize(cbOld + cch);
    std::transform(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(cch),
                   m_buffer.begin() + static_cast<std::ptrdiff_t>(cbOld),
                   [](WCHAR ch) { return static_cast<char>(ch); });
    text.remove_prefix(cch);
  }
}

void COutputWriter::EndLine() {
  if (Failed())
    return;
  MakeRoom(1);
  m_buffer.push_back('\n');
  if (m_bFlushEachLine)
    Flush();
  else
    FlushIfFull();
}

void COutputWriter::FlushIfFull() {
  if (m_buffer.size() >= m_cbThreshold)
    Flush();
}

bool COutputWriter::Flush() {
  std::size_t cbDone = 0;
  while (!Failed() && cbDone < m_buffer.size()) {
    const long n = WriteBytes(m_fd, std::string_view(m_buffer).substr(cbDone));
    if (n >= 0)
      cbDone += static_cast<std::size_t>(n);
    else if (errno != EINTR)
      m_nError = errno;
  }
  SecureZeroMemory(m_buffer.data(), m_buffer.size());
  m_buffer.clear();
  return !Failed();
}
