"""A fresh user account for one end-to-end test, and the program running in it.

Each account has its own HOME, XDG folders and its own copy of the program
folder (the program moves the welcome note out of a writable one), so tests
never share a note, a setting or a control socket.
"""
import json
import os
import shutil
import subprocess
import tempfile
import time

from desktop import SCREEN_HEIGHT, TRAY_HEIGHT, DesktopError, stop_process, wait_until

SETTINGS_KEY = r"HKEY_CURRENT_USER\Software\Harvel\Vesk Jotlet 2003\1.9.5"
NOTE_WINDOW_NAME = "JotNoteLight"
PROGRAM_DATA = ("default.lng", "language", "about.jtl", "about.jtl2")


class Account:
    def __init__(self, build_dir, root=None):
        self.root = root or tempfile.mkdtemp(prefix="jl-e2e-")
        self.home = os.path.join(self.root, "home")
        self.config = os.path.join(self.home, ".config")
        self.data = os.path.join(self.home, ".local", "share")
        self.runtime = os.path.join(self.root, "run")
        for folder in (self.config, self.data, self.runtime):
            os.makedirs(folder, mode=0o700, exist_ok=True)
        self.program_dir = os.path.join(self.root, "program")
        self.program = os.path.join(self.program_dir, "jotletlight")
        self.ctl_path = os.path.join(build_dir, "ctl", "jotletctl")
        self._copy_program(os.path.join(build_dir, "app"))

    def _copy_program(self, source):
        os.makedirs(self.program_dir)
        shutil.copy2(os.path.join(source, "jotletlight"), self.program)
        for name in PROGRAM_DATA:
            path = os.path.join(source, name)
            if os.path.isdir(path):
                shutil.copytree(path, os.path.join(self.program_dir, name))
            elif os.path.exists(path):
                shutil.copy2(path, self.program_dir)

    def remove(self):
        shutil.rmtree(self.root, ignore_errors=True)

    @property
    def note_folder(self):
        return os.path.join(self.data, "Jotlet light cache")

    @property
    def registry_file(self):
        return os.path.join(self.config, "Harvel", "registry.reg")

    def env(self, desktop):
        return desktop.env({"HOME": self.home, "XDG_CONFIG_HOME": self.config,
                            "XDG_DATA_HOME": self.data, "XDG_RUNTIME_DIR": self.runtime,
                            "LANG": "C.UTF-8"})

    def write_settings(self, values):
        """Writes the settings key in the registry export format: ints as
        dwords, booleans as 0/1, the rest as text."""
        lines = ["Windows Registry Editor Version 5.00", "", "[%s]" % SETTINGS_KEY]
        for name, value in values.items():
            if isinstance(value, (bool, int)):
                lines.append('"%s"=dword:%08x' % (name, int(value) & 0xFFFFFFFF))
            else:
                escaped = str(value).replace("\\", "\\\\").replace('"', '\\"')
                lines.append('"%s"="%s"' % (name, escaped))
        os.makedirs(os.path.dirname(self.registry_file), exist_ok=True)
        with open(self.registry_file, "w", encoding="utf-8", newline="\n") as f:
            f.write("\n".join(lines) + "\n")

    def note_files(self):
        if not os.path.isdir(self.note_folder):
            return []
        return sorted(n for n in os.listdir(self.note_folder) if n.endswith(".jtl"))

    def make_note(self, name, record, body_rtf=None):
        """Writes a note file from its JSON record with jotletctl make."""
        os.makedirs(self.note_folder, mode=0o700, exist_ok=True)
        path = os.path.join(self.note_folder, name)
        subprocess.run([self.ctl_path, "make", path], input=json.dumps(record), text=True,
                       check=True, timeout=30)
        if body_rtf is not None:
            with open(path + "2", "w", encoding="latin-1") as f:
                f.write(body_rtf)
        return path

    def dump_note(self, name):
        out = subprocess.run([self.ctl_path, "dump", os.path.join(self.note_folder, name)],
                             stdout=subprocess.PIPE, text=True, check=True, timeout=30).stdout
        return json.loads(out)


class Program:
    """The jotletlight processes of one account on one desktop."""

    def __init__(self, account, desktop):
        self.account = account
        self.desktop = desktop
        self.processes = []

    @property
    def process(self):
        return self.processes[-1]

    def start(self):
        process = subprocess.Popen([self.account.program], cwd=self.account.program_dir,
                                   env=self.account.env(self.desktop),
                                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                   stderr=open(os.path.join(self.account.root, "program.log"), "ab"))
        self.processes.append(process)
        return process

    def ctl(self, *args, timeout=30):
        return subprocess.run([self.account.ctl_path] + list(args),
                              env=self.account.env(self.desktop), stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, text=True, timeout=timeout)

    def pids(self):
        """Ids of every jotletlight process of this account (restarts start
        new ones the harness did not spawn itself)."""
        found = []
        for entry in os.listdir("/proc"):
            if not entry.isdigit():
                continue
            try:
                exe = os.readlink("/proc/%s/exe" % entry)
            except OSError:
                continue
            if exe == self.account.program:
                found.append(int(entry))
        return found

    def windows(self, name=NOTE_WINDOW_NAME):
        """Visible windows of the program by name; the tray icon, which is
        embedded in the tray and may carry any name, is left out."""
        found = []
        for pid in self.pids():
            found += self.desktop.search(["--pid", str(pid), "--name", "^%s$" % name])
        # xdotool's name search also matches a window's class and icon name,
        # so the visible name is compared once more. A window may go while
        # it is looked at: then it is not there.
        shown = []
        for window in found:
            try:
                if self.desktop.name(window) == name \
                        and not self._in_tray_row(self.desktop.geometry(window)):
                    shown.append(window)
            except DesktopError:
                pass
        return shown

    @staticmethod
    def _in_tray_row(geometry):
        # The tray sits along the bottom edge; its icon may be mapped before
        # the tray itself shows, so the row is judged, not the tray window.
        x, y, w, h = geometry
        return y >= SCREEN_HEIGHT - TRAY_HEIGHT and h <= TRAY_HEIGHT

    def visible_windows(self):
        found = []
        for pid in self.pids():
            found += self.desktop.search(["--pid", str(pid)])
        return found

    def wait_for_windows(self, count, name=NOTE_WINDOW_NAME, timeout=20):
        def found():
            windows = self.windows(name)
            return (windows,) if len(windows) == count else None
        return wait_until(found, timeout, "%d window(s) named %s" % (count, name))[0]

    def wait_for_window(self, name, timeout=20):
        """The newest visible window of that name (a message box, a dialog)."""
        return wait_until(self.windows_named(name), timeout, "a window named " + name)[-1]

    def windows_named(self, name):
        return lambda: self.windows(name)

    def tray_icon(self, timeout=20):
        """Centre of the program's icon in the tray."""
        x, y, w, h = wait_until(self.desktop.tray_area, timeout, "the tray icon")
        return x + w // 2, y + h // 2

    def wait_for_exit(self, timeout=20):
        wait_until(lambda: not self.pids(), timeout, "the program to end")

    def stop(self):
        """Ends every process of this account by id; the harness's own
        children are reaped."""
        for pid in self.pids():
            try:
                os.kill(pid, 15)
            except ProcessLookupError:
                pass
        try:
            wait_until(lambda: not self.pids(), 10, "the program to end")
        except DesktopError:
            for pid in self.pids():
                try:
                    os.kill(pid, 9)
                except ProcessLookupError:
                    pass
        for process in self.processes:
            stop_process(process, grace=2)
        time.sleep(0.1)
