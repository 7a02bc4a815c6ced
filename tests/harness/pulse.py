"""A private PulseAudio server with a null sink as the default output.

Nothing reaches a real sound card and nothing touches the user's own server: the daemon gets its
own HOME, runtime dir and socket under a temporary directory. Sound played by a client started
with `env` lands in the sink; its monitor is recorded with parec to measure what came out.

The server can be killed and started again at the same socket (a crashed or restarted sound
server), and further null sinks can be plugged in and made the default output while it runs
(headphones, a monitor's HDMI output).

As root PulseAudio warns ("not intended to be run as root") but runs fine in per-user mode with
the flags below; -n skips the system default.pa so only our three lines are loaded.
"""

import json
import os
import shutil
import signal
import subprocess
import tempfile
import threading

import audio
import procs

SINK = "tirvelon_null"

class Recorder:
    """Records a null sink's monitor (the default sink's unless named) in the background until
    stop()."""

    def __init__(self, pulse, sink=None):
        self._pulse = pulse
        self.sink = sink or pulse.sink
        self._data = bytearray()
        self._lock = threading.Lock()
        self._first = threading.Event()
        self._proc = None
        self._thread = None

    def start(self, timeout=15.0):
        self._proc = procs.spawn(
            ["parec", "--device=%s.monitor" % self.sink, "--format=s16le", "--channels=1",
             "--rate=%d" % audio.RATE, "--raw", "--latency-msec=20"],
            env=self._pulse.client_env(), stdout=subprocess.PIPE)
        self._thread = threading.Thread(target=self._pump, daemon=True)
        self._thread.start()
        # The monitor delivers nothing for up to two seconds after parec connects; whatever is
        # played before the first block arrives is lost, so callers wait here.
        if not self._first.wait(timeout):
            self.stop()
            raise TimeoutError("parec delivered no samples within %.0f s" % timeout)
        return self

    def _pump(self):
        fd = self._proc.stdout.fileno()
        while True:
            try:
                chunk = os.read(fd, 65536)
            except OSError:
                break
            if not chunk:
                break
            with self._lock:
                self._data += chunk
            self._first.set()

    def seconds(self):
        with self._lock:
            return len(self._data) / 2 / audio.RATE

    def samples(self):
        with self._lock:
            return audio.samples_from_bytes(self._data)

    def stop(self):
        procs.stop(self._proc)
        if self._thread is not None:
            self._thread.join(5)
        if self._proc is not None and self._proc.stdout:
            self._proc.stdout.close()
        return self.samples()

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()
        return False

