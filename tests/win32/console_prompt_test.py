#!/usr/bin/env python3
"""velkast-cli.exe asking on a console: run under Wine on a pseudo-terminal,
which Wine's console host turns into the program's console.

usage: console_prompt_test.py WINE_RUN CLI_EXE

A password beyond ASCII typed at "Password: " is not echoed and gives the
text the same program makes of it on a pipe; that text typed at
"Encrypted text: " is echoed and gives the password back, shown as its
characters on the console. An answer as long as the console keeps of a
line, 16382 characters, may have been cut, and is refused, never encrypted,
and so is a longer one; one character less gives the text the program
makes of it on a pipe.
"""
import os
import pty
import re
import select
import subprocess
import sys
import termios
import time

PASSWORD = 'Pässwörd€ñ'
# The console host's cursor and erase codes; it draws a space by moving on.
ESCAPES = re.compile(rb'\x1b\[[0-9;?]*[A-Za-z]')


def converse(command, prompt, answer):
    """Runs command on a terminal, types answer at prompt; (shown, status).
    Wine's console host may keep the terminal open after the program has
    ended, so the program's end, not the terminal's, ends the conversation."""
    pid, fd = pty.fork()
    if pid == 0:
        os.execvp(command[0], command)
    shown = b''
    typed = False
    status = None
    quiet_since = None
    deadline = time.time() + 90
    while time.time() < deadline:
        ready, _, _ = select.select([fd], [], [], 0.2)
        try:
            chunk = os.read(fd, 4096) if ready else b''
        except OSError:  # the terminal has closed
            chunk = b''
        shown += chunk
        # Typed once the prompt shows and the console host has taken the
        # terminal over (no echo of its own), as a person would type.
        if (not typed and prompt.rstrip() in ESCAPES.sub(b'', shown).decode('utf-8', 'replace')
                and not termios.tcgetattr(fd)[3] & termios.ECHO):
            data = answer.encode() + b'\r'
            while data:  # in pieces the terminal takes
                data = data[os.write(fd, data[:1024]):]
            typed = True
        if status is None:
            ended, raw = os.waitpid(pid, os.WNOHANG)
            status = os.waitstatus_to_exitcode(raw) if ended else None
        elif chunk:
            quiet_since = None
        elif quiet_since is None:
            quiet_since = time.time()
        elif time.time() - quiet_since > 0.5:
            break  # ended, and all it showed has been read
        if ready and not chunk:
            time.sleep(0.05)
    if status is None:
        os.kill(pid, 9)
        os.waitpid(pid, 0)
    os.close(fd)
    return ESCAPES.sub(b'', shown).decode('utf-8', 'replace'), status


def encrypt_on_pipe(wine_run, cli, password):
    return subprocess.run([wine_run, cli, 'encrypt'], input=(password + '\n').encode(),
                          capture_output=True, check=False)


def main(wine_run, cli):
    failures = []
    on_pipe = encrypt_on_pipe(wine_run, cli, PASSWORD)
    text = on_pipe.stdout.decode().strip()
    if on_pipe.returncode != 0 or not re.fullmatch('[0-9a-f]{32}', text):
        failures.append(f'on a pipe: {on_pipe.returncode} {on_pipe.stdout!r} {on_pipe.stderr!r}')

    shown, status = converse([wine_run, cli, 'encrypt'], 'Password: ', PASSWORD)
    if status != 0 or text not in shown:
        failures.append(f'encrypt on the console: status {status}, shown {shown!r}')
    if PASSWORD in shown:
        failures.append('the password was echoed')

    shown, status = converse([wine_run, cli, 'decrypt'], 'Encrypted text: ', text)
    if status != 0 or shown.count(text) != 1 or PASSWORD not in shown:
        failures.append(f'decrypt on the console: status {status}, shown {shown!r}')

    for length in (16381, 16382, 20000):
        answer = ''.join(chr(0x21 + i * 7 % 94) for i in range(length))
        shown, status = converse([wine_run, cli, 'encrypt'], 'Password: ', answer)
        shown = re.sub(r'\s', '', shown)  # the console wraps what it shows
        if length < 16382:
            text = encrypt_on_pipe(wine_run, cli, answer).stdout.decode().strip()
            ok = status == 0 and len(text) == 2 * (length + 17 - (length + 17) % 16) and text in shown
        else:
            ok = status == 1 and 'mayhavebeencutshort' in shown and not re.search('[0-9a-f]{64}', shown)
        if not ok:
            failures.append(f'{length} characters: status {status}, shown {shown[-200:]!r}')

    for failure in failures:
        print(f'FAIL: {failure}', file=sys.stderr)
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main(*sys.argv[1:]))
