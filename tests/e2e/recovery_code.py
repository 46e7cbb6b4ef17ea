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
    caption = next(node.name for node in labels if "番目" in node.name)
    asked = int(re.search(r"左から (\d+) 番目", caption).group(1))
    length = int(re.search(r"（(\d+)文字）", caption).group(1))
    shown = next(node for node in labels if node.name.startswith("回復コード"))
    # What a screen reader says of the code's label: its name, its
    # description, or its text.
    heard = [shown.name, shown.description]
    if "Text" in shown.get_interfaces():
        text = shown.queryText()
        heard.append(text.getText(0, text.characterCount))
    code = next((letters for said in heard if len(letters := re.sub(r"[^0-9A-Za-z]", "", said)) >= asked * length), None)
    if not code:
        sys.exit(f"FAIL: a screen reader hears no recovery code in its window, only {heard}")
    print(code[(asked - 1) * length:asked * length])

main()
