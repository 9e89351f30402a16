#!/usr/bin/env python3
"""Runs the whole-program measurements of bench/run.sh and prints each figure
beside its peer's, with a verdict against its target. Start-up and idle run
on a private X display (Xvfb + openbox, + trayer when installed); start-up
also without a window manager, where the programs' own cost shows."""
import argparse
import json
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

REGISTRY = ("Windows Registry Editor Version 5.00\n\n"
            "[HKEY_CURRENT_USER\\Software\\Harvel\\Vesk Jotlet 2003\\1.9.5]\n"
            "\"FirstRun\"=dword:00000000\n\"NoTrayNoticeShown\"=dword:00000001\n")
ROWS = []


def row(figure, ours, peer, target, ok):
    verdict = "n/a" if ok is None else ("PASS" if ok else "FAIL")
    ROWS.append((figure, ours, peer, target, verdict))
    print(f"{figure:<34} {ours:>14} {peer:>14}  {target:<34} {verdict}", flush=True)


class Display:
    def __init__(self, window_manager="openbox"):
        self.procs = []
        for number in range(91, 120):
            if not os.path.exists(f"/tmp/.X11-unix/X{number}") and \
                    not os.path.exists(f"/tmp/.X{number}-lock"):
                break
        self.name = f":{number}"
        self.env = dict(os.environ, DISPLAY=self.name)
        self.env.pop("WAYLAND_DISPLAY", None)
        self.env.pop("QT_QPA_PLATFORM", None)
        self._start(["Xvfb", self.name, "-screen", "0", "1920x1080x24", "-nolisten", "tcp"])
        for _ in range(100):
            if os.path.exists(f"/tmp/.X11-unix/X{number}"):
                break
            time.sleep(0.05)
        if window_manager != "none":
            self._start([window_manager])
        if shutil.which("trayer"):
            self._start(["trayer", "--edge", "bottom", "--align", "right"])
        time.sleep(1.5)

    def _start(self, command):
        self.procs.append(subprocess.Popen(command, env=getattr(self, "env", os.environ),
                                           stdout=subprocess.DEVNULL,
                                           stderr=subprocess.DEVNULL))

    def close(self):
        for p in reversed(self.procs):
            p.terminate()
            try:
                p.wait(5)
            except subprocess.TimeoutExpired:
                p.kill()


def proc_status(pid, key):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith(key + ":"):
                return int(line.split()[1]) / 1024.0  # MB
    return 0.0


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def switches_in(pid):
    """Times any thread of the process went to sleep of its own accord: its
    wake-ups. (The scheduler's run count would also count every preemption,
    which grows with the load of the machine, not with the program.)"""
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/status") as f:
                for line in f:
                    if line.startswith("voluntary_ctxt_switches:"):
                        total += int(line.split()[1])
        except OSError:
            pass
    return total


def alive(pid):
    try:
        with open(f"/proc/{pid}/stat") as f:
            return f.read().rsplit(")", 1)[1].split()[0] != "Z"
    except OSError:
        return False


def stop(pid):
    for sig, wait in ((signal.SIGTERM, 15), (signal.SIGKILL, 5)):
        try:
            os.kill(pid, sig)
        except ProcessLookupError:
            return
        end = time.time() + wait
        while time.time() < end and alive(pid):
            time.sleep(0.05)
        if not alive(pid):
            return


