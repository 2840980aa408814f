"""Drives Windows programs under Wine and Xvfb from outside, as a user at the X11 desktop.

What the user does goes through X only: files dropped with the XDND protocol (xdnd.py), the
pointer and the keyboard with xdotool. What the user sees is read by a small Win32 program,
the window reader (window_reader.cpp), which reports the window's rectangle, its controls and
the list's entries without touching them.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import xdnd  # noqa: E402
import xkeys  # noqa: E402

# Wine's environment and the loader of the prefix's arch come from the project's one wrapper.
WINE_RUN = os.path.join(HERE, "..", "..", "cmake", "wine-run")


class HarnessError(Exception):
    pass


def to_wine_path(linux_path):
    """Z:\\... as Wine shows a Linux path; str, with the program's Japanese characters."""
    return "Z:" + os.path.abspath(linux_path).replace("/", "\\")


def run_tests():
    """Runs the module's tests and exits with their status.

    By hand a test skips where its environment is missing; in the test run (ctest sets
    VELLUMOR_E2E_REQUIRED) a skip is a failure, so that a test that could not run never
    passes.
    """
    import unittest
    result = unittest.main(verbosity=2, exit=False).result
    if os.environ.get("VELLUMOR_E2E_REQUIRED") and result.skipped:
        for test, reason in result.skipped:
            print(f"FAIL (skipped in the test run): {test.id()}: {reason}", file=sys.stderr)
        sys.exit(1)
    sys.exit(0 if result.wasSuccessful() else 1)


def sjis(text):
    return text.encode("cp932")


def _display_works(display):
    if not display:
        return False
    return subprocess.run(["xdpyinfo", "-display", display], stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL).returncode == 0


