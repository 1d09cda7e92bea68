// End-to-end tests of the built velkast-cli: every rule of its line
// protocol, its refusals, its output errors, its prompt, and a large round
// trip, with the cipher engine itself as the oracle for every text.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "CliProcess.h"
#include "cipher/AesTextCipher.h"
#include "cipher/BuiltinKey.h"
#include "platform/core/CodePage.h"

namespace {

constexpr char kPasswordText[] = "53877449c8ce5745eefc1ef26d760efa";
constexpr char kEmptyText[] = "cf118df792bfaa9cfbd8e0d83cf2a039";
constexpr char kNotAText[] =
    "not a Velkast encrypted text (damaged, or made with another key)";

std::string Utf8(std::u16string_view text) {
  std::string out;
  for (const char16_t u : text) {
    if (u < 0x80) {
      out += static_cast<char>(u);
    } else if (u < 0x800) {
      out += static_cast<char>(0xC0 | (u >> 6));
      out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (u >> 12));
      out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (u & 0x3F));
    }
  }
  return out;
}

// The engine's text for a password, with the built-in key or another one.
std::string EngineText(std::u16string_view password,
                       const char* pszPassPhrase = g_szBuiltinPassPhrase,
                       KeySize nKeySize = g_nBuiltinKeySize) {
  CAesTextCipher cipher(pszPassPhrase, nKeySize);
  std::u16string copy(password);
  std::int32_t n = 0;
  const LPCWSTR psz = cipher.Encrypt(copy.c_str(), &n);
  return psz == nullptr ? std::string() : Utf8(std::u16string_view(psz, n));
}

// What the dialog shows when Decrypt is given text.
std::string EngineDecrypt(std::u16string_view text) {
  CAesTextCipher cipher(g_szBuiltinPassPhrase, g_nBuiltinKeySize);
  std::u16string copy(text);
  std::uint32_t n = 0;
  const LPCWSTR psz = cipher.Decrypt(copy.c_str(), &n);
  return psz == nullptr ? "Unable to Decrypt" : Utf8(std::u16string_view(psz, n));
}

std::string LineMessage(int nLine, const std::string& message) {
  return "velkast-cli: line " + std::to_string(nLine) + ": " + message + "\n";
}

bool IsOneLine(const std::string& text) {
  return !text.empty() && text.find('\n') == text.size() - 1;
}

// Every code unit an encrypted text can carry, NUL and "\n" aside.
std::vector<char16_t> RepresentableUnits() {
  std::vector<char16_t> units;
  for (int b = 1; b < 256; ++b)
    if (b != '\n')
      units.push_back(Cp1252ToWideChar(static_cast<BYTE>(b)));
  return units;
}

TEST(CliInfo, VersionFromTheBuildAndHelpNamingEverything) {
  const CliResult version = RunCli({"--version"}, "");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, std::string("velkast-cli ") + VELKAST_PROJECT_VERSION + "\n");
  EXPECT_EQ(RunCli({"-V"}, "").out, version.out);

  const CliResult help = RunCli({"--help"}, "");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.err, "");
  for (const char* word : {"encrypt", "decrypt", "--lenient", "--version", "UTF-8",
                           "obfuscation, not protection"})
    EXPECT_NE(help.out.find(word), std::string::npos) << word;
  EXPECT_EQ(RunCli({"decrypt", "--bogus", "-h"}, "").out, help.out);
}

TEST(CliInfo, UsageErrorsExitTwoWithOneLinePointingToHelp) {
  const std::vector<std::vector<std::string>> calls = {
      {}, {"frobnicate"}, {"--bogus"}, {"encrypt", "--lenient"},
      {"encrypt", "hunter2"}, {"decrypt", "--key=hunter2"}, {"hunter2"}};
  for (const auto& args : calls) {
    const CliResult r = RunCli(args, "password\n");
    SCOPED_TRACE(args.empty() ? "(none)" : args.back());
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(IsOneLine(r.err)) << r.err;
    EXPECT_TRUE(r.err.starts_with("velkast-cli: ")) << r.err;
    EXPECT_NE(r.err.find("--help"), std::string::npos) << r.err;
    // A password typed as an argument is never repeated.
    EXPECT_EQ(r.err.find("hunter2"), std::string::npos) << r.err;
  }
}

