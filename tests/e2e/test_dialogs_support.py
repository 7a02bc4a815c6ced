"""What the dialog and performance scripts share: seeding the settings file, starting the program
with no way to reach the machine's clock service, finding unnamed controls by their place,
pressing and dragging with the real mouse, and cropping screenshots to one window.

Not a test of its own; the scripts that import it are registered in CMakeLists.txt."""

import os
import re
import shutil
import subprocess
import time

from e2e_support import Failure, check, check_equal

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE_DIR = os.path.dirname(os.path.dirname(HERE))

# The clock dialog's setter talks to the system bus. The scripts never press apply; pointing the
# program at a bus that does not exist makes sure that even a stray click could not reach it.
NO_SYSTEM_BUS = {"DBUS_SYSTEM_BUS_ADDRESS": "unix:path=/nonexistent/tirvelon-e2e-system-bus"}

ARABIC = 0
KURDISH = 1

TWIPS_PER_PIXEL = 15


def seed_settings(desktop, **values):
    """Writes the program's settings file in the desktop's HOME before a start.

    Keys are given with "_" for "-": seed_settings(desktop, Salat_6=1)."""
    folder = os.path.join(desktop.config_home, "Tirvelon")
    os.makedirs(folder, exist_ok=True)
    lines = ["[Settings]"]
    lines += ["%s=%s" % (key.replace("_", "-"), value) for key, value in values.items()]
    with open(os.path.join(folder, "Tirvelon.ini"), "w") as f:
        f.write("\n".join(lines) + "\n")


def start(desktop, binary, faketime, timeout=60, env=None):
    """Starts the program at a faked moment; returns (program, main window id, accessible app)."""
    program = desktop.start_program(binary, faketime=faketime, env={**NO_SYSTEM_BUS, **(env or {})})
    window = desktop.wait_for_window("Tirvelon", timeout=timeout)
    app = desktop.accessible_app(pid=program.pid, timeout=timeout)
    # The clock label is filled by the first tick: from then on the window is live.
    clock = desktop.find(app, description="Label3", timeout=timeout)
    deadline = time.monotonic() + timeout
    while not re.fullmatch(r"\d\d:\d\d:\d\d [AP]M", desktop.text(clock)):
        if time.monotonic() > deadline:
            raise TimeoutError("the main clock never showed a time")
        time.sleep(0.2)
    return program, window, app


def stop(program):
    """Stops the program and prints what it wrote, for the CTest log."""
    log = program.log()
    program.stop()
    if log.strip():
        print("--- program output ---\n" + log[-2000:])


def xdotool(*args):
    subprocess.run(["xdotool", *[str(a) for a in args]], check=True, capture_output=True,
                   timeout=30)


def move_mouse(x, y):
    # Not "mousemove --sync": when the pointer is already there, xdotool waits for a move that
    # never comes. The X server keeps the order of the move and of the button that follows.
    xdotool("mousemove", x, y)
    time.sleep(0.05)


def click_at(x, y):
    move_mouse(x, y)
    xdotool("click", 1)


def press_and_release(press_at, release_at):
    """Presses the left button at one point and lets it go at another."""
    move_mouse(*press_at)
    xdotool("mousedown", 1)
    time.sleep(0.15)
    move_mouse(*release_at)
    time.sleep(0.1)
    xdotool("mouseup", 1)


def top_level(node):
    """The window-level accessible that holds node."""
    while node.parent is not None and node.parent.getRoleName() != "application":
        node = node.parent
    return node


def place_in_window(desktop, node):
    """(x, y, width, height) of node from its window's top-left corner.

    AT-SPI can report a window that has just been shown or moved at a stale place; the control's
    place within its window is right all the same."""
    x, y, width, height = desktop.extents(node)
    top_x, top_y, _, _ = desktop.extents(top_level(node))
    return (x - top_x, y - top_y, width, height)


