#!/usr/bin/python3
"""The real program under a virtual X server, driven through the accessibility bus as a person's
assistive tools would: it starts on the shipped installation, shows the catalogue window and its
button bar, opens the about box, and quits through the bar, with and without the closing question.

Run inside Xvfb and a session D-Bus (see tests/e2e/CMakeLists.txt). Arguments: PROGRAM DATA_DIR
[SCREENSHOT_DIR]."""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_driver import Installation, application, ended, fail, find, press, pyatspi, shot, wait_for  # noqa: E402


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
