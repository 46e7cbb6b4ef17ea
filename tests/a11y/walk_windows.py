"""Walks every window of the program as a screen reader sees it, over AT-SPI.

Starts the program on a new user's profile, goes through the registration and
the login, and opens each window from the keyboard. In each it fails on a
focusable control without a name, a table, list or picture without a name, and
a Tab chain that does not come round through every control. Offenders are
printed as "window › role 'name' › … ", one a line.
"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

# Roles a screen reader reads by their name alone, focusable or not: views,
# pictures, and buttons that only the mouse presses.
NEEDS_NAME = {pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_TREE, pyatspi.ROLE_LIST,
              pyatspi.ROLE_LIST_BOX, pyatspi.ROLE_CHART, pyatspi.ROLE_IMAGE, pyatspi.ROLE_CANVAS,
              pyatspi.ROLE_PUSH_BUTTON}
# Rows, cells and entries are reached by arrows inside their view, not walked
# here; a view inside a view (the calendar's day grid) is.
ITEMS = {pyatspi.ROLE_TABLE_CELL, pyatspi.ROLE_LIST_ITEM, pyatspi.ROLE_TREE_ITEM, pyatspi.ROLE_COLUMN_HEADER,
         pyatspi.ROLE_ROW_HEADER, pyatspi.ROLE_TABLE_COLUMN_HEADER, pyatspi.ROLE_TABLE_ROW_HEADER,
         pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_MENU, pyatspi.ROLE_MENU_BAR}
# Focusable for the mouse or the arrows, not stops of the Tab chain.
NOT_TAB_STOPS = {pyatspi.ROLE_LABEL, pyatspi.ROLE_PAGE_TAB}

offences = 0
focus_events = []
# What password boxes tell the bus while the owner types: dots, never letters.
password_changes = []


def offend(text):
    global offences
    offences += 1
    print(text, flush=True)


def note_password_change(event):
    try:
        if event.source.getRole() == pyatspi.ROLE_PASSWORD_TEXT:
            password_changes.append(event.any_data)
    except GLib.GError:
        pass  # a box already gone


def key(*keys):
    subprocess.run(["xdotool", "key", "--clearmodifiers", *keys], check=True)


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "20", text], check=True)


def pump(seconds):
    """Lets the bus deliver focus events for a while."""
    end = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while time.monotonic() < end:
        while context.pending():
            context.iteration(False)
        time.sleep(0.01)


def wait_for(what, find, seconds=20):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = find()
        if found:
            return found
        pump(0.1)
    sys.exit(f"FAIL: no {what} after {seconds} s")


def is_drawing(node):
    """A plain widget with nothing inside: a view's drawing area, or a picture drawn by hand."""
    return node.getRole() in (pyatspi.ROLE_FILLER, pyatspi.ROLE_PANEL) and not node.childCount


def is_named(node):
    if node.name.strip():
        return True
    if any(r.getRelationType() == pyatspi.RELATION_LABELLED_BY for r in node.getRelationSet()):
        return True
    # A view's drawing area goes by the view's name.
    return is_drawing(node) and bool(node.parent.name.strip())


def step(node, index, caption):
    """A node in a path: its role and name, or its place and the caption shown before it."""
    if node.name.strip():
        return f"{node.getRoleName()} '{node.name}'"
    return f"{node.getRoleName()} #{index}" + (f" after '{caption}'" if caption else "")


def walk(node, path):
    """The showing accessibles under node, each with its path."""
    caption = ""
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is None or child.getRole() in ITEMS or not child.getState().contains(pyatspi.STATE_SHOWING):
            continue
        child_path = f"{path} › {step(child, index, caption)}"
        if child.getRole() == pyatspi.ROLE_LABEL and child.name.strip():
            caption = child.name.strip().splitlines()[0][:30]
        yield child, child_path
        if child.getRole() != pyatspi.ROLE_COMBO_BOX:  # its box and list are the combo box
            yield from walk(child, child_path)


