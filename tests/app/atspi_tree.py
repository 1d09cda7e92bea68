#!/usr/bin/python3
"""What a screen reader is told of the Velkast dialog of one process, over
AT-SPI: a window with the role of a dialog, named by its caption, and its
controls in tab order with their roles and names, the result read-only.

usage: atspi_tree.py PID
Waits up to 10 s for the process to show its tree; exits 0 when the tree is
the expected one, 1 with the tree it found."""
import sys
import time

import pyatspi

# (role, name, read-only) of the window and of each of its controls.
EXPECTED = [("dialog", "Velkast v1.1", False), [
    ("text", "Password or encrypted text", False),
    ("text", "Result", True),
    ("push button", "Decrypt", False),
    ("push button", "Encrypt", False),
    ("label", "Using AES Encryption", True),
]]


def application(pid):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == pid and app.childCount > 0:
            return app
    return None


def node(accessible):
    read_only = accessible.getState().contains(pyatspi.STATE_READ_ONLY)
    return (accessible.getRoleName(), accessible.name, read_only)


def main():
    pid = int(sys.argv[1])
    deadline = time.monotonic() + 10
    while (app := application(pid)) is None:
        if time.monotonic() > deadline:
            sys.exit(f"process {pid} shows no accessible window")
        time.sleep(0.2)
    found = [[node(window), [node(control) for control in window]] for window in app]
    if found != [EXPECTED]:
        sys.exit(f"the accessible tree is\n  {found}\nnot\n  {[EXPECTED]}")
    print(f"accessible tree: {found[0][0]}, {len(found[0][1])} controls")


if __name__ == "__main__":
    main()
