#!/usr/bin/python3
"""CD albums as a person uses them, through the accessibility bus: the catalogue's address-book
button asks which records to edit and opens the album window; an album is added from a folder of
tagged music files (its artist, title and tracks in track order come from the tags); the shipped
album is edited by hand (artist, title, three tracks) and selected; an audio CD cover opened in the
editor then shows that artist, title and track list; the editor's own button switches to the music
album and the texts follow; after the program ends, lorvane-cli prints the cover to PDF with the
hand-made album (album 0 is current at every start). In French, then in English.

Run inside Xvfb and a session D-Bus (see tests/e2e/CMakeLists.txt). Arguments: PROGRAM DATA_DIR
SCREENSHOT_DIR CLI."""
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_driver import (DATA, Installation, application, fail, find, find_all, find_showing,  # noqa: E402
                          press, pyatspi, quit_program, select_row, shot, wait_for)

CLI = os.path.abspath(sys.argv[4])

TEXTS = {
    1: {"fiche": "Répertoire", "album_cd": "Album CD", "ok": "OK", "albums": "Albums CD", "add": "Ajouter",
        "select": "Sélectionner", "artist": "Artiste ou auteur",
        "title": "Nom de l'album", "tracks": "Titres (un par ligne)", "list": "Albums", "quit": "Quitter",
        "recto": "Recto", "text": "Texte", "wizard": "Assistant", "music": "Fichiers de musique",
        "next": "Suivant >>", "add_folder": "Ajouter un dossier...", "finish": "Terminé"},
    2: {"fiche": "Addresses", "album_cd": "CD album", "ok": "OK", "albums": "CD albums", "add": "Add",
        "select": "Select", "artist": "Artist or author",
        "title": "Album title", "tracks": "Tracks (one per line)", "list": "Albums", "quit": "Quit",
        "recto": "Front", "text": "Text", "wizard": "Wizard", "music": "Music files", "next": "Next >>",
        "add_folder": "Add a folder...", "finish": "Finish"},
}


def id3v2(frames):
    """An ID3 version 2.3 tag of Latin-1 text frames."""
    body = b""
    for frame_id, text in frames:
        data = b"\x00" + text.encode("latin-1")
        body += frame_id.encode() + struct.pack(">I", len(data)) + b"\x00\x00" + data
    size = len(body)
    syncsafe = bytes([(size >> 21) & 0x7F, (size >> 14) & 0x7F, (size >> 7) & 0x7F, size & 0x7F])
    return b"ID3\x03\x00\x00" + syncsafe + body


def write_music(folder):
    """Three MP3 files of silence whose names do not follow the track numbers."""
    os.makedirs(folder)
    frame = b"\xff\xfb\x90\xc0" + b"\x00" * 413
    for name, track, title in (("b.mp3", 1, "Ouverture"), ("a.mp3", 3, "Final"), ("c.mp3", 2, "Interlude")):
        tag = id3v2([("TIT2", title), ("TPE1", "Les Ondes"), ("TALB", "Marées"), ("TRCK", str(track)),
                     ("TYER", "1987"), ("TCON", "Pop")])
        with open(os.path.join(folder, name), "wb") as f:
            f.write(tag + frame * 60)


def text_of(node):
    return node.queryText().getText(0, -1)


def set_text(node, text):
    node.queryEditableText().setTextContents(text)
    wait_for("the typed text", lambda: text_of(node) == text)


def open_albums(app, frame, t):
    """The address-book button, then "Album CD" in the question: the album window."""
    press(wait_for("the address-book button", lambda: find(frame, pyatspi.ROLE_PUSH_BUTTON, t["fiche"])))
    chooser = wait_for("the records question", lambda: find(application(app), pyatspi.ROLE_RADIO_BUTTON,
                                                            t["album_cd"]))
    press(chooser)
    dialog = wait_for("the question's window", lambda: next(
        (d for d in find_all(application(app), pyatspi.ROLE_DIALOG) if find(d, pyatspi.ROLE_RADIO_BUTTON, t["album_cd"])),
        None))
    press(wait_for("OK", lambda: find(dialog, pyatspi.ROLE_PUSH_BUTTON, t["ok"])))
    return wait_for("the album window", lambda: next(
        (d for d in find_all(application(app), pyatspi.ROLE_DIALOG) if d.name == t["albums"]), None))


def add_from_folder(program, t):
    """"Ajouter" opens the add-album wizard: music files, then a folder (the script answers it)."""
    wizard = wait_for("the add-album wizard", lambda: next(
        (d for d in find_all(application(program.pid), pyatspi.ROLE_DIALOG) if d.name == t["wizard"]), None))
    press(wait_for("the music-file source", lambda: find(wizard, None, t["music"])))
    press(wait_for("Next", lambda: enabled(find(wizard, pyatspi.ROLE_PUSH_BUTTON, t["next"]))))
    press(wait_for("the folder command", lambda: find(wizard, pyatspi.ROLE_PUSH_BUTTON, t["add_folder"])))
    finish = wait_for("Finish", lambda: enabled(find(wizard, pyatspi.ROLE_PUSH_BUTTON, t["finish"])))
    shot(program)
    press(finish)


def enabled(node):
    return node if node is not None and node.getState().contains(pyatspi.STATE_ENABLED) else None