def is_graphic(node):
    """A picture or chart: a drawing area of some size."""
    if not is_drawing(node):
        return False
    try:
        width, height = node.queryComponent().getSize()
    except NotImplementedError:  # a part of a view with no place of its own
        return False
    return width >= 32 and height >= 32


def is_control(node):
    """Focusable, and no container handing the focus on to a child (a tab widget to its bar)."""
    return node.getState().contains(pyatspi.STATE_FOCUSABLE) and not (
        node.getRole() in (pyatspi.ROLE_FILLER, pyatspi.ROLE_PANEL) and node.childCount)


def check_names(nodes):
    for node, path in nodes:
        if is_control(node) and not is_named(node):
            offend(f"{path}: a focusable control without a name")
        elif (node.getRole() in NEEDS_NAME or is_graphic(node)) and not is_named(node):
            offend(f"{path}: the {node.getRoleName()} has no name")


def tab_stops(nodes):
    """The controls Tab should reach: of a group of radio buttons, the checked one;
    a drawing area may be left to the mouse."""
    stops = []
    for node, path in nodes:
        state = node.getState()
        if not (is_control(node) and state.contains(pyatspi.STATE_SENSITIVE)):
            continue
        if node.getRole() in NOT_TAB_STOPS or is_drawing(node):
            continue
        if node.getRole() == pyatspi.ROLE_RADIO_BUTTON and not state.contains(pyatspi.STATE_CHECKED):
            continue
        stops.append((node, path))
    # A control that hands the focus to one inside it (the calendar to its day grid) is no stop.
    return [(node, path) for node, path in stops if not any(p.startswith(path + " › ") for _, p in stops)]


def stop_of(node, stops):
    """The Tab stop that holds node: a cell counts as its table."""
    while node is not None:
        for index, (stop, _) in enumerate(stops):
            if stop == node:
                return index
        node = node.parent
    return None


def focused_stop(stops):
    for index, (stop, _) in enumerate(stops):
        if stop.getState().contains(pyatspi.STATE_FOCUSED):
            return index
    return None


def focus_after_tab(stops, last):
    """The accessible that has the focus after a Tab. A web page moves its
    focus among its links without telling: Tab is pressed on while it is silent."""
    for _ in range(80):
        focus_events.clear()
        key("Tab")
        pump(0.1)
        if not focus_events:
            pump(0.1)
        gained = [event.source for event in focus_events if event.detail1]
        if gained:
            return gained[-1]
        now = focused_stop(stops)
        if now is not None and stops[now][0] != last:
            return stops[now][0]
    return last


def check_tab_chain(label, stops):
    """Tab from the focused control comes back to it through every stop."""
    if not stops:
        return
    start = focused_stop(stops)
    if start is None:
        offend(f"{label}: nothing has the focus when the window opens")
        return
    trail = [stops[start][0]]
    for _ in range(3 * len(stops) + 10):
        now = focus_after_tab(stops, trail[-1])
        if stop_of(now, stops) == start:
            break
        if now in trail:
            loop = trail[trail.index(now):]
            caught = ", ".join(dict.fromkeys(f"{n.getRoleName()} '{n.name}'" for n in loop[:3]))
            offend(f"{label}: Tab goes round in {caught} and never leaves it")
            return
        trail.append(now)
        if now.getRole() == pyatspi.ROLE_TABLE:
            # A reader steps into a table before going on.
            key("Down")
    else:
        offend(f"{label}: Tab never comes back to {stops[start][1]}")
        return
    reached = {stop_of(node, stops) for node in trail}
    for index, (_, path) in enumerate(stops):
        if index not in reached:
            offend(f"{path}: Tab goes round without reaching it")


def check_calendar_day_heard():
    """Tab into the calendar: the day it is on is heard, not the table alone."""
    for _ in range(40):
        focus_events.clear()
        key("Tab")
        pump(0.3)
        for event in focus_events:
            try:
                if event.detail1 and event.source.getRole() == pyatspi.ROLE_TABLE_CELL:
                    return
            except GLib.GError:
                pass
    offend("main window › カレンダー: Tab into the calendar does not tell the day it is on")


def check_window(window, label=None):
    label = label or window.name
    nodes = list(walk(window, label))
    check_names(nodes)
    check_tab_chain(label, tab_stops(nodes))


