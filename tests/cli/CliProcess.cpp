// What running velkast-cli comes to on either system: its arguments, the
// failure that names it, waiting for its output, and one run with its whole
// input.
#include "tests/cli/CliProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <iterator>
#include <sstream>
#include <thread>

std::vector<std::string> CCliProcess::Words() const {
  std::istringstream in(m_strArgs);
  return {std::istream_iterator<std::string>(in), {}};
}

void CCliProcess::Kill(std::string_view what) {
  ADD_FAILURE() << "velkast-cli " << m_strArgs << " " << what << " within " << kDeadlineMs / 1000
                << " s; killed";
  Terminate();
}

bool CCliProcess::WaitFor(std::string_view text, int timeoutMs) {
  for (int nWaited = 0; nWaited <= timeoutMs; nWaited += 10) {
    ReadOutput();
    if (m_result.out.find(text) != std::string::npos ||
        m_result.err.find(text) != std::string::npos)
      return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

CliResult RunCli(std::string_view args, std::string_view input, StdoutTo to) {
  CCliProcess cli(args, false, to);
  cli.Write(input);
  return cli.Finish();
}