def click_control(desktop, wid, node):
    """A real mouse click in the middle of node, which lies in window wid."""
    window_x, window_y, _, _ = desktop.window_geometry(wid)
    x, y, width, height = place_in_window(desktop, node)
    click_at(window_x + x + width // 2, window_y + y + height // 2)


def frame_geometry(desktop, wid):
    """(x, y, width, height) of the window with the window manager's frame around it."""
    x, y, width, height = desktop.window_geometry(wid)
    out = subprocess.run(["xprop", "-id", str(wid), "_NET_FRAME_EXTENTS"], capture_output=True,
                         text=True, timeout=30).stdout
    numbers = [int(n) for n in re.findall(r"\d+", out.partition("=")[2])]
    left, right, top, bottom = numbers if len(numbers) == 4 else (0, 0, 0, 0)
    return (x - left, y - top, width + left + right, height + top + bottom)


def crop_screenshot(desktop, geometry, path):
    """A screenshot of the whole screen cropped to geometry (x, y, width, height)."""
    full = path + ".screen.png"
    desktop.screenshot(full)
    x, y, width, height = geometry
    subprocess.run(["convert", full, "-crop", "%dx%d+%d+%d" % (width, height, x, y), "+repage",
                    path], check=True, timeout=60)
    os.remove(full)
    check(os.path.getsize(path) > 0, "screenshot %s (%dx%d at %d,%d)"
          % (path, width, height, x, y))
    return path


def publish(path, name):
    """Copies a screenshot into docs/ when TIRVELON_UPDATE_DOCS=1 asks for fresh pictures."""
    if os.environ.get("TIRVELON_UPDATE_DOCS") != "1":
        return
    target = os.path.join(SOURCE_DIR, "docs", name)
    shutil.copyfile(path, target)
    print("docs picture updated:", target)


def image_difference(first, second):
    """ImageMagick's normalised RMSE of two pictures of one size: 0 same, 1 opposite."""
    result = subprocess.run(["compare", "-metric", "RMSE", first, second, "null:"],
                            capture_output=True, text=True, timeout=60)
    match = re.search(r"\(([\d.e+-]+)\)", result.stderr)
    if match is None:
        raise RuntimeError("compare gave no figure: " + result.stderr)
    return float(match.group(1))


def twips_rect(left, top, width, height):
    return tuple(round(v / TWIPS_PER_PIXEL) for v in (left, top, width, height))


def find_by_place(desktop, root, role, place, tolerance=1):
    """The one node of this role below root whose top-left corner lies at place (x, y) in its
    window. The dialogs give their fields no accessible names: a field is known by its place."""
    found = []
    for node in desktop.find_all(root, role=role):
        try:
            x, y, _, _ = place_in_window(desktop, node)
        except Exception:
            continue
        if abs(x - place[0]) <= tolerance and abs(y - place[1]) <= tolerance:
            found.append(node)
    if len(found) != 1:
        raise Failure("%d %s nodes at %r, expected one" % (len(found), role, place))
    return found[0]


def windows_of(desktop, pid, title):
    """Shown windows of this process with exactly this title (xdotool alone matches either)."""
    return sorted(set(desktop.windows(pid=pid)) & set(desktop.windows(title=title)))


def wait_for_no_window(desktop, title, pid, timeout=10):
    deadline = time.monotonic() + timeout
    while windows_of(desktop, pid, title):
        if time.monotonic() > deadline:
            return False
        time.sleep(0.2)
    return True


def choose_language(desktop, app, wid, index):
    """Picks entry index of the language list Combo3 the way a user does: a click opens the
    list, the keys walk to the entry and Return takes it."""
    combo = desktop.find(app, description="Combo3")
    items = desktop.combo_items(combo)
    check_equal(len(items), 2, "entries of the language list")
    click_control(desktop, wid, combo)
    time.sleep(0.5)
    xdotool("key", "Home", *(["Down"] * index), "Return")
    deadline = time.monotonic() + 10
    while desktop.combo_selected(combo) != items[index] and time.monotonic() < deadline:
        time.sleep(0.2)
    check_equal(desktop.combo_selected(combo), items[index], "language list selection")
