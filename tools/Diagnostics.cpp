#include "tools/Diagnostics.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/StandardStreams.h"

namespace {

constexpr int kStandardError = 2;

// One write, so concurrent writers to the same stream never split a line.
void WriteLine(const std::string& line) {
  std::size_t done = 0;
  while (done < line.size()) {
    const long n = WriteBytes(kStandardError, std::string_view(line).substr(done));
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      return;  // nowhere left to report to
    done += static_cast<std::size_t>(n);
  }
}

}  // namespace

void ReportError(std::string_view message) {
  std::string line;
  line.append(kProgramName).append(": ").append(message).push_back('\n');
  WriteLine(line);
}

void ReportLineError(std::size_t nLine, std::string_view message) {
  std::string line;
  line.append(kProgramName).append(": line ").append(std::to_string(nLine)).append(": ");
  line.append(message).push_back('\n');
  WriteLine(line);
}

void ReportSystemError(std::string_view what, int err) {
  std::string message(what);
  message.append(": ").append(std::strerror(err));
  ReportError(message);
}

std::string CodePointName(char32_t cp) {
  char sz[16];
  std::snprintf(sz, sizeof sz, "U+%04X", static_cast<unsigned>(cp));
  return sz;
}

std::string CharacterFaultText(const CPasswordFault& fault) {
  if (fault.nStatus == VELKAST_OK)
    return {};
  std::string text = "character " + std::to_string(fault.nChar) + ", " + CodePointName(fault.cp);
  if (fault.cp == 0)
    return text + ", a NUL, would end the password early";
  return text + ", is " + velkast_status_message(fault.nStatus);
}
