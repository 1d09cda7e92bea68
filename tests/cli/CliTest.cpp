// End-to-end tests of the built velkast-cli: its line rules, its refusals,
// its output errors, its prompt, and a large round trip, with the cipher
// engine itself as the oracle for every text.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tests/cli/CliProcess.h"
#include "cipher/AesTextCipher.h"
#include "cipher/BuiltinKey.h"
#include "platform/core/CodePage.h"
#include "tools/WideString.h"

namespace {

const std::string kPasswordText = "53877449c8ce5745eefc1ef26d760efa";
const std::string kEmptyText = "cf118df792bfaa9cfbd8e0d83cf2a039";

// UTF-8 of text without surrogates.
std::string Utf8(WStringView text) {
  std::string out;
  for (const unsigned u : text) {
    const int nTail = u < 0x80 ? 0 : u < 0x800 ? 1 : 2;  // continuation bytes
    const unsigned lead[] = {0x00, 0xC0, 0xE0};
    out += static_cast<char>(lead[nTail] | u >> 6 * nTail);
    for (int i = nTail - 1; i >= 0; --i)
      out += static_cast<char>(0x80 | (u >> 6 * i & 0x3F));
  }
  return out;
}

// The engine's text for a password, with the built-in key or another one.
std::string EngineText(WString password, const char* pszPassPhrase = g_szBuiltinPassPhrase,
                       KeySize nKeySize = g_nBuiltinKeySize) {
  CAesTextCipher cipher(pszPassPhrase, nKeySize);
  std::int32_t n = 0;
  const LPCWSTR psz = cipher.Encrypt(password.c_str(), &n);
  return psz == nullptr ? std::string() : Utf8(WStringView(psz, n));
}

// What the dialog shows when Decrypt is given text.
std::string EngineDecrypt(WString text) {
  CAesTextCipher cipher(g_szBuiltinPassPhrase, g_nBuiltinKeySize);
  std::uint32_t n = 0;
  const LPCWSTR psz = cipher.Decrypt(text.c_str(), &n);
  return psz == nullptr ? "Unable to Decrypt" : Utf8(WStringView(psz, n));
}

bool IsOneLine(const std::string& text) {
  return !text.empty() && text.find('\n') == text.size() - 1;
}

TEST(CliInfo, HelpVersionAndUsageErrors) {
  const CliResult version = RunCli({"--version"}, "");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, std::string("velkast-cli ") + VELKAST_PROJECT_VERSION + "\n");
  EXPECT_EQ(RunCli({"-V"}, "").out, version.out);

  const CliResult help = RunCli({"--help"}, "");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.err, "");
  for (const char* word : {"encrypt", "decrypt", "--lenient", "UTF-8", "not protection"})
    EXPECT_NE(help.out.find(word), std::string::npos) << word;
  EXPECT_EQ(RunCli({"-h"}, "").out, help.out);

  // --help and --version stand alone.
  const std::vector<std::vector<std::string>> usageErrors = {
      {}, {"frobnicate"}, {"--bogus"}, {"encrypt", "--lenient"},
      {"encrypt", "hunter2"}, {"decrypt", "--key=hunter2"}, {"hunter2"},
      {"--version", "--foo"}, {"encrypt", "-V"}, {"decrypt", "--bogus", "-h"},
      {"--help", "hunter2"}, {"-h", "--version"}};
  for (const auto& args : usageErrors) {
    const CliResult r = RunCli(args, "password\n");
    SCOPED_TRACE(testing::PrintToString(args));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(IsOneLine(r.err) && r.err.starts_with("velkast-cli: ")) << r.err;
    EXPECT_NE(r.err.find("--help"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("hunter2"), std::string::npos) << "a password argument is repeated";
  }
}

