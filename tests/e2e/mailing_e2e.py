#!/usr/bin/python3
"""Mailing a business card as a person does it, through the accessibility bus: an address book of three
cards, a two-sided business card from the catalogue, "Envoyer par mail", the second and third people
ticked, Send. The desktop's mail handler (a private one that records what it is given) receives two
compose requests in list order, each to that person's address, with the message greeting that person
and both sides of the card attached as JPEG pictures drawn with that person's card. The message is kept
for the next time. In French, then in English.

Run inside Xvfb and a session D-Bus (see tests/e2e/CMakeLists.txt). Arguments: PROGRAM DATA_DIR
[SCREENSHOT_DIR]."""
import os
import subprocess
import sys
import urllib.parse

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_driver import (Installation, application, fail, find, find_all, find_showing, press, pyatspi,  # noqa: E402
                          quit_program, select_row, shot, wait_for)

TEXTS = {
    1: {"mail": "Envoyer par mail", "send": "Envoyer", "quit": "Quitter", "hello": "Bonjour",
        "face": "Carte face %d.jpg", "subject": "Objet du mail", "subject_field": "Indiquez l'objet du mail",
        "cancel": "Annuler"},
    2: {"mail": "Send by e-mail", "send": "Send", "quit": "Quit", "hello": "Hello",
        "face": "Card side %d.jpg", "subject": "Subject line", "subject_field": "Subject of the e-mail",
        "cancel": "Cancel"},
}

CARDS = [
    {"Nom": "Martin", "Prénom": "Claire", "Email": "claire.martin@example.com", "Ville": "Lyon"},
    {"Nom": "Durand", "Prénom": "Bruno", "Email": "bruno.durand@example.com", "Ville": "Nantes",
     "Adresse": "3 quai de la Fosse"},
    {"Nom": "Leroy", "Prénom": "Zoé", "Email": "zoe.leroy@example.com", "Ville": "Brest",
     "Adresse": "8 rue de Siam"},
]
TEMPLATE = os.path.join("Modeles", "Cartes de visite", "Personnelle - Recto verso.mdl")


