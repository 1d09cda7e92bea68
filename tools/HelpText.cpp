#include "tools/HelpText.h"

#include "CliVersion.h"
#include "tools/Diagnostics.h"

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

Options:
  --lenient   With decrypt: never refuse; print for every line what the
              Velkast dialog would show ("Unable to Decrypt" where it
              fails). A password holding a control character is printed
              as it is; one holding a line break spans more than one line.
  -h, --help     Show this help.
  -V, --version  Show the program's version.

Exit status: 0 every line done; 1 a line refused, or standard input or
output failed (a closed pipe, a full disk); 2 a usage error: an unknown
command or option, an argument after the command, or any other argument
given with --help or --version.

The key is built into the program: anyone who has Velkast can decrypt every
Velkast text. This is obfuscation, not protection: it keeps passwords out of
casual sight, not out of the hands of anyone who wants them.
)";
}

std::string VersionText() {
  return std::string(kProgramName) + " " + kCliVersion + "\n";
}
