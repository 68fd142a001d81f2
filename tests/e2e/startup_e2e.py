#!/usr/bin/python3
"""The real program under a virtual X server, driven through the accessibility bus as a person's
assistive tools would: it starts on the shipped installation, shows the catalogue window and its
button bar, opens the about box, and quits through the bar, with and without the closing question.

Run inside Xvfb and a session D-Bus (see tests/e2e/CMakeLists.txt). Arguments: PROGRAM DATA_DIR
[SCREENSHOT_DIR]."""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

import pyatspi

PROGRAM, DATA = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
# The registry first: the program finds the accessibility bus only when it exists at its start.
pyatspi.Registry.getDesktop(0)
SHOTS = sys.argv[3] if len(sys.argv) > 3 else ""


def fail(message):
    print("FAIL: " + message, flush=True)
    sys.exit(1)


def wait_for(what, probe, timeout=30.0):
    end = time.time() + timeout
    while time.time() < end:
        try:
            found = probe()
        except Exception:  # the tree changes under us while windows come and go
            found = None
        # Not truthiness: an accessible node without children counts as false.
        if found is not None and found is not False:
            return found
        time.sleep(0.2)
    fail("timed out waiting for " + what)


def application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    # Without a running event loop the cached tree never hears of new windows.
    desktop.clearCache()
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.get_process_id() == pid:
            app.clearCache()
            return app
    return None


def find(node, role, name, depth=0):
    """The first node below `node` of that role (None: any) and name (None: any)."""
    if node is None or depth > 40:
        return None
    try:
        if (role is None or node.getRole() == role) and (name is None or node.name == name):
            return node
        for i in range(node.childCount):
            hit = find(node.getChildAtIndex(i), role, name, depth + 1)
            if hit is not None:
                return hit
    except Exception:
        return None
    return None


def press(node):
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("press", "click", "Press", "SetFocus") and action.getName(i) != "SetFocus":
            action.doAction(i)
            return
    action.doAction(0)


class Installation:
    """The shipped data folder beside its own settings, language file and splash, and its own
    per-user folders, so the run leaves nothing in the source tree or the user's home."""

    def __init__(self, language, name):
        self.name = name
        self.dir = tempfile.mkdtemp(prefix="lorvane-e2e-")
        self.home = os.path.join(self.dir, "inst")
        os.makedirs(self.home)
        os.symlink(os.path.join(DATA, "donnees"), os.path.join(self.home, "donnees"))
        for name in ("lorvane.tra", "logo.bmp"):
            shutil.copy(os.path.join(DATA, name), self.home)
        with open(os.path.join(DATA, "lorvane.ini"), "rb") as f:
            ini = f.read().replace(b"Langue=1\r\n", b"Langue=%d\r\n" % language)
        with open(os.path.join(self.home, "lorvane.ini"), "wb") as f:
            f.write(ini)

    def start(self, *args):
        env = dict(os.environ)
        env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        env["QT_QPA_PLATFORM"] = "xcb"
        for var in ("XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_CONFIG_HOME"):
            env[var] = os.path.join(self.dir, "user", var)
        if SHOTS:
            env["LORVANE_SCREENSHOT_DIR"] = os.path.join(SHOTS, self.name)
        return subprocess.Popen([PROGRAM, "--home", self.home, *args], env=env)

    def log(self):
        path = os.path.join(self.home, "lorvane.log")
        if not os.path.exists(path):
            return []
        with open(path, encoding="latin-1") as f:
            return [line.rstrip("\r\n").split(" : ", 1)[-1] for line in f if line.strip()]

    def remove(self):
        shutil.rmtree(self.dir, ignore_errors=True)


def ended(process, timeout=30):
    try:
        return process.wait(timeout)
    except subprocess.TimeoutExpired:
        process.kill()
        fail("the program did not end")


def shot(process):
    if SHOTS:
        process.send_signal(signal.SIGUSR1)
        time.sleep(1.0)


def debug_run():
    """With "debug": the window, its bar, the about box; Quit closes at once and the log shows a
    complete shutdown."""
    inst = Installation(1, "debug")
    program = inst.start("debug")
    wait_for("the program on the accessibility bus", lambda: application(program.pid))
    # Looked up afresh each time: a node fetched before the window existed keeps no children.
    frame = wait_for("the catalogue window", lambda: find(application(program.pid), pyatspi.ROLE_FRAME, None))
    app = application(program.pid)
    wait_for("the preview grid", lambda: find(frame, None, "Modèles"))
    shot(program)
    press(wait_for("the about button", lambda: find(frame, pyatspi.ROLE_PUSH_BUTTON, "A propos")))
    about = wait_for("the about box", lambda: find(app, pyatspi.ROLE_DIALOG, "A propos"))
    shot(program)
    # The box holds no button of its own: Escape closes it, as the title bar would.
    pyatspi.Registry.generateKeyboardEvent(0xFF1B, None, pyatspi.KEY_SYM)
    wait_for("the about box to close", lambda: find(app, pyatspi.ROLE_DIALOG, "A propos") is None)
    press(find(frame, pyatspi.ROLE_PUSH_BUTTON, "Quitter"))
    status = ended(program)
    if status != 0:
        fail("exit status %d after Quit" % status)
    log = inst.log()
    expected = ["Run", "MLFree", "DesinstallFont", "Soft.Free", "DONE"]
    if log[-5:] != expected:
        fail("log ends with %r, not %r" % (log[-5:], expected))
    inst.remove()


def question_run():
    """Without "debug", in English: Quit asks first; Cancel keeps the program, OK ends it."""
    inst = Installation(2, "question")
    program = inst.start()
    wait_for("the program on the accessibility bus", lambda: application(program.pid))
    # Looked up afresh each time: a node fetched before the window existed keeps no children.
    frame = wait_for("the catalogue window", lambda: find(application(program.pid), pyatspi.ROLE_FRAME, None))
    app = application(program.pid)
    quit_button = wait_for("the quit button", lambda: find(frame, pyatspi.ROLE_PUSH_BUTTON, "Quit"))
    shot(program)
    press(quit_button)
    box = wait_for("the closing question", lambda: find(app, None, "Cancel"))
    shot(program)
    press(box)
    time.sleep(1.0)
    if program.poll() is not None:
        fail("Cancel ended the program")
    press(quit_button)
    ok = wait_for("the closing question again", lambda: find(app, pyatspi.ROLE_PUSH_BUTTON, "OK"))
    press(ok)
    status = ended(program)
    if status != 0:
        fail("exit status %d after OK" % status)
    if inst.log():
        fail("a log was written without debug or Ctrl")
    inst.remove()


debug_run()
question_run()
print("PASS", flush=True)
