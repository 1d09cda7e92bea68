#include "tools/OutputWriter.h"

#include <cerrno>

#include "platform/core/LocalMemory.h"
#include "tools/StandardStreams.h"
#include "tools/Utf8LineCodec.h"

COutputWriter::COutputWriter(int fd, bool bFlushEachLine, std::size_t cbBuffer)
    : m_fd(fd), m_bFlushEachLine(bFlushEachLine), m_cbThreshold(cbBuffer) {
  // Room for a full buffer plus one long line, so appends rarely reallocate.
  m_buffer.reserve(2 * cbBuffer);
}

COutputWriter::~COutputWriter() {
  SecureZeroMemory(m_buffer.data(), m_buffer.capacity());
}

void COutputWriter::Append(std::string_view text) {
  if (!Failed())
    m_buffer.append(text);
}

void COutputWriter::AppendUtf8(WStringView text) {
  if (!Failed())
    ::AppendUtf8(text, m_buffer);
}

void COutputWriter::AppendAscii(WStringView text) {
  if (Failed())
    return;
  const std::size_t cbOld = m_buffer.size();
  m_buffer.resize(cbOld + text.size());
  char* p = m_buffer.data() + cbOld;
  for (const WCHAR ch : text)
    *p++ = static_cast<char>(ch);
}

void COutputWriter::EndLine() {
  if (Failed())
    return;
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