def fields(dialog, t):
    return {k: wait_for(k, lambda k=k: find(dialog, None, t[k])) for k in ("artist", "title", "tracks", "list")}


def page_texts(editor):
    page = wait_for("the page", lambda: find(editor, pyatspi.ROLE_LIST, "Page"))
    return "\n".join(n.description for n in find_all(page, pyatspi.ROLE_LIST_ITEM) if n.description)


def run(language):
    t = TEXTS[language]
    inst = Installation(language, "albums-%d" % language)
    music = os.path.join(inst.dir, "musique")
    write_music(music)
    script = os.path.join(inst.dir, "answers.txt")
    transcript = os.path.join(inst.dir, "transcript.txt")
    with open(script, "w") as f:
        # The music folder, the advanced editor, the closing question.
        f.write(music + "\n2\nOK\n")
    program = inst.start(env_extra={"LORVANE_DIALOG_SCRIPT": script, "LORVANE_DIALOG_TRANSCRIPT": transcript})
    wait_for("the program on the accessibility bus", lambda: application(program.pid))
    frame = wait_for("the catalogue window", lambda: find(application(program.pid), pyatspi.ROLE_FRAME, None))

    # An album from the folder of music files.
    dialog = open_albums(program.pid, frame, t)
    f = fields(dialog, t)
    if text_of(f["artist"]) == "":
        fail("the shipped album is not shown")
    press(find(dialog, pyatspi.ROLE_PUSH_BUTTON, t["add"]))
    add_from_folder(program, t)
    wait_for("the album of the music files", lambda: text_of(f["artist"]) == "Les Ondes")
    if text_of(f["title"]) != "Marées" or text_of(f["tracks"]) != "Ouverture\nInterlude\nFinal":
        fail("album from the files: %r / %r" % (text_of(f["title"]), text_of(f["tracks"])))
    shot(program)

    # The shipped album, edited by hand and selected.
    f["list"].queryTable().addRowSelection(0)
    wait_for("the shipped album", lambda: text_of(f["artist"]) != "Les Ondes")
    set_text(f["artist"], "Quatuor Nord")
    set_text(f["title"], "Hiver")
    set_text(f["tracks"], "Givre\nBrume\nAube")
    shot(program)
    press(find(dialog, pyatspi.ROLE_PUSH_BUTTON, t["select"]))
    wait_for("the album window to close", lambda: not any(
        d.name == t["albums"] for d in find_all(application(program.pid), pyatspi.ROLE_DIALOG)))

    # An audio CD cover in the editor shows the album.
    tree = wait_for("the category tree", lambda: find(frame, pyatspi.ROLE_TREE, None) or
                    find(frame, pyatspi.ROLE_TREE_TABLE, None))
    if not select_row(tree, "Audio"):
        fail("no Audio row in the tree")
    press(wait_for("the template", lambda: find_showing(frame, pyatspi.ROLE_LIST_ITEM, "Ocean.2")))
    press(wait_for("the recto", lambda: find(frame, pyatspi.ROLE_PUSH_BUTTON, t["recto"])))
    editor = wait_for("the editor", lambda: next(
        (e for e in find_all(application(program.pid), pyatspi.ROLE_FRAME)
         if e.name.startswith("Ocean.2") and e.getState().contains(pyatspi.STATE_SHOWING)), None))
    shown = wait_for("the album on the page", lambda: (lambda s: s if "Quatuor Nord" in s else None)(page_texts(editor)))
    for expected in ("Hiver", "Givre\nBrume\nAube"):
        if expected not in shown:
            fail("the page lacks %r: %r" % (expected, shown))
    shot(program)

    # The editor's own button: the music album, and the texts follow.
    dialog = open_albums(program.pid, editor, t)
    f = fields(dialog, t)
    f["list"].queryTable().addRowSelection(1)
    wait_for("the music album", lambda: text_of(f["artist"]) == "Les Ondes")
    shot(program)
    press(find(dialog, pyatspi.ROLE_PUSH_BUTTON, t["select"]))
    wait_for("the music album on the page", lambda: "Ouverture\nInterlude\nFinal" in page_texts(editor) and
             "Les Ondes" in page_texts(editor))
    shot(program)

    # Leaving the editor unchanged, then quitting.
    press(find(editor, pyatspi.ROLE_PUSH_BUTTON, "Retour" if language == 1 else "Back"))
    frame = wait_for("the catalogue again", lambda: next(
        (w for w in find_all(application(program.pid), pyatspi.ROLE_FRAME)
         if w.getState().contains(pyatspi.STATE_SHOWING) and find(w, pyatspi.ROLE_PUSH_BUTTON, t["quit"])), None))
    asked = quit_program(frame, program, t["quit"], transcript)
    if len(asked) != 3 or not asked[0].startswith("BrowseFolder") or not asked[2].startswith("AskUser"):
        fail("questions asked: %r" % asked)

    # The tool prints the cover with album 0, the one edited by hand.
    cover = os.path.join(DATA, "donnees", "Modeles", "CD et DVD", "Audio", "Ocean.2.mdl")
    text = inst.print_text(CLI, cover)
    for expected in ("Quatuor Nord", "Hiver", "Givre", "Brume", "Aube"):
        if expected not in text:
            fail("the printed cover lacks %r: %r" % (expected, text))
    inst.remove()


for lang in (1, 2):
    run(lang)
print("OK")
