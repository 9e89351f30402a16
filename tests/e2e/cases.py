"""The end-to-end cases: each gets a fresh account on a fresh desktop and
drives the real program as a user would, with the mouse, the keyboard, the
tray and jotletctl."""
import datetime
import json
import os
import re
import signal
import time

from desktop import SCREEN_HEIGHT, SCREEN_WIDTH, wait_until

# Keys that reach an item of the tray menu from its closed state: the menu
# opens with nothing selected, Down selects the first item, Right opens a
# submenu on its first item.
TRAY_MENU_KEYS = {
    "new": ["Down"],
    "show-all": ["Down", "Down", "Right"],
    "hide-all": ["Down", "Down", "Right", "Down"],
    "all-notes": ["Down"] * 3,
    "options": ["Down"] * 4,
    "delete-all": ["Down"] * 5,
    "about": ["Down"] * 6,
    "exit": ["Down"] * 7,
}
TITLE_HEIGHT = 15
SETTLE = 0.8
DRAG_SLACK = 20  # pixels: the drag distance plus rounding  # time for the program to act on an event under load


class CaseFailure(AssertionError):
    pass


def check(condition, message):
    if not condition:
        raise CaseFailure(message)


def on_desktop(kind):
    """Runs the case on another desktop than Xvfb with openbox and trayer
    (desktop.new_desktop names the kinds)."""
    def mark(case):
        case.desktop = kind
        return case
    return mark


def settle(account, **values):
    """Makes the account one past its first run: settings written, and the
    welcome note already delivered (and closed), so only a case's own notes
    show."""
    settings = {"FirstRun": 0}
    settings.update(values)
    account.write_settings(settings)
    for name in ("about.jtl", "about.jtl2"):
        path = os.path.join(account.program_dir, name)
        if os.path.exists(path):
            os.remove(path)


def note_record(title, left, top, width, height, visible=True, **extra):
    """A complete note record as jotletctl make reads it."""
    never = "2003-01-01T00:00:00"
    font = {"name": "DejaVu Sans", "size": 10, "bold": False, "italic": False,
            "underline": False, "strikeOut": False, "color": 0}
    record = {
        "signature": "Vesk Jotlet 2003", "version": "1.9.6",
        "left": left, "top": top, "width": width, "height": height, "title": title,
        "lines": [title + " body"], "visible": visible,
        "backColor": 0x00FFFF, "titleColor": 0xC0DCC0, "bodyFont": font,
        "titleFont": dict(font, bold=True), "onTop": False,
        "expirationEnabled": False, "expirationReserved": False,
        "expirationDate": never, "expirationTime": never,
        "alarmEnabled": False, "alarmFired": False, "alarmDate": never, "alarmTime": never,
        "createStamp1": never, "createStamp2": never,
        "restoreWidth": width, "restoreHeight": height,
    }
    record.update(extra)
    return record


def minimal_rtf(text):
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 DejaVu Sans;}}\\f0\\fs20 %s\\par}" % text


def start_settled(program):
    program.start()
    program.tray_icon()
    time.sleep(SETTLE)


def tray_menu(program, command):
    desktop = program.desktop
    x, y = program.tray_icon()
    desktop.click(x, y, 3)
    time.sleep(SETTLE)
    desktop.key(*TRAY_MENU_KEYS[command], "Return")
    time.sleep(SETTLE)


def title_point(desktop, window, dx=40):
    x, y, _, _ = desktop.geometry(window)
    return x + dx, y + 2 + TITLE_HEIGHT // 2


def wait_geometry(desktop, window, expected, what):
    def matches():
        return desktop.geometry(window) == expected
    try:
        wait_until(matches, 5, what)
    except Exception:
        raise CaseFailure("%s: expected %s, found %s" % (what, expected,
                                                         desktop.geometry(window)))


# ---- the cases


