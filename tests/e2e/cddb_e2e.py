#!/usr/bin/python3
"""An album looked up from a disc image, through the accessibility bus: the album window's "Ajouter"
opens the add-album wizard; the audio CD source lists the disc image as a drive; the lookup runs
against a loopback server the test starts (two matches offered, the second chosen); the result page
shows the entry (read as Latin-1) and Finish adds it. The shipped album is deleted so the looked-up
one is album 0, selected, and an audio CD cover shows its artist, title and tracks in the editor and,
after the program ends, in lorvane-cli's PDF. In French, then in English.

Arguments: PROGRAM DATA_DIR SCREENSHOT_DIR CLI."""
import http.server
import os
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_driver import (DATA, Installation, application, fail, find, find_all, find_showing,  # noqa: E402
                          press, pyatspi, quit_program, select_row, shot, wait_for)

CLI = os.path.abspath(sys.argv[4])

TEXTS = {
    1: {"fiche": "Répertoire", "album_cd": "Album CD", "ok": "OK", "albums": "Albums CD", "add": "Ajouter",
        "delete": "Supprimer", "select": "Sélectionner", "artist": "Artiste ou auteur", "list": "Albums",
        "quit": "Quitter", "recto": "Recto", "wizard": "Assistant", "cd": "CD audio et Internet",
        "next": "Suivant >>", "finish": "Terminé", "server": "Serveur de recherche", "port": "Port",
        "drive": "Lecteur de CD", "found": "Albums disponibles", "back": "Retour"},
    2: {"fiche": "Addresses", "album_cd": "CD album", "ok": "OK", "albums": "CD albums", "add": "Add",
        "delete": "Delete", "select": "Select", "artist": "Artist or author", "list": "Albums",
        "quit": "Quit", "recto": "Front", "wizard": "Wizard", "cd": "Audio CD and Internet",
        "next": "Next >>", "finish": "Finish", "server": "Lookup server", "port": "Port",
        "drive": "CD drive", "found": "Available albums", "back": "Back"},
}

TRACKS = ["Aube", "Midi", "Crépuscule"]
ENTRY = ("210 rock 940b0e0c CD database entry follows\r\n# xmcd\r\nDISCID=940b0e0c\r\n"
         "DTITLE=Les Rêveurs / Nuit claire\r\nDYEAR=1999\r\nDGENRE=Chanson\r\n" +
         "".join("TTITLE%d=%s\r\n" % (i, t) for i, t in enumerate(TRACKS)) + "EXTD=\r\nPLAYORDER=\r\n.\r\n")
MATCHES = ("210 Found exact matches, list follows\r\njazz 940b0e0c Autre / Disque\r\n"
           "rock 940b0e0c Les Reveurs / Nuit claire\r\n.\r\n")


