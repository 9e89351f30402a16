#!/usr/bin/env python3
"""Takes the user guide's screenshots on a throw-away desktop:
    screenshots.py BUILD_DIR OUTPUT_DIR
Not a test: run it by hand when the look of the program changes."""
import os
import sys
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from account import Account, Program  # noqa: E402
from cases import SETTLE, minimal_rtf, note_record, settle, title_point, tray_menu  # noqa: E402
from desktop import SCREEN_HEIGHT, SCREEN_WIDTH, Desktop  # noqa: E402


def font(name, size, **style):
    base = {"name": name, "size": size, "bold": False, "italic": False,
            "underline": False, "strikeOut": False, "color": 0}
    base.update(style)
    return base


def rtf(lines, face="DejaVu Sans"):
    """A body of lines; \\cf1 to \\cf3 colour a run red, blue or green."""
    body = "\\par ".join(lines)
    colours = "{\\colortbl ;\\red200\\green0\\blue0;\\red0\\green60\\blue200;\\red0\\green130\\blue0;}"
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 %s;}}%s\\f0\\fs20 %s\\par}" % (face, colours, body)


NOTES = [
    ("10.jtl", "Shopping", 20, 20, 190, 150, 0x00FFFF, 0xC0DCC0,
     font("DejaVu Sans", 10), ["Milk", "Bread", "Batteries (AA)"]),
    ("11.jtl", "Phone numbers", 230, 20, 220, 150, 0xC0C0FF, 0x9090E0,
     font("Liberation Serif", 12, italic=True), ["Anna 0123 456 789", "Plumber 0987 654 321"]),
    ("12.jtl", "Today", 470, 20, 200, 150, 0xFFE0C0, 0xE0B080,
     font("Liberation Mono", 10, bold=True),
     ["{\\cf1 10:30 dentist}", "14:00 call back {\\cf2 Tom}", "{\\cf3 buy flowers}"]),
]
# Kept on top in the middle of the screen, where questions appear.
ON_TOP = ("13.jtl", "Kept on top", 400, 220, 480, 300, 0xC0FFC0, 0x90D090,
          font("DejaVu Sans", 10), ["A note kept above other windows"])
# Put away, for the notes window: hidden, one rolled up, one with an alarm.
HIDDEN = [
    ("14.jtl", "Garage", 60, 400, 200, 20, 0xE0E0E0, 0xB0B0B0, font("DejaVu Sans", 10),
     ["Door code 4711", "Spare key at Anna's"]),
    ("15.jtl", "Plumber", 300, 400, 200, 140, 0xFFD0E0, 0xE0A0B8, font("DejaVu Sans", 10),
     ["Mr. Lefèvre 0555 123 987", "Tuesday morning"]),
    ("16.jtl", "Birthdays", 540, 400, 200, 140, 0xD0F0FF, 0xA0D0F0, font("DejaVu Sans", 10),
     ["Anna 12 May", "Tom 3 August"]),
]
ALARM = {"alarmEnabled": True, "alarmDate": "2030-05-11T00:00:00",
         "alarmTime": "1899-12-30T18:00:00"}


def add_notes(account):
    for name, title, left, top, w, h, back, title_back, body_font, lines in \
            NOTES + [ON_TOP] + HIDDEN:
        hidden = name in [n[0] for n in HIDDEN]
        record = note_record(title, left, top, w, h, backColor=back, titleColor=title_back,
                             bodyFont=body_font, lines=lines, onTop=name == ON_TOP[0],
                             visible=not hidden, restoreWidth=w, restoreHeight=140,
                             **(ALARM if name == "16.jtl" else {}))
        record["titleFont"] = dict(body_font, bold=True, italic=False, size=10)
        account.make_note(name, record, rtf(lines, body_font["name"]))


def main():
    build_dir, out = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    os.makedirs(out, exist_ok=True)
    account = Account(build_dir)
    try:
        with Desktop(account.home) as desktop:
            program = Program(account, desktop)
            try:
                take(program, desktop, out)
            finally:
                program.stop()
    finally:
        account.remove()


def take(program, desktop, out):
    account = program.account
    settle(account)
    add_notes(account)
    program.start()
    program.wait_for_windows(len(NOTES) + 1)
    time.sleep(SETTLE * 2)
    desktop.screenshot(os.path.join(out, "notes.png"), (10, 10, 680, 170))

    x, y = program.tray_icon()
    desktop.click(x, y, 3)
    time.sleep(SETTLE * 2)
    desktop.screenshot(os.path.join(out, "tray-menu.png"),
                       (SCREEN_WIDTH - 200, SCREEN_HEIGHT - 170, 200, 170))
    desktop.key("Escape")
    time.sleep(SETTLE)

    tray_menu(program, "options")
    options = program.wait_for_window("Options")
    time.sleep(SETTLE * 2)
    desktop.screenshot(os.path.join(out, "options.png"), desktop.geometry(options))
    desktop.xdotool("windowactivate", "--sync", options)
    desktop.key("Escape")
    time.sleep(SETTLE)
    program.wait_for_windows(len(NOTES) + 1, timeout=30)
    time.sleep(SETTLE)

    # The alarm dialog: "Note alarms" in the title menu of the first note.
    note = [w for w in program.windows() if desktop.geometry(w)[0] == 20][0]
    desktop.click(*title_point(desktop, note), button=3)
    time.sleep(SETTLE)
    desktop.key("Down", "Down", "Down", "Down", "Return")
    time.sleep(SETTLE * 2)
    dialogs = [w for w in program.visible_windows()
               if desktop.name(w) not in ("JotNoteLight", "") and desktop.geometry(w)[3] > 60]
    if dialogs:
        desktop.screenshot(os.path.join(out, "alarm-dialog.png"), desktop.geometry(dialogs[-1]))
        desktop.key("Escape")
        time.sleep(SETTLE)
    else:
        print("no alarm dialog to take")

    # The font dialog of the note with coloured text, on its first word.
    note = [w for w in program.windows() if desktop.geometry(w)[0] == 470][0]
    x, y, _, _ = desktop.geometry(note)
    desktop.click(x + 30, y + 26)
    desktop.key("Home", "shift+ctrl+Right")
    desktop.key("ctrl+f")
    font_dialog = program.wait_for_window("Font")
    time.sleep(SETTLE * 2)
    desktop.screenshot(os.path.join(out, "font-dialog.png"), desktop.geometry(font_dialog))
    desktop.key("Escape")
    time.sleep(SETTLE)

    # A question of the program stands above the note kept on top.
    tray_menu(program, "delete-all")
    box = program.wait_for_window("Vesk Jotlet Light")
    time.sleep(SETTLE * 2)
    bx, by, bw, bh = desktop.geometry(box)
    desktop.screenshot(os.path.join(out, "question-above-note.png"),
                       (min(bx, 400) - 10, min(by, 220) - 10, 500, 320))
    desktop.key("Escape")
    time.sleep(SETTLE)
    take_notes_window(program, desktop, out)


def take_notes_window(program, desktop, out):
    """The notes window with every note, then searching for a name."""
    tray_menu(program, "all-notes")
    window = program.wait_for_window("All notes")
    time.sleep(SETTLE * 2)
    desktop.screenshot(os.path.join(out, "notes-window.png"), desktop.geometry(window))
    desktop.type_text("anna")
    time.sleep(SETTLE * 2)
    desktop.screenshot(os.path.join(out, "notes-search.png"), desktop.geometry(window))
    desktop.key("Escape", "Escape")


if __name__ == "__main__":
    main()
