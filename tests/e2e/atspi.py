"""What a screen reader hears of one window of the program, read through the accessibility bus.

Each control is found by what a screen reader names it by: its description (the line a total
belongs to), the caption that labels it, or its own name. What it hears of it is the caption
that labels it, if any, followed by its text (a box) or its name (a total, a list).

  atspi.py expect WINDOW KEY=HEARD...    waits up to 5 s until every control reads as given
  atspi.py where WINDOW KEY              prints the middle of the control on the screen: X Y
  atspi.py announced WINDOW KEY=NAME...  prints "listening", then waits up to 10 s until each
                                         control has announced that new name
  atspi.py placed WINDOW KEY=X,Y,W,H...  whether each control stands there, in pixels from the
                                         window's client area (within 1)
  atspi.py answers WINDOW MS             whether the window tells its controls within MS ms
  atspi.py rows WINDOW KEY               prints each row of the table KEY, its cells between |

The key "focus" reads the name of the control that has the keyboard focus.
"""
import sys
import time

import pyatspi
from gi.repository import GLib


def window(title):
    for app in pyatspi.Registry.getDesktop(0):
        if app is None:
            continue
        for win in app:
            if win is not None and win.name == title:
                return win
    return None


def relation_targets(control, kind):
    for relation in control.getRelationSet():
        if relation.getRelationType() == kind:
            return [relation.getTarget(i) for i in range(relation.getNTargets())]
    return []


def caption(control):
    return " ".join(c.name for c in relation_targets(control, pyatspi.RELATION_LABELLED_BY))


def keys(control):
    return [k for k in (control.description, caption(control), control.name) if k]


def heard(control):
    try:
        own = control.queryText().getText(0, -1) if control.getRole() == pyatspi.ROLE_TEXT else None
    except NotImplementedError:
        own = None
    if own is None:
        own = control.name
    return " ".join(part for part in (caption(control), own) if part)


def controls(win):
    stack = [win]
    while stack:
        control = stack.pop()
        yield control
        if control.getRole() != pyatspi.ROLE_COMBO_BOX:  # not the list's items
            stack.extend(c for c in control if c is not None)


def find(win, key):
    for control in controls(win):
        if key in keys(control):
            return control
    return None


def read(title, wanted):
    """What a screen reader hears of each wanted key, read in one walk through the window."""
    win = window(title)
    if win is None:
        return {key: f"(no window titled '{title}')" for key in wanted}
    got = {key: "(no such control)" for key in wanted}
    if "focus" in wanted:
        got["focus"] = "(nothing)"
    for control in controls(win):
        if "focus" in wanted and control.getState().contains(pyatspi.STATE_FOCUSED):
            got["focus"] = control.name
        for key in keys(control):
            if key in wanted and got[key] == "(no such control)":
                got[key] = heard(control)
    return got


def expect(title, pairs):
    wanted = dict(pair.split("=", 1) for pair in pairs)
    deadline = time.monotonic() + 5
    while True:
        got = read(title, wanted)
        wrong = [key for key in wanted if got[key] != wanted[key]]
        if not wrong:
            return 0
        if time.monotonic() > deadline:
            for key in wrong:
                print(f"a screen reader hears '{key}' in '{title}' as '{got[key]}', "
                      f"not '{wanted[key]}'", file=sys.stderr)
            return 1
        time.sleep(0.2)


def located(title, key):
    """The control, or None, said on the error output."""
    win = window(title)
    control = find(win, key) if win is not None else None
    if control is None:
        print(f"no control '{key}' in a window titled '{title}'", file=sys.stderr)
    return control


def where(title, key):
    control = located(title, key)
    if control is None:
        return 1
    box = control.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    print(box.x + box.width // 2, box.y + box.height // 2)
    return 0


def placed(title, pairs):
    win = window(title)
    origin = win.queryComponent().getExtents(pyatspi.DESKTOP_COORDS) if win else None
    wrong = 0
    for key, box in (pair.split("=", 1) for pair in pairs):
        control = find(win, key) if win else None
        got = control.queryComponent().getExtents(pyatspi.DESKTOP_COORDS) if control else None
        got = [got.x - origin.x, got.y - origin.y, got.width, got.height] if got else None
        wanted = [int(n) for n in box.split(",")]
        if not got or any(abs(a - b) > 1 for a, b in zip(got, wanted)):
            print(f"a screen reader finds '{key}' in '{title}' at {got}, not {wanted}",
                  file=sys.stderr)
            wrong += 1
    return 1 if wrong else 0


def announced(title, pairs):
    waiting = dict(pair.split("=", 1) for pair in pairs)
    heard_names = {key: [] for key in waiting}

    def on_name(event):
        for key in list(waiting):
            if key in keys(event.source):
                heard_names[key].append(event.source.name)
                if event.source.name == waiting[key]:
                    del waiting[key]
        if not waiting:
            pyatspi.Registry.stop()

    if window(title) is None:
        print(f"no window titled '{title}'", file=sys.stderr)
        return 1
    pyatspi.Registry.registerEventListener(on_name, "object:property-change:accessible-name")
    print("listening", flush=True)
    GLib.timeout_add_seconds(10, lambda: pyatspi.Registry.stop())
    pyatspi.Registry.start()
    for key, name in waiting.items():
        print(f"a screen reader was never told that '{key}' changed to '{name}' "
              f"(it heard: {heard_names[key] or 'nothing'})", file=sys.stderr)
    return 1 if waiting else 0


def answers(title, ms):
    start = time.monotonic()
    win = window(title)
    count = sum(1 for _ in controls(win)) if win is not None else 0
    took = (time.monotonic() - start) * 1000
    if count == 0 or took > int(ms):
        print(f"'{title}' told {count} controls in {took:.0f} ms", file=sys.stderr)
        return 1
    return 0


def rows(title, key):
    table = located(title, key)
    if table is None:
        return 1
    cells = table.queryTable()
    for r in range(cells.nRows):
        print("|".join(cells.getAccessibleAt(r, c).name for c in range(cells.nColumns)))
    return 0


def main(argv):
    command, title, args = argv[1], argv[2], argv[3:]
    if command == "expect":
        return expect(title, args)
    if command == "where":
        return where(title, args[0])
    if command == "announced":
        return announced(title, args)
    if command == "placed":
        return placed(title, args)
    if command == "answers":
        return answers(title, args[0])
    if command == "rows":
        return rows(title, args[0])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
