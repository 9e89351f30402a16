#!/usr/bin/env python3
"""Makes the note sets for the start-up bench: COUNT notes of a few formatted
lines (every fifth with a small picture) for Jotlet Light, made with
`jotletctl make`, and the same text as xpad pads (info-* and content-* files
in ~/.config/xpad). Also makes a large formatted RTF file for the reading
comparison. Everything goes into OUT; a set already there is kept."""
import argparse
import json
import os
import struct
import subprocess
import zlib

LINES = [
    ("Call Anna", "0612 345 678"),
    ("Dentist", "Tuesday 9:30, bring the card"),
    ("Shopping", "milk, bread, coffee, apples"),
    ("Ideas", "paint the fence before June"),
]


def png(size=48):
    """A small RGB gradient PNG, as a pasted icon would be."""
    raw = b"".join(b"\0" + b"".join(bytes((x * 5 % 256, y * 5 % 256, 128)) for x in range(size))
                   for y in range(size))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def note_lines(i):
    title, text = LINES[i % len(LINES)]
    return [f"{title} #{i}", text, f"Reminder {i}: check the list", "Done: yes / no"]


def body_rtf(i, picture):
    lines = note_lines(i)
    pict = ""
    if picture:
        pict = (r"{\pict\pngblip\picw48\pich48\picwgoal720\pichgoal720 "
                + png().hex() + r"}\par ")
    return (r"{\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fswiss Arial;}}"
            r"{\colortbl ;\red0\green64\blue128;\red192\green0\blue0;}"
            r"\f0\fs20 {\b\cf1\fs24 " + lines[0] + r"}\par "
            + lines[1] + r"\par {\i " + lines[2] + r"}\par {\cf2 " + lines[3] + r"}\par "
            + pict + "}")


def place(i):
    columns, rows = 9, 6
    return 10 + (i % columns) * 210 + (i // 54) % 8 * 4, 10 + (i // columns) % rows * 175


def make_jotlet(out, count, jotletctl):
    folder = os.path.join(out, "jotlet")
    if os.path.exists(os.path.join(folder, "done")):
        return
    os.makedirs(folder, exist_ok=True)
    base = {
        "signature": "Vesk Jotlet 2003", "version": "1.9.6", "width": 200, "height": 160,
        "visible": True, "backColor": 65535, "titleColor": 12639424,
        "bodyFont": {"name": "Arial", "size": 10, "bold": False, "italic": False,
                     "underline": False, "strikeOut": False, "color": 0},
        "titleFont": {"name": "Arial", "size": 10, "bold": True, "italic": False,
                      "underline": False, "strikeOut": False, "color": 0},
        "onTop": False, "expirationEnabled": False, "expirationReserved": False,
        "expirationDate": "2003-01-01T00:00:00", "expirationTime": "2003-01-01T00:00:00",
        "alarmEnabled": False, "alarmFired": False,
        "alarmDate": "2003-01-01T00:00:00", "alarmTime": "2003-01-01T00:00:00",
        "createStamp1": "2024-01-01T00:00:00", "createStamp2": "2024-01-01T00:00:00",
        "restoreWidth": 200, "restoreHeight": 160,
    }
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    for i in range(count):
        left, top = place(i)
        note = dict(base, left=left, top=top, title=f"Note {i}", lines=note_lines(i))
        ordered = {k: note[k] for k in ["signature", "version", "left", "top", "width", "height",
                                         "title", "lines"] + [k for k in base if k not in (
                                             "signature", "version", "width", "height")]}
        path = os.path.join(folder, f"{100000 + i}.jtl")
        subprocess.run([jotletctl, "make", path], input=json.dumps(ordered).encode(), env=env,
                       check=True)
        with open(path + "2", "w", encoding="ascii") as f:
            f.write(body_rtf(i, picture=i % 5 == 0))
    open(os.path.join(folder, "done"), "w").close()


def make_xpad(out, count):
    folder = os.path.join(out, "xpad")
    if os.path.exists(os.path.join(folder, "done")):
        return
    os.makedirs(folder, exist_ok=True)
    for i in range(count):
        left, top = place(i)
        name = f"{100000 + i}"
        with open(os.path.join(folder, "content-" + name), "w") as f:
            f.write("\n".join(note_lines(i)))
        with open(os.path.join(folder, "info-" + name), "w") as f:
            f.write(f"width 200\nheight 160\nx {left}\ny {top}\nfollow_font 1\nfollow_color 1\n"
                    f"sticky 0\nhidden 0\nback rgb(255,238,153)\ntext rgb(0,0,0)\n"
                    f"fontname Sans 9\ncontent content-{name}\n")
    open(os.path.join(folder, "done"), "w").close()


def make_big_rtf(out, megabytes):
    path = os.path.join(out, "big.rtf")
    if os.path.exists(path):
        return
    parts = [r"{\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fswiss Arial;}{\f1\froman Times New Roman;}}"
             r"{\colortbl ;\red0\green64\blue128;\red192\green0\blue0;}" "\n"]
    size, i = 0, 0
    while size < megabytes << 20:
        p = (rf"\pard\f{i % 2}\fs{20 + i % 3 * 2} {{\b Item {i}:}} call {{\i Anna}} at "
             rf"{{\cf1 0612 345 {i % 1000:03d}}}, {{\ul caf\'e9}} on {{\cf2\b Tuesday}} and "
             r"buy milk, bread and coffee on the way home.\par" "\n")
        parts.append(p)
        size += len(p)
        i += 1
    parts.append("}")
    with open(path, "w", encoding="ascii") as f:
        f.write("".join(parts))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--out", required=True)
    parser.add_argument("--count", type=int, default=1000)
    parser.add_argument("--jotletctl", required=True)
    parser.add_argument("--rtf-megabytes", type=int, default=2)
    args = parser.parse_args()
    make_jotlet(args.out, args.count, args.jotletctl)
    make_xpad(args.out, args.count)
    make_big_rtf(args.out, args.rtf_megabytes)


if __name__ == "__main__":
    main()
