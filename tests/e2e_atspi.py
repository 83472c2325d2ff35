"""The calculator as a screen reader finds it through the desktop's accessibility bus (AT-SPI):
switched on and keyed 12 ENTER 3 + by actions alone, it reads X 3 and Y 15; every control has a
name, a description and an action; six Tabs move the focus over six controls, each announced.
Prints what failed and exits 1.
    e2e_atspi.py WINDOW_ID"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

window_id = sys.argv[1]


def fail(what):
    print(what)
    sys.exit(1)


def pump(until, limit=15):
    """Runs the event loop until `until()` holds, at most `limit` seconds."""
    end = time.monotonic() + limit
    context = GLib.MainContext.default()
    while not until():
        if time.monotonic() > end:
            return False
        context.iteration(False)
        time.sleep(0.02)
    return True


def calculator():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Orrindale":
            for window in app:
                if window.name == "HP 9100B calculator":
                    return window
    return None


found = []
if not pump(lambda: found.append(calculator()) or found[-1] is not None):
    fail("no calculator on the accessibility bus")
panel = found[-1]
items = {child.name: child for child in panel}


def act(name, action):
    actions = items[name].queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    if action not in names:
        fail(f"{name}: no action {action} among {names}")
    actions.doAction(names.index(action))


def display():
    text = items["Display"].queryText()
    return text.getText(0, text.characterCount)


act("Switch OFF/ON", "Toggle")
if not pump(lambda: display() != ""):
    fail("the power switch's action did not switch on")
for key in ["Key 1", "Key 2", "Key Shift Up, Enter", "Key 3", "Key Add, +"]:
    act(key, "Press")
if not pump(lambda: display() == "X 3, Y 15, Z 0"):
    fail(f"12 ENTER 3 + by actions reads {display()!r}")

lacking = []
for child in panel:
    if child.getRole() in (pyatspi.ROLE_LABEL, pyatspi.ROLE_NOTIFICATION):
        continue  # the display and its notification of results
    try:
        actions = child.queryAction().nActions
    except NotImplementedError:
        actions = 0
    if not child.name or not child.description or actions == 0:
        lacking.append(child.name or f"child {child.getIndexInParent()}")
if lacking or panel.childCount != 80:
    fail(f"{panel.childCount} children; without name, description or action: {lacking}")

focused = []


def on_focus(event):
    if event.detail1 and event.source.parent == panel:
        focused.append(event.source.name)


pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
for _ in range(6):
    subprocess.run(["xdotool", "key", "--window", window_id, "Tab"], check=True)
if not pump(lambda: len(focused) >= 6):
    fail(f"6 Tabs announced focus on {focused}")


print("focus went to:", ", ".join(focused))