def write_cards(inst, language):
    user = os.path.join(inst.dir, "user", "XDG_DATA_HOME", "Lorvane", "Lorvane")
    os.makedirs(user, exist_ok=True)
    lines = []
    for i, card in enumerate(CARDS):
        lines.append("[%d]" % (i + 1))
        lines += ["%s=%s" % kv for kv in card.items()]
        lines.append("")
    with open(os.path.join(user, "fiches_%d.def" % language), "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("cp1252"))
    return user


def mail_handler(inst):
    """A private desktop entry made the default for mailto links; it appends each link to calls.txt."""
    data = os.path.join(inst.dir, "user", "XDG_DATA_HOME")
    config = os.path.join(inst.dir, "user", "XDG_CONFIG_HOME")
    os.makedirs(os.path.join(data, "applications"), exist_ok=True)
    os.makedirs(config, exist_ok=True)
    calls = os.path.join(inst.dir, "calls.txt")
    recorder = os.path.join(inst.dir, "record.sh")
    with open(recorder, "w") as f:
        f.write("#!/bin/sh\nprintf '%%s\\n' \"$1\" >> '%s'\n" % calls)
    os.chmod(recorder, 0o755)
    with open(os.path.join(data, "applications", "lorvane-e2e-mail.desktop"), "w") as f:
        f.write("[Desktop Entry]\nType=Application\nName=E2E mail\nExec=%s %%u\n"
                "MimeType=x-scheme-handler/mailto;\n" % recorder)
    with open(os.path.join(config, "mimeapps.list"), "w") as f:
        f.write("[Default Applications]\nx-scheme-handler/mailto=lorvane-e2e-mail.desktop\n")
    return calls


def mailto(line):
    address, _, query = line[len("mailto:"):].partition("?")
    items = {}
    for part in query.split("&"):
        key, _, value = part.partition("=")
        items.setdefault(key, []).append(urllib.parse.unquote(value))
    return urllib.parse.unquote(address), items


CLI = os.path.abspath(sys.argv[4])
DATA = os.path.abspath(sys.argv[2])


def grey(inst, picture):
    """The picture's grey levels at 160 x 120, through the command-line tool and a BMP file."""
    bmp = picture + ".bmp"
    subprocess.run([CLI, "--home", inst.home, "stretch", picture, bmp, "160", "120"], check=True,
                   capture_output=True)
    with open(bmp, "rb") as f:
        data = f.read()
    start = int.from_bytes(data[10:14], "little")
    width, height = int.from_bytes(data[18:22], "little"), abs(int.from_bytes(data[22:26], "little", signed=True))
    bits = int.from_bytes(data[28:30], "little")
    step = bits // 8
    row = (width * step + 3) // 4 * 4
    return [sum(data[start + y * row + x * step:start + y * row + x * step + 3]) // 3
            for y in range(height) for x in range(width)]


def distance(a, b):
    return sum(abs(x - y) for x, y in zip(a, b)) / max(1, len(a))


def render(inst, card, face, out, env):
    """The template drawn by the command-line tool with that card's values, as the mail should show it."""
    args = [CLI, "--home", inst.home, "export", os.path.join(DATA, "donnees", TEMPLATE), out, "320", "240",
            "--frame", "808080", "--face", str(face)]
    for key, value in card.items():
        args += ["--field", "%s=%s" % (key, value)]
    subprocess.run(args, check=True, capture_output=True, env=env)
    return grey(inst, out)


def run(language):
    t = TEXTS[language]
    inst = Installation(language, "mailing-%d" % language)
    user = write_cards(inst, language)
    calls = mail_handler(inst)
    script = os.path.join(inst.dir, "answers.txt")
    transcript = os.path.join(inst.dir, "transcript.txt")
    with open(script, "w") as f:
        f.write("OK\n")  # the closing question
    program = inst.start(env_extra={"LORVANE_DIALOG_SCRIPT": script, "LORVANE_DIALOG_TRANSCRIPT": transcript})
    wait_for("the program on the accessibility bus", lambda: application(program.pid))
    frame = wait_for("the catalogue window", lambda: find(application(program.pid), pyatspi.ROLE_FRAME, None))
    tree = wait_for("the category tree", lambda: find(frame, pyatspi.ROLE_TREE, None) or
                    find(frame, pyatspi.ROLE_TREE_TABLE, None))
    if not select_row(tree, "Cartes de visite"):
        fail("no business cards in the tree")
    press(wait_for("a two-sided card", lambda: find_showing(frame, pyatspi.ROLE_LIST_ITEM, "Personnelle - Recto verso")))
    press(wait_for("the mail entry", lambda: find_showing(frame, None, t["mail"])))
    dialog = wait_for("the mailing window", lambda: next(
        (w for w in find_all(application(program.pid), pyatspi.ROLE_DIALOG) if w.name == "Mailing"), None))
    entries = wait_for("three people", lambda: (lambda items: items if len(items) == 3 else None)(
        [i for i in find_all(dialog, pyatspi.ROLE_CHECK_BOX) if "@example.com" in i.name]))
    for card, entry in zip(CARDS, entries):
        if not entry.name.startswith("%s %s (%s)" % (card["Nom"], card["Prénom"], card["Email"])):
            fail("entry %r for %r" % (entry.name, card))
    for entry in entries[1:]:
        action = entry.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        if "Toggle" not in names:
            fail("a list entry has no toggle action: %r" % names)
        action.doAction(names.index("Toggle"))
    subject = wait_for("the subject field", lambda: find_showing(dialog, pyatspi.ROLE_TEXT, t["subject_field"]))
    subject.queryEditableText().setTextContents(t["subject"])
    send = wait_for("Send enabled", lambda: (lambda b: b if b is not None and b.getState().contains(
        pyatspi.STATE_ENABLED) else None)(find_showing(dialog, pyatspi.ROLE_PUSH_BUTTON, t["send"])))
    shot(program)
    press(send)
    wait_for("two hand-overs", lambda: os.path.exists(calls) and len(open(calls).read().split()) == 2, timeout=60)
    wait_for("the mailing window closed", lambda: not any(
        w.name == "Mailing" and w.getState().contains(pyatspi.STATE_SHOWING)
        for w in find_all(application(program.pid), pyatspi.ROLE_DIALOG)))

    env = dict(os.environ)
    env["XDG_DATA_HOME"] = os.path.join(inst.dir, "user", "XDG_DATA_HOME")
    with open(calls) as f:
        handed = [mailto(line.strip()) for line in f if line.strip()]
    expected = {}
    for card in CARDS:
        expected[card["Email"]] = [render(inst, card, face, os.path.join(inst.dir, "%s-%d.jpg" % (card["Nom"], face)),
                                          env) for face in (1, 2)]
    for (address, items), card in zip(handed, CARDS[1:]):
        if address != card["Email"]:
            fail("mail to %r, expected %r" % (address, card["Email"]))
        if items.get("subject") != [t["subject"]]:
            fail("subject %r" % items.get("subject"))
        body = items.get("body", [""])[0]
        if not body.startswith("%s %s," % (t["hello"], card["Prénom"])):
            fail("the message does not greet %s: %r" % (card["Prénom"], body))
        attached = items.get("attach", [])
        if [os.path.basename(a) for a in attached] != [t["face"] % 1, t["face"] % 2]:
            fail("attachments %r" % attached)
        for face, path in enumerate(attached, 1):
            got = grey(inst, path)
            own = distance(got, expected[card["Email"]][face - 1])
            others = [distance(got, expected[c["Email"]][face - 1]) for c in CARDS if c is not card]
            if face == 1 and not own < min(others):
                fail("side %d of %s's mail is not drawn with their card: %.2f against %r" % (face, card["Prénom"], own, others))
            if own > 8:
                fail("side %d of %s's mail differs from the card drawn alone: %.2f" % (face, card["Prénom"], own))
    with open(os.path.join(user, "mailing_%d.def" % language), "rb") as f:
        saved = f.read().decode("cp1252").split("\r\n")
    if saved[0] != t["subject"]:
        fail("the saved message starts with %r" % saved[0])

    # The next opening shows the saved subject.
    press(wait_for("the mail entry", lambda: find_showing(frame, None, t["mail"])))
    dialog = wait_for("the mailing window again", lambda: next(
        (w for w in find_all(application(program.pid), pyatspi.ROLE_DIALOG) if w.name == "Mailing"
         and w.getState().contains(pyatspi.STATE_SHOWING)), None))
    subject = wait_for("the subject field", lambda: find_showing(dialog, pyatspi.ROLE_TEXT, t["subject_field"]))
    if subject.queryText().getText(0, -1) != t["subject"]:
        fail("the subject shown again is %r" % subject.queryText().getText(0, -1))
    shot(program)
    press(find_showing(dialog, pyatspi.ROLE_PUSH_BUTTON, t["cancel"]))
    wait_for("the mailing window closed", lambda: not any(
        w.name == "Mailing" and w.getState().contains(pyatspi.STATE_SHOWING)
        for w in find_all(application(program.pid), pyatspi.ROLE_DIALOG)))
    asked = quit_program(frame, program, t["quit"], transcript)
    if len(asked) != 1:
        fail("questions asked: %r" % asked)
    inst.remove()


run(1)
run(2)
print("PASS", flush=True)
