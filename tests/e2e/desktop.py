"""A throw-away X desktop for end-to-end runs: Xvfb, openbox and trayer.

Everything started here is stopped again by its process id, also when a
test fails, so no run leaves a display or a tray behind.
"""
import os
import re
import signal
import subprocess
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


class Desktop:
    """Xvfb on a free display with a window manager and a tray host."""

    def __init__(self, home):
        self.home = home
        self.display = None
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

    def env(self, extra=None):
        env = {k: v for k, v in os.environ.items()
               if not k.startswith(("DBUS_", "WAYLAND_", "XDG_", "QT_", "SESSION_MANAGER"))}
        env.update(DISPLAY=self.display, HOME=self.home)
        env.update(extra or {})
        return env

    def _spawn(self, args, **kwargs):
        process = subprocess.Popen(args, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, start_new_session=True, **kwargs)
        self._processes.append(process)
        return process

    def _start(self):
        # -displayfd lets the server take the first free display number itself.
        read_end, write_end = os.pipe()
        try:
            self._spawn(["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp",
                         "-screen", "0", "%dx%dx24" % (SCREEN_WIDTH, SCREEN_HEIGHT)],
                        pass_fds=(write_end,))
            os.close(write_end)
            write_end = None
            number = b""
            while not number.endswith(b"\n"):
                chunk = os.read(read_end, 16)
                if not chunk:
                    raise DesktopError("Xvfb did not start")
                number += chunk
        finally:
            os.close(read_end)
            if write_end is not None:
                os.close(write_end)
        self.display = ":" + number.decode().strip()
        self._spawn(["openbox", "--sm-disable"], env=self.env())
        wait_until(lambda: "window id" in self.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"]),
                   20, "openbox")
        self.start_tray()

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
