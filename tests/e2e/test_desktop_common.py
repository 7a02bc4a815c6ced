"""What the desktop scripts share: finding the main window and the docked tray icon of a copy of
the program in the X tree, clicking controls where AT-SPI places them, and reading the settings
file and the autostart entry of the private HOME.

Not a test of its own: the test_desktop_*.py scripts import it.
"""

import os
import re
import shlex
import subprocess
import time

from e2e_support import Failure

MAIN_SIZE = (491, 272)


def x(*args):
    """Output of an X tool on the private display (the Desktop has pointed DISPLAY at it)."""
    result = subprocess.run(list(args), capture_output=True, text=True, timeout=30)
    return result.stdout if result.returncode == 0 else ""


def windows_of(pid, visible=False):
    args = ["xdotool", "search"]
    if visible:
        args.append("--onlyvisible")
    return [int(w) for w in x(*args, "--pid", str(pid)).split() if w.isdigit()]


def _info(wid):
    return x("xwininfo", "-id", str(wid))


def viewable(wid):
    return "Map State: IsViewable" in _info(wid)


def geometry(wid):
    """(x, y, width, height) on the screen, or None when the window is gone."""
    out = _info(wid)
    fields = []
    for name in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"):
        found = re.search(r"%s:\s+(-?\d+)" % re.escape(name), out)
        if not found:
            return None
        fields.append(int(found.group(1)))
    return tuple(fields)


def title(wid):
    return x("xdotool", "getwindowname", str(wid)).rstrip("\n")


def main_window(pid):
    """The copy's main window (mapped or not): its 491 x 272 top level. The tray icon's window
    carries the same title, so the size tells them apart. The id is looked up afresh each time:
    the program may give the window a new native window when it comes back from the tray."""
    for wid in windows_of(pid):
        box = geometry(wid)
        if box and box[2:] == MAIN_SIZE and title(wid) in ("Tirvelon", "1"):
            return wid
    return None


def shown_main_window(pid):
    """The copy's main window when it is viewable, else None."""
    for wid in windows_of(pid, visible=True):
        box = geometry(wid)
        if box and box[2:] == MAIN_SIZE and viewable(wid):
            return wid
    return None


def wait_main_window(program, timeout=60):
    """Waits for the copy's main window; a Failure that says what there was when it never
    showed (the process, its windows, the end of its output)."""
    wid, took = wait_for(lambda: shown_main_window(program.pid), timeout, 0.2)
    if not wid:
        found = [(w, geometry(w), viewable(w)) for w in windows_of(program.pid)]
        raise Failure("the main window shows: none of size %s after %.0f s; the program %s; its "
                      "windows (id, box, viewable): %r; its output ends: %r"
                      % (MAIN_SIZE, took, "runs" if program.alive() else "has ended", found,
                         program.log()[-600:]))
    return wid, took


def _parent(wid):
    found = re.search(r"Parent window id: (0x[0-9a-f]+)", x("xwininfo", "-children", "-id",
                                                            str(wid)))
    return int(found.group(1), 16) if found else 0


def _is_trayer(wid):
    return "trayer" in x("xprop", "-id", str(wid), "WM_CLASS").lower()


def docked_icon(pid):
    """The copy's icon window docked inside trayer, or None."""
    for wid in windows_of(pid):
        if not viewable(wid):
            continue
        ancestor = _parent(wid)
        for _ in range(8):  # icon, socket, panel, frame, root: never deep
            if not ancestor:
                break
            if _is_trayer(ancestor):
                return wid
            ancestor = _parent(ancestor)
    return None


def wait_for(predicate, timeout, interval=0.05):
    """Polls predicate; returns (value, seconds it took) or (falsy value, timeout)."""
    start = time.monotonic()
    while True:
        value = predicate()
        elapsed = time.monotonic() - start
        if value or elapsed >= timeout:
            return value, elapsed
        time.sleep(interval)


def click_at(px, py):
    # No --sync: it can wait for a pointer move that never comes when the pointer is already
    # there. Motion and button go through the same connection, so they arrive in order.
    x("xdotool", "mousemove", str(px), str(py), "click", "1")


