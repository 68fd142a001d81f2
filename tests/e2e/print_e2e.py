#!/usr/bin/python3
"""Printing as a person does it, through the accessibility bus: a business card from the catalogue,
"Imprimer ce modèle", the "PDF" printer and A4 paper, the question about the printer not yet adjusted,
the suggested sheet layout, Print, and the PDF file chosen; the file holds one A4 page with the cards
on it. In French, then in English.

Run inside Xvfb and a session D-Bus (see tests/e2e/CMakeLists.txt). Arguments: PROGRAM DATA_DIR
[SCREENSHOT_DIR]."""
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_driver import (Installation, application, fail, find, find_all, find_showing, press, pyatspi,  # noqa: E402
                          quit_program, select_row, shot, wait_for)

TEXTS = {
    1: {"print": "Imprimer ce modèle", "dialog": "Impression", "next": "Suivant >>", "go": "Imprimer",
        "quit": "Quitter"},
    2: {"print": "Print this template", "dialog": "Print", "next": "Next >>", "go": "Print", "quit": "Quit"},
}


def ink(pdf, folder):
    """The share of the PDF's first page, rendered at 20 dpi, that is not white paper."""
    base = os.path.join(folder, "page")
    subprocess.run(["pdftoppm", "-r", "20", "-gray", "-f", "1", "-l", "1", pdf, base], check=True)
    pgm = next(os.path.join(folder, f) for f in os.listdir(folder) if f.startswith("page") and f.endswith(".pgm"))
    with open(pgm, "rb") as f:
        data = f.read()
    # P5 header: magic, width, height, maximum, then the pixels.
    fields = data.split(maxsplit=4)
    pixels = fields[4]
    return sum(1 for p in pixels if p < 250) / max(1, len(pixels))


def run(language):
    t = TEXTS[language]
    inst = Installation(language, "print-%d" % language)
    pdf = os.path.join(inst.dir, "cartes.pdf")
    script = os.path.join(inst.dir, "answers.txt")
    transcript = os.path.join(inst.dir, "transcript.txt")
    with open(script, "w") as f:
        # Go on with a printer not yet adjusted, the PDF file, then the closing question.
        f.write("Yes\n%s\nOK\n" % pdf)
    program = inst.start(env_extra={"LORVANE_DIALOG_SCRIPT": script, "LORVANE_DIALOG_TRANSCRIPT": transcript})
    wait_for("the program on the accessibility bus", lambda: application(program.pid))
    frame = wait_for("the catalogue window", lambda: find(application(program.pid), pyatspi.ROLE_FRAME, None))
    tree = wait_for("the category tree", lambda: find(frame, pyatspi.ROLE_TREE, None) or
                    find(frame, pyatspi.ROLE_TREE_TABLE, None))
    if not select_row(tree, "Cartes de visite"):
        fail("no business cards in the tree")
    press(wait_for("a business card", lambda: find_showing(frame, pyatspi.ROLE_LIST_ITEM, "Personnelle - Centrée")))
    press(wait_for("the print entry", lambda: find_showing(frame, None, t["print"])))

    dialog = wait_for("the print dialog", lambda: next(
        (w for w in find_all(application(program.pid), pyatspi.ROLE_DIALOG) if w.name == t["dialog"]), None))
    shot(program)
    printers = wait_for("the PDF printer", lambda: find_showing(dialog, pyatspi.ROLE_LIST_ITEM, "PDF"))
    if not printers.getState().contains(pyatspi.STATE_SELECTED):
        parent = printers.parent
        parent.querySelection().selectChild(printers.getIndexInParent())
    press(wait_for("Next", lambda: find_showing(dialog, pyatspi.ROLE_PUSH_BUTTON, t["next"])))
    go = wait_for("the layout page", lambda: find_showing(dialog, pyatspi.ROLE_PUSH_BUTTON, t["go"]))
    shot(program)
    press(go)
    wait_for("the PDF file", lambda: os.path.exists(pdf) and os.path.getsize(pdf) > 0, timeout=60)
    wait_for("the dialog closed", lambda: not any(
        w.name == t["dialog"] and w.getState().contains(pyatspi.STATE_SHOWING)
        for w in find_all(application(program.pid), pyatspi.ROLE_DIALOG)))

    info = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True, check=True).stdout
    fields = {k.strip(): v.strip() for k, _, v in (line.partition(":") for line in info.splitlines())}
    if fields.get("Pages") != "1" or "(A4)" not in fields.get("Page size", ""):
        fail("the PDF is not one A4 page: %s" % info)
    share = ink(pdf, inst.dir)
    # The cards' paper colour covers their cells (their texts are merge fields left empty here).
    if share < 0.2:
        fail("the page is blank (%.4f of it inked)" % share)

    asked = quit_program(frame, program, t["quit"], transcript)
    if len(asked) != 3 or not asked[0].startswith("AskUser | 2 | 3 | 6 |") or \
            not asked[1].startswith("SaveFileName"):
        fail("questions asked: %r" % asked)
    inst.remove()


run(1)
run(2)
print("PASS", flush=True)
