"""A private desktop for driving the real program end to end.

    with Desktop(tray=True) as desktop:
        program = desktop.start_program(binary, faketime="2026-03-21 05:00:00")
        window = desktop.wait_for_window("Tirvelon")
        app = desktop.accessible_app(pid=program.pid)
        clock = desktop.find(app, description="Label3")
        print(desktop.text(clock))

Everything lives under one temporary directory: a new HOME with its own XDG_CONFIG_HOME,
XDG_DATA_HOME, XDG_CACHE_HOME and XDG_RUNTIME_DIR (0700), so the program's settings, autostart
entry and instance lock are the test's own. Inside it run a session dbus-daemon, Xvfb on a free
display, openbox, optionally trayer as the notification-area host, the AT-SPI bus and a
PulseAudio whose default output is a null sink. All of them stop on exit, whatever happened; a
final sweep ends any process that still carries this desktop's marker in its environment.

The harness process itself points DISPLAY and the session bus at the private desktop while the
context is open (xdotool and pyatspi read them), and pyatspi binds to the first desktop's AT-SPI
bus for the rest of the process: use one Desktop per test process.

Clock: faketime="YYYY-MM-DD HH:MM:SS" preloads libfaketime with FAKETIME="@<moment>", so the
program's wall clock starts at that moment and then runs at normal speed, while
FAKETIME_DONT_FAKE_MONOTONIC=1 leaves the monotonic clock alone: Qt's timers run on it and keep
firing every second as they should. faketime=desktop.fake_clock(moment) gives a clock the test
can move while the program runs (FakeClock.set), to reach several prayer times in one run.

Taskbar: Desktop(tray=True, panel=48) makes the tray host a full-width panel 48 px tall along the
bottom edge that reserves its space (a partial strut), as a taskbar does: openbox then reports a
work area (desktop.work_area()) 48 px shorter than the screen.

Sound server: Desktop(start_sound_server=False) points the program at the PulseAudio socket but
leaves the server down, as at a logon where the program starts first; desktop.pulse.start()
brings it up later, desktop.pulse.kill() ends it as a crash would.
"""

import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import audio  # noqa: E402
import procs  # noqa: E402
from pulse import PulseAudio  # noqa: E402

LIBFAKETIME = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1"
MARKER = "TIRVELON_DESKTOP"

# Variables of the caller's session that must not leak into the private desktop.
_SESSION_VARS = (
    "DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY", "DBUS_SESSION_BUS_ADDRESS", "SESSION_MANAGER",
    "AT_SPI_BUS_ADDRESS", "PULSE_SERVER", "PULSE_SINK", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE",
    "XDG_CURRENT_DESKTOP", "XDG_CONFIG_DIRS", "XDG_DATA_DIRS", "XDG_STATE_HOME", "DESKTOP_SESSION",
    "GTK_MODULES", "LD_PRELOAD", "FAKETIME", "QT_MEDIA_BACKEND",
)


class FakeClock:
    """A wall clock for libfaketime that the test moves while the program runs.

    The file holds an offset from the real clock ("+123.456s" or "-…s"); libfaketime re-reads it
    at most CACHE_S seconds after a change. An offset, unlike an "@moment", keeps the program's
    time a fixed distance from this process's real clock, so now() is exact whenever the file was
    re-read."""

    CACHE_S = 1

    def __init__(self, path, moment):
        self.path = path
        self.set(moment)

    @staticmethod
    def epoch(moment):
        """Seconds since the epoch of "YYYY-MM-DD HH:MM:SS" in local time (the program's zone)."""
        if not re.fullmatch(r"\d{4}-\d\d-\d\d \d\d:\d\d:\d\d", moment):
            raise ValueError("a moment looks like 2026-03-21 05:00:00: %r" % moment)
        return time.mktime(time.strptime(moment, "%Y-%m-%d %H:%M:%S"))

    def set(self, moment):
        """Moves the clock to moment ("YYYY-MM-DD HH:MM:SS", or seconds since the epoch)."""
        target = self.epoch(moment) if isinstance(moment, str) else float(moment)
        self.offset = target - time.time()
        # Replaced whole, so that libfaketime never reads a half-written offset.
        partial = self.path + ".new"
        with open(partial, "w") as f:
            f.write("%+.3fs\n" % self.offset)
        os.replace(partial, self.path)
        self.moved_at = time.monotonic()

    def now(self):
        """The program's wall clock, seconds since the epoch (once it has re-read the file)."""
        return time.time() + self.offset

    def env(self):
        return {
            "LD_PRELOAD": LIBFAKETIME,
            "FAKETIME_TIMESTAMP_FILE": self.path,
            "FAKETIME_CACHE_DURATION": str(self.CACHE_S),
            "FAKETIME_DONT_FAKE_MONOTONIC": "1",
        }