TEST(CliLines, LineEndsKnownTextsAndLenientDecrypt) {
  // --lenient prints for every line what the dialog shows for that text:
  // the line's bytes, and the text a text field shows for them.
  std::vector<std::pair<std::string, WString>> lenient = {
      {"not hex \xc3\xa9", TEXT("not hex \u00e9")}, {"\xff\xfe", TEXT("\ufffd\ufffd")}};
  for (const std::string& ascii :
       {EngineText(TEXT("\u0081\u20ac\u009d")), EngineText(TEXT("a\nb")),
        EngineText(TEXT("ab\r")), EngineText(TEXT("\x1b]0;x\a\x1b[2J")),
        std::string("zz"), std::string(), std::string("ABCDEF0123456789"), kPasswordText + "0",
        kPasswordText + kEmptyText, EngineText(TEXT("password"), "another pass phrase")})
    lenient.emplace_back(ascii, WString(ascii.begin(), ascii.end()));
  std::string lenientIn, lenientOut;
  for (const auto& [bytes, shown] : lenient) {
    lenientIn += bytes + "\n";
    lenientOut += EngineDecrypt(shown) + "\n";
  }
  const struct {
    std::vector<std::string> args;
    std::string input, output;
  } cases[] = {
      {{"encrypt"}, "password\n\n", kPasswordText + "\n" + kEmptyText + "\n"},
      {{"encrypt"}, "password\r\n\r\n", kPasswordText + "\n" + kEmptyText + "\n"},
      {{"encrypt"}, "password", kPasswordText + "\n"},
      {{"encrypt"}, "", ""},
      // One byte order mark at the very start is skipped.
      {{"encrypt"}, "\xef\xbb\xbfpassword\n\n", kPasswordText + "\n" + kEmptyText + "\n"},
      {{"encrypt"}, "\xef\xbb\xbf", ""},
      {{"decrypt"}, "\xef\xbb\xbf" + kPasswordText, "password\n"},
      {{"encrypt"},
       "a\tb\r\nc\n",
       EngineText(TEXT("a\tb")) + "\n" + EngineText(TEXT("c")) + "\n"},
      {{"decrypt"}, EngineText(TEXT("a\tb")), "a\tb\n"},  // TAB is no control character here
      {{"decrypt"}, kPasswordText + "\r\n" + kEmptyText, "password\n\n"},
      {{"decrypt"}, "53877449C8CE5745EEFC1EF26D760EFA\n", "password\n"},
      {{"decrypt", "--lenient"}, lenientIn, lenientOut},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.input));
    const CliResult r = RunCli(c.args, c.input);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, c.output);
  }
}

TEST(CliLines, ARefusedLineStopsTheStreamNamingWhy) {
  std::vector<std::vector<std::string>> cases = {  // command, line, what the message names
      {"encrypt", "ab\xff", "byte 3 (0xFF)"},
      {"encrypt", "\xc0\xaf", "byte 1 (0xC0)"},         // overlong "/"
      {"encrypt", "x\xed\xa0\x80", "byte 2 (0xED)"},    // an encoded surrogate
      {"encrypt", "\xe2\x82", "byte 1 (0xE2)"},         // cut short
      {"encrypt", "\xc4\x80", "character 1, U+0100,"},  // outside code page 1252
      {"encrypt", "ok\xf0\x9f\x98\x80", "U+1F600"},     // outside the BMP, named whole
      {"encrypt", "\xef\xbb\xbfx", "character 1, U+FEFF,"},  // a mark not at the start
      {"encrypt", std::string("a\0b", 3), "U+0000"},    // would end the password
      // Control characters: C0 but TAB, DEL, and the C1 characters of code
      // page 1252.
      {"encrypt", "tail\r\r", "character 5, U+000D, is a control character"},
      {"encrypt", "\x1b]0;x\a", "character 1, U+001B,"},
      {"encrypt", "ab\x7f", "character 3, U+007F,"},
      {"encrypt", "ab\x1a" "cd", "character 3, U+001A,"},  // read on, not taken for an end
      {"encrypt", "\xc2\x81", "character 1, U+0081, is a control character"},
      {"encrypt", "\xc2\x85", "character 1, U+0085, is outside code page 1252"},
      {"decrypt", EngineText(TEXT("a\nb")), "the password's character 2, U+000A, is a control"},
      {"decrypt", EngineText(TEXT("realsecret\rdecoy-----")), "character 11, U+000D,"},
      {"decrypt", EngineText(TEXT("\x1b]0;x\a\x1b[2J")), "character 1, U+001B,"},
      {"decrypt", EngineText(TEXT("\x9d")), "U+009D, is a control character, which a terminal "
                                           "acts on instead of showing; --lenient prints it"},
  };
  // Not whole texts of the built-in key: damaged, cut, extended, padded, or
  // made with another key.
  for (const std::string& text :
       {std::string(), std::string("zz"), std::string("53877449c8ce5745eefc1ef26d760efb"),
        kPasswordText.substr(1), kPasswordText + "0", kPasswordText + "0123456789abcdef",
        kPasswordText + kEmptyText, " " + kPasswordText,
        EngineText(TEXT("password"), "another pass phrase"),
        EngineText(TEXT("password"), g_szBuiltinPassPhrase, KeySize128)})
    cases.push_back(
        {"decrypt", text, "not a Velkast encrypted text (damaged, or made with another key)"});
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c));
    const bool bEncrypt = c[0] == "encrypt";
    const CliResult r =
        RunCli({c[0]}, (bEncrypt ? "password" : kPasswordText) + "\n" + c[1] + "\nx\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, bEncrypt ? kPasswordText + "\n" : "password\n");
    EXPECT_TRUE(IsOneLine(r.err) && r.err.starts_with("velkast-cli: line 2: ")) << r.err;
    EXPECT_NE(r.err.find(c[2]), std::string::npos) << r.err;
  }
}

