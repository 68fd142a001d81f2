#!/usr/bin/python3
"""The text library as a person uses it, through the accessibility bus: a template opens in the
editor, a text object is selected and "Choose a text from the library" opens the library on the last
theme; another theme is picked in the tree, a part in the tabs and a text in the list; OK puts the
text into the selected object (the memo and the layer list show it), one Undo takes it back, and the
saved document holds the chosen text. In French, then in English.

Run inside Xvfb and a session D-Bus (see tests/e2e/CMakeLists.txt). Arguments: PROGRAM DATA_DIR
[SCREENSHOT_DIR]."""
import glob
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_driver import (Installation, application, fail, find, find_all, find_showing,  # noqa: E402
                          press, pyatspi, select_row, shot, wait_for)

TEXTS = {
    1: {"quit": "Quitter", "recto": "Recto", "text": "Texte", "undo": "Annuler", "save": "Enregistrer",
        "action": "Choisir un texte dans la base", "dialog": "Choix du texte", "themes": "Thèmes",
        "texts": "Textes", "theme": "Adulte", "part": "Conclusion", "chosen": "Très belle journée à toi.",
        "first": "Joyeux anniversaire !", "second": "Bon anniversaire à toi !", "path": "\\Anniversaire\\Adulte"},
    2: {"quit": "Quit", "recto": "Front", "text": "Text", "undo": "Undo", "save": "Save",
        "action": "Choose a text from the library", "dialog": "Choose a text", "themes": "Themes",
        "texts": "Texts", "theme": "Adult", "part": "Conclusion", "chosen": "Have a wonderful day.",
        "first": None, "second": "Happy birthday to you!", "path": "\\Birthday\\Adult"},
}


def items(frame, prefix):
    return [n for n in find_all(frame, pyatspi.ROLE_LIST_ITEM) if n.name and n.name.startswith(prefix)]


def memo_text(editor, name):
    memo = find_showing(editor, pyatspi.ROLE_TEXT, name)
    return memo.queryText().getText(0, -1) if memo else None


