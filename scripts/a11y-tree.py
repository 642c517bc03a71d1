# Run by scripts/a11y-tree inside its D-Bus session: waits for Zestrola's
# main window on the AT-SPI bus and prints its tree, then the table view's
# caret line and description.
import sys
import time

import pyatspi

MAX_CHILDREN = 16  # per node; long lists are cut with a note


def find_main_window(timeout=20):
    end = time.time() + timeout
    while time.time() < end:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is None:
                continue
            for window in app:
                if window is not None and window.name.startswith("Zestrola"):
                    return window
        time.sleep(0.5)
    sys.exit("a11y-tree: no Zestrola window on the AT-SPI bus")


def states(node):
    wanted = {
        pyatspi.STATE_FOCUSED: "focused",
        pyatspi.STATE_SELECTED: "selected",
        pyatspi.STATE_MULTI_LINE: "multi-line",
        pyatspi.STATE_EDITABLE: "editable",
        pyatspi.STATE_CHECKED: "checked",
    }
    got = node.getState()
    return [text for state, text in wanted.items() if got.contains(state)]


def shortcut(node):
    try:
        action = node.queryAction()
    except NotImplementedError:
        return ""
    keys = [action.getKeyBinding(i) for i in range(action.nActions)]
    return ", ".join(k for k in keys if k)


def line(node, depth):
    role = node.getRoleName()
    parts = [f"{'  ' * depth}[{role}] \"{node.name}\""]
    if node.description:
        parts.append(f"description=\"{node.description}\"")
    keys = shortcut(node)
    if keys:
        parts.append(f"keys={keys}")
    marks = states(node)
    if marks:
        parts.append("(" + ", ".join(marks) + ")")
    return " ".join(parts)


def dump(node, depth=0):
    if not node.getState().contains(pyatspi.STATE_SHOWING) and depth > 0:
        return
    print(line(node, depth))
    count = node.childCount
    for i in range(min(count, MAX_CHILDREN)):
        child = node.getChildAtIndex(i)
        if child is not None:
            dump(child, depth + 1)
    if count > MAX_CHILDREN:
        print(f"{'  ' * (depth + 1)}... {count - MAX_CHILDREN} more")


def find(node, role, name):
    if node.getRoleName() == role and node.name == name:
        return node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        found = find(child, role, name) if child is not None else None
        if found is not None:
            return found
    return None


def caret_line(view):
    text = view.queryText()
    caret = text.caretOffset
    content, start, end = text.getTextAtOffset(caret, pyatspi.TEXT_BOUNDARY_LINE_START)
    print(f"  caret offset {caret}, of {text.characterCount} characters")
    print(f"  caret line ({start}..{end}): {content.rstrip()!r}")
    print(f"  description: {view.description!r}")


window = find_main_window()
time.sleep(2)  # the first table is loaded and marked
print("Accessibility tree of the main window:")
dump(window)

view = find(window, "text", "Tabelle")
if view is None:
    sys.exit("a11y-tree: no table view in the tree")
print()
print("The table view, caret on the first row:")
caret_line(view)
text = view.queryText()
offset = 0
for _ in range(2):
    _, _, offset = text.getTextAtOffset(offset, pyatspi.TEXT_BOUNDARY_LINE_START)
text.setCaretOffset(offset)
time.sleep(0.5)
print("The table view, caret put on the third row:")
caret_line(view)