TEST(CliEncrypt, TextsEqualTheEngines) {
  const CliResult known = RunCli({"encrypt"}, "password\n\n");
  EXPECT_EQ(known.status, 0);
  EXPECT_EQ(known.out, std::string(kPasswordText) + "\n" + kEmptyText + "\n");

  // Every character of code page 1252 outside ASCII, C1 controls included,
  // plus a carriage return and spaces inside a line: nothing is trimmed.
  const std::u16string passwords[] = {u"\u00e9t\u00e9 \u20ac 5", u"\u0081\u008d\u008f\u0090\u009d",
                                      u"  two  spaces  ", u"a\rb", u"\t", u"\u0178\u00ff\u00a0"};
  std::string input, expected;
  for (const auto& password : passwords) {
    input += Utf8(password) + "\n";
    expected += EngineText(password) + "\n";
  }
  const CliResult r = RunCli({"encrypt"}, input);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, expected);
}

TEST(CliLines, LineEndsEmptyLinesAndTheLastLine) {
  const std::string lf = std::string(kPasswordText) + "\n" + kEmptyText + "\n";
  EXPECT_EQ(RunCli({"encrypt"}, "password\r\n\r\n").out, lf);  // Windows line ends
  EXPECT_EQ(RunCli({"encrypt"}, "password\n\n").out, lf);
  EXPECT_EQ(RunCli({"encrypt"}, "password").out, std::string(kPasswordText) + "\n");
  EXPECT_EQ(RunCli({"encrypt"}, "\n").out, std::string(kEmptyText) + "\n");
  const CliResult none = RunCli({"encrypt"}, "");
  EXPECT_EQ(none.status, 0);
  EXPECT_EQ(none.out, "");

  // Only one "\r" goes with the "\n"; mixed line ends in one stream.
  EXPECT_EQ(RunCli({"encrypt"}, "a\rb\r\nc\n").out,
            EngineText(u"a\rb") + "\n" + EngineText(u"c") + "\n");
  EXPECT_EQ(RunCli({"decrypt"}, std::string(kPasswordText) + "\r\n" + kEmptyText).out,
            "password\n\n");
}

TEST(CliEncrypt, RefusedLineStopsTheStreamNamingWhy) {
  struct Case {
    std::string line;
    std::string named;  // what the message must name
  };
  const Case cases[] = {
      {"ab\xff", "byte 3 (0xFF)"},            // not UTF-8 at all
      {"\xc0\xaf", "byte 1 (0xC0)"},          // overlong "/"
      {"x\xed\xa0\x80", "byte 2 (0xED)"},     // an encoded surrogate
      {"\xe2\x82", "byte 1 (0xE2)"},          // cut short
      {"\xc4\x80", "character 1, U+0100,"},   // Latin-A: outside code page 1252
      {"ok\xf0\x9f\x98\x80", "U+1F600"},      // outside the BMP, named whole
      {std::string("a\0b", 3), "U+0000"},     // would end the password
      {"tail\r\r", "U+000D"},                 // its "\r" would not read back
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.named);
    const CliResult r = RunCli({"encrypt"}, "password\n" + c.line + "\nafter\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, std::string(kPasswordText) + "\n");
    EXPECT_TRUE(IsOneLine(r.err)) << r.err;
    EXPECT_TRUE(r.err.starts_with("velkast-cli: line 2: ")) << r.err;
    EXPECT_NE(r.err.find(c.named), std::string::npos) << r.err;
  }
}

