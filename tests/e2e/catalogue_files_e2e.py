#!/usr/bin/python3
"""The catalogue with the user's own files, through the accessibility bus: a document named on the
command line (as the desktop entry passes it) opens in the editor, relative paths too, and a missing
one is named in a message over the catalogue; a renamed album shows its documents at their new place;
deleting an album that holds other files says so and keeps it. In French, then in English.
With "small" after the screenshot folder, on a 1366 x 768 screen instead: the sheet layout buttons of
the side menu are in sight and switch the grid when toggled by an assistive tool.

Run inside Xvfb and a session D-Bus (see tests/e2e/CMakeLists.txt). Arguments: PROGRAM DATA_DIR
[SCREENSHOT_DIR [small]]."""
import os
import shutil
import signal
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_driver import (DATA, PROGRAM, Installation, application, ended, fail, find, find_all,  # noqa: E402
                          find_showing, press, pyatspi, select_row, shot, wait_for)

SMALL = len(sys.argv) > 4 and sys.argv[4] == "small"
TEXTS = {
    1: {"documents": "Mes documents", "tree": "Modèles", "rename": "Renomer l'album", "delete": "Supprimer l'album",
        "recto": "Recto", "missing": "est introuvable", "kept": "autres fichiers", "search": "Rechercher un modèle", "new": "« Nouveau »",
        "layouts": ["Etiquette de disque", "Jaquette", "Livret", "Feuillet", "Jaquette DVD", "Pochette CD"]},
    2: {"documents": "My documents", "tree": "Templates", "rename": "Rename the album", "delete": "Delete the album",
        "recto": "Front", "missing": "cannot be found", "kept": "other files", "search": "Search templates", "new": "\"New\"",
        "layouts": ["Disc label", "Case cover", "Booklet", "Insert", "DVD case cover", "CD sleeve"]},
}
SHIPPED = os.path.join(DATA, "donnees", "Modeles", "CD et DVD", "Audio")


def transcript_lines(path):
    if not os.path.exists(path):
        return []
    with open(path, encoding="utf-8") as f:
        return [line.rstrip("\n") for line in f if line.strip()]


def stop(program):
    program.send_signal(signal.SIGTERM)
    status = ended(program)
    if status != 0:
        fail("exit status %d after SIGTERM" % status)


def catalogue(program):
    return wait_for("the catalogue window", lambda: next(
        (f for f in find_all(application(program.pid), pyatspi.ROLE_FRAME)
         if f.getState().contains(pyatspi.STATE_SHOWING) and find(f, pyatspi.ROLE_TREE, None) is not None
         or f.getState().contains(pyatspi.STATE_SHOWING) and find(f, pyatspi.ROLE_TREE_TABLE, None) is not None),
        None))


def tree_of(frame, t):
    return wait_for("the category tree", lambda: find(frame, pyatspi.ROLE_TREE, t["tree"]) or
                    find(frame, pyatspi.ROLE_TREE_TABLE, t["tree"]))


def started(inst, args, script_lines, cwd=None):
    script = os.path.join(inst.dir, "answers.txt")
    transcript = os.path.join(inst.dir, "transcript.txt")
    with open(script, "w") as f:
        f.write("".join(line + "\n" for line in script_lines))
    if os.path.exists(transcript):
        os.remove(transcript)
    here = os.getcwd()
    if cwd:
        os.chdir(cwd)
    try:
        program = inst.start(*args, env_extra={"LORVANE_DIALOG_SCRIPT": script,
                                               "LORVANE_DIALOG_TRANSCRIPT": transcript})
    finally:
        os.chdir(here)
    wait_for("the program on the accessibility bus", lambda: application(program.pid))
    return program, transcript


def documents_folder(inst, t):
    return os.path.join(inst.dir, "user", "XDG_DATA_HOME", "Lorvane", "Lorvane", t["documents"])


def open_file_runs(language):
    t = TEXTS[language]
    inst = Installation(language, "files-open-%d" % language)
    work = os.path.join(inst.dir, "travail")
    os.makedirs(work)
    shutil.copy(os.path.join(SHIPPED, "Foret.1.mdl"), os.path.join(work, "Mon disque.mdl"))

    # A path relative to where the program starts opens in the editor.
    program, transcript = started(inst, ["Mon disque.mdl"], [], cwd=work)
    wait_for("the editor with the document", lambda: next(
        (f for f in find_all(application(program.pid), pyatspi.ROLE_FRAME)
         if f.name.startswith("Mon disque") and f.getState().contains(pyatspi.STATE_SHOWING)), None))
    shot(program)
    stop(program)
    # The editor asks its mode, as for any document; nothing else is said.
    asked = transcript_lines(transcript)
    if len(asked) != 1 or not asked[0].startswith("fmModeEdition | "):
        fail("questions asked while opening a file: %r" % asked)

    # A missing one is named, and the catalogue stays.
    program, transcript = started(inst, ["absent.mdl"], ["OK"], cwd=work)
    catalogue(program)
    said = wait_for("the message", lambda: transcript_lines(transcript) or None)
    if len(said) != 1 or t["missing"] not in said[0] or os.path.join(work, "absent.mdl") not in said[0]:
        fail("the missing file gave %r" % said)
    shot(program)
    stop(program)
    inst.remove()