class Program:
    """One notes program with a fresh home holding `count` notes."""

    def __init__(self, kind, args, count):
        self.kind, self.args, self.count = kind, args, count
        self.home = tempfile.mkdtemp(prefix=f"jl-bench-{kind}-")
        env = {"HOME": self.home, "XDG_CONFIG_HOME": self.home + "/.config",
               "XDG_DATA_HOME": self.home + "/.local/share",
               "XDG_CACHE_HOME": self.home + "/.cache", "XDG_RUNTIME_DIR": self.home + "/run"}
        for path in env.values():
            os.makedirs(path, mode=0o700, exist_ok=True)
        self.env = env
        if kind == "jotlet":
            notes = env["XDG_DATA_HOME"] + "/Jotlet light cache"
            os.makedirs(env["XDG_CONFIG_HOME"] + "/Harvel", mode=0o700)
            with open(env["XDG_CONFIG_HOME"] + "/Harvel/registry.reg", "w") as f:
                f.write(getattr(args, "registry", REGISTRY))
            self.registry_written = time.time()
            source = os.path.join(args.data, "jotlet")
            names = [f"{100000 + i}.jtl" for i in range(count)]
            self.command = [args.jotletlight]
            self.match = ["--name", "JotNoteLight"]
        elif kind == "qtfloor":
            notes, names = None, []
            self.command = [args.qtfloor, str(count)]
            self.match = ["--name", "JotNoteLight"]
        else:
            notes = env["XDG_CONFIG_HOME"] + "/xpad"
            source = os.path.join(args.data, "xpad")
            names = [f"{p}-{100000 + i}" for i in range(count) for p in ("info", "content")]
            self.command = ["xpad"]
            self.match = ["--class", "xpad"]
        if notes:
            os.makedirs(notes, mode=0o700)
        for name in names:
            shutil.copy(os.path.join(source, name), notes)
            if kind == "jotlet":
                shutil.copy(os.path.join(source, name + "2"), notes)
        self.pid = None

    def start(self, display):
        if self.kind == "jotlet":
            # A user's settings were written long before the start; the
            # program re-reads a file changed in the last two seconds for
            # every value, which is not the start-up users see.
            time.sleep(max(0.0, 3.0 - (time.time() - self.registry_written)))
        env = dict(display.env, **self.env)
        out = subprocess.run([self.args.mapwatch, *self.match, "--count", str(self.count),
                              "--timeout", "300", "--", *self.command], env=env,
                             capture_output=True, text=True)
        pid, seconds = out.stdout.split()
        self.pid = int(pid)
        if seconds == "timeout":
            raise RuntimeError(f"{self.kind}: {self.count} notes did not appear")
        return float(seconds)

    def close(self):
        if self.pid:
            stop(self.pid)
        shutil.rmtree(self.home, ignore_errors=True)


def settle_registry(args, display):
    """The settings after a first session: every default the program reads
    is then stored, as it is for anyone who has used it before."""
    program = Program("jotlet", args, 1)
    try:
        program.start(display)
        time.sleep(1.0)
        with open(program.env["XDG_CONFIG_HOME"] + "/Harvel/registry.reg") as f:
            args.registry = f.read()
    finally:
        program.close()


def startup(args, display, kind, count):
    """Median seconds until mapped, peak and settled RSS, CPU seconds and
    the heap (RssAnon, MB) of `count` notes."""
    times, cpus, peaks, settled, heaps = [], [], [], [], []
    for _ in range(args.repeat):
        program = Program(kind, args, count)
        try:
            times.append(program.start(display))
            cpus.append(cpu_seconds(program.pid))
            time.sleep(args.settle)
            peaks.append(proc_status(program.pid, "VmHWM"))
            settled.append(proc_status(program.pid, "VmRSS"))
            heaps.append(proc_status(program.pid, "RssAnon"))
        finally:
            program.close()
    return (statistics.median(times), statistics.median(peaks), statistics.median(settled),
            statistics.median(cpus), statistics.median(heaps))


def idle(args, display, kind, count):
    program = Program(kind, args, count)
    try:
        program.start(display)
        # Past start-up's own one-off work: the toolkit runs a single timer
        # some 30 s after start.
        time.sleep(args.idle_settle)
        cpu0, sw0, t0 = cpu_seconds(program.pid), switches_in(program.pid), time.time()
        time.sleep(args.idle)
        cpu1, sw1, t1 = cpu_seconds(program.pid), switches_in(program.pid), time.time()
        return (cpu1 - cpu0) * 1000.0 * 60.0 / (t1 - t0), (sw1 - sw0) / (t1 - t0)
    finally:
        program.close()


