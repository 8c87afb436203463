#!/usr/bin/python3
"""Reads the running client through the accessibility bus, as a screen reader
does: lists the main window's tree, finds the sign-in boxes by their names,
signs in through them and waits for a status's text inside the timeline page.

Usage: accessibility_tree.py PID USER PASSWORD STATUS_TEXT
"""
import sys
import time

import pyatspi

WAIT_SECONDS = 60


def fail(message):
    print("accessibility check: " + message, file=sys.stderr)
    sys.exit(1)


def children(node):
    try:
        return [node.getChildAtIndex(i) for i in range(node.childCount)]
    except Exception:  # a node may go away while it is read
        return []


def walk(node, depth=0, limit=40):
    if node is None or depth > limit:
        return
    yield depth, node
    for child in children(node):
        yield from walk(child, depth + 1, limit)


def application_of(pid):
    deadline = time.time() + WAIT_SECONDS
    while time.time() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            try:
                if app is not None and app.get_process_id() == pid and app.childCount > 0:
                    return app
            except Exception:
                pass
        time.sleep(0.5)
    fail("the client never appeared on the accessibility bus")


def text_of(node):
    try:
        text = node.queryText()
        return text.getText(0, text.characterCount)
    except Exception:
        return ""


def find(app, test):
    for _, node in walk(app):
        try:
            if test(node):
                return node
        except Exception:
            pass
    return None


def wait_for(app, test, what):
    deadline = time.time() + WAIT_SECONDS
    while time.time() < deadline:
        node = find(app, test)
        if node is not None:
            return node
        time.sleep(0.5)
    fail("not found: " + what)


def in_page(node):
    while node is not None:
        if node.getRoleName() == "document web":
            return True
        node = node.parent
    return False


def named(role_names, name):
    return lambda node: node.name == name and node.getRoleName() in role_names


def list_tree(app, limit=8):
    for depth, node in walk(app, limit=limit):
        print("%s%s %r %r" % ("  " * depth, node.getRoleName(), node.name, text_of(node)[:40]))


def main():
    pid, user, password, status = int(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4]
    app = application_of(pid)
    user_box = wait_for(app, named({"text", "entry"}, "Username"), 'box "Username"')
    list_tree(app)
    password_box = find(app, named({"password text", "text", "entry"}, "Password"))
    if password_box is None:
        fail('not found: box "Password"')
    if user_box.description != "Twitter Username":
        fail("user name box described as %r" % user_box.description)
    user_box.queryEditableText().setTextContents(user)
    password_box.queryEditableText().setTextContents(password)
    sign_in = wait_for(
        app, lambda node: named({"push button"}, "Signin")(node)
        and node.getState().contains(pyatspi.STATE_ENABLED), 'enabled button "Signin"')
    sign_in.queryAction().doAction(0)
    wait_for(app, lambda node: node.getRoleName() == "document web", "the timeline page")
    # Each load replaces the page's document, so the text is looked for in
    # whichever document the view shows by then.
    try:
        page_text = wait_for(app, lambda node: (status in node.name or status in text_of(node))
                             and in_page(node), "status text in the page")
    except SystemExit:
        list_tree(app, limit=40)
        raise
    print('found the status in a %s of the page' % page_text.getRoleName())
    counts = find(app, lambda node: node.name.startswith("Tweets: ")
                  and node.name[len("Tweets: "):].strip() != "")
    if counts is None:
        fail('the counts do not read as "Tweets: N"')
    print("counts read %r" % counts.name)


if __name__ == "__main__":
    main()
