#!/usr/bin/python3
"""Through a real AT-SPI bus, as a screen reader would: the window's command buttons are there
with unique names, and pressing "打开照片文件" opens the open dialog.

Run inside an X display and a D-Bus session whose accessibility bus is up (atspi-run.sh)."""
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib


def wait_for(what, find, seconds=20):
    end = time.time() + seconds
    while time.time() < end:
        try:
            found = find()
        except GLib.GError:
            # An object went away while the tree was walked (a dialog closing): look again.
            found = None
        if found:
            return found
        time.sleep(0.2)
    desktop = pyatspi.Registry.getDesktop(0)
    apps = [desktop.getChildAtIndex(i) for i in range(desktop.childCount)]
    windows = [(w.name, w.getRoleName()) for a in apps if a for w in a]
    sys.exit("not found: %s (windows: %s)" % (what, windows))


def walk(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def app_named(name):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name.lower() == name.lower():
            return app
    return None


def dialogs(app):
    return [w for w in walk(app) if w.getRole() == pyatspi.ROLE_DIALOG and
            w.getState().contains(pyatspi.STATE_SHOWING)]


def main():
    program = sys.argv[1]
    proc = subprocess.Popen([program], env=os.environ)
    try:
        app = wait_for("the application", lambda: app_named(os.path.basename(program)))
        # The open dialog of the start: cancelled with its own button.
        start = wait_for("the open dialog of the start", lambda: dialogs(app))
        cancel = [n for n in walk(start[0]) if n.getRole() == pyatspi.ROLE_PUSH_BUTTON and
                  n.name in ("取消", "Cancel")]
        cancel[0].queryAction().doAction(0)
        wait_for("the start dialog closed", lambda: not dialogs(app))
        window = wait_for("the main window", lambda: [
            w for w in (app.getChildAtIndex(i) for i in range(app.childCount))
            if w is not None and w.name.startswith("Orvello")])[0]
        buttons = [n for n in walk(window) if n.getRole() == pyatspi.ROLE_PUSH_BUTTON]
        names = [b.name for b in buttons]
        print("buttons:", len(names), " ".join(names))
        if len(names) < 25 or len(set(names)) != len(names) or "" in names:
            sys.exit("expected at least 25 buttons with unique names")
        for expected in ("向左旋转", "向右旋转", "向上移动标题", "向下移动日期", "最小化", "关闭"):
            if expected not in names:
                sys.exit("no button named " + expected)
        save = buttons[names.index("保存")]
        if save.getState().contains(pyatspi.STATE_ENABLED):
            sys.exit("the save button reads as enabled without a photo")
        named = {n.name for n in walk(window)}
        for expected in ("照片目录", "照片文件EXIF信息", "标题文字", "照片预览", "添加拍照日期"):
            if expected not in named:
                sys.exit("nothing named " + expected)
        if dialogs(app):
            sys.exit("a dialog is open before the press")
        opener = buttons[names.index("打开照片文件")]
        action = opener.queryAction()
        if action.getName(0).lower() != "press":
            sys.exit("the open button's action is " + action.getName(0))
        action.doAction(0)
        opened = wait_for("the open dialog after the press", lambda: dialogs(app))
        print("opened:", opened[0].name)
        if opened[0].name != "选择打开照片文件":
            sys.exit("the dialog opened is " + opened[0].name)
    finally:
        proc.kill()
        proc.wait()


if __name__ == "__main__":
    main()
