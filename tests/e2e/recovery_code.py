"""Reads the recovery code window of the program with process id PID over
AT-SPI, as a screen reader would, and prints the group of the code the window
asks to be typed back.

  recovery_code.py PID
"""
import re
import sys
import time

import pyatspi


def descendants(node):
    for child in node:
        if child is not None:
            yield child
            yield from descendants(child)


def window(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.get_process_id() == pid:
            for top in app:
                if top is not None and top.name == "回復コード" and top.getState().contains(pyatspi.STATE_SHOWING):
                    return top
    return None


def main():
    pid = int(sys.argv[1])
    end = time.monotonic() + 30
    while not (found := window(pid)):
        if time.monotonic() > end:
            sys.exit("FAIL: no recovery code window on the accessibility bus")
        time.sleep(0.2)
    labels = [node for node in descendants(found) if node.getRole() == pyatspi.ROLE_LABEL]
    shown = next(node for node in labels if node.name == "回復コード")
    text = shown.queryText()
    code = re.sub(r"[^0-9A-Za-z]", "", text.getText(0, text.characterCount))
    asked = next(int(m.group(1)) for node in labels if (m := re.search(r"左から (\d+) 番目", node.name)))
    length = int(re.search(r"（(\d+)文字）", next(n.name for n in labels if "番目" in n.name)).group(1))
    print(code[(asked - 1) * length:asked * length])


main()