def top_windows(app):
    return [w for w in app if w is not None and w.getState().contains(pyatspi.STATE_SHOWING)]


def window_named(app, title):
    return lambda: next((w for w in top_windows(app) if w.name == title), None)


def close(app, window):
    key("Escape")
    pump(0.5)
    if window in top_windows(app):
        key("alt+F4")
    wait_for(f"closing of {window.name}", lambda: window not in top_windows(app), 10)


def check_tabs(window, label):
    """A window with tabs (the properties, 統計): each tab as a window of its own."""
    def tab_list():
        return next((node for node, _ in walk(window, "") if node.getRole() == pyatspi.ROLE_PAGE_TAB_LIST), None)
    if tab_list() is None:
        check_window(window, label)
        return
    for index in range(tab_list().childCount):
        # The tabs are made anew at every change; the bar's scroll buttons are no tabs.
        tab = tab_list().getChildAtIndex(index)
        if tab.getRole() != pyatspi.ROLE_PAGE_TAB:
            continue
        tab.queryAction().doAction(0)
        pump(0.3)
        check_window(window, f"{label} › {tab.name}")


def main():
    # The program's own output (the browser engine's report) stays out of the offences.
    program = subprocess.Popen([sys.argv[1]], stdout=subprocess.DEVNULL, stderr=open("program.log", "w"))
    pyatspi.Registry.registerEventListener(focus_events.append, "object:state-changed:focused")
    pyatspi.Registry.registerEventListener(note_password_change, "object:text-changed")
    desktop = pyatspi.Registry.getDesktop(0)
    app = wait_for("program on the accessibility bus",
                   lambda: next((a for a in desktop if a is not None and a.get_process_id() == program.pid), None))
    try:
        # The first start: the question, the registration and the login.
        wait_for("新規登録", window_named(app, "新規登録"))
        key("alt+y")
        check_window(wait_for("所有者登録", window_named(app, "所有者登録")))
        type_text("Owner")
        key("Tab")
        type_text("secret")
        pump(0.5)
        key("Return")
        check_window(wait_for("所有者確認", window_named(app, "所有者確認")))
        # Enter goes from the name to the password, and from there to OK.
        key("Return")
        type_text("secret")
        pump(0.5)
        key("Return", "space")
        main_window = wait_for("main window", lambda: next(
            (w for w in top_windows(app) if w.getRole() == pyatspi.ROLE_FRAME), None))
        # A diary of three pages: the one made at the first start and two more.
        key("F4")
        key("F4")
        pump(0.5)
        check_window(main_window)
        spelt = [text for text in password_changes if set(str(text)) & set("secret")]
        if spelt or not password_changes:
            offend(f"the password boxes told the bus {spelt or 'nothing'} as the password was typed")

        # Each window from the keys of its menu entry.
        for keys, title in [(["ctrl+f"], "検索"), (["ctrl+p"], "プロパティー"),
                            (["alt+t", "d"], "過去の同じ日"), (["alt+t", "e"], "書き出し"),
                            (["alt+t", "i"], "取り込み"), (["alt+t", "r"], "バックアップから復元"),
                            (["alt+t", "s"], "統計"), (["alt+o", "Up", "Return"], "ﾜﾝﾎﾟｲﾝﾄ"),
                            (["alt+t", "Right", "Right", "Up", "Return"], "Kasumire　バージョン情報"),
                            (["alt+t", "Right", "Right", "Return"], None)]:
            before = top_windows(app)
            key(*keys)
            window = wait_for(title or "help browser", lambda: next(
                (w for w in top_windows(app) if w not in before and (title is None or w.name == title)), None))
            pump(1 if title else 3)
            check_tabs(window, title or "ヘルプ")
            close(app, window)
        check_calendar_day_heard()
    finally:
        program.kill()
        program.wait()

    if offences:
        print(f"FAIL: {offences} things a screen reader user cannot name or reach")
        return 1
    print("every window walked: every control named and reached by Tab")
    return 0


if __name__ == "__main__":
    sys.exit(main())
