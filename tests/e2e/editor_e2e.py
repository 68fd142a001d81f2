#!/usr/bin/python3
"""The editor as a person uses it, through the accessibility bus: from the catalogue's "CD et DVD/Audio"
a template opens in the editor; a text is changed through the text section, a picture through the
picture chooser (the first Undo takes the choice back, and it is made again), a later change is
undone, the document is saved under a new name; a text typed after the save makes Back ask whether
to save (answered No); back in the catalogue the documents node shows it with its preview, and the
saved file holds the kept changes and neither the undone one nor the one made after the save. In
French, then in English.

Run inside Xvfb and a session D-Bus (see tests/e2e/CMakeLists.txt). Arguments: PROGRAM DATA_DIR
[SCREENSHOT_DIR]."""
import glob
import os
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_driver import (DATA, Installation, application, fail, find, find_all, find_showing,  # noqa: E402
                          press, pyatspi, quit_program, select_row, shot, wait_for)

TEXTS = {
    1: {"back": "Retour", "save": "Enregistrer", "undo": "Annuler", "quit": "Quitter", "recto": "Recto",
        "text": "Texte", "picture": "Image", "pictures": "Mes images"},
    2: {"back": "Back", "save": "Save", "undo": "Undo", "quit": "Quit", "recto": "Front",
        "text": "Text", "picture": "Picture", "pictures": "My pictures"},
}


def items(frame, prefix):
    return [n for n in find_all(frame, pyatspi.ROLE_LIST_ITEM) if n.name and n.name.startswith(prefix)]


def set_memo(frame, name, text):
    memo = wait_for("the text section", lambda: find_showing(frame, pyatspi.ROLE_TEXT, name))
    editable = memo.queryEditableText()
    editable.setTextContents(text)
    wait_for("the text in the memo", lambda: memo.queryText().getText(0, -1) == text)


