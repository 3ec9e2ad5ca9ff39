"""The real editor as a screen reader sees it: on Xvfb, in a D-Bus session of
its own with the AT-SPI bus, with Qt's AT-SPI bridge on. Every showing box,
list, spinner, button and check box of the main window must have a name, the
lists their captions' (not their entries), and the rows' search buttons and
"固定" boxes names of their own. Exits 77 (skipped) where Xvfb, D-Bus, the
AT-SPI bus or python3-pyatspi are missing.

Usage: atspi_test.py EDITOR K4R
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

if os.environ.get("K4R_ATSPI_SESSION") != "1":
    for tool in ("Xvfb", "dbus-run-session"):
        if shutil.which(tool) is None:
            print("SKIP: %s is not installed (scripts/install-deps installs it)" % tool)
            sys.exit(77)
    os.environ["K4R_ATSPI_SESSION"] = "1"
    sys.exit(subprocess.call(["dbus-run-session", "--", sys.executable] + sys.argv))

try:
    import pyatspi
except ImportError:
    print("SKIP: python3-pyatspi is not installed (scripts/install-deps installs it)")
    sys.exit(77)

CONTROLS = {pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_SPIN_BUTTON,
            pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_IMAGE}


def showing_controls(node, found):
    """Lists' popups and the menus are not walked."""
    role = node.getRole()
    if role in CONTROLS and node.getState().contains(pyatspi.STATE_SHOWING):
        found.append(node)
    if role not in (pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_MENU_BAR, pyatspi.ROLE_MENU):
        for child in node:
            if child is not None:
                showing_controls(child, found)
    return found


def walk(pid):
    """(role, name) of the editor's controls once its window is complete, or None."""
    deadline = time.monotonic() + 60
    while time.monotonic() < deadline:
        for application in pyatspi.Registry.getDesktop(0):
            if application is not None and application.get_process_id() == pid:
                found = showing_controls(application, [])
                if len(found) >= 60:
                    return [(control.getRoleName(), control.name) for control in found]
        time.sleep(0.5)
    return None


def main(editor, k4r, work):
    display_pipe, display_write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(display_write), "-screen", "0", "1280x800x24",
                             "-nolisten", "tcp"], pass_fds=(display_write,), stderr=subprocess.DEVNULL)
    os.close(display_write)
    try:
        os.environ.update(DISPLAY=":" + os.read(display_pipe, 16).decode().strip(), QT_QPA_PLATFORM="xcb",
                          QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", HOME=work)
        subprocess.run([k4r, "demo", os.path.join(work, "game")], check=True, stdout=subprocess.DEVNULL)
        shutil.copy(editor, os.path.join(work, "k4r-editor"))
        process = subprocess.Popen([os.path.join(work, "k4r-editor")], cwd=os.path.join(work, "game"))
        try:
            found = walk(process.pid)
        finally:
            process.terminate()
            process.wait(timeout=30)
    finally:
        xvfb.terminate()
        xvfb.wait(timeout=30)
    if found is None:
        print("SKIP: the editor's window did not come onto the AT-SPI bus")
        return 77
    names = [name for _, name in found]
    problems = ["a %s without a name" % role for role, name in found if not name]
    problems += ["no list named %s" % caption for caption in ("相性", "所属領地", "顔CG", "実父武将", "特技1")
                 if caption not in names]
    rows = [name for name in names if name.endswith("を検索") or name.endswith("を固定")]
    if len(set(rows)) != 10 or len(rows) != 10:
        problems.append("the rows' buttons are not told apart: %s" % sorted(rows))
    print("%d controls, %d names" % (len(found), len(set(names))))
    for problem in problems:
        print("FAIL: " + problem)
    return 1 if problems else 0


if __name__ == "__main__":
    with tempfile.TemporaryDirectory() as folder:
        sys.exit(main(sys.argv[1], sys.argv[2], folder))
