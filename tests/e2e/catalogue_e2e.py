#!/usr/bin/python3
"""The catalogue as a person uses it, through the accessibility bus: the tree lists the shipped
categories, "CD et DVD/Audio" shows its previews, a template shows both faces, the sheet-variant
cells switch between its variants, "Nouveau" hands a blank page to the editor, the editor hands back,
and quitting asks only the closing question. In French, then in English.

Run inside Xvfb and a session D-Bus (see tests/e2e/CMakeLists.txt). Arguments: PROGRAM DATA_DIR
[SCREENSHOT_DIR]."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_driver import (Installation, application, fail, find, find_all, find_showing, press, pyatspi,  # noqa: E402
                          quit_program, select_row, shot, wait_for)

TEXTS = {
    1: {"documents": "Mes documents", "new": "Nouveau", "back": "Retour", "quit": "Quitter",
        "recto": "Recto", "verso": "Verso", "new_doc": "Nouveau document", "tree": "Modèles"},
    2: {"documents": "My documents", "new": "New", "back": "Back", "quit": "Quit",
        "recto": "Front", "verso": "Back", "new_doc": "New document", "tree": "Templates"},
}
SHIPPED = ["Autocollants", "CD et DVD", "Calendriers", "Cartes de visite", "Cartes de voeux", "Données",
           "Audio", "Enveloppes", "Etiquettes adresse", "Exemples", "Invitations", "Papier à lettres",
           "Scrapbooking", "Transferts Tshirt"]


def run(language):
    t = TEXTS[language]
    inst = Installation(language, "catalogue-%d" % language)
    script = os.path.join(inst.dir, "answers.txt")
    transcript = os.path.join(inst.dir, "transcript.txt")
    with open(script, "w") as f:
        # The editor's choice of mode when "Nouveau" opens it, then the closing question.
        f.write("2\nOK\n")
    program = inst.start(env_extra={"LORVANE_DIALOG_SCRIPT": script, "LORVANE_DIALOG_TRANSCRIPT": transcript})
    wait_for("the program on the accessibility bus", lambda: application(program.pid))
    frame = wait_for("the catalogue window", lambda: find(application(program.pid), pyatspi.ROLE_FRAME, None))

    # The tree holds every shipped category and the documents node.
    tree = wait_for("the category tree", lambda: find(frame, pyatspi.ROLE_TREE, t["tree"]) or
                    find(frame, pyatspi.ROLE_TREE_TABLE, t["tree"]))
    names = [tree.getChildAtIndex(i).name for i in range(tree.childCount)]
    for name in SHIPPED + [t["documents"]]:
        if name not in names:
            fail("the tree does not list %r: %r" % (name, names))
    shot(program)

    # "CD et DVD/Audio" shows its templates' previews in the grid.
    if not select_row(tree, "Audio"):
        fail("no Audio row in the tree")
    grid = wait_for("the grid", lambda: find_showing(frame, pyatspi.ROLE_LIST_ITEM, "Foret.4"))
    cells = [c.name for c in find_all(frame, pyatspi.ROLE_LIST_ITEM)]
    if "Neon.1" not in cells:
        fail("the Audio grid shows %r" % cells)
    shot(program)

    # A jewel-case insert shows both faces, and its sheet variants beside them.
    press(grid)
    recto = wait_for("the recto", lambda: find(frame, pyatspi.ROLE_PUSH_BUTTON, t["recto"]))
    wait_for("the verso", lambda: find(frame, pyatspi.ROLE_PUSH_BUTTON, t["verso"]))
    if recto.description != "Foret.4":
        fail("the view shows %r, not Foret.4" % recto.description)
    shot(program)
    variants = wait_for("the sheet variants", lambda: find_showing(frame, pyatspi.ROLE_LIST_ITEM, "Foret.3"))
    press(variants)
    wait_for("the third variant in the view",
             lambda: find(frame, pyatspi.ROLE_PUSH_BUTTON, t["recto"]).description == "Foret.3")
    shot(program)

    # "Nouveau" with no wizard window hands a blank page to the editor, which hands back.
    press(wait_for("the new button", lambda: find(frame, pyatspi.ROLE_PUSH_BUTTON, t["new"])))
    editor = wait_for("the editor", lambda: next(
        (f for f in find_all(application(program.pid), pyatspi.ROLE_FRAME) if f.name.startswith(t["new_doc"])),
        None))
    shot(program)
    press(wait_for("the back button", lambda: find(editor, pyatspi.ROLE_PUSH_BUTTON, t["back"])))
    frame = wait_for("the catalogue again", lambda: next(
        (f for f in find_all(application(program.pid), pyatspi.ROLE_FRAME)
         if f.getState().contains(pyatspi.STATE_SHOWING) and find(f, pyatspi.ROLE_PUSH_BUTTON, t["quit"])), None))

    # Quitting asks the closing question only: nothing was changed (the editor asked its mode).
    asked = quit_program(frame, program, t["quit"], transcript)
    if len(asked) != 2 or asked[0] != "fmModeEdition | 2" or not asked[1].startswith("AskUser | 3 | 12 | 1 |"):
        fail("questions asked: %r" % asked)
    inst.remove()


run(1)
run(2)
print("PASS", flush=True)
