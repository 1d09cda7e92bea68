#!/usr/bin/env python3
"""velkast-cli.exe asking on a console (Wine makes a pseudo-terminal the
program's console): an answer as long as the console keeps of a line, 16382
characters, may have been cut, and is refused, never encrypted; one
character less gives the text the same program makes of it on a pipe; a
longer one is refused as well.

usage: console_limit_test.py WINE_RUN CLI_EXE
"""
import os
import pty
import re
import select
import subprocess
import sys
import termios
import time

# The console host's cursor and erase codes; it draws a space by moving on.
ESCAPES = re.compile(rb'\x1b\[[0-9;?]*[A-Za-z]')


def converse(command, answer):
    """Runs command on a terminal, types answer at the password prompt once
    the console host has taken the terminal over; (shown, status)."""
    pid, fd = pty.fork()
    if pid == 0:
        os.execvp(command[0], command)
    shown, typed, status = b'', False, None
    deadline = time.time() + 90
    while status is None and time.time() < deadline:
        if select.select([fd], [], [], 0.2)[0]:
            try:
                shown += os.read(fd, 65536)
            except OSError:  # the terminal has closed
                pass
        if (not typed and b'Password:' in ESCAPES.sub(b'', shown)
                and not termios.tcgetattr(fd)[3] & termios.ECHO):
            data = answer.encode() + b'\r'
            while data:
                data = data[os.write(fd, data[:1024]):]
            typed = True
        ended, raw = os.waitpid(pid, os.WNOHANG)
        status = os.waitstatus_to_exitcode(raw) if ended else None
    if status is None:
        os.kill(pid, 9)
        os.waitpid(pid, 0)
    while select.select([fd], [], [], 0.5)[0]:  # what it showed last
        try:
            shown += os.read(fd, 65536)
        except OSError:
            break
    os.close(fd)
    return ESCAPES.sub(b'', shown).decode('utf-8', 'replace'), status


def main(wine_run, cli):
    failures = []
    for length in (16381, 16382, 20000):
        answer = ''.join(chr(0x21 + i * 7 % 94) for i in range(length))
        shown, status = converse([wine_run, cli, 'encrypt'], answer)
        shown = re.sub(r'\s', '', shown)  # the console wraps what it shows
        if length < 16382:
            on_pipe = subprocess.run([wine_run, cli, 'encrypt'], input=(answer + '\n').encode(),
                                     capture_output=True, check=False).stdout.decode().strip()
            if status != 0 or len(on_pipe) != 2 * (length + 17 - (length + 17) % 16) or on_pipe not in shown:
                failures.append(f'{length} characters: status {status}, shown {shown[-200:]!r}')
        elif status != 1 or 'mayhavebeencutshort' not in shown or re.search('[0-9a-f]{64}', shown):
            failures.append(f'{length} characters: status {status}, shown {shown[-200:]!r}')
    for failure in failures:
        print(f'FAIL: {failure}', file=sys.stderr)
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main(*sys.argv[1:]))
