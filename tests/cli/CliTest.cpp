// End-to-end tests of the built velkast-cli: its arguments, its line rules
// and refusals, its output errors, its prompt, and a large round trip, with
// the cipher engine itself as the oracle for every text. Which passwords and
// texts are refused is the library's own test; here, what the tool adds to
// it: the line, character and byte named, and the stream stopped there.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "cipher/AesTextCipher.h"
#include "cipher/BuiltinKey.h"
#include "libvelkast/Utf8Codec.h"
#include "libvelkast/WideString.h"
#include "platform/core/CodePage.h"
#include "tests/cli/CliProcess.h"

namespace {

const std::string kPasswordText = "53877449c8ce5745eefc1ef26d760efa";
const std::string kEmptyText = "cf118df792bfaa9cfbd8e0d83cf2a039";

constexpr bool kWindows = VELKAST_WINDOWS;

std::string Utf8(WStringView text) {
  std::string out;
  AppendUtf8(text, out);  // checked against iconv by the codec's own test
  return out;
}

// What the engine, and so the dialog, makes of a text, with the built-in key
// or (another key size) another one.
std::string Engine(bool bEncrypt, const WString& text, KeySize nKeySize = g_nBuiltinKeySize) {
  CAesTextCipher cipher(g_szBuiltinPassPhrase, nKeySize);
  std::int32_t n = 0;
  std::uint32_t m = 0;
  const LPCWSTR psz =
      bEncrypt ? cipher.Encrypt(text.c_str(), &n) : cipher.Decrypt(text.c_str(), &m);
  return psz == nullptr ? "<null>" : Utf8(psz);
}

// The tool run with its input on a pipe, and what must come of it: the exit
// status, the output, and on standard error nothing or one line from the
// tool that says err.
struct CliRun {
  std::string args;  // separated by spaces
  std::string input;
  CliResult expected;
  StdoutTo to = StdoutTo::Pipe;
};

void Check(const CliRun& run) {
  const CliResult r = RunCli(run.args, run.input, run.to);
  const std::string& err = run.expected.err;
  EXPECT_TRUE(r.status == run.expected.status && r.out == run.expected.out &&
              (err.empty() ? r.err.empty()
                           : r.err.starts_with("velkast-cli: ") && r.err.find(err) < r.err.size() &&
                                 r.err.find('\n') == r.err.size() - 1) &&
              r.err.find("hunter2") == std::string::npos)  // a password argument is never repeated
      << testing::PrintToString(run.input.substr(0, 99)) << ": " << r.status << " " << r.err;
}

// --help and --version stand alone; anything else wrong with the arguments
// is a usage error.
TEST(CliArguments, HelpVersionAndUsageErrors) {
  const std::string help = RunCli("--help", "").out;
  EXPECT_NE(help.find("not protection"), std::string::npos);
  const std::string version = std::string("velkast-cli ") + VELKAST_PROJECT_VERSION + "\n";
  // "--" ends the options; "/?" is the help of Windows programs.
  for (const CliRun& run : std::vector<CliRun>{
           {"--version", "", {0, version, ""}},
           {"-V", "", {0, version, ""}},
           {"--help", "", {0, help, ""}},
           {"-h", "", {0, help, ""}},
           {"/?", "", kWindows ? CliResult{0, help, ""} : CliResult{2, "", "unknown command"}},
           {"--help=x", "", {2, "", "'--help=x': --help takes no value"}},
           {"--version=x", "", {2, "", "'--version=x'"}},
           {"encrypt --", "password\n", {0, kPasswordText + "\n", ""}},
           {"-- decrypt", kPasswordText, {0, "password\n", ""}}})
    Check(run);
  for (const char* args :
       {"", "frobnicate", "encrypt --lenient", "encrypt hunter2", "decrypt --key=hunter2",
        "hunter2", "encrypt -V", "--help hunter2", "-h --version", "decrypt -- --lenient",
        "-- --help", "decrypt --lenient=hunter2"})
    Check({args, "password\n", {2, "", "--help"}});
}

// CRLF or LF, the last line with or without one, TAB kept, one byte order
// mark skipped at the very start, uppercase digits read; --lenient prints
// for every line what the dialog shows for the text a text field shows for
// its bytes.
TEST(CliLines, AnswersLineEndsAndLenientDecrypt) {
  // Random passwords of any character of code page 1252 but NUL (control
  // characters made "x"), ending in ".", one a line with LF or CRLF; their
  // texts.
  std::string input, texts, passwords;
  std::mt19937 rng(20240611);
  const auto randomChar = [&] {
    const WCHAR wch = Cp1252ToWideChar(static_cast<BYTE>(1 + rng() % 255));
    const bool bControl = (wch < 0x20 && wch != TEXT('\t')) || (wch >= 0x7F && wch <= 0x9F);
    return bControl ? TEXT('x') : wch;
  };
  for (int i = 0; i < 10000; ++i) {
    WString password;
    for (int n = i % 41; n > 0; --n)
      password += n > 1 ? randomChar() : TEXT('.');  // a blank at the end has its own row
    input += Utf8(password) + (i % 3 == 0 ? "\r\n" : "\n");
    texts += Engine(true, password) + "\n";
    passwords += Utf8(password) + "\n";
  }
  // Leniently: bytes that are not UTF-8 (and no byte order mark past the
  // start), a password of control characters and a line end, another key's
  // text.
  const std::string controls = Engine(true, TEXT("\u0081\u20ac\x1b\n"));
  const std::string otherKey = Engine(true, TEXT("password"), KeySize192);
  const std::string lenient = controls + "\n\xff\xfe\n" + otherKey + "\n";
  const std::string lenientOut = Utf8(TEXT("\u0081\u20ac\x1b\n")) + "\n\n" +
                                 Engine(false, WString(otherKey.begin(), otherKey.end())) + "\n";
  // The longest lines, across many chunks: 1048576 bytes of UTF-8 (the last
  // few ASCII, to end there), and the text of 1048576 ASCII characters.
  WString longest, longestAscii;
  for (std::size_t cb = 0; cb < 1048576; cb += Utf8(longest.substr(longest.size() - 1)).size())
    longest += cb + 3 <= 1048576 ? randomChar() : TEXT('a');
  while (longestAscii.size() < 1048576)
    longestAscii += static_cast<WCHAR>(' ' + rng() % 95);
  const std::string longestText = Engine(true, longestAscii);
  // UTF-16, with a byte order mark or without: "pass" and a line end.
  const std::string le("p\0a\0s\0s\0\r\0\n\0", 12), be("\0p\0a\0s\0s\0\n", 10);
  const std::string bom = "\xef\xbb\xbf", tab = Engine(true, TEXT("a\tb"));
  const std::string both = kPasswordText + "\n" + kEmptyText + "\n";
  const std::string note = kWindows ? "line 1 ends with a space; it is part of the password" : "";
  for (const CliRun& run : std::vector<CliRun>{
           {"encrypt", "\xef", {1, "", "line 1: not valid UTF-8 at byte 1 (0xEF)"}},
           {"encrypt", "\xef\xbb", {1, "", "line 1: not valid UTF-8 at byte 1 (0xEF)"}},
           {"encrypt", "\xff\xfe" + le, {1, "", "standard input is UTF-16LE; save it as UTF-8"}},
           {"decrypt", le, {1, "", "standard input is UTF-16LE; save it as UTF-8"}},
           {"decrypt --lenient", "\xfe\xff" + be, {1, "", "standard input is UTF-16BE"}},
           {"encrypt", be, {1, "", "standard input is UTF-16BE"}},
           {"encrypt", "password \n", {0, Engine(true, TEXT("password ")) + "\n", note}},
           {"encrypt", Utf8(longest) + "\r\n", {0, Engine(true, longest) + "\n", ""}},
           {"decrypt", longestText, {0, Utf8(longestAscii) + "\n", ""}},
           {"encrypt", "password\r\n\na\tb", {0, both + tab + "\n", ""}},
           {"encrypt", "", {0, "", ""}},
           {"encrypt", bom + "password\n\n", {0, both, ""}},
           {"encrypt", bom, {0, "", ""}},
           {"decrypt",
            bom + both + tab + "\n53877449C8CE5745EEFC1EF26D760EFA",
            {0, "password\n\na\tb\npassword\n", ""}},
           {"decrypt --lenient", lenient, {0, lenientOut, ""}},
           {"encrypt", input, {0, texts, ""}},
           {"decrypt", texts, {0, passwords, ""}}})
    Check(run);
}

// A refused line stops the stream: the answers before it are written, then
// one line names the line, where in it, and why, and the status is 1.
TEST(CliLines, ARefusedLineStopsTheStreamNamingWhy) {
  const std::string notAText = "not a Velkast encrypted text (damaged";
  for (const auto& c : std::vector<std::array<std::string, 3>>{
           // command, line 2, what the message says
           {"encrypt", "ab\xff", "not valid UTF-8 at byte 3 (0xFF)"},
           {"encrypt", "ok\xf0\x9f\x98\x80", "character 3, U+1F600, is outside"},  // named whole
           {"encrypt", "\xef\xbb\xbfx", "character 1, U+FEFF, is out"},  // a mark past the start
           {"encrypt", std::string("a\0b", 3), "character 2, U+0000, a NUL, would end"},
           {"encrypt", "tail\r\r", "character 5, U+000D, is a control character"},  // one ends it
           {"encrypt", "ab\x1a;", "character 3, U+001A, is a control"},  // not taken for an end
           {"encrypt", std::string(1048577, 'a'), "longer than 1048576 bytes, the limit for a p"},
           {"decrypt", std::string(2097185, '0'), "longer than 2097184 bytes, the limit for an e"},
           {"decrypt", Engine(true, TEXT("a\x9d")),
            "the password's character 2, U+009D, is a control character, which a terminal acts on "
            "instead of showing; --lenient prints it"},
           {"decrypt", kPasswordText + " ", "not a Velkast encrypted text: it ends with a space"},
           {"decrypt", "", notAText},
           {"decrypt", " " + kPasswordText, notAText},
           {"decrypt", Engine(true, TEXT("password"), KeySize128), notAText}}) {
    const bool bEncrypt = c[0] == "encrypt";
    Check({c[0],
           (bEncrypt ? "password" : kPasswordText) + "\n" + c[1] + "\nx\n",
           {1, (bEncrypt ? kPasswordText : "password") + "\n", "line 2: " + c[2]}});
  }
  // By its first bad byte, while the line and the input go on: endless NULs
  // (as from /dev/zero), a control character, a byte that is not UTF-8 past
  // the first chunk, a character no text holds.
  for (const auto& c : std::vector<std::array<std::string, 3>>{
           {"encrypt", std::string(65536, '\0'), "line 1: character 1, U+0000"},
           {"encrypt", "abc\x1b" + std::string(99999, 'a'), "line 1: character 4, U+001B"},
           {"encrypt", std::string(70000, 'a') + "\xff", "line 1: not valid UTF-8 at byte 70001"},
           {"decrypt", kPasswordText + "g", "line 1: not a Velkast"}}) {
    CCliProcess cli(c[0], false);
    cli.Write(c[1]);
    EXPECT_TRUE(cli.WaitFor(c[2])) << c[2];
    EXPECT_EQ(cli.Finish().status, 1);
  }
}

// A write that fails is a failure named in one line, never a silent 0 nor
// death by SIGPIPE. Each answer comes out before the next line is read, and
// while the tool waits it may write no core file: what /proc shows of its
// limit, soft and hard, is "0 0".
TEST(CliOutput, WriteErrorsAndEachAnswerBeforeTheNextRead) {
  const std::string many(100000, '\n'), what = "cannot write to standard output: ";
#if !defined(_WIN32)
  Check({"encrypt", many, {1, "", what + "No space left on device"}, StdoutTo::DevFull});
  Check({"--version", "", {1, "", what + "No space left on device"}, StdoutTo::DevFull});
#endif
  Check({"encrypt", many, {1, "", what + "Broken pipe"}, StdoutTo::ClosedPipe});

  CCliProcess cli("encrypt", false);
  cli.Write("password\n");
  ASSERT_TRUE(cli.WaitFor(kPasswordText));
#if !defined(_WIN32)
  std::ifstream in("/proc/" + std::to_string(cli.Pid()) + "/limits");
  unsigned long soft = 1, hard = 1;  // "unlimited" reads as neither
  for (std::string line; std::getline(in, line);)
    std::sscanf(line.c_str(), "Max core file size %lu %lu", &soft, &hard);
  EXPECT_TRUE(soft == 0 && hard == 0) << soft << " " << hard;
#endif
  cli.Write("\n");
  ASSERT_TRUE(cli.WaitFor(kEmptyText));
  EXPECT_EQ(cli.Finish().status, 0);
}

#if !defined(_WIN32)
// Asked on a terminal: echo off for a password, on for a text; Ctrl-C ends
// the tool, Ctrl-Z hands the terminal back with echo on and asks again; a
// line as long as the terminal keeps may have been cut, and is refused. The
// echo is on again at the end, also after every signal that ends the tool,
// which then ends by that signal.
TEST(CliPrompt, AsksOnATerminalAndRestoresIt) {
  struct Case {
    const char* pszCommand;
    std::string typed, end, out, said;  // said: on the terminal
    int status;
    bool bSuspend = false;  // Ctrl-Z before typing
    int sig = 0;            // sent instead of typing
  };
  std::vector<Case> cases = {
      {"encrypt", "password", "\n", kPasswordText + "\n", "", 0},
      {"encrypt", "", "\x04", "", "no password entered", 1},  // end of input
      {"encrypt", "half a pass", "\x03", "", "", -SIGINT},
      {"encrypt", "password", "\n", kPasswordText + "\n", "Password: \r\nPassword: ", 0, true},
      {"decrypt", kPasswordText, "\n", "password\n", kPasswordText, 0},  // echoed
      {"encrypt", std::string(4094, 'p'), "\n", Engine(true, WString(4094, 'p')) + "\n", "", 0},
      {"encrypt", std::string(5000, 'p'), "\n", "",
       "the password may have been cut short: the terminal keeps at most 4095 bytes of a line; "
       "pipe a long password in",
       1},
  };
  // Every signal whose default action ends a program (signal(7)), but
  // SIGPIPE, which the tool ignores, and those a sanitizer handles itself.
  std::vector<int> signals = {SIGHUP,  SIGINT,    SIGQUIT, SIGILL,  SIGTRAP,   SIGABRT,
                              SIGUSR1, SIGUSR2,   SIGALRM, SIGTERM, SIGSTKFLT, SIGXCPU,
                              SIGXFSZ, SIGVTALRM, SIGPROF, SIGIO,   SIGPWR,    SIGSYS};
#if !defined(__SANITIZE_ADDRESS__)
  signals.insert(signals.end(), {SIGBUS, SIGFPE, SIGSEGV});
#endif
  for (int sig = SIGRTMIN; sig <= SIGRTMAX; ++sig)
    signals.push_back(sig);
  for (const int sig : signals)
    cases.push_back({"encrypt", "", "", "", "", -sig, false, sig});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed.substr(0, 20) + c.end + std::to_string(c.sig));
    const bool bEncrypt = c.pszCommand == std::string("encrypt");
    CCliProcess cli(c.pszCommand, true);
    ASSERT_TRUE(cli.WaitFor(bEncrypt ? "Password: " : "Encrypted text: "));
    if (c.bSuspend) {
      // The tool leads its own session here, where the stop itself is
      // dropped; the handler still runs: echo on for the shell, then off and
      // the prompt again.
      cli.Signal(SIGTSTP);
      ASSERT_TRUE(cli.WaitFor(c.said));
    }
    EXPECT_EQ((cli.LocalModes() & ECHO) != 0, !bEncrypt);
    c.sig != 0 ? cli.Signal(c.sig) : cli.Write(c.typed + c.end);
    const CliResult r = cli.Finish();
    EXPECT_TRUE(r.status == c.status && r.out == c.out && r.err.find(c.said) != std::string::npos &&
                (!bEncrypt || c.typed.empty() || r.err.find(c.typed) == std::string::npos) &&
                r.err.find("Sanitizer") == std::string::npos)  // a password typed is not shown
        << r.status << " " << r.out.substr(0, 99) << " " << r.err.substr(0, 200);
    EXPECT_NE(cli.LocalModes() & ECHO, 0u);
  }
}
#endif

}  // namespace