def album_run(language):
    t = TEXTS[language]
    inst = Installation(language, "files-albums-%d" % language)
    docs = documents_folder(inst, t)
    for album, name in (("Vacances", "plage"), ("Noel", "sapin")):
        os.makedirs(os.path.join(docs, album))
        for ext in ("mdl", "jpg"):
            shutil.copy(os.path.join(SHIPPED, "Foret.1." + ext), os.path.join(docs, album, name + "." + ext))
    with open(os.path.join(docs, "Noel", "notes.txt"), "w") as f:
        f.write("not a document\n")
    # The new name for "Vacances"; Yes to deleting "Noel", then OK to the message that it stays.
    program, transcript = started(inst, [], ["=Ete", "Yes", "OK"])
    frame = catalogue(program)
    tree = tree_of(frame, t)

    if not select_row(tree, "Vacances"):
        fail("no Vacances row in the tree")
    wait_for("the album's document", lambda: find_showing(frame, pyatspi.ROLE_LIST_ITEM, "plage"))
    shot(program)
    press(wait_for("the rename entry", lambda: find(frame, None, t["rename"])))
    wait_for("the renamed node", lambda: any(tree.getChildAtIndex(i).name == "Ete" for i in range(tree.childCount)))
    if not os.path.exists(os.path.join(docs, "Ete", "plage.mdl")):
        fail("the album was not renamed on disk")
    cell = wait_for("the document at its new place", lambda: find_showing(frame, pyatspi.ROLE_LIST_ITEM, "plage"))
    if "mm" not in cell.description:
        fail("the cell tells no size: %r" % cell.description)
    shot(program)
    press(cell)
    recto = wait_for("the document's view", lambda: find(frame, pyatspi.ROLE_PUSH_BUTTON, t["recto"]))
    wait_for("the document in the view", lambda: find(frame, pyatspi.ROLE_PUSH_BUTTON, t["recto"]).description == "plage")
    shot(program)

    tree = tree_of(frame, t)
    if not select_row(tree, "Noel"):
        fail("no Noel row in the tree")
    wait_for("the Noel grid", lambda: find_showing(frame, pyatspi.ROLE_LIST_ITEM, "sapin"))
    press(wait_for("the delete entry", lambda: find(frame, None, t["delete"])))
    said = wait_for("the message that the album stays", lambda: transcript_lines(transcript)[2:] or None)
    if t["kept"] not in said[0] or "Noel" not in said[0]:
        fail("deleting gave %r" % transcript_lines(transcript))
    if os.path.exists(os.path.join(docs, "Noel", "sapin.mdl")) or not os.path.exists(os.path.join(docs, "Noel")):
        fail("the album's documents were not deleted, or the album went")
    tree = tree_of(frame, t)
    if not any(tree.getChildAtIndex(i).name == "Noel" for i in range(tree.childCount)):
        fail("the Noel node went although the album stays")
    shot(program)

    # The search finds templates of every category by name.
    field = wait_for("the search field", lambda: find(frame, pyatspi.ROLE_TEXT, t["search"]) or
                     find(frame, pyatspi.ROLE_ENTRY, t["search"]))
    field.queryEditableText().setTextContents("foret")
    wait_for("the found templates", lambda: find_showing(frame, pyatspi.ROLE_LIST_ITEM, "Foret.1"))
    shot(program)
    stop(program)
    inst.remove()


def small_screen_run(language):
    t = TEXTS[language]
    inst = Installation(language, "files-small-%d" % language)
    program, _ = started(inst, [], [])
    frame = catalogue(program)
    tree = tree_of(frame, t)
    # A first run has no document: the documents node says how to make one.
    if not select_row(tree, t["documents"]):
        fail("no documents row in the tree")
    wait_for("the hint of the empty documents", lambda: next(
        (label for label in find_all(frame, pyatspi.ROLE_LABEL) if t["new"] in label.name), None))
    shot(program)
    if not select_row(tree, "Audio"):
        fail("no Audio row in the tree")
    wait_for("the Audio grid", lambda: find_showing(frame, pyatspi.ROLE_LIST_ITEM, "Foret.4"))
    shot(program)
    for name in t["layouts"]:
        button = wait_for("the layout button " + name, lambda: find_showing(frame, None, name))
        box = button.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        if box.y < 0 or box.y + box.height > 768 or box.x + box.width > 1366:
            fail("the layout button %r lies out of sight at %r" % (name, (box.x, box.y, box.width, box.height)))
    # The third layout ("Livret") is off: toggled by an assistive tool, its templates join the grid.
    if find_showing(frame, pyatspi.ROLE_LIST_ITEM, "Foret.3") is not None:
        fail("Foret.3 shown while its layout is off")
    button = find_showing(frame, None, t["layouts"][2])
    action = button.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if "Toggle" not in names:
        fail("the layout button has no toggle action: %r" % names)
    action.doAction(names.index("Toggle"))
    wait_for("the third layout's templates", lambda: find_showing(frame, pyatspi.ROLE_LIST_ITEM, "Foret.3"))
    shot(program)
    stop(program)
    inst.remove()


if SMALL:
    small_screen_run(1)
    small_screen_run(2)
else:
    for lang in (1, 2):
        open_file_runs(lang)
        album_run(lang)
print("PASS", flush=True)
