"""Real Syncthing for end-to-end runs: instances on loopback only, each with
a home of its own, that share one folder between them.

Nothing leaves the machine: global and local discovery, relays, NAT
traversal, usage reporting, crash reports and upgrades are off, and the
devices know each other by ID at static 127.0.0.1 addresses.
"""
import json
import os
import shutil
import socket
import subprocess
import urllib.request
import xml.etree.ElementTree as ET

from desktop import stop_process, wait_until

FOLDER_ID = "jotlet-notes"


def available():
    return shutil.which("syncthing") is not None


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def _set(parent, tag, text):
    element = parent.find(tag)
    if element is None:
        element = ET.SubElement(parent, tag)
    element.text = text


class Syncthing:
    def __init__(self, home, folder):
        self.home = home
        self.folder = folder
        self.port = free_port()
        self.api_port = free_port()
        self.process = None
        os.makedirs(home, exist_ok=True)
        out = subprocess.run(["syncthing", "generate", "--home=" + home, "--no-default-folder"],
                             capture_output=True, text=True, check=True, timeout=60)
        self.device_id = [line.split("Device ID:")[1].strip()
                          for line in (out.stdout + out.stderr).splitlines()
                          if "Device ID:" in line][0]
        self.config = os.path.join(home, "config.xml")
        tree = ET.parse(self.config)
        root = tree.getroot()
        options = root.find("options")
        for tag, text in (("listenAddress", "tcp://127.0.0.1:%d" % self.port),
                          ("globalAnnounceEnabled", "false"), ("localAnnounceEnabled", "false"),
                          ("relaysEnabled", "false"), ("natEnabled", "false"),
                          ("urAccepted", "-1"), ("urSeen", "3"), ("startBrowser", "false"),
                          ("crashReportingEnabled", "false"), ("autoUpgradeIntervalH", "0")):
            _set(options, tag, text)
        gui = root.find("gui")
        _set(gui, "address", "127.0.0.1:%d" % self.api_port)
        self.api_key = gui.find("apikey").text
        tree.write(self.config)

    def share_with(self, other):
        """Knows the other device at its address and shares the folder with it."""
        tree = ET.parse(self.config)
        root = tree.getroot()
        device = ET.SubElement(root, "device", id=other.device_id, name=os.path.basename(other.home),
                               compression="metadata", introducer="false")
        _set(device, "address", "tcp://127.0.0.1:%d" % other.port)
        folder = root.find("folder[@id='%s']" % FOLDER_ID)
        if folder is None:
            folder = ET.SubElement(root, "folder", id=FOLDER_ID, label="Notes", path=self.folder,
                                   type="sendreceive", rescanIntervalS="3600",
                                   fsWatcherEnabled="true", fsWatcherDelayS="1")
            ET.SubElement(folder, "device", id=self.device_id)
            # Written out: a folder made by hand gets no conflict copies
            # (0) otherwise, and the older version is thrown away.
            _set(folder, "maxConflicts", "10")
        ET.SubElement(folder, "device", id=other.device_id)
        # The default folder entry a fresh config has is no folder at all.
        for empty in root.findall("device"):
            if not empty.get("id"):
                root.remove(empty)
        tree.write(self.config)

    def start(self):
        env = dict(os.environ, STNOUPGRADE="1", STNODEFAULTFOLDER="1", HOME=self.home)
        self.process = subprocess.Popen(
            ["syncthing", "serve", "--home=" + self.home, "--no-browser", "--no-restart",
             "--logflags=0"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            env=env, start_new_session=True)
        wait_until(lambda: self._call("GET", "/rest/system/ping") is not None, 60,
                   "syncthing to answer")

    def stop(self):
        stop_process(self.process)
        self.process = None

    def _call(self, method, path):
        request = urllib.request.Request("http://127.0.0.1:%d%s" % (self.api_port, path),
                                         method=method, headers={"X-API-Key": self.api_key})
        try:
            with urllib.request.urlopen(request, timeout=5) as reply:
                body = reply.read()
                return json.loads(body) if body else {}
        except (OSError, ValueError):
            return None

    def connected_to(self, other):
        status = self._call("GET", "/rest/system/connections") or {}
        return status.get("connections", {}).get(other.device_id, {}).get("connected", False)

    def pause(self, other):
        self._call("POST", "/rest/system/pause?device=" + other.device_id)

    def resume(self, other):
        self._call("POST", "/rest/system/resume?device=" + other.device_id)

    def idle(self):
        """Nothing left to send or fetch for the folder."""
        status = self._call("GET", "/rest/db/status?folder=" + FOLDER_ID) or {}
        return status.get("state") == "idle" and status.get("needTotalItems", 1) == 0