class Program:
    """A started program: its process, pid and log (stdout and stderr together)."""

    def __init__(self, proc, log_path, log_file):
        self.proc = proc
        self.pid = proc.pid
        self.log_path = log_path
        self._log_file = log_file

    def alive(self):
        return procs.alive(self.proc)

    def wait(self, timeout):
        """Waits for the program to end by itself; returns its exit code."""
        return self.proc.wait(timeout)

    def stop(self, timeout=5.0):
        procs.stop(self.proc, timeout)
        if not self._log_file.closed:
            self._log_file.close()

    def log(self):
        self._log_file.flush()
        with open(self.log_path, errors="replace") as f:
            return f.read()


class Desktop:
    def __init__(self, tray=False, audio_sink=True, screen="1280x800x24", keep_dir=False,
                 start_sound_server=True, panel=None):
        if panel is not None and not tray:
            raise ValueError("the panel is the tray host: panel needs tray=True")
        self.tray = tray
        self.panel = panel
        self.audio_sink = audio_sink
        self.start_sound_server = start_sound_server
        self.screen = screen
        self.keep_dir = keep_dir
        self.dir = None
        self.home = None
        self.display = None
        self.bus_address = None
        self.pulse = None
        self._daemons = []  # (name, Program), stopped in reverse order
        self._programs = []
        self._saved_environ = None
        self._atspi = None

    # ----- lifetime -------------------------------------------------------------------------

    def __enter__(self):
        try:
            self.start()
        except BaseException:
            self.stop()
            raise
        return self

    def __exit__(self, *exc):
        self.stop()
        return False

    def start(self):
        procs.terminate_on_sigterm()
        self.dir = tempfile.mkdtemp(prefix="tirvelon-desktop-")
        os.chmod(self.dir, 0o700)
        self.home = os.path.join(self.dir, "home")
        self.runtime_dir = os.path.join(self.dir, "runtime")
        self.logs = os.path.join(self.dir, "logs")
        self.config_home = os.path.join(self.home, ".config")
        self.data_home = os.path.join(self.home, ".local", "share")
        self.cache_home = os.path.join(self.home, ".cache")
        for path in (self.home, self.runtime_dir, self.logs, self.config_home, self.data_home,
                     self.cache_home):
            os.makedirs(path, mode=0o700, exist_ok=True)
        os.chmod(self.runtime_dir, 0o700)

        self._base_env = self._make_base_env()
        self._start_dbus()
        self._start_xvfb()
        self._saved_environ = dict(os.environ)
        os.environ.clear()
        os.environ.update(self._base_env)
        self._start_window_manager()
        if self.tray:
            self._start_tray()
        self._start_atspi()
        if self.audio_sink:
            self.pulse = PulseAudio(base_dir=os.path.join(self.dir, "pulse"))
            if self.start_sound_server:
                self.pulse.start()
            os.environ.update(self.pulse.client_env({}))
        return self

    def stop(self):
        for program in reversed(self._programs):
            program.stop()
        self._programs = []
        if self.pulse is not None:
            self.pulse.stop()
            self.pulse = None
        for _, daemon in reversed(self._daemons):
            daemon.stop()
        self._daemons = []
        if self.dir is not None:
            self._sweep()
        if self._saved_environ is not None:
            os.environ.clear()
            os.environ.update(self._saved_environ)
            self._saved_environ = None
        if self.dir is not None and not self.keep_dir:
            shutil.rmtree(self.dir, ignore_errors=True)

    def _sweep(self):
        """Ends every process still marked with this desktop (bus-activated helpers, etc.)."""
        needle = ("%s=%s" % (MARKER, self.dir)).encode()
        for _ in range(3):
            found = []
            for entry in os.listdir("/proc"):
                if not entry.isdigit() or int(entry) == os.getpid():
                    continue
                try:
                    with open("/proc/%s/environ" % entry, "rb") as f:
                        if needle in f.read().split(b"\0"):
                            found.append(int(entry))
                except OSError:
                    continue
            if not found:
                return
            for pid in found:
                try:
                    os.kill(pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
            time.sleep(0.2)

    # ----- the desktop's parts --------------------------------------------------------------

    def _make_base_env(self):
        env = {k: v for k, v in os.environ.items() if k not in _SESSION_VARS}
        env.update({
            MARKER: self.dir,
            "HOME": self.home,
            "XDG_CONFIG_HOME": self.config_home,
            "XDG_DATA_HOME": self.data_home,
            "XDG_CACHE_HOME": self.cache_home,
            "XDG_RUNTIME_DIR": self.runtime_dir,
            "XDG_CONFIG_DIRS": "/etc/xdg",
            "XDG_DATA_DIRS": "/usr/local/share:/usr/share",
            "LANG": os.environ.get("LANG", "C.UTF-8"),
        })
        return env

    def _daemon(self, name, args, env=None, stdout=None):
        log_path = os.path.join(self.logs, name + ".log")
        log = open(log_path, "w")
        proc = procs.spawn(args, env=env or self._base_env, stdout=stdout or log, stderr=log)
        daemon = Program(proc, log_path, log)
        self._daemons.append((name, daemon))
        return daemon

    def _check_alive(self, daemon, name):
        if not daemon.alive():
            raise RuntimeError("%s exited early:\n%s" % (name, daemon.log()[-2000:]))

    def _start_dbus(self):
        socket = os.path.join(self.runtime_dir, "bus")
        self.bus_address = "unix:path=" + socket
        daemon = self._daemon("dbus", ["dbus-daemon", "--session", "--nofork", "--nopidfile",
                                       "--address=" + self.bus_address])

        def ready():
            self._check_alive(daemon, "dbus-daemon")
            return os.path.exists(socket)
        procs.wait_until(ready, 20, what="the session bus")
        self._base_env["DBUS_SESSION_BUS_ADDRESS"] = self.bus_address

    def _start_xvfb(self):
        read_fd, write_fd = os.pipe()
        log_path = os.path.join(self.logs, "xvfb.log")
        log = open(log_path, "w")
        proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", self.screen, "-nolisten", "tcp",
             "-noreset", "+extension", "RANDR"],
            env=self._base_env, stdin=subprocess.DEVNULL, stdout=log, stderr=log,
            pass_fds=(write_fd,), preexec_fn=procs._die_with_parent)
        os.close(write_fd)
        daemon = Program(proc, log_path, log)
        self._daemons.append(("xvfb", daemon))
        number = b""
        deadline = time.monotonic() + 30
        # Xvfb writes the display number it found free, then a newline, once it accepts clients.
        while not number.endswith(b"\n") and time.monotonic() < deadline:
            chunk = os.read(read_fd, 16)
            if not chunk:
                break
            number += chunk
        os.close(read_fd)
        if not number.strip().isdigit():
            raise RuntimeError("Xvfb did not start:\n" + daemon.log()[-2000:])
        self.display = ":" + number.decode().strip()
        self._base_env["DISPLAY"] = self.display

    def _start_window_manager(self):
        daemon = self._daemon("openbox", ["openbox", "--sm-disable"])

        def ready():
            self._check_alive(daemon, "openbox")
            out = self._run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check=False)
            return "window id" in out
        procs.wait_until(ready, 30, what="openbox")

    def _start_tray(self):
        args = ["trayer", "--edge", "bottom", "--align", "right", "--SetDockType", "true"]
        if self.panel is None:
            args += ["--widthtype", "request"]
        else:
            args += ["--widthtype", "percent", "--width", "100", "--heighttype", "pixel",
                     "--height", str(self.panel), "--SetPartialStrut", "true"]
        if self.panel is None:
            self._start_trayer(args)
            return
        height = self.screen_size()[1]
        # Often the first panel of a test process is never taken out of openbox's work area
        # (seen in CI and here, in runs of the first desktop of a process); a panel started
        # again was, in every run seen.
        for attempt in range(1, 4):
            daemon = self._start_trayer(args)
            try:
                # Taken into account within a second when it is taken at all.
                procs.wait_until(lambda: self.work_area()[3] == height - self.panel,
                                 4 if attempt == 1 else 10,
                                 what="openbox to leave the panel's %d px out of the work area"
                                 % self.panel)
                return
            except TimeoutError:
                print("harness: work area %r with the %d px panel up (attempt %d); trayer "
                      "started again" % (self.work_area(), self.panel, attempt), flush=True)
                if attempt == 3:
                    raise
                daemon.stop()
                self._daemons.remove(("trayer", daemon))

    def _start_trayer(self, args):
        daemon = self._daemon("trayer", args)

        def ready():
            self._check_alive(daemon, "trayer")
            return self._run(["xdotool", "search", "--classname", "trayer"], check=False).strip()
        procs.wait_until(ready, 30, what="trayer")
        return daemon

    def _start_atspi(self):
        daemon = self._daemon("atspi", ["/usr/libexec/at-spi-bus-launcher",
                                        "--launch-immediately"])

        def ready():
            self._check_alive(daemon, "at-spi-bus-launcher")
            out = self._run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus",
                             "/org/a11y/bus", "org.a11y.Bus.GetAddress"], check=False)
            return "unix:" in out
        procs.wait_until(ready, 30, what="the AT-SPI bus")

    def _run(self, args, check=True, timeout=30):
        result = subprocess.run(args, env=self._base_env, capture_output=True, text=True,
                                timeout=timeout)
        if check and result.returncode != 0:
            raise RuntimeError("%s failed (%d): %s" % (args[0], result.returncode,
                                                       result.stderr.strip()))
        return result.stdout

    # ----- programs ---------------------------------------------------------------------------

    def env(self, extra=None):
        """The environment a program of this desktop runs in."""
        env = dict(self._base_env)
        if self.pulse is not None:
            env.update(self.pulse.client_env({}))
        # Qt exposes its widgets over AT-SPI only when asked to.
        env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        env["QT_ACCESSIBILITY"] = "1"
        if extra:
            env.update(extra)
        return env

    def fake_clock(self, moment):
        """A movable fake clock set to moment, for start_program(faketime=...)."""
        return FakeClock(os.path.join(self.dir, "faketime-%d" % len(self._programs)), moment)

    def start_program(self, binary, faketime=None, env=None, args=()):
        """Starts binary on this desktop; faketime is a start moment "YYYY-MM-DD HH:MM:SS" or
        a FakeClock."""
        run_env = self.env(env)
        if isinstance(faketime, FakeClock):
            run_env.update(faketime.env())
        elif faketime is not None:
            if not re.fullmatch(r"\d{4}-\d\d-\d\d \d\d:\d\d:\d\d", faketime):
                raise ValueError("faketime must look like 2026-03-21 05:00:00: %r" % faketime)
            run_env.update({
                "LD_PRELOAD": LIBFAKETIME,
                "FAKETIME": "@" + faketime,
                "FAKETIME_DONT_FAKE_MONOTONIC": "1",
            })
        name = "program-%d" % (len(self._programs) + 1)
        log_path = os.path.join(self.logs, name + ".log")
        log = open(log_path, "w")
        proc = procs.spawn([binary, *args], env=run_env, stdout=log, stderr=log,
                           cwd=self.home)
        program = Program(proc, log_path, log)
        self._programs.append(program)
        return program

    # ----- X11: windows, pictures, mouse and keys ---------------------------------------------

    def windows(self, title=None, pid=None, visible=True):
        """Window ids (ints) with exactly this title and/or of this process."""
        args = ["xdotool", "search"]
        if visible:
            args.append("--onlyvisible")
        if pid is not None:
            args += ["--pid", str(pid)]
        if title is not None:
            args += ["--name", "^%s$" % re.escape(title)]
        elif pid is None:
            args += ["--name", "."]
        out = self._run(args, check=False)
        return [int(line) for line in out.split() if line.isdigit()]

    def wait_for_window(self, title_or_pid, timeout=30, visible=True):
        """The first window with this title (str) or of this process (int, or a Program)."""
        if isinstance(title_or_pid, Program):
            title_or_pid = title_or_pid.pid
        if isinstance(title_or_pid, int):
            find = lambda: self.windows(pid=title_or_pid, visible=visible)  # noqa: E731
        else:
            find = lambda: self.windows(title=title_or_pid, visible=visible)  # noqa: E731
        found = procs.wait_until(find, timeout, interval=0.2,
                                 what="window %r" % (title_or_pid,))
        return found[0]

    def screen_size(self):
        """(width, height) of the whole screen."""
        out = self._run(["xdotool", "getdisplaygeometry"]).split()
        return int(out[0]), int(out[1])

    def work_area(self):
        """(x, y, width, height) of the screen less the panels' struts, as the window manager
        publishes it (_NET_WORKAREA of the first desktop); the whole screen when it does not."""
        out = self._run(["xprop", "-root", "_NET_WORKAREA"], check=False)
        numbers = [int(n) for n in re.findall(r"-?\d+", out.partition("=")[2])]
        if len(numbers) < 4:
            return (0, 0) + self.screen_size()
        return tuple(numbers[:4])

    def window_title(self, wid):
        return self._run(["xdotool", "getwindowname", str(wid)]).rstrip("\n")

    def window_geometry(self, wid):
        """(x, y, width, height) of the window's client area, x and y on the screen."""
        out = self._run(["xwininfo", "-id", str(wid)])

        def field(name):
            return int(re.search(r"%s:\s+(-?\d+)" % re.escape(name), out).group(1))
        return (field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"),
                field("Height"))

    def window_state(self, wid):
        """The window's _NET_WM_STATE atoms, e.g. {"_NET_WM_STATE_ABOVE"}."""
        out = self._run(["xprop", "-id", str(wid), "_NET_WM_STATE"], check=False)
        return set(re.findall(r"_NET_WM_STATE_\w+", out))

    def close_window(self, wid):
        """Asks the window manager to close the window, as the title bar's close would."""
        self._run(["wmctrl", "-i", "-c", hex(wid)])

    def screenshot(self, path):
        self._run(["import", "-window", "root", path], timeout=60)
        return path

    def dominant_colour(self, screenshot, box):
        """The most frequent colour "#RRGGBB" inside box (x, y, width, height) of a screenshot."""
        x, y, width, height = box
        out = self._run(["convert", screenshot, "-crop", "%dx%d+%d+%d" % (width, height, x, y),
                         "+repage", "-depth", "8", "-format", "%c", "histogram:info:-"])
        best = max((line for line in out.splitlines() if "#" in line),
                   key=lambda line: int(line.split(":")[0]))
        return re.search(r"#[0-9A-Fa-f]{6}", best).group(0).upper()

    def click(self, x, y, button=1):
        self._run(["xdotool", "mousemove", "--sync", str(x), str(y), "click", str(button)])

    def key(self, *keys, window=None):
        args = ["xdotool", "key"]
        if window is not None:
            args += ["--window", str(window)]
        self._run(args + list(keys))

    def type_text(self, text, window=None):
        args = ["xdotool", "type"]
        if window is not None:
            args += ["--window", str(window)]
        self._run(args + ["--", text])

    # ----- AT-SPI -------------------------------------------------------------------------------

    @property
    def atspi(self):
        """The pyatspi module, bound to this desktop's accessibility bus."""
        if self._atspi is None:
            import pyatspi  # the Debian python's; imported late so it sees the private bus
            self._atspi = pyatspi
        return self._atspi

    def accessible_app(self, name=None, pid=None, timeout=30):
        """The program's accessible application, found by its name or its process id."""
        def find():
            desktop = self.atspi.Registry.getDesktop(0)
            for i in range(desktop.childCount):
                app = desktop.getChildAtIndex(i)
                if app is None:
                    continue
                try:
                    if pid is not None and app.get_process_id() != pid:
                        continue
                    if name is not None and app.name != name:
                        continue
                    return app
                except Exception:  # an application that is going away
                    continue
            return None
        return procs.wait_until(find, timeout, interval=0.3,
                                what="accessible application %s" % (name or pid))

    def walk(self, node):
        """node and all its descendants, depth first."""
        stack = [node]
        while stack:
            current = stack.pop()
            if current is None:
                continue
            yield current
            try:
                children = [current.getChildAtIndex(i) for i in range(current.childCount)]
            except Exception:
                children = []
            stack.extend(reversed(children))

    def find_all(self, root, description=None, role=None, name=None):
        found = []
        for node in self.walk(root):
            try:
                if description is not None and node.description != description:
                    continue
                if role is not None and node.getRoleName() != role:
                    continue
                if name is not None and node.name != name:
                    continue
            except Exception:
                continue
            found.append(node)
        return found

    def find(self, root, description=None, role=None, name=None, timeout=10):
        """The first node that matches; waits for it to appear up to timeout seconds."""
        def first():
            nodes = self.find_all(root, description, role, name)
            return nodes[0] if nodes else None
        return procs.wait_until(first, timeout, interval=0.2,
                                what="accessible %s" % (description or name or role))

    def text(self, node):
        """What the node shows: its Text interface's content, else its name."""
        try:
            text_iface = node.queryText()
            return text_iface.getText(0, text_iface.characterCount)
        except (NotImplementedError, Exception):
            return node.name

    def role(self, node):
        return node.getRoleName()

    def extents(self, node):
        """(x, y, width, height) on the screen."""
        box = node.queryComponent().getExtents(self.atspi.DESKTOP_COORDS)
        return (box.x, box.y, box.width, box.height)

    def states(self, node):
        return {self.atspi.stateToString(s) for s in node.getState().getStates()}

    def combo_selected(self, combo):
        """The text of the combo box's current item.

        Qt names a combo box after its current text (unless the program gave it an accessible
        name). The "selected" state of the popup's items follows the popup's own selection and
        can differ from the current item, so it is not used."""
        return combo.name

    def combo_select(self, combo, index, timeout=10):
        """Makes item index the combo box's current item, as a user would: open the popup, move
        to the item with the keyboard, confirm. Returns the item's text."""
        items = self.combo_items(combo)
        if not 0 <= index < len(items):
            raise IndexError("the combo box has %d items" % len(items))
        self.do_action(combo, "ShowMenu")
        popup = next(n for n in self.walk(combo) if n is not combo and self.role(n) == "list")
        procs.wait_until(lambda: "showing" in self.states(popup), timeout, what="the popup")
        self.key("Home")
        for _ in range(index):
            self.key("Down")
        self.key("Return")
        procs.wait_until(lambda: combo.name == items[index], timeout,
                         what="item %d selected" % index)
        return items[index]

    def combo_items(self, combo):
        """Texts of the combo box's items, in order."""
        for node in self.walk(combo):
            if node is not combo and node.getRoleName() == "list":
                return [node.getChildAtIndex(i).name for i in range(node.childCount)]
        return []

    def actions(self, node):
        try:
            action = node.queryAction()
        except (NotImplementedError, Exception):
            return []
        return [action.getName(i) for i in range(action.nActions)]

    def do_action(self, node, name=None):
        """Runs the node's action called name (the first one when name is None)."""
        action = node.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        if not names:
            raise RuntimeError("the node offers no action")
        index = 0 if name is None else names.index(name)
        return action.doAction(index)

    # ----- sound ------------------------------------------------------------------------------

    def recorder(self, sink=None):
        """A background recording of the null sink (or of another one plugged in by the test);
        start() it, later stop() for the samples."""
        return self.pulse.recorder(sink)

    def record(self, seconds):
        """seconds of the null sink's monitor: signed 16-bit mono samples at 44100 Hz."""
        return self.pulse.record(seconds)

    rms_dbfs = staticmethod(audio.rms_dbfs)
    loudness = staticmethod(audio.loudness)
    sounding_seconds = staticmethod(audio.sounding_seconds)


def leftover_processes(marker_dir=None):
    """Pids of processes whose environment carries a desktop marker (of marker_dir, or any)."""
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit() or int(entry) == os.getpid():
            continue
        try:
            with open("/proc/%s/environ" % entry, "rb") as f:
                for var in f.read().split(b"\0"):
                    if var.startswith(MARKER.encode() + b"=") and (
                            marker_dir is None or var == ("%s=%s" % (MARKER, marker_dir)).encode()):
                        found.append(int(entry))
        except OSError:
            continue
    return found
