// Nothing of an answered password stays in the process while velkast-cli
// waits for more input. The streams run here, in a thread on pipes, and this
// process's memory is searched once the thread waits for its next line.
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>
#include <thread>

#include "cipher/BuiltinKey.h"
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
char PasswordChar(std::size_t i) { return static_cast<char>('a' + (i * 7 + 3) % 26); }
constexpr std::string_view kText =
    "a37c6da659b9330f6f2ea6940a8cc5eb62a506134b82744ed484c80cb6c1e86d"
    "0349be90cb58b7bb467dddcb9ed6e72c";

// The password at p, one byte per character (its 8-bit and UTF-8 forms) or
// two (UTF-16). Reads memory the sanitizer may hold poisoned.
[[gnu::no_sanitize_address]] bool PasswordAt(const unsigned char* p, std::size_t step) {
  for (std::size_t i = 0; i < kPasswordLength; ++i) {
    if (p[i * step] != PasswordChar(i) || (step == 2 && p[i * 2 + 1] != 0))
      return false;
  }
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

// Whether thread tid of this process sleeps (here: blocked reading its pipe).
bool IsSleeping(pid_t tid) {
  std::ifstream stat("/proc/self/task/" + std::to_string(tid) + "/stat");
  std::string text;
  std::getline(stat, text);
  const std::size_t paren = text.rfind(')');
  return paren != std::string::npos && text.compare(paren, 3, ") S") == 0;
}

// Reads one answer line from fd and compares it with the password or its
// text as it comes, keeping none of it.
bool ReadsSecretLine(int fd, bool bPassword) {
  const std::size_t cch = bPassword ? kPasswordLength : kText.size();
  std::size_t n = 0;
  bool bRight = true;
  for (char ch = 0; ch != '\n' && read(fd, &ch, 1) == 1; ++n)
    bRight = bRight && ch == (n >= cch ? '\n' : bPassword ? PasswordChar(n) : kText[n]);
  return bRight && n == cch + 1;
}

// The moments a long-running stream spends asleep: waiting for its next
// line, and waiting for its reader to take output (the lines read in the
// same chunk as the password are answered by then).
TEST(CliMemory, AnAnsweredPasswordLeavesNoCopyWhileTheStreamWaits) {
  constexpr int kLinesAfter = 3000;  // empty lines, far more answers than the pipe holds
  const struct {
    bool bEncrypt, bOutputBlocked;
  } cases[] = {{true, false}, {false, false}, {true, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.bEncrypt ? "encrypt" : "decrypt")
                                    << (c.bOutputBlocked ? ", output blocked" : ""));
    int in[2], out[2];
    ASSERT_TRUE(pipe(in) == 0 && pipe(out) == 0);
    fcntl(out[1], F_SETPIPE_SZ, 4096);
    std::atomic<pid_t> tid = 0;
    std::thread stream([&] {
      tid = static_cast<pid_t>(syscall(SYS_gettid));
      CLineCipher cipher(g_szBuiltinPassPhrase, g_nBuiltinKeySize);
      CLineEncryptor encryptor(cipher);
      CLineDecryptor decryptor(cipher, false);
      CLineReader reader(in[0]);
      COutputWriter writer(out[1], false);
      RunLineStream(reader, writer, c.bEncrypt ? static_cast<CLineTransform&>(encryptor) : decryptor);
    });

    // The password or its text, and the lines after it, in one write: the
    // stream reads them all at once.
    const std::size_t cchSecret = c.bEncrypt ? kPasswordLength : kText.size();
    std::string chunk(cchSecret + 1 + (c.bOutputBlocked ? kLinesAfter : 0), '\n');
    for (std::size_t i = 0; i < cchSecret; ++i)
      chunk[i] = c.bEncrypt ? PasswordChar(i) : kText[i];
    EXPECT_EQ(write(in[1], chunk.data(), chunk.size()), static_cast<ssize_t>(chunk.size()));
    SecureZeroMemory(chunk.data(), chunk.size());
    EXPECT_TRUE(c.bOutputBlocked || ReadsSecretLine(out[0], !c.bEncrypt));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while ((tid == 0 || !IsSleeping(tid)) && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(CountPasswordCopies(), 0);

    close(in[1]);
    for (int nLeft = c.bOutputBlocked ? 1 + kLinesAfter : 0; nLeft > 0;) {
      char buf[4096];
      const ssize_t n = read(out[0], buf, sizeof buf);
      if (n <= 0)
        break;
      nLeft -= static_cast<int>(std::count(buf, buf + n, '\n'));
    }
    stream.join();
    for (const int fd : {in[0], out[0], out[1]})
      close(fd);
  }
}

}  // namespace
