"""A throw-away desktop for end-to-end runs: Xvfb and openbox with a tray,
either trayer (XEmbed) or a StatusNotifierItem watcher on a private D-Bus
session bus; or GNOME's compositor as a headless Wayland session with
XWayland.

Everything started here is stopped again by its process id, also when a
test fails, so no run leaves a display, a bus or a tray behind.
"""
import importlib.util
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SCREEN_WIDTH = 1280
SCREEN_HEIGHT = 800
TRAY_HEIGHT = 32


class DesktopError(RuntimeError):
    pass


def wait_until(check, timeout, what, interval=0.1):
    """Polls check() until it gives a true value, which is returned."""
    deadline = time.monotonic() + timeout
    while True:
        value = check()
        if value:
            return value
        if time.monotonic() > deadline:
            raise DesktopError("timed out waiting for " + what)
        time.sleep(interval)


def stop_process(process, grace=5.0):
    """Ends one child by its id: SIGTERM, then SIGKILL when it lingers."""
    if process is None or process.poll() is not None:
        return
    try:
        process.send_signal(signal.SIGTERM)
        process.wait(grace)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def read_line_from(args, spawn):
    """Starts a program that writes one line (its display, its address) to
    the file descriptor that stands for "{fd}" in its arguments, and returns
    that line."""
    read_end, write_end = os.pipe()
    try:
        spawn([a.replace("{fd}", str(write_end)) for a in args], pass_fds=(write_end,))
        os.close(write_end)
        write_end = None
        line = b""
        while not line.endswith(b"\n"):
            chunk = os.read(read_end, 256)
            if not chunk:
                raise DesktopError(args[0] + " did not start")
            line += chunk
    finally:
        os.close(read_end)
        if write_end is not None:
            os.close(write_end)
    return line.decode().strip()


def missing_parts(kind):
    """Why a desktop of that kind (see new_desktop) cannot run here, or None.
    The parts of the X desktop with trayer are checked when the tests are
    configured."""
    needed = {"statusnotifier": ["dbus-daemon"],
              "wayland": ["dbus-daemon", "mutter", "Xwayland"],
              "syncthing": ["syncthing"]}.get(kind, [])
    missing = [program for program in needed if not shutil.which(program)]
    if kind == "statusnotifier" and not importlib.util.find_spec("gi"):
        missing.append("the GObject bindings (python3-gi) for " + sys.executable)
    return "missing: " + ", ".join(missing) if missing else None


