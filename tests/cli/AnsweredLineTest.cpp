// Nothing of an answered password stays in the process while velkast-cli
// waits for more input. The streams run here, in a thread on pipes, and this
// process's memory is searched once the thread has answered the password.
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>
#include <thread>

#include "cipher/BuiltinKey.h"
#include "libvelkast/TextLimits.h"
#include "platform/core/LocalMemory.h"
#include "tools/DecryptStream.h"
#include "tools/EncryptStream.h"
#include "tools/LineCipher.h"
#include "tools/LineReader.h"
#include "tools/OutputWriter.h"

namespace {

// The password is made one character at a time and never held whole by the
// test, so a copy found in memory is one the streams left behind.
constexpr std::size_t kPasswordLength = 40;
constexpr int kDeadlineMs = 30000;
char PasswordChar(std::size_t i) { return static_cast<char>('a' + (i * 7 + 3) % 26); }
constexpr std::string_view kText =
    "a37c6da659b9330f6f2ea6940a8cc5eb62a506134b82744ed484c80cb6c1e86d"
    "0349be90cb58b7bb467dddcb9ed6e72c";

// The password at p, one byte per character (its 8-bit and UTF-8 forms) or
// two (UTF-16). Reads memory the sanitizer may hold poisoned.
[[gnu::no_sanitize_address]] bool PasswordAt(const unsigned char* p, std::size_t step) {
  for (std::size_t i = 0; i < kPasswordLength; ++i)
    if (p[i * step] != PasswordChar(i) || (step == 2 && p[i * 2 + 1] != 0))
      return false;
  return true;
}

// Copies of the password in this process's private writable memory; the
// sanitizer's shadow, terabytes of reserved zeros, is left out.
[[gnu::no_sanitize_address]] int CountPasswordCopies() {
  std::ifstream maps("/proc/self/maps");
  int nCopies = 0;
  for (std::string line; std::getline(maps, line);) {
    unsigned long begin = 0, end = 0;
    char perms[5] = {};
    if (std::sscanf(line.c_str(), "%lx-%lx %4s", &begin, &end, perms) != 3 ||
        std::string_view(perms) != "rw-p" || end - begin > (1ul << 30))
      continue;
    const auto* pEnd = reinterpret_cast<const unsigned char*>(end);
    for (auto* p = reinterpret_cast<const unsigned char*>(begin); p + kPasswordLength <= pEnd; ++p)
      nCopies += PasswordAt(p, 1) + (p + 2 * kPasswordLength <= pEnd && PasswordAt(p, 2));
  }
  return nCopies;
}

// A long-running stream waits for its next line, or for its reader to take
// output (3000 empty lines, read in the same chunk as the password, give far
// more answers than the pipe holds). Once answers come out, the password's
// line has been answered, and no copy of it may stay while the stream waits:
// one that stays for seconds would stay as long as the stream runs.
TEST(CliMemory, AnAnsweredPasswordLeavesNoCopyWhileTheStreamWaits) {
  std::signal(SIGPIPE, SIG_IGN);
  const struct { bool bEncrypt, bBlocked; } cases[] = {{true, false}, {false, false}, {true, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.bEncrypt << c.bBlocked);
    int in[2], out[2];
    ASSERT_TRUE(pipe(in) == 0 && pipe(out) == 0);
    fcntl(out[1], F_SETPIPE_SZ, 4096);
    std::thread stream([&] {
      CLineCipher cipher(g_szBuiltinPassPhrase, g_nBuiltinKeySize);
      CLineEncryptor encryptor(cipher);
      CLineDecryptor decryptor(cipher, false);
      CLineTransform& transform = c.bEncrypt ? static_cast<CLineTransform&>(encryptor) : decryptor;
      CLineReader reader(in[0], kMaxTextBytes);
      COutputWriter writer(out[1], false);
      RunLineStream(reader, writer, transform);
      close(out[1]);
    });

    const std::size_t cchSecret = c.bEncrypt ? kPasswordLength : kText.size();
    std::string chunk(cchSecret + (c.bBlocked ? 3001 : 1), '\n');
    for (std::size_t i = 0; i < cchSecret; ++i)
      chunk[i] = c.bEncrypt ? PasswordChar(i) : kText[i];
    EXPECT_EQ(write(in[1], chunk.data(), chunk.size()), static_cast<ssize_t>(chunk.size()));
    SecureZeroMemory(chunk.data(), chunk.size());
    pollfd answers{out[0], POLLIN, 0};
    EXPECT_EQ(poll(&answers, 1, kDeadlineMs), 1) << "no answer within the deadline";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    int nCopies = CountPasswordCopies();
    while (nCopies != 0 && std::chrono::steady_clock::now() < deadline)
      nCopies = CountPasswordCopies();
    EXPECT_EQ(nCopies, 0);

    close(in[1]);
    char buf[4096];
    ssize_t n = 1;
    while (n > 0 && poll(&answers, 1, kDeadlineMs) == 1)
      n = read(out[0], buf, sizeof buf);
    EXPECT_EQ(n, 0) << "the stream did not end within the deadline";
    SecureZeroMemory(buf, sizeof buf);  // it held the answers, passwords among them
    close(out[0]);                      // a stream still writing then fails, and ends
    stream.join();
    close(in[0]);
  }
}

}  // namespace
