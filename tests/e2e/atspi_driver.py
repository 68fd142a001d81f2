"""What the end-to-end tests share: the program's installation in a temporary folder, finding it on
the accessibility bus, walking its windows for roles and names, pressing, and screenshots."""
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

    def start(self, *args, env_extra=None):
        env = dict(os.environ)
        env.update(env_extra or {})
        env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        env["QT_QPA_PLATFORM"] = "xcb"
        for var in ("XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_CONFIG_HOME"):
            env[var] = os.path.join(self.dir, "user", var)
        if SHOTS:
            env["LORVANE_SCREENSHOT_DIR"] = os.path.join(SHOTS, self.name)
        return subprocess.Popen([PROGRAM, "--home", self.home, *args], env=env)

    def print_text(self, cli, document, layout="-raw"):
        """`lorvane-cli print --pdf` of the document with this installation's user folders (its cards and
        albums), and the PDF's text as pdftotext gives it."""
        env = dict(os.environ)
        for var in ("XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_CONFIG_HOME"):
            env[var] = os.path.join(self.dir, "user", var)
        pdf = os.path.join(self.dir, "printed.pdf")
        run = subprocess.run([cli, "--home", self.home, "print", document, "--pdf", pdf], env=env,
                             capture_output=True, text=True)
        if run.returncode != 0:
            fail("lorvane-cli print failed: %s" % run.stderr)
        return subprocess.run(["pdftotext", layout, pdf, "-"], check=True, capture_output=True).stdout.decode()

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


def quit_program(frame, program, quit_name, transcript):
    """Presses Quit, expects a normal end, and returns the questions the run asked (transcript lines)."""
    press(find(frame, pyatspi.ROLE_PUSH_BUTTON, quit_name))
    status = ended(program)
    if status != 0:
        fail("exit status %d after Quit" % status)
    with open(transcript, encoding="utf-8") as f:
        return [line.rstrip("\n") for line in f if line.strip()]


def shot(process):
    if SHOTS:
        process.send_signal(signal.SIGUSR1)
        time.sleep(1.0)




def find_all(node, role, found=None, depth=0):
    """Every node below `node` of that role, in tree order."""
    found = [] if found is None else found
    if node is None or depth > 40:
        return found
    try:
        if node.getRole() == role:
            found.append(node)
        for i in range(node.childCount):
            find_all(node.getChildAtIndex(i), role, found, depth + 1)
    except Exception:
        pass
    return found


def select_row(tree, name):
    """Selects the row of a tree or list whose cell is named `name`, as a screen reader would."""
    tree.clearCache()
    table = tree.queryTable()
    for i in range(tree.childCount):
        cell = tree.getChildAtIndex(i)
        if cell is not None and cell.name == name:
            table.addRowSelection(table.getRowAtIndex(i))
            return True
    return False


def find_showing(node, role, name, depth=0):
    """As find, among the nodes on screen only (hidden pages keep their nodes)."""
    if node is None or depth > 40:
        return None
    try:
        if not node.getState().contains(pyatspi.STATE_SHOWING):
            return None
        if (role is None or node.getRole() == role) and (name is None or node.name == name):
            return node
        for i in range(node.childCount):
            hit = find_showing(node.getChildAtIndex(i), role, name, depth + 1)
            if hit is not None:
                return hit
    except Exception:
        return None
    return None