class PulseAudio:
    """Context manager: starts the daemon on enter, always stops it on exit."""

    def __init__(self, base_dir=None, sink=SINK):
        self.sink = sink
        self._own_dir = base_dir is None
        self.dir = base_dir or tempfile.mkdtemp(prefix="tirvelon-pulse-")
        self.socket = os.path.join(self.dir, "pulse", "native")
        self.log_path = os.path.join(self.dir, "pulseaudio.log")
        self._proc = None
        self._log = None

    def _daemon_env(self):
        env = dict(os.environ)
        for key in ("PULSE_SERVER", "PULSE_SINK", "PULSE_SOURCE", "DBUS_SESSION_BUS_ADDRESS",
                    "DISPLAY"):
            env.pop(key, None)
        env.update({
            "HOME": self.dir,
            "XDG_RUNTIME_DIR": os.path.join(self.dir, "pulse"),
            "XDG_CONFIG_HOME": os.path.join(self.dir, "config"),
            "PULSE_RUNTIME_PATH": os.path.join(self.dir, "pulse"),
            "PULSE_STATE_PATH": os.path.join(self.dir, "state"),
        })
        return env

    def client_env(self, base=None):
        """Environment for a client: base (default os.environ) pointed at this server."""
        env = dict(os.environ if base is None else base)
        env["PULSE_SERVER"] = "unix:" + self.socket
        env["TIRVELON_PULSE_SINK"] = self.sink
        env.pop("PULSE_SINK", None)
        return env

    def start(self, timeout=20.0):
        for sub in ("pulse", "state", "config"):
            os.makedirs(os.path.join(self.dir, sub), mode=0o700, exist_ok=True)
        os.chmod(self.dir, 0o700)
        config = os.path.join(self.dir, "tirvelon.pa")
        with open(config, "w") as f:
            f.write("load-module module-null-sink sink_name=%s rate=%d channels=2\n"
                    % (self.sink, audio.RATE))
            f.write("load-module module-native-protocol-unix auth-anonymous=1 socket=%s\n"
                    % self.socket)
            f.write("set-default-sink %s\n" % self.sink)
            # A program that records the default input (Wine's, or a test's own capture device)
            # hears what was played into the sink.
            f.write("set-default-source %s.monitor\n" % self.sink)
        # Appended: a restarted server's log follows the one it replaced.
        self._log = open(self.log_path, "a")
        self._proc = procs.spawn(
            ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit",
             "--use-pid-file=no", "--log-target=stderr", "--disable-shm=yes", "-F", config],
            env=self._daemon_env(), stderr=self._log)
        try:
            procs.wait_until(self._ready, timeout, interval=0.1, what="PulseAudio")
        except Exception:
            self.stop()
            raise
        return self

    def _ready(self):
        if not procs.alive(self._proc):
            raise RuntimeError("PulseAudio exited early; see " + self.log_path)
        if not os.path.exists(self.socket):
            return False
        result = subprocess.run(["pactl", "info"], env=self.client_env(), capture_output=True,
                                text=True, timeout=10)
        return result.returncode == 0 and ("Default Sink: %s" % self.sink) in result.stdout

    def running(self):
        return procs.alive(self._proc)

    def kill(self):
        """Ends the daemon at once, as a crash would; its clients lose their connection. The
        directory (and the stale socket) stays, so that start() brings it up at the same place."""
        if self._proc is not None:
            try:
                os.killpg(self._proc.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            self._proc.wait(10)
        self.stop(keep_dir=True)

    def pause(self):
        """Stops the daemon where it is (SIGSTOP), as a hung server: it still accepts
        connections, since the kernel queues them, but answers nothing until resume()."""
        os.killpg(self._proc.pid, signal.SIGSTOP)

    def resume(self):
        os.killpg(self._proc.pid, signal.SIGCONT)

    def pactl(self, *args):
        """Runs pactl against this server; returns its output."""
        result = subprocess.run(["pactl", *args], env=self.client_env(), capture_output=True,
                                text=True, timeout=10)
        if result.returncode != 0:
            raise RuntimeError("pactl %s failed: %s" % (" ".join(args), result.stderr.strip()))
        return result.stdout

    def add_sink(self, name):
        """Plugs in another null sink; it is not made the default."""
        self.pactl("load-module", "module-null-sink", "sink_name=%s" % name,
                   "rate=%d" % audio.RATE, "channels=2")

    def set_default_sink(self, name):
        self.pactl("set-default-sink", name)

    def default_sink(self):
        return self.pactl("get-default-sink").strip()

    def sink_inputs(self, pid=None):
        """The playback streams on the server (of process pid only, when given): a list of
        dicts with "index", "sink" (its name) and "pid"."""
        sinks = {str(s["index"]): s["name"] for s in json.loads(self.pactl("-f", "json", "list",
                                                                               "sinks"))}
        found = []
        for entry in json.loads(self.pactl("-f", "json", "list", "sink-inputs")):
            owner = entry.get("properties", {}).get("application.process.id")
            if pid is not None and owner != str(pid):
                continue
            found.append({"index": entry["index"], "sink": sinks.get(str(entry["sink"])),
                          "pid": owner})
        return found

    def recorder(self, sink=None):
        return Recorder(self, sink)

    def record(self, seconds):
        """Records seconds of the sink's monitor and returns the samples."""
        rec = Recorder(self).start()
        try:
            procs.wait_until(lambda: rec.seconds() >= seconds, seconds + 10, what="recording")
        finally:
            samples = rec.stop()
        return samples[: int(seconds * audio.RATE)]

    def stop(self, keep_dir=False):
        procs.stop(self._proc)
        self._proc = None
        if self._log is not None:
            self._log.close()
            self._log = None
        if self._own_dir and not keep_dir:
            shutil.rmtree(self.dir, ignore_errors=True)

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()
        return False

