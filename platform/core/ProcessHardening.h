// Keeps the passwords a process holds out of crash files.
#pragma once

// Called first thing in main, before any password is read: a crash of the
// process then writes no core file, and on Linux no other process of the
// same user can read its memory (through /proc or a debugger). Lowering
// its own limits never fails for a process, so there is nothing to report.
void HardenProcess();
