"""What a screen reader finds in the real editor: starts it, waits for it on
the AT-SPI bus and walks its main window. Every box, list, spinner, button and
check box that shows must have a name, lists must not be named by their entry,
and the rows' search buttons and "固定" boxes must be told apart.

Usage: atspi_walk.py EDITOR GAME_FOLDER; exits 0 when all hold, 1 otherwise,
77 when the program or the bus cannot run here.
"""

import subprocess
import sys
import time

try:
    import pyatspi
except ImportError:
    print("SKIP: python3-pyatspi is not installed (scripts/install-deps installs it)")
    sys.exit(77)

CONTROL_ROLES = {
    pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_PASSWORD_TEXT, pyatspi.ROLE_COMBO_BOX,
    pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON,
    pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_IMAGE, pyatspi.ROLE_SLIDER,
}


def find_application(pid, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for application in desktop:
            try:
                if application is not None and application.get_process_id() == pid:
                    return application
            except Exception:  # an application going away while we look
                continue
        time.sleep(0.3)
    return None


def controls(node, found):
    """The showing controls under node; lists' popups and menus are not walked."""
    try:
        role = node.getRole()
        showing = node.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return
    if role in CONTROL_ROLES and showing:
        found.append(node)
    if role in (pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_MENU_BAR, pyatspi.ROLE_MENU):
        return
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is not None:
            controls(child, found)


def main():
    editor, game = sys.argv[1], sys.argv[2]
    process = subprocess.Popen([editor], cwd=game, stderr=subprocess.PIPE)
    try:
        application = find_application(process.pid, 60)
        if application is None:
            print("SKIP: the editor did not come onto the AT-SPI bus")
            return 77
        # The window is complete once its last control is there.
        found = []
        deadline = time.monotonic() + 60
        while time.monotonic() < deadline:
            found = []
            for index in range(application.childCount):
                controls(application.getChildAtIndex(index), found)
            if len(found) >= 60:
                break
            time.sleep(0.5)
        problems = []
        names = {}
        for control in found:
            name = control.name
            role = control.getRoleName()
            if not name:
                problems.append("a %s without a name (%s)" % (role, control.description or "no description"))
            names.setdefault(name, []).append(role)
        for caption in ("相性", "所属領地", "顔CG", "実父武将", "特技1"):
            if caption not in names:
                problems.append("no control named %s" % caption)
        rows = [name for name in names if name.endswith("を検索") or name.endswith("を固定")]
        if len(rows) != 10 or any(len(names[name]) != 1 for name in rows):
            problems.append("rows' buttons not told apart: %s" % sorted(rows))
        print("%d controls, %d names" % (len(found), len(names)))
        for problem in problems:
            print("FAIL: " + problem)
        return 1 if problems or len(found) < 60 else 0
    finally:
        process.terminate()
        process.wait(timeout=30)


if __name__ == "__main__":
    sys.exit(main())