class Desktop:
    """Xvfb on a free display with a window manager and a tray host:
    tray="xembed" (trayer), "statusnotifier" (a watcher and host on a
    private session bus, no XEmbed tray)."""

    def __init__(self, home, tray="xembed"):
        self.home = home
        self.tray = tray
        self.display = None
        self.bus_address = None
        self.panel = None
        self._processes = []

    def __enter__(self):
        try:
            self._start()
        except BaseException:
            self.stop()
            raise
        return self

    def __exit__(self, *exc):
        self.stop()

    @staticmethod
    def outside_env():
        """The environment without anything of the session the tests run in."""
        return {k: v for k, v in os.environ.items()
                if not k.startswith(("DBUS_", "WAYLAND_", "XDG_", "QT_", "SESSION_MANAGER",
                                     "DISPLAY"))}

    def session_env(self):
        """What the session tells the programs in it about itself."""
        return {"QT_QPA_PLATFORM": "xcb"}

    def env(self, extra=None):
        env = self.outside_env()
        env.update(DISPLAY=self.display, HOME=self.home)
        if self.bus_address:
            env.update(DBUS_SESSION_BUS_ADDRESS=self.bus_address)
        env.update(self.session_env())
        env.update(extra or {})
        return env

    def _spawn(self, args, stderr=subprocess.DEVNULL, **kwargs):
        process = subprocess.Popen(args, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                   stderr=stderr, start_new_session=True, **kwargs)
        self._processes.append(process)
        return process

    def _start(self):
        # -displayfd lets the server take the first free display number itself.
        self.display = ":" + read_line_from(
            ["Xvfb", "-displayfd", "{fd}", "-nolisten", "tcp",
                     "-screen", "0", "%dx%dx24" % (SCREEN_WIDTH, SCREEN_HEIGHT)], self._spawn)
        self._spawn(["openbox", "--sm-disable"], env=self.env())
        wait_until(lambda: "window id" in self.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"]),
                   20, "openbox")
        if self.tray == "statusnotifier":
            self.start_status_notifier_watcher()
        else:
            self.start_tray()

    def start_session_bus(self):
        """A private D-Bus session bus for the programs of this desktop."""
        self.bus_address = read_line_from(
            ["dbus-daemon", "--session", "--nofork", "--print-address={fd}"], self._spawn)

    def start_status_notifier_watcher(self):
        """A private session bus with a StatusNotifierWatcher and its host,
        the tray of KDE Plasma and of GNOME's AppIndicator extension."""
        from statusnotifier import Panel
        self.start_session_bus()
        self._spawn([sys.executable, os.path.join(os.path.dirname(__file__), "statusnotifier.py"),
                     "watch"], env=self.env())
        self.panel = Panel(self.bus_address)
        wait_until(self.panel.watcher_running, 20, "the StatusNotifierWatcher")

    def start_tray(self):
        """Starts the tray host (again); see stop_tray."""
        self.trayer = self._spawn(["trayer", "--edge", "bottom", "--align", "right", "--widthtype", "request",
                     "--height", str(TRAY_HEIGHT), "--SetDockType", "true", "--transparent", "false",
                     "--tint", "0x606060", "--expand", "false"], env=self.env())
        # With no icon yet the tray is not mapped, so search unmapped windows too.
        wait_until(lambda: self.search(["--classname", "trayer"], False), 20, "trayer")
        time.sleep(0.5)  # the tray selection is taken right after the window

    def stop_tray(self):
        """Ends the tray host: a desktop whose panel has not come up yet."""
        stop_process(self.trayer)
        wait_until(lambda: not self.search(["--classname", "trayer"], False), 20, "trayer to go")

    def tray_area(self):
        """(x, y, w, h) of the tray once it shows an icon, else None. The tray
        is as wide as its icons, so with one program its centre is the icon."""
        for window in self.search(["--pid", str(self.trayer.pid)]):
            x, y, w, h = self.geometry(window)
            if w > 1 and h > 1:
                return x, y, w, h
        return None

    def stop_server(self):
        """Ends the X server under everything: a display connection that breaks."""
        stop_process(self._processes[0])

    def stop(self):
        if self.panel:
            self.panel.connection.close_sync(None)
            self.panel = None
        for process in reversed(self._processes):
            stop_process(process)
        self._processes.clear()

    # ---- acting and observing, as a user would

    def run(self, args, check=False):
        result = subprocess.run(args, env=self.env(), stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL, text=True, timeout=30)
        if check and result.returncode != 0:
            raise DesktopError("failed: " + " ".join(args))
        return result.stdout

    def xdotool(self, *args):
        return self.run(["xdotool"] + [str(a) for a in args])

    def search(self, criteria, only_visible=True):
        out = self.run(["xdotool", "search"] + (["--onlyvisible"] if only_visible else [])
                       + criteria)
        return [int(w) for w in out.split()]

    def geometry(self, window):
        """(x, y, width, height) of a window on the screen."""
        out = self.run(["xwininfo", "-id", str(window)])
        values = {}
        for key, name in (("x", "Absolute upper-left X"), ("y", "Absolute upper-left Y"),
                          ("w", "Width"), ("h", "Height")):
            match = re.search(r"^\s*" + name + r":\s*(-?\d+)", out, re.M)
            if not match:
                raise DesktopError("window %d is gone" % window)
            values[key] = int(match.group(1))
        return values["x"], values["y"], values["w"], values["h"]

    def is_viewable(self, window):
        return "IsViewable" in self.run(["xwininfo", "-id", str(window)])

    def name(self, window):
        return self.run(["xdotool", "getwindowname", str(window)]).strip()

    def children(self, window):
        """Ids of the windows below one window, at any depth."""
        out = self.run(["xwininfo", "-children", "-tree", "-id", str(window)])
        return [int(m, 16) for m in re.findall(r"^\s+(0x[0-9a-f]+)", out, re.M)]

    def move_mouse(self, x, y):
        # Not --sync: it waits for ever when the pointer is already there.
        self.xdotool("mousemove", x, y)
        time.sleep(0.05)

    def click(self, x, y, button=1):
        self.move_mouse(x, y)
        time.sleep(0.1)
        self.xdotool("click", button)

    def double_click(self, x, y):
        self.move_mouse(x, y)
        time.sleep(0.1)
        self.xdotool("click", "--repeat", 2, "--delay", 80, 1)

    def drag(self, start, end, steps=12):
        """Presses the left button at start, moves in steps, releases at end."""
        self.move_mouse(*start)
        time.sleep(0.2)
        self.xdotool("mousedown", 1)
        time.sleep(0.2)
        for i in range(1, steps + 1):
            x = start[0] + (end[0] - start[0]) * i // steps
            y = start[1] + (end[1] - start[1]) * i // steps
            self.xdotool("mousemove", x, y)
            time.sleep(0.05)
        time.sleep(0.3)
        self.xdotool("mouseup", 1)
        time.sleep(0.3)

    def type_text(self, text):
        self.xdotool("type", "--delay", 30, text)

    def key(self, *keys):
        self.xdotool("key", "--delay", 50, *keys)

    def screenshot(self, path, crop=None):
        """Saves the screen, or the (x, y, w, h) part of it, as PNG."""
        args = ["import", "-display", self.display, "-window", "root"]
        if crop:
            args += ["-crop", "%dx%d+%d+%d" % (crop[2], crop[3], crop[0], crop[1]), "+repage"]
        subprocess.run(args + [path], env=self.env(), timeout=30,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


class WaylandDesktop(Desktop):
    """GNOME's compositor (mutter) as a headless Wayland session, on a
    private session bus, running X programs through its XWayland: the X
    display is XWayland's and mutter is its window manager."""

    SOCKET = "wayland-jl"

    def __init__(self, home):
        super().__init__(home, tray=None)
        self.runtime = None

    def session_env(self):
        # No QT_QPA_PLATFORM: the program chooses for itself.
        return {"WAYLAND_DISPLAY": os.path.join(self.runtime, self.SOCKET),
                "XDG_SESSION_TYPE": "wayland",
                "XAUTHORITY": self._xauthority() or ""}

    def _xauthority(self):
        names = [n for n in os.listdir(self.runtime) if n.startswith(".mutter-Xwaylandauth")]
        return os.path.join(self.runtime, names[0]) if names else None

    def _start(self):
        self.runtime = tempfile.mkdtemp(prefix="jl-wayland-")
        self.start_session_bus()
        log = os.path.join(self.runtime, "mutter.log")
        # mutter keeps its settings in HOME and its sockets in XDG_RUNTIME_DIR.
        env = dict(self.outside_env(), HOME=self.runtime, XDG_RUNTIME_DIR=self.runtime,
                   DBUS_SESSION_BUS_ADDRESS=self.bus_address)
        with open(log, "wb") as output:
            self._spawn(["mutter", "--headless", "--wayland", "--wayland-display=" + self.SOCKET,
                         "--virtual-monitor", "%dx%d" % (SCREEN_WIDTH, SCREEN_HEIGHT)],
                        env=env, stderr=output)

        def xwayland_display():
            text = open(log, errors="replace").read()
            match = re.search(r"Using public X11 display (:\d+)", text)
            return match and self._xauthority() and match.group(1)
        self.display = wait_until(xwayland_display, 30, "mutter's XWayland")
        wait_until(lambda: "window id" in self.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"]),
                   20, "mutter to manage the X display")

    def stop(self):
        super().stop()
        if self.runtime:
            shutil.rmtree(self.runtime, ignore_errors=True)

    def screenshot(self, path, crop=None):
        """XWayland has no root window to take, and mutter no screenshot
        tool of its own: nothing is saved."""


def new_desktop(kind, home):
    """"xembed": Xvfb, openbox and trayer; "statusnotifier": Xvfb, openbox
    and a StatusNotifierItem tray on a private session bus; "wayland":
    GNOME's compositor, headless, with XWayland."""
    if kind == "wayland":
        return WaylandDesktop(home)
    if kind == "syncthing":  # the usual desktop; the case brings Syncthing
        return Desktop(home)
    return Desktop(home, tray=kind)
