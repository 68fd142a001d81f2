#!/usr/bin/python3
"""Printing as a person does it, through the accessibility bus: a business card from the catalogue,
"Imprimer ce modèle", the PDF file printer chosen through the list's accessible selection and A4 paper
(a file asks for no calibration), the suggested sheet layout, two copies starting at the fourth cell,
Print, and the PDF file chosen; the file holds two A4 pages, the first with its first three cells left
blank. In French, then in English.

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
        "quit": "Quitter", "file": "Fichier PDF", "copies": "Copies", "start": "Commencer à la case"},
    2: {"print": "Print this template", "dialog": "Print", "next": "Next >>", "go": "Print", "quit": "Quit",
        "file": "PDF file", "copies": "Copies", "start": "Start at label"},
}


def ink(pdf, folder, page, top=1.0):
    """The share of a page of the PDF, rendered at 20 dpi, that is not white paper; `top` limits it to
    that share of the page's height from the top."""
    base = os.path.join(folder, "page%d" % page)
    subprocess.run(["pdftoppm", "-r", "20", "-gray", "-f", str(page), "-l", str(page), pdf, base], check=True)
    pgm = next(os.path.join(folder, f) for f in os.listdir(folder)
               if f.startswith("page%d" % page) and f.endswith(".pgm"))
    with open(pgm, "rb") as f:
        data = f.read()
    # P5 header: magic, width, height, maximum, then the pixels.
    fields = data.split(maxsplit=4)
    width, height = int(fields[1]), int(fields[2])
    pixels = fields[4][:width * int(height * top)]
    return sum(1 for p in pixels if p < 250) / max(1, len(pixels))


def set_number(dialog, name, value):
    spin = wait_for("the %s field" % name, lambda: find_showing(dialog, pyatspi.ROLE_SPIN_BUTTON, name))
    spin.queryValue().currentValue = value
    wait_for("%s at %d" % (name, value), lambda: spin.queryValue().currentValue == value)


def run(language):
    t = TEXTS[language]
    inst = Installation(language, "print-%d" % language)
    pdf = os.path.join(inst.dir, "cartes.pdf")
    script = os.path.join(inst.dir, "answers.txt")
    transcript = os.path.join(inst.dir, "transcript.txt")
    with open(script, "w") as f:
        # The PDF file, then the closing question.
        f.write("%s\nOK\n" % pdf)
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
    printers = wait_for("the PDF file printer", lambda: find_showing(dialog, pyatspi.ROLE_LIST_ITEM, t["file"]))
    if not printers.getState().contains(pyatspi.STATE_SELECTED):
        parent = printers.parent
        parent.querySelection().selectChild(printers.getIndexInParent())
    wait_for("the PDF file printer selected", lambda: printers.getState().contains(pyatspi.STATE_SELECTED))
    press(wait_for("Next", lambda: find_showing(dialog, pyatspi.ROLE_PUSH_BUTTON, t["next"])))
    go = wait_for("the layout page", lambda: find_showing(dialog, pyatspi.ROLE_PUSH_BUTTON, t["go"]))
    set_number(dialog, t["copies"], 2)
    set_number(dialog, t["start"], 4)
    shot(program)
    press(go)
    # The file grows page by page; it is whole once its trailer is written.
    wait_for("the PDF file", lambda: os.path.exists(pdf) and subprocess.run(
        ["pdfinfo", pdf], capture_output=True).returncode == 0, timeout=120)
    wait_for("the dialog closed", lambda: not any(
        w.name == t["dialog"] and w.getState().contains(pyatspi.STATE_SHOWING)
        for w in find_all(application(program.pid), pyatspi.ROLE_DIALOG)))

    info = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True, check=True).stdout
    fields = {k.strip(): v.strip() for k, _, v in (line.partition(":") for line in info.splitlines())}
    if fields.get("Pages") != "2" or "(A4)" not in fields.get("Page size", ""):
        fail("the PDF is not two A4 pages: %s" % info)
    # The cards' paper colour covers their cells (their texts are merge fields left empty here). The
    # second sheet is whole; the first leaves its top row and the left cell of the next blank.
    whole, first = ink(pdf, inst.dir, 2), ink(pdf, inst.dir, 1)
    top_whole, top_first = ink(pdf, inst.dir, 2, 0.2), ink(pdf, inst.dir, 1, 0.2)
    if whole < 0.2:
        fail("the second page is blank (%.4f of it inked)" % whole)
    if not (0.5 * whole < first < 0.85 * whole) or top_first > 0.1 * top_whole:
        fail("the first page does not start at the fourth cell: %.4f against %.4f inked, top %.4f against %.4f"
             % (first, whole, top_first, top_whole))

    asked = quit_program(frame, program, t["quit"], transcript)
    if len(asked) != 2 or not asked[0].startswith("SaveFileName"):
        fail("questions asked: %r" % asked)
    inst.remove()


run(1)
run(2)
print("PASS", flush=True)