def run(language):
    t = TEXTS[language]
    inst = Installation(language, "text-library-%d" % language)
    script = os.path.join(inst.dir, "answers.txt")
    transcript = os.path.join(inst.dir, "transcript.txt")
    with open(script, "w") as f:
        # The advanced editor, the document's name, the closing question.
        f.write("2\n=Mes voeux\nOK\n")
    program = inst.start(env_extra={"LORVANE_DIALOG_SCRIPT": script, "LORVANE_DIALOG_TRANSCRIPT": transcript})
    wait_for("the program on the accessibility bus", lambda: application(program.pid))
    frame = wait_for("the catalogue window", lambda: find(application(program.pid), pyatspi.ROLE_FRAME, None))
    tree = wait_for("the category tree", lambda: find(frame, pyatspi.ROLE_TREE, None) or
                    find(frame, pyatspi.ROLE_TREE_TABLE, None))
    if not select_row(tree, "Audio"):
        fail("no Audio row in the tree")
    press(wait_for("the template", lambda: find_showing(frame, pyatspi.ROLE_LIST_ITEM, "Montagne.4")))
    press(wait_for("the recto", lambda: find(frame, pyatspi.ROLE_PUSH_BUTTON, t["recto"])))
    editor = wait_for("the editor", lambda: next(
        (f for f in find_all(application(program.pid), pyatspi.ROLE_FRAME)
         if f.name.startswith("Montagne.4") and f.getState().contains(pyatspi.STATE_SHOWING)), None))

    page = wait_for("the page", lambda: find(editor, pyatspi.ROLE_LIST, "Page"))
    press(wait_for("the album's title", lambda: next(iter(items(page, t["text"] + " : <cdAlbum>")), None)))
    before = wait_for("the memo", lambda: memo_text(editor, t["text"]))
    press(wait_for("the library action", lambda: find_showing(editor, None, t["action"])))

    def library():
        return next((w for w in find_all(application(program.pid), pyatspi.ROLE_DIALOG)
                     if w.name == t["dialog"] and w.getState().contains(pyatspi.STATE_SHOWING)), None)
    wait_for("the library window", library)
    # It opens on the last theme, whose texts it lists. The installation's start theme is French: in
    # English it does not exist, so the top node is selected and nothing is listed.
    if t["first"]:
        wait_for("the last theme's texts", lambda: find_showing(library(), pyatspi.ROLE_LIST_ITEM, t["first"]))
    else:
        texts = wait_for("the list", lambda: find(library(), pyatspi.ROLE_LIST, t["texts"]))
        if texts.childCount:
            fail("texts listed for a theme that does not exist")
    themes = wait_for("the theme tree", lambda: find(library(), None, t["themes"]))
    if not select_row(themes, t["theme"]):
        fail("no %s row in the theme tree" % t["theme"])
    press(wait_for("the part's tab", lambda: find_showing(library(), pyatspi.ROLE_PAGE_TAB, t["part"])))
    press(wait_for("the text", lambda: find_showing(library(), pyatspi.ROLE_LIST_ITEM, t["chosen"])))
    ok = find(library(), pyatspi.ROLE_PUSH_BUTTON, "OK")
    wait_for("OK enabled", lambda: ok.getState().contains(pyatspi.STATE_ENABLED))
    shot(program)
    press(ok)
    wait_for("the window closed", lambda: library() is None)

    # The text is the object's, wrapped to its width: the memo holds it line by line, the layer list
    # names it.
    got = wait_for("the chosen text in the memo",
                   lambda: (lambda m: m if m and " ".join(m.split()) == t["chosen"] else None)(
                       memo_text(editor, t["text"])))
    wait_for("the layer list", lambda: next(iter(items(page, t["text"] + " : " + t["chosen"].split()[0])), None))
    shot(program)
    # One Undo takes it back; the choice is made again and saved.
    press(find(editor, pyatspi.ROLE_PUSH_BUTTON, t["undo"]))
    wait_for("the text as it was", lambda: not items(page, t["text"] + " : " + t["chosen"].split()[0]))
    press(wait_for("the album's title", lambda: next(iter(items(page, t["text"] + " : <cdAlbum>")), None)))
    wait_for("the memo as it was", lambda: memo_text(editor, t["text"]) == before)
    press(wait_for("the library action", lambda: find_showing(editor, None, t["action"])))
    wait_for("the library window again", library)
    # It opens on the theme chosen last time.
    wait_for("the remembered theme", lambda: find_showing(library(), pyatspi.ROLE_LIST_ITEM, t["second"]))
    press(wait_for("the part's tab", lambda: find_showing(library(), pyatspi.ROLE_PAGE_TAB, t["part"])))
    press(wait_for("the text", lambda: find_showing(library(), pyatspi.ROLE_LIST_ITEM, t["chosen"])))
    press(find(library(), pyatspi.ROLE_PUSH_BUTTON, "OK"))
    wait_for("the chosen text again", lambda: memo_text(editor, t["text"]) == got)

    user = os.path.join(inst.dir, "user", "XDG_DATA_HOME")
    press(find(editor, pyatspi.ROLE_PUSH_BUTTON, t["save"]))
    saved = wait_for("the saved document", lambda: next(iter(glob.glob(os.path.join(user, "*", "*", "*",
                                                                                   "Mes voeux.4.mdl"))), None))
    with open(saved, encoding="cp1252") as f:
        lines = [line.strip() for line in f]
    if not any(line.startswith("txt=") and " ".join(line[4:].replace("|", " ").split()) == t["chosen"]
               for line in lines):
        fail("the saved document lacks the chosen text")
    program.terminate()
    if program.wait(30) != 0:
        fail("the program did not end normally")
    ini = glob.glob(os.path.join(user, "*", "*", "User.ini"))
    if not ini:
        fail("no user settings")
    with open(ini[0], encoding="cp1252") as f:
        if ("ChoixTextesPath=" + t["path"]) not in f.read():
            fail("the chosen theme is not remembered")
    inst.remove()


run(1)
run(2)
print("PASS", flush=True)