def fmt(value, unit, digits=2):
    return "-" if value is None else f"{value:.{digits}f} {unit}"


def run_startup(args, display, have_xpad, label):
    ours, peer = {}, {}
    for count in args.counts:
        ours[count] = startup(args, display, "jotlet", count)
        peer[count] = startup(args, display, "xpad", count) if have_xpad and count <= 200 else None
        p = peer[count] or (None, None, None, None, None)
        t_ok = ratio_ok(ours[count][0], p[0], 1 / 5) if count == 200 else None
        m_ok = ratio_ok(ours[count][1], p[1], 1 / 3) if count == 200 else None
        row(f"start-up {count} notes{label}", fmt(ours[count][0], "s", 3), fmt(p[0], "s", 3),
            "<= 1/5 of peer" if count == 200 else "", t_ok)
        row(f"  CPU until mapped {count} notes", fmt(ours[count][3], "s", 2), fmt(p[3], "s", 2),
            "", None)
        row(f"  peak RSS {count} notes", fmt(ours[count][1], "MB", 1), fmt(p[1], "MB", 1),
            "<= 1/3 of peer" if count == 200 else "", m_ok)
        row(f"  settled RSS {count} notes", fmt(ours[count][2], "MB", 1), fmt(p[2], "MB", 1),
            "", None)
    if 200 in args.counts:
        floor = startup(args, display, "qtfloor", 200)
        row("  Qt floor: 200 bare windows", fmt(floor[0], "s", 3), "-", "", None)
        row("  Qt floor: CPU until mapped", fmt(floor[3], "s", 2), "-", "", None)
        row("  Qt floor: peak RSS", fmt(floor[1], "MB", 1), "-", "", None)
    if 1 in ours and 200 in ours:
        per_note = [(x[200][4] - x[1][4]) * 1024 / 199 if x[1] and x[200] else None
                    for x in (ours, peer)]
        row("  heap (RssAnon) per note", fmt(per_note[0], "KB", 0), fmt(per_note[1], "KB", 0),
            "", None)
    if 1 in ours and 200 in ours and 1000 in ours:
        for i, what in ((0, "time"), (3, "CPU"), (1, "peak RSS")):
            per200 = (ours[200][i] - ours[1][i]) / 199
            per1000 = (ours[1000][i] - ours[1][i]) / 999
            growth = per1000 / per200 if per200 > 0 else 0
            row(f"  {what} per note 1000 vs 200", f"x{growth:.2f}", "-",
                "<= x1.3 (linear)", growth <= 1.3)


def ratio_ok(ours, peer, bound):
    return None if peer is None else ours <= peer * bound


def timed(command, env=None, repeat=3):
    """Median CPU seconds (user + system) of a command: on a shared machine
    the wall time says more about the other jobs than about the command."""
    times = []
    for _ in range(repeat):
        child = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL)
        _, status, usage = os.wait4(child.pid, 0)
        child.returncode = os.waitstatus_to_exitcode(status)
        if child.returncode != 0:
            raise RuntimeError(f"{command[0]} failed")
        times.append(usage.ru_utime + usage.ru_stime)
    return statistics.median(times)


def google_bench(binary, repeat, only=None):
    """The median of each benchmark (the only run when repeat is 1); only:
    a filter of benchmark names."""
    out = subprocess.run([binary, "--benchmark_format=json",
                          f"--benchmark_repetitions={repeat}",
                          "--benchmark_report_aggregates_only=true"]
                         + ([f"--benchmark_filter={only}"] if only else []),
                         capture_output=True, text=True, check=True)
    runs = json.loads(out.stdout)["benchmarks"]
    return {b["run_name"]: b for b in runs
            if b.get("aggregate_name", "median") == "median"}