TEST(CliLines, TenThousandRandomRepresentablePasswordsRoundTrip) {
  std::mt19937 rng(20240611);
  // Any byte of code page 1252 but NUL; control characters become "x".
  std::uniform_int_distribution<int> pick(1, 255);
  std::string input, passwords, texts;
  for (int i = 0; i < 10000; ++i) {
    WString password;
    for (int n = i % 41; n > 0; --n) {
      const WCHAR wch = Cp1252ToWideChar(static_cast<BYTE>(pick(rng)));
      const bool bControl = (wch < 0x20 && wch != TEXT('\t')) || (wch >= 0x7F && wch <= 0x9F);
      password += bControl ? TEXT('x') : wch;
    }
    input += Utf8(password) + (i % 3 == 0 ? "\r\n" : "\n");
    passwords += Utf8(password) + "\n";
    texts += EngineText(password) + "\n";
  }
  const CliResult encrypted = RunCli({"encrypt"}, input);
  ASSERT_EQ(encrypted.status, 0) << encrypted.err;
  EXPECT_EQ(encrypted.out, texts);
  const CliResult decrypted = RunCli({"decrypt"}, encrypted.out);
  ASSERT_EQ(decrypted.status, 0) << decrypted.err;
  EXPECT_EQ(decrypted.out, passwords);
}

TEST(CliOutput, WriteErrorsAreFailuresWithOneLine) {
  std::string many;
  for (int i = 0; i < 100000; ++i)
    many += "password\n";
#if !defined(_WIN32)
  for (const auto& args : std::vector<std::vector<std::string>>{{"encrypt"}, {"--version"}}) {
    const CliResult full = RunCli(args, many, StdoutTo::DevFull);
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.err, "velkast-cli: cannot write to standard output: No space left on device\n");
  }
#endif
  const CliResult broken = RunCli({"encrypt"}, many, StdoutTo::ClosedPipe);
  EXPECT_EQ(broken.status, 1);  // not killed by SIGPIPE, not a silent 0
  EXPECT_EQ(broken.err, "velkast-cli: cannot write to standard output: Broken pipe\n");
}

TEST(CliOutput, EachAnswerComesBeforeTheNextLineIsRead) {
  CCliProcess cli({"encrypt"}, false);
  cli.Write("password\n");
  ASSERT_TRUE(cli.WaitFor(kPasswordText));
  cli.Write("\n");
  ASSERT_TRUE(cli.WaitFor(kEmptyText));
  EXPECT_EQ(cli.Finish().status, 0);
}

#if !defined(_WIN32)
// A running velkast-cli may write no core file: what /proc shows of its
// limit, soft and hard, is "0 0".
TEST(CliProcess, WritesNoCoreFile) {
  CCliProcess cli({"encrypt"}, false);
  cli.Write("password\n");
  ASSERT_TRUE(cli.WaitFor(kPasswordText));  // past its start-up, waiting for input
  std::ifstream limits("/proc/" + std::to_string(cli.Pid()) + "/limits");
  std::string line, soft, hard;
  while (std::getline(limits, line) && !line.starts_with("Max core file size")) {}
  std::istringstream(line.substr(std::strlen("Max core file size"))) >> soft >> hard;
  EXPECT_EQ(soft + " " + hard, "0 0") << line;
  EXPECT_EQ(cli.Finish().status, 0);
}

TEST(CliPrompt, AsksOnATerminalAndRestoresIt) {
  struct Case {
    std::string command, typed, end, out, said;  // said: on the terminal
    int status;
    bool bSuspend = false;  // Ctrl-Z before typing
  };
  const Case cases[] = {
      {"encrypt", "password", "\n", kPasswordText + "\n", "", 0},
      {"encrypt", "\xc4\x80", "\n", "", "U+0100", 1},
      {"encrypt", "", "\x04", "", "no password entered", 1},  // end of input
      {"encrypt", "half a pass", "\x03", "", "", -SIGINT},     // Ctrl-C
      {"encrypt", "password", "\n", kPasswordText + "\n", "Password: \r\nPassword: ", 0, true},
      // A text is asked with echo on: it shows as it is typed.
      {"decrypt", kPasswordText, "\n", "password\n", kPasswordText, 0},
      {"decrypt", "zz", "\n", "", "line 1: not a Velkast encrypted text", 1},
      {"decrypt", "", "\x04", "", "no encrypted text entered", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.command + " " + c.typed + c.end));
    const bool bEncrypt = c.command == "encrypt";
    CCliProcess cli({c.command}, true);
    ASSERT_TRUE(cli.WaitFor(bEncrypt ? "Password: " : "Encrypted text: "));
    if (c.bSuspend) {
      // The tool leads its own session here, where the stop itself is
      // dropped; the handler still runs: echo on for the shell, then off and
      // the prompt again.
      cli.Signal(SIGTSTP);
      ASSERT_TRUE(cli.WaitFor(c.said));
    }
    EXPECT_EQ((cli.LocalModes() & ECHO) != 0, !bEncrypt);
    cli.Write(c.typed + c.end);
    const CliResult r = cli.Finish();
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_EQ(r.out, c.out);
    EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
    EXPECT_TRUE(!bEncrypt || c.typed.empty() || r.err.find(c.typed) == std::string::npos)
        << "echoed: " << r.err;
    EXPECT_NE(cli.LocalModes() & ECHO, 0u);
  }
}

#endif

}  // namespace