class Lookup(http.server.BaseHTTPRequestHandler):
    requests = []

    def do_GET(self):
        Lookup.requests.append(self.path)
        body = (MATCHES if "cmd=cddb+query" in self.path else ENTRY).encode("latin-1")
        self.send_response(200)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def disc_image(folder):
    """A .cue of twelve audio tracks over a sparse .bin of silence."""
    starts = [0, 14270, 32350, 45849, 68349, 84357, 102661, 111813, 139269, 156144, 175654, 189382]
    with open(os.path.join(folder, "disc.bin"), "wb") as f:
        f.truncate(212262 * 2352)
    cue = 'FILE "disc.bin" BINARY\n'
    for i, s in enumerate(starts):
        cue += "  TRACK %02d AUDIO\n    INDEX 01 %02d:%02d:%02d\n" % (i + 1, s // 4500, s // 75 % 60, s % 75)
    path = os.path.join(folder, "disc.cue")
    with open(path, "w") as f:
        f.write(cue)
    return path


def text_of(node):
    return node.queryText().getText(0, -1)


def enabled(node):
    return node if node is not None and node.getState().contains(pyatspi.STATE_ENABLED) else None


def dialog_named(pid, name):
    return next((d for d in find_all(application(pid), pyatspi.ROLE_DIALOG) if d.name == name), None)


def open_albums(pid, frame, t):
    press(wait_for("the address-book button", lambda: find(frame, pyatspi.ROLE_PUSH_BUTTON, t["fiche"])))
    press(wait_for("the records question", lambda: find(application(pid), pyatspi.ROLE_RADIO_BUTTON, t["album_cd"])))
    question = wait_for("the question's window", lambda: next(
        (d for d in find_all(application(pid), pyatspi.ROLE_DIALOG) if find(d, pyatspi.ROLE_RADIO_BUTTON, t["album_cd"])),
        None))
    press(wait_for("OK", lambda: find(question, pyatspi.ROLE_PUSH_BUTTON, t["ok"])))
    return wait_for("the album window", lambda: dialog_named(pid, t["albums"]))


def page_texts(editor):
    page = wait_for("the page", lambda: find(editor, pyatspi.ROLE_LIST, "Page"))
    return "\n".join(n.description for n in find_all(page, pyatspi.ROLE_LIST_ITEM) if n.description)


def run(language, port):
    t = TEXTS[language]
    inst = Installation(language, "cddb-%d" % language)
    image = disc_image(inst.dir)
    script = os.path.join(inst.dir, "answers.txt")
    transcript = os.path.join(inst.dir, "transcript.txt")
    with open(script, "w") as f:
        # Deleting the shipped album, the advanced editor, the closing question.
        f.write("Yes\n2\nOK\n")
    del Lookup.requests[:]
    program = inst.start(env_extra={"LORVANE_DIALOG_SCRIPT": script, "LORVANE_DIALOG_TRANSCRIPT": transcript,
                                    "LORVANE_CD_IMAGES": image})
    pid = program.pid
    wait_for("the program on the accessibility bus", lambda: application(pid))
    frame = wait_for("the catalogue window", lambda: find(application(pid), pyatspi.ROLE_FRAME, None))

    albums = open_albums(pid, frame, t)
    press(find(albums, pyatspi.ROLE_PUSH_BUTTON, t["add"]))
    wizard = wait_for("the add-album wizard", lambda: dialog_named(pid, t["wizard"]))
    shot(program)
    press(wait_for("the CD source", lambda: find(wizard, None, t["cd"])))
    press(wait_for("Next", lambda: enabled(find(wizard, pyatspi.ROLE_PUSH_BUTTON, t["next"]))))
    wait_for("the drive list", lambda: find(wizard, pyatspi.ROLE_COMBO_BOX, t["drive"]))
    server = wait_for("the server field", lambda: find(wizard, pyatspi.ROLE_TEXT, t["server"]))
    server.queryEditableText().setTextContents("127.0.0.1")
    find(wizard, pyatspi.ROLE_TEXT, t["port"]).queryEditableText().setTextContents(str(port))
    wait_for("the typed server", lambda: text_of(server) == "127.0.0.1")
    time.sleep(0.5)  # the page settles before Next is pressed
    press(find(wizard, pyatspi.ROLE_PUSH_BUTTON, t["next"]))

    found = wait_for("the matches", lambda: dialog_named(pid, t["found"]))
    matches = wait_for("the match list", lambda: find(found, pyatspi.ROLE_LIST, t["found"]))
    wait_for("two matches", lambda: matches.childCount == 2 or None)
    shot(program)
    matches.queryTable().addRowSelection(1)
    press(wait_for("OK", lambda: enabled(find(found, pyatspi.ROLE_PUSH_BUTTON, t["ok"]))))
    finish = wait_for("the result page", lambda: enabled(find(wizard, pyatspi.ROLE_PUSH_BUTTON, t["finish"])))
    artist = wait_for("the artist found", lambda: find(wizard, pyatspi.ROLE_TEXT, t["artist"]))
    wait_for("the entry shown", lambda: text_of(artist) == "Les Rêveurs")
    if not any("cmd=cddb+read+rock+940b0e0c" in r for r in Lookup.requests):
        fail("the read of the chosen match was not sent: %r" % Lookup.requests)
    shot(program)
    press(finish)
    wait_for("the wizard to close", lambda: dialog_named(pid, t["wizard"]) is None)

    # The shipped album goes, so the looked-up one is album 0 for the tool too.
    lst = wait_for("the album list", lambda: find(albums, None, t["list"]))
    lst.queryTable().addRowSelection(0)
    press(find(albums, pyatspi.ROLE_PUSH_BUTTON, t["delete"]))
    artist = find(albums, None, t["artist"])
    wait_for("the looked-up album first", lambda: text_of(artist) == "Les Rêveurs")
    shot(program)
    press(find(albums, pyatspi.ROLE_PUSH_BUTTON, t["select"]))
    wait_for("the album window to close", lambda: dialog_named(pid, t["albums"]) is None)

    tree = wait_for("the category tree", lambda: find(frame, pyatspi.ROLE_TREE, None) or
                    find(frame, pyatspi.ROLE_TREE_TABLE, None))
    if not select_row(tree, "Audio"):
        fail("no Audio row in the tree")
    press(wait_for("the template", lambda: find_showing(frame, pyatspi.ROLE_LIST_ITEM, "Ocean.2")))
    press(wait_for("the recto", lambda: find(frame, pyatspi.ROLE_PUSH_BUTTON, t["recto"])))
    editor = wait_for("the editor", lambda: next(
        (e for e in find_all(application(pid), pyatspi.ROLE_FRAME)
         if e.name.startswith("Ocean.2") and e.getState().contains(pyatspi.STATE_SHOWING)), None))
    shown = wait_for("the album on the page", lambda: (lambda s: s if "Les Rêveurs" in s else None)(page_texts(editor)))
    for expected in ("Nuit claire", "\n".join(TRACKS)):
        if expected not in shown:
            fail("the page lacks %r: %r" % (expected, shown))
    shot(program)
    press(find(editor, pyatspi.ROLE_PUSH_BUTTON, t["back"]))
    frame = wait_for("the catalogue again", lambda: next(
        (w for w in find_all(application(pid), pyatspi.ROLE_FRAME)
         if w.getState().contains(pyatspi.STATE_SHOWING) and find(w, pyatspi.ROLE_PUSH_BUTTON, t["quit"])), None))
    quit_program(frame, program, t["quit"], transcript)

    cover = os.path.join(DATA, "donnees", "Modeles", "CD et DVD", "Audio", "Ocean.2.mdl")
    text = inst.print_text(CLI, cover)
    for expected in ["Les Rêveurs", "Nuit claire"] + TRACKS:
        if expected not in text:
            fail("the printed cover lacks %r: %r" % (expected, text))
    inst.remove()


httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Lookup)
threading.Thread(target=httpd.serve_forever, daemon=True).start()
for lang in (1, 2):
    run(lang, httpd.server_address[1])
httpd.shutdown()
print("OK")
