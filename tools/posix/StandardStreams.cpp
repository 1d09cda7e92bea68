#include "tools/StandardStreams.h"

#include <unistd.h>

#include <csignal>

void PrepareStandardStreams() { std::signal(SIGPIPE, SIG_IGN); }

bool IsTerminal(int fd) { return isatty(fd) != 0; }

long WriteBytes(int fd, std::string_view text) { return ::write(fd, text.data(), text.size()); }

bool MayEndInShellBlank(int) { return false; }