class Desktop:
    """An X display with Wine ready on it: the caller's if it answers, else a new Xvfb."""

    def __init__(self, prefix, display=None, screen="1024x768x24"):
        self.prefix = os.path.abspath(prefix)
        if not os.path.isdir(self.prefix):
            raise HarnessError(f"no Wine prefix at {self.prefix} (run scripts/wine-prefix)")
        self.xvfb = None
        self.own_server = False
        self.processes = []
        self.logdir = tempfile.mkdtemp(prefix="vellumor-wine-")
        display = display if display is not None else os.environ.get("DISPLAY")
        if not _display_works(display):
            display = self._start_xvfb(screen)
        self.display = display
        # xdotool reads the Japanese text it types in the locale's encoding.
        self.env = dict(os.environ, DISPLAY=display, WINEPREFIX=self.prefix, LC_ALL="C.UTF-8")
        # A persistent server started here keeps Wine's helpers off our pipes; status 0
        # means this desktop started it and so stops it at the end.
        started = subprocess.run([WINE_RUN, "wineserver", "-p"], env=self.env,
                                 stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL)
        self.own_server = started.returncode == 0
        self.keys = xkeys.SpareKeys(display)

    def _start_xvfb(self, screen):
        read_fd, write_fd = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0",
                                      screen, "-nolisten", "tcp"], pass_fds=(write_fd,),
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as f:
            number = f.readline().strip()
        if not number:
            raise HarnessError("Xvfb did not start")
        return ":" + number

    def close(self):
        self.keys.close()
        for p in self.processes:
            if p.poll() is None:
                p.kill()
                p.wait()
        if self.own_server:
            subprocess.run([WINE_RUN, "wineserver", "-k"], env=self.env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if self.xvfb is not None:
            self.xvfb.terminate()
            self.xvfb.wait()
        shutil.rmtree(self.logdir, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    # --- Wine processes -----------------------------------------------------------------

    def start(self, exe, *args, cwd=None):
        """Starts a Windows program; its output goes to files, never to our pipes."""
        name = os.path.basename(exe)
        out = open(os.path.join(self.logdir, f"{name}.{len(self.processes)}.log"), "wb")
        p = subprocess.Popen([WINE_RUN, exe, *args], env=self.env, cwd=cwd,
                             stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT)
        out.close()
        self.processes.append(p)
        return p

    def run(self, exe, *args, timeout=30):
        p = self.start(exe, *args)
        try:
            return p.wait(timeout)
        except subprocess.TimeoutExpired:
            p.kill()
            p.wait()
            raise HarnessError(f"{exe} did not finish within {timeout} s")

    # --- the X side ---------------------------------------------------------------------

    def xdotool(self, *args):
        r = subprocess.run(["xdotool", *map(str, args)], env=self.env,
                           stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=20)
        if r.returncode != 0:
            raise HarnessError(f"xdotool {' '.join(map(str, args))}: {r.stderr.decode().strip()}")
        return r.stdout.decode()

    def move_pointer(self, x, y, settle=0.3, timeout=5):
        """Puts the pointer at (x, y) and makes sure it stays there (see WindowReader)."""
        deadline = time.monotonic() + timeout
        while True:
            self.xdotool("mousemove", x, y)
            time.sleep(settle)
            if self.pointer() == (x, y):
                return
            if time.monotonic() > deadline:
                raise HarnessError(f"the pointer does not stay at {x},{y}")

    def bind_keys(self, chars):
        """Keys for the characters to be typed later; do it before the program starts, as
        Wine may miss a change of the keyboard map while it runs (see xkeys)."""
        self.keys.bind(chars)

    def type_text(self, text):
        """Types into the window with the keyboard focus, Japanese included."""
        self.keys.bind(text)
        self.xdotool("type", "--delay", 20, "--", text)

    def pointer(self):
        values = dict(v.split(":") for v in self.xdotool("getmouselocation").split())
        return int(values["x"]), int(values["y"])

    def screenshot(self, path, window=None):
        target = str(window) if window else "root"
        subprocess.run(["import", "-display", self.display, "-window", target, path],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def x_geometry(self, xid):
        """(x, y, width, height) of an X window as the X server has it."""
        out = subprocess.run(["xwininfo", "-display", self.display, "-id", str(xid)],
                             stdout=subprocess.PIPE, stderr=subprocess.PIPE, check=True).stdout
        values = {}
        for line in out.decode().splitlines():
            key, _, value = line.strip().partition(":")
            values[key] = value.strip()
        return (int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"]),
                int(values["Width"]), int(values["Height"]))

    def copy_files(self, paths):
        """Copies the files as a Linux file manager does: they stay on the X clipboard until
        something else is copied or the desktop closes."""
        p = subprocess.Popen([sys.executable, os.path.join(HERE, "xclipboard.py"), *paths],
                             env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE)
        self.processes.append(p)
        if p.stdout.readline().strip() != b"ready":
            raise HarnessError("the files could not be put on the X clipboard")

    def drop_files(self, paths, x, y):
        source = xdnd.XdndSource(self.display)
        try:
            source.drop(paths, x, y)
        finally:
            source.close()


class Control:
    def __init__(self, fields):
        self.id = int(fields["id"])
        self.cls = fields["class"]
        self.rect = tuple(int(fields[k]) for k in ("x", "y", "w", "h"))
        self.client = tuple(int(fields[k]) for k in ("cx", "cy", "cw", "ch"))
        self.style = int(fields["style"], 16)
        self.enabled = fields["enabled"] == "1"
        self.visible = fields["visible"] == "1"
        self.check = int(fields.get("check", "0"))
        self.text = _unhex(fields["text"])

    @property
    def center(self):
        x, y, w, h = self.rect
        return x + w // 2, y + h // 2


class ListState:
    def __init__(self, fields):
        self.count = int(fields["count"])
        self.top = int(fields["top"])
        self.item_height = int(fields["itemheight"])
        self.cursel = int(fields["cursel"])
        self.items = []


def _unhex(value):
    return b"" if value == "-" else bytes.fromhex(value)


def _fields(line):
    kind, *pairs = line.split(" ")
    return kind, dict(p.split("=", 1) for p in pairs)


class Snapshot:
    """One reading of a top-level window by the window reader."""

    def __init__(self, text):
        self.controls = {}
        self.lists = {}
        self.window = None
        self.workarea = None
        for line in text.splitlines():
            kind, f = _fields(line)
            if kind == "window":
                self.window = f
                self.xid = int(f["xid"])
                self.rect = tuple(int(f[k]) for k in ("x", "y", "w", "h"))
                self.client = tuple(int(f[k]) for k in ("cx", "cy", "cw", "ch"))
                self.exstyle = int(f["exstyle"], 16)
                self.zoomed = f["zoomed"] == "1"
                self.visible = f["visible"] == "1"
                self.caption = _unhex(f["text"])
            elif kind == "workarea":
                self.workarea = tuple(int(f[k]) for k in ("x", "y", "w", "h"))
            elif kind == "control":
                c = Control(f)
                self.controls[c.id] = c
            elif kind == "list":
                self.lists[int(f["id"])] = ListState(f)
            elif kind == "item":
                self.lists[int(f["id"])].items.append(_unhex(f["text"]))

    @property
    def topmost(self):
        return bool(self.exstyle & 0x8)  # WS_EX_TOPMOST


class WindowReader:
    def __init__(self, desktop, exe):
        self.desktop = desktop
        self.exe = exe
        self.out = os.path.join(desktop.logdir, "window.txt")
        # Wine centres the pointer whenever it makes a new desktop, which it does again when
        # a program starts after all others have ended a while ago; a program that stays for
        # the whole session keeps the pointer where the test puts it. The centring comes
        # shortly after the desktop exists (and not at all if it existed already).
        desktop.xdotool("mousemove", 1, 1)
        desktop.start(exe, "--hold")
        self("")
        wait_for(lambda: desktop.pointer() != (1, 1), 2, 0.05)

    def __call__(self, caption, wait_ms=0, control=0):
        """A Snapshot of the visible window titled caption (and holding the control of that
        id, if given), or None when there is none."""
        if os.path.exists(self.out):
            os.unlink(self.out)
        status = self.desktop.run(self.exe, caption, to_wine_path(self.out), str(wait_ms),
                                  str(control), timeout=30 + wait_ms / 1000)
        if status == 1:
            return None
        if status != 0:
            raise HarnessError(f"window reader failed with status {status}")
        with open(self.out, encoding="ascii") as f:
            return Snapshot(f.read())


def wait_for(predicate, timeout, interval=0.1):
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            return value
        time.sleep(interval)