TEST(CliDecrypt, StrictAcceptsOnlyWholeTextsOfTheBuiltinKey) {
  std::string upper = kPasswordText;
  for (char& ch : upper)
    ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  const CliResult ok = RunCli({"decrypt"}, upper + "\n" + kEmptyText + "\n");
  EXPECT_EQ(ok.status, 0);
  EXPECT_EQ(ok.out, "password\n\n");

  std::string flipped = kPasswordText;
  flipped[7] = flipped[7] == '0' ? '1' : '0';
  const std::string refused[] = {
      "",                                          // the empty text has no blocks
      "zz",                                        // not hexadecimal
      std::string(kPasswordText).substr(1),        // 31 digits
      std::string(kPasswordText) + "0",            // 33 digits
      std::string(kPasswordText) + "0123456789abcdef",  // 48 digits
      flipped,                                     // damaged
      std::string(kPasswordText) + kEmptyText,     // a block after the password
      std::string(" ").append(kPasswordText),      // nothing is trimmed
      EngineText(u"password", "another pass phrase"),
      EngineText(u"password", g_szBuiltinPassPhrase, KeySize128),
  };
  for (const auto& line : refused) {
    SCOPED_TRACE(line);
    const CliResult r = RunCli({"decrypt"}, std::string(kEmptyText) + "\n" + line + "\nx\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "\n");
    EXPECT_EQ(r.err, LineMessage(2, kNotAText));
  }
}

TEST(CliDecrypt, PasswordsThatCannotBeOneLine) {
  // Texts the dialog can make: strict refuses what would not read back as
  // the same single line; --lenient prints it as it is.
  const std::u16string split = u"a\nb", trailing = u"ab\r", inside = u"a\rb";
  const std::string texts = EngineText(split) + "\n" + EngineText(trailing) + "\n";

  const CliResult first = RunCli({"decrypt"}, EngineText(split) + "\n");
  EXPECT_EQ(first.status, 1);
  EXPECT_EQ(first.out, "");
  EXPECT_TRUE(first.err.starts_with("velkast-cli: line 1: the password holds a line break"));
  EXPECT_TRUE(IsOneLine(first.err));

  const CliResult second = RunCli({"decrypt"}, EngineText(inside) + "\n" + EngineText(trailing));
  EXPECT_EQ(second.status, 1);
  EXPECT_EQ(second.out, "a\rb\n");
  EXPECT_TRUE(second.err.starts_with("velkast-cli: line 2: the password ends in a carriage"));

  const CliResult lenient = RunCli({"decrypt", "--lenient"}, texts);
  EXPECT_EQ(lenient.status, 0);
  EXPECT_EQ(lenient.out, "a\nb\nab\r\n");
}

TEST(CliDecrypt, LenientShowsWhatTheDialogShows) {
  struct Line {
    std::string bytes;
    std::u16string shown;  // what a text field holds for those bytes
  };
  auto ascii = [](const std::string& s) { return Line{s, std::u16string(s.begin(), s.end())}; };
  const std::string c1Text = EngineText(u"\u0081\u20ac\u009d");  // C1 controls, euro sign
  const Line lines[] = {
      ascii(c1Text), ascii("zz"), ascii(""), ascii("abc"), ascii("ABCDEF0123456789"),
      ascii(std::string(kPasswordText) + "0"), ascii(std::string(kPasswordText) + kEmptyText),
      ascii(EngineText(u"password", "another pass phrase")),
      {"not hex \xc3\xa9", u"not hex \u00e9"},
      {"\xff\xfe", u"\ufffd\ufffd"},  // invalid bytes show as U+FFFD
  };
  std::string input, expected;
  for (const auto& line : lines) {
    input += line.bytes + "\n";
    expected += EngineDecrypt(line.shown) + "\n";
  }
  const CliResult r = RunCli({"decrypt", "--lenient"}, input);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, expected);
  EXPECT_TRUE(r.out.starts_with("\xc2\x81\xe2\x82\xac\xc2\x9d\n"));
}

TEST(CliRoundTrip, TenThousandRandomRepresentablePasswords) {
  const std::vector<char16_t> units = RepresentableUnits();
  std::mt19937 rng(20240611);
  std::uniform_int_distribution<std::size_t> pick(0, units.size() - 1);
  std::uniform_int_distribution<int> length(0, 40);
  std::string input, expectedTexts;
  for (int i = 0; i < 10000; ++i) {
    std::u16string password;
    for (int n = length(rng); n > 0; --n)
      password += units[pick(rng)];
    while (!password.empty() && password.back() == u'\r')
      password.back() = u'x';  // a final "\r" belongs to the line end
    input += Utf8(password) + (i % 3 == 0 ? "\r\n" : "\n");
    expectedTexts += EngineText(password) + "\n";
  }
  const CliResult texts = RunCli({"encrypt"}, input);
  ASSERT_EQ(texts.status, 0) << texts.err;
  EXPECT_EQ(texts.out, expectedTexts);

  std::string lfInput;
  for (const auto& line : SplitLines(input))
    lfInput += (line.ends_with('\r') ? line.substr(0, line.size() - 1) : line) + "\n";
  const CliResult passwords = RunCli({"decrypt"}, texts.out);
  ASSERT_EQ(passwords.status, 0) << passwords.err;
  EXPECT_EQ(passwords.out, lfInput);
}

