// The command streams run in-process, so the engine's allocations can be
// made to fail for real: every failure is one refused line or, with
// --lenient, the dialog's "Unable to Decrypt".
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <string>

#include "CliProcess.h"
#include "cipher/AesTextCipher.h"
#include "cipher/BuiltinKey.h"
#include "platform/core/LocalMemory.h"
#include "tools/DecryptStream.h"
#include "tools/EncryptStream.h"
#include "tools/LineReader.h"
#include "tools/LineStream.h"
#include "tools/OutputWriter.h"

namespace {

struct StreamRun {
  int status = -1;
  std::string out;
  std::string err;
};

std::string ReadAll(int fd) {
  std::string text;
  char buf[4096];
  ssize_t n = 0;
  while ((n = read(fd, buf, sizeof buf)) > 0)
    text.append(buf, static_cast<std::size_t>(n));
  close(fd);
  return text;
}

// Runs a stream over input with the nth engine allocation failing (0: none);
// standard error is captured for the run.
template <typename MakeTransform>
StreamRun RunStream(const std::string& input, unsigned nFailAt, MakeTransform make) {
  int in[2], out[2], err[2];
  EXPECT_EQ(pipe(in), 0);
  EXPECT_EQ(pipe(out), 0);
  EXPECT_EQ(pipe(err), 0);
  EXPECT_EQ(write(in[1], input.data(), input.size()), static_cast<ssize_t>(input.size()));
  close(in[1]);
  const int savedErr = dup(STDERR_FILENO);
  dup2(err[1], STDERR_FILENO);

  StreamRun run;
  SetLocalAllocFailure(nFailAt);
  {
    CAesTextCipher cipher(g_szBuiltinPassPhrase, g_nBuiltinKeySize);
    auto transform = make(cipher);
    CLineReader reader(in[0]);
    COutputWriter writer(out[1], false);
    run.status = RunLineStream(reader, writer, transform);
  }
  SetLocalAllocFailure(0);

  dup2(savedErr, STDERR_FILENO);
  close(savedErr);
  close(err[1]);
  close(out[1]);
  close(in[0]);
  run.out = ReadAll(out[0]);
  run.err = ReadAll(err[0]);
  return run;
}

// Runs the stream with every allocation in turn failing; each run either
// completes or stops at one line with the lines before it printed.
template <typename MakeTransform>
void ExpectEachFailureRefusesOneLine(const std::string& input, const std::string& expected,
                                     MakeTransform make) {
  const std::vector<std::string> lines = SplitLines(expected);
  std::vector<bool> refused(lines.size(), false);
  for (unsigned n = 1; n <= 40; ++n) {
    const StreamRun run = RunStream(input, n, make);
    SCOPED_TRACE("allocation " + std::to_string(n));
    if (run.status == 0) {
      EXPECT_EQ(run.out, expected);
      continue;
    }
    ASSERT_EQ(run.status, 1);
    const std::size_t nPrinted = SplitLines(run.out).size();
    ASSERT_LT(nPrinted, lines.size());
    EXPECT_EQ(run.err, "velkast-cli: line " + std::to_string(nPrinted + 1) + ": out of memory\n");
    refused[nPrinted] = true;
  }
  for (std::size_t i = 0; i < lines.size(); ++i)
    EXPECT_TRUE(refused[i]) << "no failure reached line " << i + 1;
}

const std::string kTexts =
    "53877449c8ce5745eefc1ef26d760efa\ncf118df792bfaa9cfbd8e0d83cf2a039\n";

TEST(CliStreams, EngineFailuresRefuseTheLine) {
  const long before = GetLocalAllocCount();
  ExpectEachFailureRefusesOneLine("password\n\n", kTexts,
                                  [](CAesTextCipher& c) { return CLineEncryptor(c); });
  ExpectEachFailureRefusesOneLine(kTexts, "password\n\n",
                                  [](CAesTextCipher& c) { return CLineDecryptor(c, false); });
  EXPECT_EQ(GetLocalAllocCount(), before);
}

TEST(CliStreams, LenientShowsEngineFailuresAsTheDialogDoes) {
  bool bShown = false;
  for (unsigned n = 1; n <= 20; ++n) {
    const StreamRun run = RunStream(kTexts, n, [](CAesTextCipher& c) {
      return CLineDecryptor(c, true);
    });
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    const auto lines = SplitLines(run.out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0] == "password" || lines[0] == "Unable to Decrypt") << lines[0];
    EXPECT_TRUE(lines[1] == "" || lines[1] == "Unable to Decrypt") << lines[1];
    bShown = bShown || run.out.find("Unable to Decrypt") != std::string::npos;
  }
  EXPECT_TRUE(bShown);
}

}  // namespace