def run_rtf(args):
    big = os.path.join(args.data, "big.rtf")
    megabytes = os.path.getsize(big) / 1e6
    out = tempfile.mkdtemp(prefix="jl-bench-rtf-")
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_RUNTIME_DIR=out)
    try:
        ours = timed([args.jotletctl, "convert", big, out + "/out.txt"], env, args.repeat)
    finally:
        shutil.rmtree(out)
    peer = timed(["unrtf", "--text", big], None, args.repeat) if shutil.which("unrtf") else None
    ok = None if peer is None else (megabytes / ours) >= 10 * (megabytes / peer)
    row(f"convert {megabytes:.1f} MB RTF to text (CPU)", fmt(megabytes / ours, "MB/s", 1),
        fmt(None if peer is None else megabytes / peer, "MB/s", 1), ">= 10x peer speed", ok)
    bench = google_bench(args.bench_rtf, args.repeat)
    for size in ("10240", "1048576", "10485760"):
        read = bench[f"readRtf/{size}"]["bytes_per_second"] / 1e6
        write = bench[f"writeRtf/{size}"]["bytes_per_second"] / 1e6
        row(f"  RTF read {int(size) >> 10} KB", fmt(read, "MB/s", 1), "-", "", None)
        row(f"  RTF write {int(size) >> 10} KB", fmt(write, "MB/s", 1), "-", ">= read speed",
            write >= read)
    for kind, what in ((0, "plain"), (1, "formatted")):
        for step in ("Load", "Save"):
            seconds = bench[f"noteBody{step}/{kind}/10485760/iterations:3"]["real_time"] / 1e3
            row(f"  10 MB {what} body: {step.lower()}", fmt(seconds, "s", 2), "-", "<= 1 s",
                seconds <= 1.0)


def run_saving(args):
    bench = google_bench(args.bench_notes, args.repeat, "BM_Save")
    edited = bench["BM_SaveNoteEdited/real_time"]["real_time"]
    unchanged = bench["BM_SaveNoteUnchanged/real_time"]["real_time"]
    row("save one edited note (flushed)", fmt(edited, "ms"), "-", "< 5 ms", edited < 5)
    row("  save one unchanged note", fmt(unchanged, "ms"), "-", "", None)
    for count in (0, 10, 200):
        every = bench[f"BM_SaveAll/notes:200/edited:{count}/real_time"]["real_time"]
        row(f"save all 200, {count} edited (flushed)", fmt(every, "ms", 0), "-", "< 1000 ms",
            every < 1000)


def run_notes_window(args):
    bench = google_bench(args.bench_notes, args.repeat, "NotesWindow|SearchKeystroke")
    opening = bench["BM_OpenNotesWindow/notes:1000/real_time"]["real_time"]
    keystroke = bench["BM_SearchKeystroke/notes:1000/real_time"]["real_time"]
    row("open the notes window, 1000 notes", fmt(opening, "ms", 1), "-", "< 50 ms", opening < 50)
    row("  one keystroke of a search", fmt(keystroke, "ms", 1), "-", "< 50 ms", keystroke < 50)


def run_idle(args, display, have_xpad):
    cpu, wakes = idle(args, display, "jotlet", 200)
    peer = idle(args, display, "xpad", 200) if have_xpad else (None, None)
    row("idle CPU, 200 notes", fmt(cpu, "ms/min", 1), fmt(peer[0], "ms/min", 1),
        "< 20 ms/min (clock-tick noise)", cpu < 20)
    row("idle wake-ups, 200 notes", fmt(wakes, "/s"), fmt(peer[1], "/s"),
        "<= 0.2/s (one per 5 s tick)", wakes <= 0.2)


