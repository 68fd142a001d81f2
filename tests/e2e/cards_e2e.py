#!/usr/bin/python3
"""The address book as a person uses it, through the accessibility bus: a shipped business card is
shown in the catalogue; the address book opens from the button bar, the card's name, address, e-mail
and town are typed and saved, a logo picture is chosen; the book is closed and the card file holds the
new values. The catalogue preview, the editor and the print dialog show the card (pictures for people
to look at) and the dialog prints a sheet; `lorvane-cli print --pdf` of the template holds the new
values (pdftotext). In French, then in English.

Run inside Xvfb and a session D-Bus (see tests/e2e/CMakeLists.txt). Arguments: PROGRAM DATA_DIR
SCREENSHOT_DIR CLI."""
import glob
import os
import struct
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_driver import (Installation, application, fail, find, find_all, find_showing, press, pyatspi,  # noqa: E402
                          quit_program, select_row, shot, wait_for)

CLI = os.path.abspath(sys.argv[4])
TEMPLATE = "Personnelle - Centrée"
TEXTS = {
    1: {"button": "Répertoire", "source": "Répertoire", "book": "Répertoire", "save": "Sauver", "close": "Fermer", "media": "Photo et logo",
        "logo": "Choisir le logo...", "nom": "Nom", "prenom": "Prénom", "adresse": "Adresse", "ville": "Ville",
        "email": "E-mail", "recto": "Recto", "print": "Imprimer", "dialog": "Impression", "file": "Fichier PDF",
        "next": "Suivant >>", "back": "Retour", "quit": "Quitter", "tree": "Cartes de visite"},
    2: {"button": "Addresses", "source": "Address book", "book": "Address book", "save": "Save", "close": "Close", "media": "Photo and logo",
        "logo": "Choose the logo...", "nom": "Surname", "prenom": "First name", "adresse": "Address",
        "ville": "Town", "email": "E-mail", "recto": "Front", "print": "Print", "dialog": "Print",
        "file": "PDF file", "next": "Next >>", "back": "Back", "quit": "Quit", "tree": "Cartes de visite"},
}
CARD = {"nom": "Durand", "prenom": "Lucie", "adresse": "8 avenue Foch\nEscalier C", "ville": "Grenoble",
        "email": "lucie.durand@example.org"}


def write_bmp(path, width, height, rgb):
    """A 24-bit bitmap of one colour."""
    row = bytes(rgb[::-1]) * width
    row += b"\0" * ((4 - len(row) % 4) % 4)
    pixels = row * height
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


def set_text(window, name, text):
    field = wait_for("the field " + name, lambda: find_showing(window, pyatspi.ROLE_TEXT, name))
    field.queryEditableText().setTextContents(text)
    wait_for("the text of " + name, lambda: field.queryText().getText(0, -1) == text)


def check_text(text, what):
    for value in ("8 avenue Foch", "Escalier C", CARD["ville"], CARD["email"]):
        if value not in text:
            fail("%s lacks %r:\n%s" % (what, value, text))
    if "Tilleuls" in text or "Lyon" in text:
        fail("%s still shows the shipped card:\n%s" % (what, text))