def click_box(box):
    left, top, width, height = box
    click_at(left + width // 2, top + height // 2)


def click_control(desktop, app, description):
    """Clicks (press and release) the middle of the control with this AT-SPI description."""
    box = desktop.extents(desktop.find(app, description=description))
    if box[2] <= 0 or box[3] <= 0:
        raise Failure("%s has no place on the screen: %r" % (description, box))
    click_box(box)
    return box


def choose_combo_item(desktop, app, description, index):
    """Opens the drop-down list and clicks its index-th row, as a user would."""
    combo = desktop.find(app, description=description)
    items = [n for n in desktop.walk(combo) if desktop.role(n) == "list item"]
    wanted = items[index].name
    desktop.do_action(combo, "ShowMenu")
    item, _ = wait_for(lambda: _placed(desktop, items[index]), 5)
    if not item:
        raise Failure("the list of %s did not open" % description)
    time.sleep(0.3)  # the popup settles in its place
    click_box(desktop.extents(items[index]))
    shown, _ = wait_for(lambda: desktop.combo_selected(combo) == wanted, 5)
    if not shown:
        raise Failure("%s shows %r, not the chosen %r" % (description,
                                                           desktop.combo_selected(combo), wanted))
    return wanted


def _placed(desktop, node):
    try:
        return "showing" in desktop.states(node) and desktop.extents(node)[2] > 0
    except Exception:
        return False


def message_box(pid):
    """The visible window of the exit question ("Sirvane"), or None."""
    for wid in windows_of(pid, visible=True):
        if title(wid) == "Sirvane":
            return wid
    return None


def press_box_button(desktop, app, name):
    """Presses the message box's button called name through AT-SPI."""
    box, _ = wait_for(lambda: desktop.find_all(app, role="alert", name="Sirvane"), 10, 0.2)
    if not box:
        raise Failure("no accessible message box \"Sirvane\"")
    buttons = desktop.find_all(box[0], role="push button", name=name)
    if not buttons:
        raise Failure("the message box has no %r button" % name)
    desktop.do_action(buttons[0], "Press")


def box_text(desktop, app):
    """The question of the open message box (its labels' texts joined)."""
    box = desktop.find_all(app, role="alert", name="Sirvane")
    if not box:
        return ""
    return "".join(desktop.text(n) for n in desktop.find_all(box[0], role="label"))


# ----- the private HOME ---------------------------------------------------------------------


def settings_path(desktop):
    return os.path.join(desktop.config_home, "Tirvelon", "Tirvelon.ini")


def read_settings(desktop):
    """The [Settings] keys of Tirvelon.ini as a dict of texts ({} when there is no file)."""
    return _read_group(settings_path(desktop), "Settings")


def seed_settings(desktop, values):
    """Writes Tirvelon.ini before a start, as an earlier run would have left it."""
    os.makedirs(os.path.dirname(settings_path(desktop)), exist_ok=True)
    with open(settings_path(desktop), "w") as f:
        f.write("[Settings]\n")
        for key, value in values.items():
            f.write("%s=%s\n" % (key, value))


def autostart_path(desktop):
    return os.path.join(desktop.config_home, "autostart", "Delkaro.desktop")


def read_autostart(desktop):
    """The [Desktop Entry] keys of Delkaro.desktop ({} when there is no file)."""
    return _read_group(autostart_path(desktop), "Desktop Entry")


def exec_program(entry):
    """The program an entry's Exec line starts (quotes and escapes undone), or ""."""
    value = entry.get("Exec", "")
    if not value:
        return ""
    # File-level escapes first, then the command line's own quoting.
    value = value.replace("\\\\", "\\")
    words = shlex.split(value)
    return words[0].replace("%%", "%") if words else ""


def autostart_on(entry):
    """Whether a desktop session would start the entry at logon."""
    return (bool(entry) and entry.get("Hidden", "false").lower() != "true"
            and entry.get("X-GNOME-Autostart-enabled", "true").lower() != "false"
            and bool(exec_program(entry)))


def _read_group(path, group):
    values = {}
    try:
        with open(path, encoding="utf-8") as f:
            lines = f.read().splitlines()
    except FileNotFoundError:
        return values
    inside = False
    for line in lines:
        line = line.strip()
        if line.startswith("["):
            inside = line == "[%s]" % group
        elif inside and "=" in line:
            key, value = line.split("=", 1)
            values[key.strip()] = value.strip()
    return values


def show_log(program):
    log = program.log()
    if log.strip():
        print("--- program output ---\n" + log[-3000:])