def typing(args, display, seconds):
    """Types into one note without a pause and counts the saves of its body:
    each save puts a new file in place, so each shows as a new inode."""
    program = Program("jotlet", args, 1)
    try:
        program.start(display)
        env = dict(display.env, **program.env)
        window = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "JotNoteLight"],
                                env=env, capture_output=True, text=True).stdout.split()[0]
        geometry = dict(line.split("=") for line in subprocess.run(
            ["xdotool", "getwindowgeometry", "--shell", window], env=env,
            capture_output=True, text=True).stdout.split())
        x, y = int(geometry["X"]) + int(geometry["WIDTH"]) // 2, int(geometry["Y"]) + 40
        subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], env=env)
        body = program.env["XDG_DATA_HOME"] + "/Jotlet light cache/100000.jtl2"
        inodes = {os.stat(body).st_ino}
        saved_at = []
        # Five characters a second, a steady typist's pace (xdotool spends half
        # its delay on the press, half on the release), for the whole time.
        typed = "q" * int(seconds * 5)
        typist = subprocess.Popen(["xdotool", "type", "--delay", "400", typed], env=env)
        started = time.time()
        while typist.poll() is None:
            inode = os.stat(body).st_ino
            if inode not in inodes:
                inodes.add(inode)
                saved_at.append(time.time())
            time.sleep(0.05)
        typed_for = time.time() - started
        time.sleep(3)
        with open(body, encoding="latin-1") as f:
            on_disk = f.read().count("q")
        gaps = [b - a for a, b in zip([started] + saved_at, saved_at + [started + typed_for])]
        return len(saved_at) * 60.0 / typed_for, max(gaps), on_disk == len(typed)
    finally:
        program.close()


def run_typing(args, display):
    if not shutil.which("xdotool"):
        row("saves per minute of typing", "-", "-", "xdotool not installed", None)
        return
    per_minute, longest, complete = typing(args, display, 60)
    row("saves per minute of typing", fmt(per_minute, "/min", 1), "-", "<= 60", per_minute <= 60)
    row("  longest time typed unsaved", fmt(longest, "s", 1), "-", "<= 5.5 s", longest <= 5.5)
    row("  all typed text on disk 3 s later", "yes" if complete else "no", "-", "yes", complete)


def main():
    parser = argparse.ArgumentParser()
    for name in ("data", "jotletlight", "jotletctl", "mapwatch", "qtfloor", "bench_rtf",
                 "bench_notes"):
        parser.add_argument("--" + name.replace("_", "-"), required=True)
    parser.add_argument("--counts", type=lambda s: [int(x) for x in s.split(",")],
                        default=[1, 50, 200, 1000])
    parser.add_argument("--repeat", type=int, default=3)
    parser.add_argument("--settle", type=float, default=3.0)
    parser.add_argument("--idle", type=float, default=60.0)
    parser.add_argument("--idle-settle", type=float, default=40.0)
    parser.add_argument("--only", default="startup,saving,noteswindow,rtf,typing,idle")
    parser.add_argument("--wm", type=lambda s: s.split(","), default=["openbox", "none"],
                        help="start-up under these window managers; none: without one")
    args = parser.parse_args()
    only = args.only.split(",")
    have_xpad = shutil.which("xpad") is not None
    print(f"{'figure':<34} {'Jotlet Light':>14} {'peer':>14}  {'target':<34} verdict")
    print(f"(peers: xpad {'found' if have_xpad else 'not installed'}, unrtf "
          f"{'found' if shutil.which('unrtf') else 'not installed'}; medians of {args.repeat})")
    display = Display() if {"startup", "typing", "idle"} & set(only) else None
    try:
        if display:
            settle_registry(args, display)
        if "startup" in only:
            for wm in args.wm:
                if wm == "openbox":
                    run_startup(args, display, have_xpad, "")
                else:
                    bare = Display(wm)
                    try:
                        run_startup(args, bare, have_xpad, f" ({wm} wm)" if wm != "none"
                                    else " (no wm)")
                    finally:
                        bare.close()
        if "saving" in only:
            run_saving(args)
        if "noteswindow" in only:
            run_notes_window(args)
        if "rtf" in only:
            run_rtf(args)
        if "typing" in only:
            run_typing(args, display)
        if "idle" in only:
            run_idle(args, display, have_xpad)
    finally:
        if display:
            display.close()
    return 1 if any(r[4] == "FAIL" for r in ROWS) else 0


if __name__ == "__main__":
    sys.exit(main())
