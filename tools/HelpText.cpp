#include "tools/HelpText.h"

#include <string_view>

#include "CliVersion.h"
#include "tools/Diagnostics.h"

namespace {

#if defined(_WIN32)
constexpr std::string_view kSystemHelp = R"(
On Windows "/?" shows this help. In cmd, write no space before the bar:
"echo password| velkast-cli encrypt". With "echo password |" the space is
part of the password; a note on standard error says so. Windows PowerShell
5.1 passes text to a program in $OutputEncoding (ASCII unless set: "cafe"
with an accent arrives as "caf?") and reads its output in the console's
code page; first run
  $OutputEncoding = [Console]::OutputEncoding = [Text.Encoding]::UTF8
or type the password at the prompt, which reads the console as it is. Its
">" saves UTF-16, which velkast-cli refuses: save with "Set-Content
-Encoding utf8" instead.
)";
#else
constexpr std::string_view kSystemHelp = "";
#endif

}  // namespace

std::string HelpText() {
  return R"(Usage: velkast-cli encrypt
       velkast-cli decrypt [--lenient]
       velkast-cli --help | --version

Makes and reads Velkast encrypted texts, exactly the texts the Velkast
dialog makes and reads, for scripts and build pipelines.

Both commands read standard input one item per line and write one result
per line to standard output, in the same order. Input and output are UTF-8.
A line ends at a newline, and one carriage return right before it is
dropped too; the last line needs no newline; an empty line is the empty
password (or the empty text). One byte order mark at the very start of the
input is skipped (Windows editors often write one); nothing else is
trimmed. Passwords are never taken from the command line.

A line holds at most 1048576 bytes (1 MiB) for encrypt and 2097184 for
decrypt (the text of the longest password); a longer one is refused when
it passes the limit. Input in UTF-16 (a "Unicode" file of Windows tools) is
refused as a whole: "standard input is UTF-16LE; save it as UTF-8".

Commands:
  encrypt     Turn each password into its encrypted text. When standard
              input is a terminal, ask for one password with echo off.
              Refuse a line that is not valid UTF-8, or that holds a
              character an encrypted text cannot carry (one outside code
              page 1252, or NUL), or a control character.
  decrypt     Turn each encrypted text back into its password. When
              standard input is a terminal, ask for one text (echo stays
              on: a text is no secret to whoever sees it). Accept only a
              whole encrypted text made with the built-in key: hexadecimal
              digits (either case), a length that is a positive multiple of
              32, and the password it holds encrypts back to the same text.
              Also refuse a text whose password holds a control character.

Control characters are U+0000 to U+001F but TAB, and U+007F to U+009F.
Printed raw, they act on a terminal instead of showing: an escape sequence
can rename or clear it, a carriage return hides what came before it, a line
break splits the password in two.

A refused line stops the command: the lines before it have been written,
and one line on standard error names the line (and the character) at fault.
Each line is judged as it arrives, so a bad byte is refused at once, never
after a whole endless line.

On a terminal, an answer as long as the terminal keeps of a line (4095
bytes on Linux, 16382 characters in a Windows console) may have been cut
short, and is refused, never encrypted: pipe a long one in. Whatever signal
ends the program while it asks, the terminal's settings come back first,
and the program then ends as that signal would have ended it.

Options:
  --lenient   With decrypt: refuse no line within the limit; print for
              every line what the Velkast dialog would show ("Unable to
              Decrypt" where it fails). A password holding a control
              character is printed as it is; one holding a line break
              spans more than one line.
  -h, --help     Show this help.
  -V, --version  Show the program's version.
  --          End of the options: what follows is never taken for one.

Exit status: 0 every line done; 1 a line refused, or standard input or
output failed (a closed pipe, a full disk); 2 a usage error: an unknown
command or option, an argument after the command, or any other argument
given with --help or --version.

The key is built into the program: anyone who has Velkast can decrypt every
Velkast text. This is obfuscation, not protection: it keeps passwords out of
casual sight, not out of the hands of anyone who wants them.
)" + std::string(kSystemHelp);
}

std::string VersionText() { return std::string(kProgramName) + " " + kCliVersion + "\n"; }
