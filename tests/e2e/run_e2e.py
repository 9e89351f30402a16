#!/usr/bin/env python3
"""Runs one end-to-end case on its own desktop with its own account:
    run_e2e.py BUILD_DIR CASE
Screenshots of a failure go into the current folder. A case whose desktop
cannot run here is skipped with the reason, exit status 77."""
import os
import sys
import traceback

sys.dont_write_bytecode = True  # keep the source folder clean

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from account import Account, Program  # noqa: E402
from cases import CASES  # noqa: E402
from desktop import missing_parts, new_desktop  # noqa: E402

SKIPPED = 77


def main():
    if len(sys.argv) != 3 or sys.argv[2] not in CASES:
        sys.exit("usage: run_e2e.py BUILD_DIR {%s}" % ",".join(CASES))
    build_dir, name = sys.argv[1], sys.argv[2]
    kind = getattr(CASES[name], "desktop", "xembed")
    missing = missing_parts(kind)
    if missing:
        print("skipped: %s: %s" % (name, missing))
        return SKIPPED
    account = Account(os.path.abspath(build_dir))
    try:
        with new_desktop(kind, account.home) as desktop:
            program = Program(account, desktop)
            try:
                CASES[name](program)
            except BaseException:
                shot = os.path.abspath("e2e-%s-failure.png" % name)
                desktop.screenshot(shot)
                traceback.print_exc()
                if os.path.exists(shot):
                    print("screenshot: " + shot)
                log = os.path.join(account.root, "program.log")
                if os.path.exists(log):
                    print("program output:\n" + open(log, errors="replace").read())
                return 1
            finally:
                program.stop()
    finally:
        account.remove()
    print("passed: " + name)
    return 0


if __name__ == "__main__":
    sys.exit(main())
