#!/usr/bin/python3
"""Makes a screenshot of the program's window with a few files in its list.

usage: docs/screenshot.py [--build DIR] [--display DISPLAY] OUTPUT.png

Starts DIR/app/vellumor.exe (DIR defaults to build/win64; scripts/run passes build/win32,
the shipped program) under the Wine of its arch, in DIR's prefix, on a virtual
display of its own unless --display names one, drops the bundled examples on its list under
Japanese names, types an output name, picks HTML, saves the window as OUTPUT.png and closes
the program with Cancel. The program runs from a copy, so the build's settings stay as they
are. docs/vellumor.png is made with: python3 docs/screenshot.py docs/vellumor.png
"""

import argparse
import os
import shutil
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
sys.dont_write_bytecode = True
import harness  # noqa: E402

EXAMPLES = [("first.txt", "はじめに.txt"), ("second.txt", "表示のしかた.txt"),
            ("third.txt", "third.txt")]


def win_path(path):
    """C:\\... for a file on the prefix's drive C:."""
    drive_c = path.index("/drive_c/")
    return "C:" + path[drive_c + len("/drive_c"):].replace("/", "\\")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build", "win64"))
    parser.add_argument("--display", default="")
    parser.add_argument("output")
    args = parser.parse_args()
    args.build = os.path.abspath(args.build)

    exe = os.path.join(args.build, "app", "vellumor.exe")
    reader_exe = os.path.join(args.build, "tests", "e2e", "e2e_window_reader.exe")
    for needed in (exe, reader_exe):
        if not os.path.exists(needed):
            sys.exit(f"screenshot: {needed} is missing; build first "
                     f"(scripts/build {os.path.basename(args.build)})")

    work = tempfile.mkdtemp(prefix="vellumor-")
    # The files on the prefix's drive C:, so that the list shows short, ordinary paths.
    drive_c = os.path.join(args.build, "wineprefix", "drive_c")
    docs = os.path.join(drive_c, "文書")
    if os.path.exists(docs):
        docs = tempfile.mkdtemp(prefix="文書-", dir=drive_c)
    else:
        os.makedirs(docs)
    try:
        appdir = os.path.join(work, "app")
        os.makedirs(appdir)
        shutil.copy(exe, appdir)
        # A window a little larger than its template, so that the paths show whole.
        with open(os.path.join(appdir, "vellumor.ini"), "wb") as f:
            f.write(b"[vellumor]\r\n" + "高さ=260\r\n幅=440\r\n".encode("cp932"))
        files = []
        for source, name in EXAMPLES:
            files.append(os.path.join(docs, name))
            shutil.copy(os.path.join(ROOT, "examples", source), files[-1])

        with harness.Desktop(os.path.join(args.build, "wineprefix"), args.display) as desktop:
            desktop.bind_keys("連結" + docs)
            look = harness.WindowReader(desktop, reader_exe)
            desktop.move_pointer(512, 384)
            program = desktop.start(os.path.join(appdir, "vellumor.exe"))
            shown = look("vellumor", wait_ms=20000)
            if shown is None:
                sys.exit("screenshot: the window did not appear")
            desktop.drop_files(files, *shown.controls[1028].center)
            desktop.xdotool("mousemove", *shown.controls[1045].center)
            desktop.xdotool("click", 1)
            desktop.xdotool("windowfocus", "--sync", shown.xid)
            desktop.type_text(win_path(os.path.join(docs, "連結.html")))
            desktop.xdotool("mousemove", *shown.controls[1047].center)
            desktop.xdotool("click", 1)
            # The pointer off the window, so that it hides nothing.
            desktop.xdotool("mousemove", 1, 1)
            time.sleep(0.5)
            desktop.screenshot(args.output, shown.xid)
            desktop.xdotool("windowfocus", "--sync", shown.xid)
            desktop.xdotool("key", "Escape")
            program.wait(20)
    finally:
        shutil.rmtree(work, ignore_errors=True)
        shutil.rmtree(docs, ignore_errors=True)
    print(f"screenshot: {args.output}")


if __name__ == "__main__":
    main()
