// The program's standard streams as the system has them: file descriptors
// read and written as bytes, and whether one is a terminal a person types
// at. What differs between systems is in posix/ and win32/.
#pragma once

#include <cstddef>
#include <string_view>

// Byte streams throughout (on Windows, not the C library's text mode, which
// writes "\n" as "\r\n" and takes 0x1A for the end of input), and a write to
// a closed pipe reported as a failed write rather than ending the program.
void PrepareStandardStreams();

// Whether fd is a terminal (on Windows, a console).
bool IsTerminal(int fd);

// Writes some of text to fd: the number of bytes taken, or -1 with errno
// set. On a Windows console, UTF-8 text of whole characters is shown as
// those characters, whatever the console's code page.
long WriteBytes(int fd, std::string_view text);

// Whether a line read from fd that ends in a space or a tab deserves a note:
// on Windows when fd is a pipe, since cmd's "echo password | ..." keeps the
// space before the bar.
bool MayEndInShellBlank(int fd);