TEST(CliOutput, WriteErrorsAreFailuresWithOneLine) {
  std::string many;
  for (int i = 0; i < 100000; ++i)
    many += "password\n";
  for (const auto& args : std::vector<std::vector<std::string>>{{"encrypt"}, {"--version"}}) {
    const CliResult full = RunCli(args, many, StdoutTo::DevFull);
    EXPECT_EQ(full.status, 1);
    EXPECT_TRUE(IsOneLine(full.err)) << full.err;
    EXPECT_NE(full.err.find("No space left on device"), std::string::npos) << full.err;
  }
  const CliResult broken = RunCli({"encrypt"}, many, StdoutTo::ClosedPipe);
  EXPECT_EQ(broken.status, 1);  // not killed by SIGPIPE, not a silent 0
  EXPECT_EQ(broken.signal, 0);
  EXPECT_EQ(broken.err, "velkast-cli: cannot write to standard output: Broken pipe\n");
}

TEST(CliStreams, EachAnswerComesBeforeTheNextLineIsRead) {
  // A script that feeds one line and waits for its answer never hangs.
  CPipedCli encrypt({"encrypt"});
  std::string line;
  for (int i = 0; i < 3; ++i) {
    encrypt.Write("password\n");
    ASSERT_TRUE(encrypt.ReadLine(&line, 10000));
    EXPECT_EQ(line, kPasswordText);
  }
  EXPECT_EQ(encrypt.Finish(), 0);

  CPipedCli decrypt({"decrypt"});
  decrypt.Write(std::string(kEmptyText) + "\n");
  ASSERT_TRUE(decrypt.ReadLine(&line, 10000));
  EXPECT_EQ(line, "");
  decrypt.Write("bad\n");
  EXPECT_EQ(decrypt.Finish(), 1);
}

TEST(CliPrompt, AsksWithEchoOffAndPrintsTheText) {
  CPtyCli cli({"encrypt"}, true);
  ASSERT_TRUE(cli.WaitFor("Password: ", 10000)) << cli.Screen();
  EXPECT_EQ(cli.LocalModes() & ECHO, 0u);
  cli.Type("password\n");
  const CliResult r = cli.Finish();
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, std::string(kPasswordText) + "\n");
  EXPECT_EQ(r.err.find("password"), std::string::npos) << "echoed: " << r.err;
  EXPECT_NE(cli.LocalModes() & ECHO, 0u);
}

TEST(CliPrompt, TerminalOnBothSidesAndRefusals) {
  {
    CPtyCli cli({"encrypt"}, false);
    ASSERT_TRUE(cli.WaitFor("Password: ", 10000));
    cli.Type("\xc4\x80\n");  // U+0100
    const CliResult r = cli.Finish();
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("U+0100"), std::string::npos) << r.err;
  }
  {
    CPtyCli cli({"encrypt"}, false);
    ASSERT_TRUE(cli.WaitFor("Password: ", 10000));
    cli.Type("\x04");  // end of input: no password
    const CliResult r = cli.Finish();
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("no password entered"), std::string::npos) << r.err;
  }
  {
    // decrypt reads lines from the terminal and answers each at once.
    CPtyCli cli({"decrypt"}, false);
    cli.Type(std::string(kPasswordText) + "\n");
    EXPECT_TRUE(cli.WaitFor("password\r\n", 10000)) << cli.Screen();
    cli.Type("\x04");
    EXPECT_EQ(cli.Finish().status, 0);
  }
}

TEST(CliPrompt, SuspendGivesEchoBackUntilContinued) {
  CPtyCli cli({"encrypt"}, true);
  ASSERT_TRUE(cli.WaitFor("Password: ", 10000));
  // The tool leads its own session here, where the stop itself is dropped;
  // the handler still runs: echo on for the shell, off again after.
  cli.Signal(SIGTSTP);
  ASSERT_TRUE(cli.WaitFor("Password: \r\nPassword: ", 10000)) << cli.Screen();
  EXPECT_EQ(cli.LocalModes() & ECHO, 0u);
  cli.Type("password\n");
  const CliResult r = cli.Finish();
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, std::string(kPasswordText) + "\n");
  EXPECT_EQ(r.err.find("password"), std::string::npos) << r.err;
}

TEST(CliPrompt, InterruptRestoresTheTerminal) {
  CPtyCli cli({"encrypt"}, true);
  ASSERT_TRUE(cli.WaitFor("Password: ", 10000));
  EXPECT_EQ(cli.LocalModes() & ECHO, 0u);
  cli.Type("half a pass");
  cli.Type("\x03");  // Ctrl-C
  const CliResult r = cli.Finish();
  EXPECT_EQ(r.signal, SIGINT);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(cli.LocalModes() & ECHO, 0u);
}

}  // namespace