def run(language):
    t = TEXTS[language]
    inst = Installation(language, "editor-%d" % language)
    script = os.path.join(inst.dir, "answers.txt")
    transcript = os.path.join(inst.dir, "transcript.txt")
    with open(script, "w") as f:
        # The advanced editor, the real name box, No to saving the change made after the save, and the
        # closing question.
        f.write("2\n*\nNo\nOK\n")
    program = inst.start(env_extra={"LORVANE_DIALOG_SCRIPT": script, "LORVANE_DIALOG_TRANSCRIPT": transcript})
    wait_for("the program on the accessibility bus", lambda: application(program.pid))
    frame = wait_for("the catalogue window", lambda: find(application(program.pid), pyatspi.ROLE_FRAME, None))

    # A picture of the user's own for the chooser (its folder exists once the program has started).
    user = os.path.join(inst.dir, "user", "XDG_DATA_HOME")
    pictures = wait_for("the user's picture folder",
                        lambda: next(iter(glob.glob(os.path.join(user, "*", "*", t["pictures"]))), None))
    photo = os.path.join(DATA, "donnees", "Images", "Photos", "Nature", "photo_coccinelle.jpg")
    shutil.copy(photo, os.path.join(pictures, "Coccinelle.jpg"))
    shutil.copy(photo, os.path.join(pictures, "Coccinelle_thumb.jpg"))

    tree = wait_for("the category tree", lambda: find(frame, pyatspi.ROLE_TREE, None) or
                    find(frame, pyatspi.ROLE_TREE_TABLE, None))
    if not select_row(tree, "Audio"):
        fail("no Audio row in the tree")
    press(wait_for("the template", lambda: find_showing(frame, pyatspi.ROLE_LIST_ITEM, "Montagne.4")))
    press(wait_for("the recto", lambda: find(frame, pyatspi.ROLE_PUSH_BUTTON, t["recto"])))
    editor = wait_for("the editor", lambda: next(
        (f for f in find_all(application(program.pid), pyatspi.ROLE_FRAME)
         if f.name.startswith("Montagne.4") and f.getState().contains(pyatspi.STATE_SHOWING)), None))
    shot(program)

    # A text, changed through the text section.
    page = wait_for("the page", lambda: find(editor, pyatspi.ROLE_LIST, "Page"))
    press(wait_for("the album's title", lambda: next(iter(items(page, t["text"] + " : <cdAlbum>")), None)))
    set_memo(editor, t["text"], "Mes chansons")
    shot(program)

    # The picture, changed through the chooser.
    press(wait_for("the picture", lambda: next(iter(items(page, t["picture"] + " : ")), None)))
    chooser = wait_for("the picture chooser", lambda: find_showing(editor, pyatspi.ROLE_LIST, t["picture"]))
    before = [n.name for n in items(page, t["picture"] + " : ")]
    press(wait_for("the chooser's picture", lambda: next(iter(find_all(chooser, pyatspi.ROLE_LIST_ITEM)), None)))
    wait_for("the new picture on the page", lambda: next(iter(items(page, t["picture"] + " : Coccinelle")), None))
    # The first Undo takes the choice back; then it is made again.
    press(find(editor, pyatspi.ROLE_PUSH_BUTTON, t["undo"]))
    wait_for("the picture chosen before", lambda: [n.name for n in items(page, t["picture"] + " : ")] == before)
    press(wait_for("the picture", lambda: next(iter(items(page, t["picture"] + " : ")), None)))
    chooser = wait_for("the picture chooser", lambda: find_showing(editor, pyatspi.ROLE_LIST, t["picture"]))
    press(wait_for("the chooser's picture", lambda: next(iter(find_all(chooser, pyatspi.ROLE_LIST_ITEM)), None)))
    wait_for("the new picture on the page", lambda: next(iter(items(page, t["picture"] + " : Coccinelle")), None))
    shot(program)

    # Another text changed, then undone.
    others = items(page, t["text"] + " : <cdArtiste>")
    if not others:
        fail("no other text on the page: %r" % [n.name for n in find_all(page, pyatspi.ROLE_LIST_ITEM)])
    press(others[0])
    set_memo(editor, t["text"], "A effacer")
    wait_for("the change on the page", lambda: next(iter(items(page, t["text"] + " : A effacer")), None))
    press(find(editor, pyatspi.ROLE_PUSH_BUTTON, t["undo"]))
    wait_for("the undone change", lambda: not items(page, t["text"] + " : A effacer") and
             items(page, t["text"] + " : Mes chansons"))
    shot(program)

    # Saved under a new name, then back to the catalogue, which shows it among the documents.
    press(find(editor, pyatspi.ROLE_PUSH_BUTTON, t["save"]))
    # The name box proposes a name, selected whole so that typing replaces it.
    box = wait_for("the name box", lambda: next(
        (w for w in find_all(application(program.pid), pyatspi.ROLE_DIALOG)
         if w.getState().contains(pyatspi.STATE_SHOWING) and find(w, pyatspi.ROLE_TEXT, None)), None))
    field = find(box, pyatspi.ROLE_TEXT, None).queryText()
    proposed = field.getText(0, -1)
    selection = field.getSelection(0) if field.getNSelections() else (0, 0)
    if not proposed or tuple(selection) != (0, len(proposed)):
        fail("the proposed name %r is not selected whole: %r" % (proposed, tuple(selection)))
    shot(program)
    find(box, pyatspi.ROLE_TEXT, None).queryEditableText().setTextContents("Mon Audio")
    press(find(box, pyatspi.ROLE_PUSH_BUTTON, "OK"))
    saved = wait_for("the saved document", lambda: next(iter(glob.glob(os.path.join(user, "*", "*", "*",
                                                                                   "Mon Audio.4.mdl"))), None))
    if not os.path.exists(saved[:-4] + ".jpg"):
        fail("no preview beside " + saved)
    # Typing after the save: leaving asks (the script answers No).
    press(wait_for("the album's title", lambda: next(iter(items(page, t["text"] + " : Mes chansons")), None)))
    set_memo(editor, t["text"], "Après coup")
    wait_for("the change after the save", lambda: next(iter(items(page, t["text"] + " : Après coup")), None))
    shot(program)
    press(find(editor, pyatspi.ROLE_PUSH_BUTTON, t["back"]))
    frame = wait_for("the catalogue again", lambda: next(
        (f for f in find_all(application(program.pid), pyatspi.ROLE_FRAME)
         if f.getState().contains(pyatspi.STATE_SHOWING) and find(f, pyatspi.ROLE_PUSH_BUTTON, t["quit"])), None))
    wait_for("the new document in the grid", lambda: find_showing(frame, pyatspi.ROLE_LIST_ITEM, "Mon Audio.4"))
    shot(program)
    with open(saved, encoding="cp1252") as f:
        text = f.read()
    if "txt=Mes chansons" not in text:
        fail("the saved document lacks the changed text")
    if "A effacer" in text:
        fail("the saved document holds the undone change")
    if "Après coup" in text:
        fail("the saved document holds the change refused on leaving")
    if not any(line.strip().startswith("FichierImage=") and "Coccinelle" in line for line in text.splitlines()):
        fail("the saved document lacks the chosen picture")

    asked = quit_program(frame, program, t["quit"], transcript)
    # The mode, the name, whether to save the change made after the save, the closing question.
    if (len(asked) != 4 or asked[0] != "fmModeEdition | 2" or not asked[1].startswith("InputName") or
            not asked[2].startswith("AskUser") or "Mon Audio" not in asked[2]):
        fail("questions asked: %r" % asked)
    inst.remove()


run(1)
run(2)
print("PASS", flush=True)