def run(language):
    t = TEXTS[language]
    inst = Installation(language, "cards-%d" % language)
    logo = os.path.join(inst.dir, "mon logo.bmp")
    write_bmp(logo, 60, 30, (200, 30, 30))
    pdf = os.path.join(inst.dir, "carte.pdf")
    script = os.path.join(inst.dir, "answers.txt")
    transcript = os.path.join(inst.dir, "transcript.txt")
    with open(script, "w") as f:
        # The logo picture, the advanced editor, the PDF file, the closing question.
        f.write("%s\n2\n%s\nOK\n" % (logo, pdf))
    env = {"LORVANE_DIALOG_SCRIPT": script, "LORVANE_DIALOG_TRANSCRIPT": transcript}
    program = inst.start(env_extra=env)
    wait_for("the program on the accessibility bus", lambda: application(program.pid))
    frame = wait_for("the catalogue window", lambda: find(application(program.pid), pyatspi.ROLE_FRAME, None))
    tree = wait_for("the category tree", lambda: find(frame, pyatspi.ROLE_TREE, None) or
                    find(frame, pyatspi.ROLE_TREE_TABLE, None))
    if not select_row(tree, t["tree"]):
        fail("no business cards in the tree")
    press(wait_for("a business card", lambda: find_showing(frame, pyatspi.ROLE_LIST_ITEM, TEMPLATE)))
    wait_for("the template view", lambda: find_showing(frame, pyatspi.ROLE_PUSH_BUTTON, t["recto"]))
    shot(program)

    # The address book: the card's fields typed and saved, a logo chosen.
    press(wait_for("the address book button", lambda: find(frame, pyatspi.ROLE_PUSH_BUTTON, t["button"])))
    # The installation has CD albums: the question of which records to edit comes first.
    question = wait_for("the records question", lambda: next(
        (d for d in find_all(application(program.pid), pyatspi.ROLE_DIALOG)
         if find(d, pyatspi.ROLE_RADIO_BUTTON, t["source"])), None))
    press(find(question, pyatspi.ROLE_RADIO_BUTTON, t["source"]))
    press(wait_for("OK", lambda: find(question, pyatspi.ROLE_PUSH_BUTTON, "OK")))
    book = wait_for("the address book", lambda: next(
        (w for w in find_all(application(program.pid), pyatspi.ROLE_DIALOG) if w.name == t["book"]), None))
    shot(program)
    for key in ("nom", "prenom", "adresse", "ville", "email"):
        set_text(book, t[key], CARD[key])
    press(wait_for("Save", lambda: find_showing(book, pyatspi.ROLE_PUSH_BUTTON, t["save"])))
    name = CARD["nom"] + " " + CARD["prenom"]
    wait_for("the new name in the list", lambda: find_showing(book, pyatspi.ROLE_LIST_ITEM, name))
    tab = wait_for("the picture page", lambda: find(book, pyatspi.ROLE_PAGE_TAB, t["media"]))
    press(tab)
    press(wait_for("the logo chooser", lambda: find_showing(book, pyatspi.ROLE_PUSH_BUTTON, t["logo"])))
    user = os.path.join(inst.dir, "user", "XDG_DATA_HOME")
    stored = wait_for("the card's logo", lambda: next(iter(glob.glob(os.path.join(user, "*", "*",
                                                                                   name + " logo.bmp"))), None))
    shot(program)
    press(find_showing(book, pyatspi.ROLE_PUSH_BUTTON, t["close"]))
    wait_for("the address book closed", lambda: not book.getState().contains(pyatspi.STATE_SHOWING))
    cards = os.path.join(os.path.dirname(stored), "fiches_%d.def" % language)
    with open(cards, "rb") as f:
        saved = f.read().decode("cp1252")
    for line in ("Nom=Durand", "Adresse=8 avenue Foch|Escalier C", "Email=" + CARD["email"]):
        if line not in saved:
            fail("the card file lacks %r:\n%s" % (line, saved))
    # The catalogue preview drawn again with the new card.
    shot(program)

    # The editor, then its print dialog into a PDF file.
    press(wait_for("the recto", lambda: find(frame, pyatspi.ROLE_PUSH_BUTTON, t["recto"])))
    editor = wait_for("the editor", lambda: next(
        (f for f in find_all(application(program.pid), pyatspi.ROLE_FRAME)
         if f.name.startswith(TEMPLATE) and f.getState().contains(pyatspi.STATE_SHOWING)), None))
    shot(program)
    press(wait_for("the print button", lambda: find_showing(editor, pyatspi.ROLE_PUSH_BUTTON, t["print"])))
    dialog = wait_for("the print dialog", lambda: next(
        (w for w in find_all(application(program.pid), pyatspi.ROLE_DIALOG) if w.name == t["dialog"]), None))
    printers = wait_for("the PDF file printer", lambda: find_showing(dialog, pyatspi.ROLE_LIST_ITEM, t["file"]))
    if not printers.getState().contains(pyatspi.STATE_SELECTED):
        printers.parent.querySelection().selectChild(printers.getIndexInParent())
    wait_for("the PDF file printer selected", lambda: printers.getState().contains(pyatspi.STATE_SELECTED))
    press(wait_for("Next", lambda: find_showing(dialog, pyatspi.ROLE_PUSH_BUTTON, t["next"])))
    go = wait_for("the layout page", lambda: find_showing(dialog, pyatspi.ROLE_PUSH_BUTTON, t["print"]))
    shot(program)
    press(go)
    wait_for("the PDF file", lambda: os.path.exists(pdf) and subprocess.run(
        ["pdfinfo", pdf], capture_output=True).returncode == 0, timeout=120)
    wait_for("the dialog closed", lambda: not any(
        w.name == t["dialog"] and w.getState().contains(pyatspi.STATE_SHOWING)
        for w in find_all(application(program.pid), pyatspi.ROLE_DIALOG)))
    # The dialog prints each cell as a picture: its values are seen in the preview's picture, and the
    # tool's PDF below carries them as text.
    if "Pages:           1" not in subprocess.run(["pdfinfo", pdf], capture_output=True, text=True).stdout:
        fail("the print dialog's PDF is not one sheet")
    press(find(editor, pyatspi.ROLE_PUSH_BUTTON, t["back"]))
    frame = wait_for("the catalogue again", lambda: next(
        (f for f in find_all(application(program.pid), pyatspi.ROLE_FRAME)
         if f.getState().contains(pyatspi.STATE_SHOWING) and find(f, pyatspi.ROLE_PUSH_BUTTON, t["quit"])), None))
    asked = quit_program(frame, program, t["quit"], transcript)
    if len(asked) != 4 or not asked[0].startswith("OpenFileName") or not asked[2].startswith("SaveFileName"):
        fail("questions asked: %r" % asked)

    # The tool prints the template with the same cards.
    template = os.path.join(inst.home, "donnees", "Modeles", "Cartes de visite", TEMPLATE + ".mdl")
    check_text(inst.print_text(CLI, template, "-layout"), "lorvane-cli's PDF")
    inst.remove()


run(1)
run(2)
print("PASS", flush=True)