def first_start(program):
    """An empty account: the first-run message, the options dialog on the
    language page, a restart, and the welcome note on screen."""
    desktop, account = program.desktop, program.account
    program.start()
    message = program.wait_for_window("Vesk Jotlet Light")
    early = program.windows()
    check(early == [], "no note may show before the language is chosen: %s"
          % [desktop.geometry(w) for w in early])
    desktop.screenshot("first-run-message.png")
    desktop.xdotool("windowactivate", "--sync", message)
    desktop.key("Return")
    options = program.wait_for_window("Options")
    first_pid = program.pids()
    desktop.xdotool("windowactivate", "--sync", options)
    desktop.key("Escape")
    # The options dialog always ends in a restart into a new process.
    wait_until(lambda: program.pids() and program.pids() != first_pid, 20, "the restart")
    program.wait_for_windows(1)
    check("about.jtl" in account.note_files(), "the welcome note is in the note folder")
    check(not os.path.exists(os.path.join(account.program_dir, "about.jtl")),
          "the welcome note left the program folder")
    settings = open(account.registry_file, encoding="utf-8").read()
    check('"FirstRun"=dword:00000000' in settings, "FirstRun is stored as false")


def tray_commands(program):
    """Left click makes a note with the configured size and placement; the
    right button's menu shows, hides, deletes all and exits."""
    desktop, account = program.desktop, program.account
    settle(account, width=210, height=130, position=2,
           title="From the tray")
    account.make_note("100.jtl", note_record("Kept", 40, 40, 200, 120), minimal_rtf("Kept"))
    start_settled(program)
    program.wait_for_windows(1)
    x, y = program.tray_icon()
    desktop.click(x, y)
    note = [w for w in program.wait_for_windows(2) if desktop.geometry(w)[0] != 40][0]
    expected = ((SCREEN_WIDTH - 210) // 2, (SCREEN_HEIGHT - 130) // 2, 210, 130)
    wait_geometry(desktop, note, expected, "a centred 210 x 130 note")

    tray_menu(program, "new")
    program.wait_for_windows(3)
    tray_menu(program, "hide-all")
    program.wait_for_windows(0)
    tray_menu(program, "show-all")
    program.wait_for_windows(3)

    old = program.pids()
    tray_menu(program, "delete-all")
    box = program.wait_for_window("Vesk Jotlet Light")
    desktop.xdotool("windowactivate", "--sync", box)
    desktop.key("Return")
    wait_until(lambda: program.pids() and program.pids() != old, 20, "the restart")
    program.tray_icon()
    time.sleep(SETTLE)
    check(program.windows() == [], "no note after Delete all")
    check(account.note_files() == [], "Delete all removed every note file")
    check(not [n for n in os.listdir(account.note_folder) if n.endswith(".jtl2")],
          "Delete all removed every body file")

    tray_menu(program, "exit")
    program.wait_for_exit()


def move_resize_rollup(program):
    """Drag the title to move, drag the lower-right frame to resize, double
    click the title to roll up and back."""
    desktop, account = program.desktop, program.account
    settle(account)
    account.make_note("100.jtl", note_record("Drag me", 200, 150, 240, 160),
                      minimal_rtf("Drag me"))
    start_settled(program)
    note = program.wait_for_windows(1)[0]
    wait_geometry(desktop, note, (200, 150, 240, 160), "the note where its file puts it")

    start = title_point(desktop, note)
    desktop.drag(start, (start[0] + 150, start[1] + 90))
    # The window manager's move starts once the pointer passes the drag
    # distance, so the note may trail the pointer by that much.
    x, y, w, h = desktop.geometry(note)
    check(abs(x - 350) <= DRAG_SLACK and abs(y - 240) <= DRAG_SLACK and (w, h) == (240, 160),
          "the note moved by its title to about (350, 240): %s" % ((x, y, w, h),))

    desktop.drag((x + w - 1, y + h - 1), (x + w + 59, y + h + 49))
    moved = desktop.geometry(note)
    check(moved[:2] == (x, y), "resizing keeps the top-left corner")
    check(abs(moved[2] - 300) <= 2 and abs(moved[3] - 210) <= 2,
          "resized to about 300 x 210: %s" % (moved,))

    desktop.double_click(*title_point(desktop, note, dx=10))
    wait_geometry(desktop, note, (x, y, 20, 20), "the rolled-up note")
    desktop.double_click(*title_point(desktop, note, dx=8))
    wait_geometry(desktop, note, moved, "the unrolled note")


def survives_restarts(program):
    """Typed text, a changed title and a new size survive jotletctl exit and
    a new start, and again SIGTERM."""
    desktop, account = program.desktop, program.account
    settle(account, width=220, height=140, position=2)
    start_settled(program)
    desktop.click(*program.tray_icon())
    note = program.wait_for_windows(1)[0]
    x, y, w, h = desktop.geometry(note)
    desktop.click(x + w // 2, y + h // 2)
    desktop.type_text("Call Anna 0123")
    desktop.click(*title_point(desktop, note), button=3)
    time.sleep(SETTLE)
    desktop.key("Down", "Right", "Return")  # Appearance > Change title
    time.sleep(SETTLE)
    desktop.key("ctrl+a")
    desktop.type_text("Phone")
    desktop.key("Return")
    desktop.drag((x + w - 1, y + h - 1), (x + w + 59, y + h + 39))
    size = desktop.geometry(note)[2:]

    result = program.ctl("exit")
    check(result.returncode == 0, "jotletctl exit: " + result.stderr)
    program.wait_for_exit()
    files = account.note_files()
    check(len(files) == 1, "one note file after exit, found %s" % files)
    record = account.dump_note(files[0])
    check(record["title"] == "Phone", "title saved, got %r" % record["title"])
    check((record["width"], record["height"]) == size, "size saved, got %s" % (record,))
    body = open(os.path.join(account.note_folder, files[0] + "2"), encoding="latin-1").read()
    check("Call Anna 0123" in body, "typed text saved")

    start_settled(program)
    note = program.wait_for_windows(1)[0]
    check(desktop.geometry(note)[2:] == size, "the note comes back with its size")
    x, y, w, h = desktop.geometry(note)
    desktop.click(x + w // 2, y + h - 10)
    desktop.key("ctrl+End")
    desktop.type_text(" after restart")
    os.kill(program.pids()[0], signal.SIGTERM)
    program.wait_for_exit()
    body = open(os.path.join(account.note_folder, files[0] + "2"), encoding="latin-1").read()
    check("after restart" in body, "text typed before SIGTERM is saved")


def alarm_and_expiration(program):
    """An alarm due in the coming minute raises its hidden note; an
    expiration due then removes a note and its files."""
    desktop, account = program.desktop, program.account
    settle(account)
    due = (datetime.datetime.now() + datetime.timedelta(minutes=1)).replace(second=0)
    stamp = due.strftime("%Y-%m-%dT%H:%M:00")
    account.make_note("200.jtl", note_record("Alarm", 100, 100, 200, 120, visible=False,
                                             alarmEnabled=True, alarmDate=stamp,
                                             alarmTime=stamp), minimal_rtf("Alarm"))
    account.make_note("300.jtl", note_record("Expires", 400, 100, 200, 120,
                                             expirationEnabled=True, expirationDate=stamp,
                                             expirationTime=stamp), minimal_rtf("Expires"))
    start_settled(program)
    program.wait_for_windows(1)
    check(set(account.note_files()) == {"200.jtl", "300.jtl"}, "both notes before the minute")
    wait_until(lambda: [w for w in program.windows() if desktop.geometry(w)[0] == 100],
               90, "the alarm to show its note")
    wait_until(lambda: account.note_files() == ["200.jtl"], 30, "the expired note's files to go")
    check(not os.path.exists(os.path.join(account.note_folder, "300.jtl2")),
          "the expired note's body file is gone")
    result = program.ctl("exit")
    check(result.returncode == 0, "jotletctl exit")
    program.wait_for_exit()
    record = account.dump_note("200.jtl")
    check(record["alarmFired"] and record["visible"] and record["onTop"],
          "the fired alarm is saved: %s" % record)


def one_instance_and_restart(program):
    """A second start leaves one instance; jotletctl restart keeps every
    note."""
    account = program.account
    settle(account)
    for i in range(3):
        account.make_note("%d.jtl" % (400 + i),
                          note_record("Note %d" % i, 100 + 250 * i, 300, 200, 120),
                          minimal_rtf("Note %d" % i))
    start_settled(program)
    program.wait_for_windows(3)
    first = program.pids()
    program.start()
    wait_until(lambda: program.processes[-1].poll() is not None, 20, "the second start to end")
    check(program.pids() == first, "the first instance still runs, alone")
    program.wait_for_windows(3)

    result = program.ctl("restart")
    check(result.returncode == 0, "jotletctl restart: " + result.stderr)
    wait_until(lambda: program.pids() and program.pids() != first, 20, "the restart")
    program.wait_for_windows(3)
    check(len(program.pids()) == 1, "one instance after the restart")
    check(sorted(account.note_files()) == ["400.jtl", "401.jtl", "402.jtl"], "every note kept")


def tray_coming_and_going(program):
    """A panel that comes up after the program (as at log-in): the stand-in
    window gives way to the tray icon, which then works as usual; when the
    panel ends, the stand-in window comes back with the menu."""
    desktop, account = program.desktop, program.account
    settle(account, NoTrayNoticeShown=1)
    desktop.stop_tray()
    program.start()
    wait_until(program.windows_named("Vesk Jotlet 2003"), 20, "the stand-in window")
    desktop.start_tray()
    # The program looks for a tray on its 5 s tick.
    wait_until(lambda: not program.windows("Vesk Jotlet 2003"), 15, "the stand-in window to go")
    time.sleep(SETTLE)  # the tray embeds the icon in steps
    desktop.click(*program.tray_icon())
    program.wait_for_windows(1)

    desktop.stop_tray()
    stand_in = wait_until(program.windows_named("Vesk Jotlet 2003"), 15,
                          "the stand-in window to come back")[0]
    x, y, w, h = desktop.geometry(stand_in)
    desktop.click(x + w // 3, y + h // 2)
    program.wait_for_windows(2)


def new_note_to_type_in(program):
    """A note made from the tray, with the keyboard in its body."""
    desktop = program.desktop
    desktop.click(*program.tray_icon())
    note = program.wait_for_windows(1)[0]
    x, y, w, h = desktop.geometry(note)
    desktop.click(x + w // 2, y + h // 2)
    return note


def body_text(account):
    files = account.note_files()
    if len(files) != 1 or not os.path.exists(os.path.join(account.note_folder, files[0] + "2")):
        return ""
    return open(os.path.join(account.note_folder, files[0] + "2"), encoding="latin-1").read()


def typing_survives_a_crash(program):
    """A note that keeps the focus writes what is typed seconds later, also
    while the typing goes on: a crash (kill -9) costs seconds, not the note."""
    desktop, account = program.desktop, program.account
    settle(account, width=260, height=160, position=2)
    start_settled(program)
    new_note_to_type_in(program)
    # About seven seconds of typing without a pause (xdotool spends half its
    # delay on each key's press, half on its release), then the crash.
    desktop.xdotool("type", "--delay", 600, "Call Anna at nine sharp")
    os.kill(program.pids()[0], signal.SIGKILL)
    program.wait_for_exit()
    check("Call Anna" in body_text(account),
          "typing that went on for seconds was never saved: %r" % body_text(account))

    start_settled(program)
    note = program.wait_for_windows(1)[0]
    x, y, w, h = desktop.geometry(note)
    desktop.click(x + w // 2, y + h - 10)
    desktop.key("ctrl+End")
    desktop.type_text(" with Tom")
    time.sleep(5)
    os.kill(program.pids()[0], signal.SIGKILL)
    program.wait_for_exit()
    check("Call Anna at nine" in body_text(account) and " with Tom\\par" in body_text(account),
          "text typed 5 s before a crash is lost: %r" % body_text(account))


def display_lost(program):
    """The X server goes away under the program (as when XWayland or the
    session's server ends first): what was typed a moment ago is on disk."""
    desktop, account = program.desktop, program.account
    settle(account, width=260, height=160, position=2)
    start_settled(program)
    new_note_to_type_in(program)
    desktop.type_text("Gas meter 4711")
    desktop.stop_server()
    program.wait_for_exit()
    check("Gas meter 4711" in body_text(account),
          "text typed before the display went is lost: %r" % body_text(account))


def places_after_about(program):
    """New notes, the About window and its OK, then Exit: every note is
    saved where the user saw it (the toolkit once took the window
    manager's frame for the window and saved the corner)."""
    desktop, account = program.desktop, program.account
    settle(account, position=1)
    start_settled(program)
    for round in range(3):
        for _ in range(3):
            check(program.ctl("new").returncode == 0, "jotletctl new")
        notes = program.wait_for_windows(3 * (round + 1))
        shown = sorted(desktop.geometry(w)[:2] for w in notes)
        check(program.ctl("about").returncode == 0, "jotletctl about")
        about = program.wait_for_window("Vesk Jotlet 2000 light")
        x, y, _, _ = desktop.geometry(about)
        desktop.click(x + 16 + 37, y + 328 + 12)  # its OK button
        notes = program.wait_for_windows(3 * (round + 1))
        time.sleep(SETTLE)
        check(sorted(desktop.geometry(w)[:2] for w in notes) == shown,
              "the notes came back elsewhere")
    check(program.ctl("exit").returncode == 0, "jotletctl exit")
    program.wait_for_exit()
    saved = sorted((r["left"], r["top"]) for r in map(account.dump_note, account.note_files()))
    check(saved == shown, "saved places %s, shown %s" % (saved, shown))


def ending_with_a_dialog_open(program):
    """A note's font dialog is open when the program is asked to end: SIGTERM
    saves and ends with status 0, and a restart leaves one instance."""
    desktop, account = program.desktop, program.account
    settle(account, width=260, height=160, position=2)
    start_settled(program)
    new_note_to_type_in(program)
    desktop.type_text("Dentist Friday")
    desktop.key("ctrl+f")
    program.wait_for_window("Font")
    os.kill(program.pids()[0], signal.SIGTERM)
    program.wait_for_exit()
    check(program.process.wait(10) == 0, "exit status %s" % program.process.returncode)
    check("Dentist Friday" in body_text(account), "the typed text is saved")

    start_settled(program)
    note = program.wait_for_windows(1)[0]
    x, y, w, h = desktop.geometry(note)
    desktop.click(x + w // 2, y + h // 2)
    desktop.key("ctrl+f")
    program.wait_for_window("Font")
    old = program.pids()
    check(program.ctl("restart").returncode == 0, "jotletctl restart")
    wait_until(lambda: program.pids() and program.pids() != old, 20, "the restart")
    program.wait_for_windows(1)
    time.sleep(2 * SETTLE)
    check(len(program.pids()) == 1, "one instance after the restart: %s" % program.pids())


def file_identities(account):
    """Each file of the note folder with its inode and modification time:
    a save replaces a file by renaming a new one over it."""
    folder = account.note_folder
    identities = {}
    for name in sorted(os.listdir(folder)):
        info = os.stat(os.path.join(folder, name))
        identities[name] = (info.st_ino, info.st_mtime_ns)
    return identities


def untouched_notes_stay_as_they_were(program):
    """Notes that come back at start-up take no focus and are not written
    again; once saved in the program's own form, a session without edits
    leaves their files as they are, exit included."""
    account = program.account
    settle(account)
    for i in range(4):
        account.make_note("%d.jtl" % (500 + i),
                          note_record("Note %d" % i, 100 + 250 * i, 200, 200, 120),
                          minimal_rtf("Note %d" % i))
    before = file_identities(account)
    start_settled(program)
    program.wait_for_windows(4)
    time.sleep(2 * SETTLE)
    check(file_identities(account) == before, "start-up rewrote notes nobody touched")
    check(program.ctl("exit").returncode == 0, "jotletctl exit")
    program.wait_for_exit()

    saved = file_identities(account)
    start_settled(program)
    program.wait_for_windows(4)
    check(program.ctl("exit").returncode == 0, "jotletctl exit")
    program.wait_for_exit()
    check(file_identities(account) == saved,
          "a session without edits rewrote notes:\n%s\n%s" % (saved, file_identities(account)))


TRAY_MENU = [("New Jotlet", []), ("Desktop", [("Show All Jotlet", []), ("Close All Jotlet", [])]),
             ("All notes", []), ("Options", []), ("Delete All Jotlet", []), ("About", []),
             ("Exit", [])]


def menu_labels(entries):
    return [(label, menu_labels(children)) for _, label, children in entries]


def menu_id(entries, *labels):
    """The id of the entry reached through the labels."""
    for entry_id, label, children in entries:
        if label == labels[0]:
            return menu_id(children, *labels[1:]) if labels[1:] else entry_id
    raise CaseFailure("no menu entry %s in %s" % (" > ".join(labels), menu_labels(entries)))


@on_desktop("statusnotifier")
def tray_through_status_notifier(program):
    """The tray of KDE Plasma and of GNOME's AppIndicator extension: the
    program registers its item with the watcher instead of showing its
    stand-in window; the item's Activate (a left click) makes a note, and its
    menu holds the tray commands, which work from there."""
    desktop, account = program.desktop, program.account
    panel = desktop.panel
    settle(account)
    program.start()
    item = wait_until(panel.items, 20, "the program's StatusNotifierItem")[0]
    wait_until(lambda: panel.item_property(item, "ToolTip")[2] == "Vesk Jotlet 2003", 20,
               "the item's hint after loading")
    check(panel.item_property(item, "Status") == "Active", "the item is active")
    check(program.windows("Vesk Jotlet 2003") == [], "no stand-in window beside the tray")

    panel.activate(item)
    program.wait_for_windows(1)
    menu = panel.menu(item)
    check(menu_labels(menu) == TRAY_MENU, "the tray menu: %s" % menu_labels(menu))
    panel.click(item, menu_id(menu, "New Jotlet"))
    program.wait_for_windows(2)
    panel.click(item, menu_id(menu, "Desktop", "Close All Jotlet"))
    program.wait_for_windows(0)
    panel.click(item, menu_id(menu, "Desktop", "Show All Jotlet"))
    program.wait_for_windows(2)
    panel.click(item, menu_id(menu, "Exit"))
    program.wait_for_exit()
    check(len(account.note_files()) == 2, "both notes saved: %s" % account.note_files())
    wait_until(lambda: not panel.items(), 10, "the item to leave the watcher")


@on_desktop("wayland")
def wayland_through_xwayland(program):
    """A GNOME Wayland session: the program picks X11 through XWayland by
    itself, so its notes show where their files say, and it saves them there,
    with a new one made meanwhile."""
    desktop, account = program.desktop, program.account
    settle(account, NoTrayNoticeShown=1)
    placed = {"100.jtl": ("Left", (100, 120, 220, 140)), "101.jtl": ("Right", (600, 300, 200, 150))}
    for name, (title, geometry) in placed.items():
        account.make_note(name, note_record(title, *geometry), minimal_rtf(title))
    program.start()
    shown = sorted(desktop.geometry(w) for w in program.wait_for_windows(2))
    check(shown == sorted(g for _, g in placed.values()),
          "the notes show where their files say: %s" % shown)
    check(program.ctl("new").returncode == 0, "jotletctl new")
    program.wait_for_windows(3)
    check(program.ctl("exit").returncode == 0, "jotletctl exit")
    program.wait_for_exit()
    check(len(account.note_files()) == 3, "every note saved: %s" % account.note_files())
    for name, (title, geometry) in placed.items():
        record = account.dump_note(name)
        saved = (record["title"], (record["left"], record["top"], record["width"], record["height"]))
        check(saved == (title, geometry), "%s saved where it was: %s" % (name, record))


def stacking(desktop):
    """Client windows bottom to top, as the window manager stacks them."""
    out = desktop.run(["xprop", "-root", "_NET_CLIENT_LIST_STACKING"])
    return [int(w, 16) for w in re.findall(r"0x[0-9a-f]+", out)]


def dialogs_in_front_and_focus(program):
    """The program's questions stand above notes kept on top; a new note
    takes the keyboard, and gets it back after its font dialog; the options
    dialog opens where it was left."""
    desktop, account = program.desktop, program.account
    settle(account, width=260, height=160, position=2)
    # A note on top over the middle of the screen, where questions appear.
    account.make_note("100.jtl", note_record("On top", 300, 150, 700, 500, onTop=True),
                      minimal_rtf("On top"))
    start_settled(program)
    on_top = program.wait_for_windows(1)[0]
    tray_menu(program, "delete-all")
    box = program.wait_for_window("Vesk Jotlet Light")
    order = stacking(desktop)
    check(order.index(box) > order.index(on_top), "the question is under the on-top note")
    desktop.xdotool("windowactivate", "--sync", box)
    desktop.key("Escape")

    desktop.click(*program.tray_icon())
    wait_until(lambda: len(program.windows()) == 2, 20, "the new note")
    desktop.type_text("Typed at once")
    desktop.key("ctrl+f")
    font = program.wait_for_window("Font")
    desktop.xdotool("windowactivate", "--sync", font)
    desktop.key("Escape")
    time.sleep(SETTLE)
    desktop.type_text(" and after")
    time.sleep(3)
    bodies = [open(os.path.join(account.note_folder, n + "2"), encoding="latin-1").read()
              for n in account.note_files()]
    check(any("Typed at once and after" in body for body in bodies),
          "the keys did not reach the new note")

    places = []
    for _ in range(2):
        old = program.pids()
        check(program.ctl("options").returncode == 0, "jotletctl options")
        options = program.wait_for_window("Options")
        places.append(desktop.geometry(options))
        desktop.xdotool("windowactivate", "--sync", options)
        desktop.key("Escape")
        wait_until(lambda: program.pids() and program.pids() != old, 20, "the restart")
        program.wait_for_windows(2)
    check(places[0] == places[1], "the options dialog moved: %s" % places)


def active_window(desktop):
    out = desktop.xdotool("getactivewindow").strip()
    return int(out) if out.isdigit() else None


def notes_window_finds_and_shows(program):
    """jotletctl list --json lists notes made with jotletctl make, without the
    program. Then every note is hidden, jotletctl show brings back the one kept
    on top, the notes window finds another by a word of its text (typed in
    capitals, without its accent), and Enter brings that one back above the
    note kept on top, with the keyboard in it."""
    desktop, account = program.desktop, program.account
    settle(account)
    account.make_note("100.jtl", note_record("Shopping", 40, 40, 200, 120),
                      minimal_rtf("Milk and bread"))
    account.make_note("101.jtl", note_record("Plumber", 300, 200, 240, 140),
                      minimal_rtf("Mr. Lef\\'e8vre 0555 123"))
    account.make_note("102.jtl", note_record("On top", 250, 150, 400, 300, onTop=True),
                      minimal_rtf("Kept on top"))

    listed = program.ctl("list", "--json")
    check(listed.returncode == 0, "jotletctl list --json: " + listed.stderr)
    notes = json.loads(listed.stdout)
    check([n["file"] for n in notes] == ["100.jtl", "101.jtl", "102.jtl"],
          "the notes listed: %s" % listed.stdout)
    check(set(notes[1]) == set(account.dump_note("101.jtl")) | {"file", "text"},
          "the members of dump, file and text: %s" % sorted(notes[1]))
    check(notes[1]["title"] == "Plumber" and notes[1]["text"] == "Mr. Lef\u00e8vre 0555 123",
          "title and text: %s" % notes[1])

    start_settled(program)
    program.wait_for_windows(3)
    tray_menu(program, "hide-all")
    program.wait_for_windows(0)
    result = program.ctl("show", "102.jtl")
    check(result.returncode == 0, "jotletctl show 102.jtl: " + result.stderr)
    on_top = program.wait_for_windows(1)[0]
    result = program.ctl("show", "999.jtl")
    check(result.returncode == 1 and "there is no note 999.jtl" in result.stderr,
          "jotletctl show of no note: %s %r" % (result.returncode, result.stderr))

    tray_menu(program, "all-notes")
    window = program.wait_for_window("All notes")
    wait_until(lambda: active_window(desktop) == window, 10, "the notes window to be active")
    desktop.type_text("LEFEVRE")
    time.sleep(SETTLE)
    desktop.key("Return")
    note = [w for w in program.wait_for_windows(2) if w != on_top][0]
    wait_geometry(desktop, note, (300, 200, 240, 140), "the plumber's note where it was")
    wait_until(lambda: active_window(desktop) == note, 10, "the note to be active")
    order = stacking(desktop)
    check(order.index(note) > order.index(on_top), "the note is under the note kept on top")
    desktop.type_text("Call back ")
    wait_until(lambda: "Call back" in open(
        os.path.join(account.note_folder, "101.jtl2"), encoding="latin-1").read(), 10,
        "the typed text to reach the note")


def bodies(account):
    """The text of every note body in the account's note folder."""
    folder = account.note_folder
    if not os.path.isdir(folder):
        return []
    return [open(os.path.join(folder, n), encoding="latin-1").read()
            for n in sorted(os.listdir(folder)) if n.endswith(".jtl2")]


def type_into_note(program, note, text):
    desktop = program.desktop
    x, y, w, h = desktop.geometry(note)
    desktop.click(x + w // 2, y + h - 12)
    desktop.key("ctrl+End")
    desktop.type_text(text)


def close_for_good(program, note):
    """Title menu > Close, and OK in the question."""
    desktop = program.desktop
    desktop.click(*title_point(desktop, note), button=3)
    time.sleep(SETTLE)
    desktop.key(*["Down"] * 8, "Return")
    box = program.wait_for_window("Vesk Jotlet Light")
    desktop.xdotool("windowactivate", "--sync", box)
    desktop.key("Return")


@on_desktop("syncthing")
def synced_note_folder(program):
    """Two computers, two Syncthings on loopback, one note folder: a note
    made on one appears on the other, an edit shows there and survives its
    Exit, a note closed for good goes away there for good, and edits made on
    both while the link is down are both kept."""
    import syncthing
    from account import Account, Program
    from desktop import Desktop
    a = program
    settle(a.account, width=260, height=160, position=2)
    b_account = Account(os.path.dirname(os.path.dirname(a.account.ctl_path)))
    settle(b_account, width=260, height=160, position=2)
    syncs = []
    try:
        with Desktop(b_account.home) as b_desktop:
            b = Program(b_account, b_desktop)
            try:
                for account in (a.account, b_account):
                    os.makedirs(account.note_folder, mode=0o700, exist_ok=True)
                    syncs.append(syncthing.Syncthing(os.path.join(account.root, "syncthing"),
                                                     account.note_folder))
                syncs[0].share_with(syncs[1])
                syncs[1].share_with(syncs[0])
                for sync in syncs:
                    sync.start()
                wait_until(lambda: syncs[0].connected_to(syncs[1]), 60, "the two Syncthings")
                start_settled(a)
                start_settled(b)
                both_synced_case(a, b, syncs)
            finally:
                b.stop()
    finally:
        for sync in syncs:
            sync.stop()
        b_account.remove()


def both_synced_case(a, b, syncs):
    # Made on one, there on the other.
    check(a.ctl("new").returncode == 0, "jotletctl new")
    note_a = a.wait_for_windows(1)[0]
    type_into_note(a, note_a, "Call the plumber")
    note_b = b.wait_for_windows(1, timeout=60)[0]
    wait_until(lambda: any("Call the plumber" in body for body in bodies(b.account)), 60,
               "the text on the other computer")

    # Edited on one: shown on the other, and its Exit keeps it.
    type_into_note(a, note_a, " at nine")
    wait_until(lambda: any("plumber at nine" in body for body in bodies(b.account)), 60,
               "the edit on the other computer")
    time.sleep(2 * SETTLE)
    check(b.ctl("exit").returncode == 0, "jotletctl exit")
    b.wait_for_exit()
    check(any("plumber at nine" in body for body in bodies(b.account)),
          "the other computer's Exit wrote over the edit")
    start_settled(b)
    note_b = b.wait_for_windows(1)[0]

    # Edits on both while the link is down: both are kept once it is back.
    syncs[0].pause(syncs[1])
    syncs[1].pause(syncs[0])
    wait_until(lambda: not syncs[0].connected_to(syncs[1]), 30, "the link to go down")
    type_into_note(a, note_a, " (laptop)")
    type_into_note(b, note_b, " (desktop)")
    time.sleep(4)
    syncs[0].resume(syncs[1])
    syncs[1].resume(syncs[0])
    for side in (a, b):
        wait_until(lambda: any("(laptop)" in body for body in bodies(side.account))
                   and any("(desktop)" in body for body in bodies(side.account)), 90,
                   "both versions on both computers")
    wait_until(lambda: syncs[0].idle() and syncs[1].idle(), 60, "the folders to settle")
    time.sleep(2 * SETTLE)
    b.wait_for_windows(2, timeout=30)

    # Closed for good on one: gone on the other, and not brought back.
    for _ in range(4):  # the windows of the moment: each close takes one
        notes = a.windows()
        if not notes:
            break
        close_for_good(a, notes[0])
        time.sleep(2 * SETTLE)
    a.wait_for_windows(0)
    b.wait_for_windows(0, timeout=60)
    check(b.ctl("exit").returncode == 0, "jotletctl exit")
    b.wait_for_exit()
    time.sleep(3)
    check(a.account.note_files() == [] and b.account.note_files() == [],
          "notes came back: %s, %s" % (a.account.note_files(), b.account.note_files()))


CASES = {f.__name__: f for f in (first_start, tray_commands, move_resize_rollup,
                                  survives_restarts, alarm_and_expiration,
                                  one_instance_and_restart, untouched_notes_stay_as_they_were,
                                  tray_coming_and_going, typing_survives_a_crash, display_lost,
                                  places_after_about, ending_with_a_dialog_open,
                                  tray_through_status_notifier, wayland_through_xwayland,
                                  dialogs_in_front_and_focus, synced_note_folder,
                                  notes_window_finds_and_shows)}
