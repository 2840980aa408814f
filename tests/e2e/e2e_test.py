"""The whole program, driven from outside under Wine and Xvfb as a user drives it.

Files are dropped on the list from the X11 desktop (XDND), entries are reordered by dragging
them with the mouse and with Alt+arrows, one is deleted with Delete, the output name is typed,
the format clicked and OK pressed. The output must be byte for byte what the command-line
tool writes for the same files in the same order, and the settings file must hold what the
window was; the next start must apply what the settings file holds.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

sys.dont_write_bytecode = True  # nothing of ours in the source tree
import harness  # noqa: E402
from harness import sjis, to_wine_path  # noqa: E402

APP = os.environ.get("VELLUMOR_E2E_APP")
READER = os.environ.get("VELLUMOR_E2E_READER")
JOIN_NATIVE = os.environ.get("VELLUMOR_E2E_JOIN_NATIVE")
JOIN_WINDOWS = os.environ.get("VELLUMOR_E2E_JOIN_WINDOWS")
CLIPBOARD = os.environ.get("VELLUMOR_E2E_CLIPBOARD")
PREFIX = os.environ.get("WINEPREFIX")
# A folder to keep a screenshot of each step in, for looking into a failure.
SHOTS = os.environ.get("VELLUMOR_E2E_SHOTS")

IDOK, IDCANCEL = 1, 2
IDC_FILELIST, IDC_BROWSE, IDC_SAVENAME = 1028, 1044, 1045
IDC_FORMAT_TEXT, IDC_FORMAT_HTML, IDC_FORMAT_GROUP = 1046, 1047, 1048
MESSAGE_TEXT = 0xFFFF  # the text of a message box

# The HTML page's name, typed as a user types it: Japanese, with a 0x5C second byte (表).
OUTPUT_NAME_HTML = "連結表.html"

KEY_TOPMOST = "常に最前面に表示"
KEY_MAXIMIZED = "最大化"
KEY_HEIGHT = "高さ"
KEY_WIDTH = "幅"

# Contents that the page writer must escape or carry through: spaces, tabs, markup
# characters, CR LF and bare LF line ends, a 0x5C second byte (表, ソ) and a lead byte at
# the very end of a file.
CONTENTS = {
    "alpha.txt": b"alpha  two spaces\r\n<tag> & \"quoted\"\r\n",
    "Bravo.TXT": b"bravo\tafter a tab\nbare LF line\n",
    "charlie.txt": b"",
    "delta.txt": sjis("デルタ: 表示とソース\r\n") + b"ends with a lead byte \x83",
    "日本語メモ.txt": sjis("日本語のメモ。\r\n「かぎかっこ」と 全角スペース　も\r\n"),
    "表示ソース.txt": sjis("表示ソース\\パス\r\n") + b"a|b\r\n",
}


def ini_bytes(topmost, maximized, height, width):
    """The settings file as a fresh run writes it: one section, four keys in order."""
    lines = [b"[vellumor]"] + [sjis(k) + b"=" + str(v).encode() for k, v in (
        (KEY_TOPMOST, topmost), (KEY_MAXIMIZED, maximized), (KEY_HEIGHT, height),
        (KEY_WIDTH, width))]
    return b"".join(line + b"\r\n" for line in lines)


def placed_near_cursor(cursor, size, work):
    """Where a window of this size opens: centred on the cursor, inside the work area."""
    wx, wy, ww, wh = work
    x, y = cursor[0] - size[0] // 2, cursor[1] - size[1] // 2
    x = wx + ww - size[0] if x + size[0] > wx + ww else x
    x = wx if x < wx else x
    y = wy + wh - size[1] if y + size[1] > wy + wh else y
    y = wy if y < wy else y
    return x, y


@unittest.skipUnless(APP and READER and PREFIX and (JOIN_NATIVE or JOIN_WINDOWS),
                     "needs the win64 build with the program (run through ctest)")
class EndToEnd(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.desktop = harness.Desktop(PREFIX)
        try:
            cls.desktop.bind_keys(OUTPUT_NAME_HTML)
            cls.look = harness.WindowReader(cls.desktop, READER)
        except BaseException:
            cls.desktop.close()
            raise

    @classmethod
    def tearDownClass(cls):
        cls.desktop.close()

    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="vellumor-e2e-")
        self.addCleanup(shutil.rmtree, self.dir, True)
        # A copy of the program in a folder of its own, so that its settings file is the
        # test's and not the build's.
        self.appdir = os.path.join(self.dir, "app")
        os.makedirs(self.appdir)
        self.exe = os.path.join(self.appdir, "vellumor.exe")
        shutil.copy(APP, self.exe)
        self.ini = os.path.join(self.appdir, "vellumor.ini")
        self.indir = os.path.join(self.dir, "in")
        os.makedirs(self.indir)
        self.files = {}
        for name, content in CONTENTS.items():
            path = os.path.join(self.indir, name)
            with open(path, "wb") as f:
                f.write(content)
            self.files[name] = path
        self.process = None

    def tearDown(self):
        if self.process is not None and self.process.poll() is None:
            self.process.kill()
            self.process.wait()

    # --- the user's actions -------------------------------------------------------------

    def start(self, cursor, *args, cwd=None):
        """Starts the program with the pointer at cursor; its window as first shown."""
        self.desktop.move_pointer(*cursor)
        self.process = self.desktop.start(self.exe, *args, cwd=cwd)
        shown = self.look("vellumor", wait_ms=20000, control=IDC_FILELIST)
        self.assertIsNotNone(shown, "the window did not appear")
        return shown

    def snap(self):
        if SHOTS:
            os.makedirs(SHOTS, exist_ok=True)
            self.shots = getattr(self, "shots", 0) + 1
            name = f"{self._testMethodName}-{self.shots:02}.png"
            self.desktop.screenshot(os.path.join(SHOTS, name))
        s = self.look("vellumor", control=IDC_FILELIST)
        self.assertIsNotNone(s, "the window is gone")
        return s

    def settled(self, ready, timeout=5.0):
        """The first snapshot for which ready holds and which the next one repeats."""
        deadline = time.monotonic() + timeout
        last = self.snap()
        while time.monotonic() < deadline:
            time.sleep(0.2)
            s = self.snap()
            if ready(s) and (s.rect, s.client) == (last.rect, last.client):
                return s
            last = s
        return last

    def entries(self, snapshot=None):
        return (snapshot or self.snap()).lists[IDC_FILELIST].items

    def wait_for_entries(self, count, timeout=5):
        """The window once its list holds count entries (a drop is handled after the drag
        source has been told it is done), or as it is when the time is up."""
        deadline = time.monotonic() + timeout
        while True:
            s = self.snap()
            if len(self.entries(s)) >= count or time.monotonic() > deadline:
                return s
            time.sleep(0.2)

    def click(self, x, y):
        self.desktop.xdotool("mousemove", x, y)
        self.desktop.xdotool("click", 1)

    def click_control(self, snapshot, control_id):
        self.click(*snapshot.controls[control_id].center)

    def drag(self, start, end, steps=6):
        d = self.desktop
        d.xdotool("mousemove", *start)
        d.xdotool("mousedown", 1)
        time.sleep(0.1)
        for i in range(1, steps + 1):
            d.xdotool("mousemove", start[0] + (end[0] - start[0]) * i // steps,
                      start[1] + (end[1] - start[1]) * i // steps)
            time.sleep(0.05)
        time.sleep(0.1)
        d.xdotool("mouseup", 1)
        time.sleep(0.2)

    def row_point(self, snapshot, row, upper=False):
        """A point on the list's row; the upper part of a row is the gap above that entry."""
        lst = snapshot.lists[IDC_FILELIST]
        cx, cy, cw, ch = snapshot.controls[IDC_FILELIST].client
        h = lst.item_height
        y = cy + (row - lst.top) * h + (h // 4 if upper else h // 2)
        self.assertLess(y, cy + ch, f"row {row} is not visible in the list")
        return cx + min(40, cw // 2), y

    def drag_entry(self, snapshot, source, gap):
        self.drag(self.row_point(snapshot, source), self.row_point(snapshot, gap, upper=True))

    def keys(self, snapshot, *keys):
        self.desktop.xdotool("windowfocus", "--sync", snapshot.xid)
        for k in keys:
            self.desktop.xdotool("key", "--clearmodifiers", k)
            time.sleep(0.1)

    def copy_files_in_windows(self, names):
        """Puts the files on the clipboard as the Windows shell's Copy does."""
        status = self.desktop.run(CLIPBOARD, *(to_wine_path(self.files[n]) for n in names))
        self.assertEqual(status, 0, "the files could not be put on the clipboard")

    def resize_by(self, snapshot, dx, dy):
        x, y, w, h = snapshot.rect
        self.drag((x + w - 2, y + h - 2), (x + w - 2 + dx, y + h - 2 + dy), steps=8)

    def wait_for_exit(self, timeout=20):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            self.fail(f"the program did not end within {timeout} s")

    # --- expectations -------------------------------------------------------------------

    def entry(self, name):
        return sjis(to_wine_path(self.files[name]))

    def expected_join(self, names, output_name, html):
        """What the command-line tool writes for these files, in this order."""
        outdir = os.path.join(self.dir, "expected")
        os.makedirs(outdir, exist_ok=True)
        output = os.path.join(outdir, output_name)
        # The page's title is the output's name: for the native tool, in Shift_JIS bytes too.
        native_output = os.path.join(outdir.encode(), sjis(output_name))
        flags = ["--html"] if html else []
        if JOIN_NATIVE and os.path.exists(JOIN_NATIVE):
            # The native tool names each file by its Linux name; a mirror whose names are the
            # Shift_JIS bytes the program sees makes the titles and captions comparable.
            mirror = os.path.join(outdir, "mirror").encode()
            os.makedirs(mirror, exist_ok=True)
            paths = []
            for n in names:
                p = os.path.join(mirror, sjis(n))
                shutil.copyfile(self.files[n], p)
                paths.append(p)
            r = subprocess.run([JOIN_NATIVE, *flags, "-o", native_output, *paths],
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE)
            output = native_output
        else:
            r = subprocess.run([harness.WINE_RUN, JOIN_WINDOWS, *flags, "-o",
                                to_wine_path(output), *(to_wine_path(self.files[n]) for n in names)],
                               env=self.desktop.env, stdin=subprocess.DEVNULL,
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        self.assertEqual(r.returncode, 0, r.stderr.decode(errors="replace"))
        with open(output, "rb") as f:
            return f.read()

    def read(self, path):
        self.assertTrue(os.path.exists(path), f"{path} was not written")
        with open(path, "rb") as f:
            return f.read()

    def assert_same_bytes(self, got, want, what):
        if got != want:
            at = next((i for i, (a, b) in enumerate(zip(got, want)) if a != b),
                      min(len(got), len(want)))
            around = slice(max(0, at - 60), at + 60)
            self.fail(f"{what} differs at byte {at} (lengths {len(got)}, {len(want)}):\n"
                      f"got  {got[around]!r}\nwant {want[around]!r}")

    def assert_list(self, snapshot, names, selected=None):
        self.assertEqual(self.entries(snapshot), [self.entry(n) for n in names])
        if selected is not None:
            self.assertEqual(snapshot.lists[IDC_FILELIST].cursel, selected, "selected entry")

    # --- the runs -----------------------------------------------------------------------

    def test_html_join_of_a_list_built_by_dropping_dragging_and_keys(self):
        cursor = (400, 300)
        s = self.start(cursor)

        # As the window opens: nothing to join yet, plain text chosen, placed on the cursor.
        self.assertEqual(s.caption, b"vellumor")
        self.assertFalse(s.controls[IDOK].enabled, "OK before a name is typed")
        self.assertEqual((s.controls[IDC_FORMAT_TEXT].check, s.controls[IDC_FORMAT_HTML].check),
                         (1, 0))
        self.assertEqual(self.entries(s), [])
        self.assertFalse(s.topmost)
        self.assertEqual(s.rect[:2], placed_near_cursor(cursor, s.rect[2:], s.workarea))
        template = s.rect[2:]

        # Made larger by its corner, so that every entry is in view; the list and the
        # buttons follow the edges, the format choice stays where it is.
        self.resize_by(s, 150, 110)
        r = self.snap()
        self.assertEqual(r.rect[2:], (template[0] + 150, template[1] + 110))
        moved = {i: (r.controls[i].rect[0] - s.controls[i].rect[0],
                     r.controls[i].rect[1] - s.controls[i].rect[1],
                     r.controls[i].rect[2] - s.controls[i].rect[2],
                     r.controls[i].rect[3] - s.controls[i].rect[3]) for i in s.controls}
        self.assertEqual(moved[IDC_SAVENAME], (0, 0, 150, 0))
        self.assertEqual(moved[IDC_BROWSE], (150, 0, 0, 0))
        self.assertEqual(moved[IDC_FILELIST], (0, 0, 150, 110))
        self.assertEqual(moved[IDOK], (150, 110, 0, 0))
        self.assertEqual(moved[IDCANCEL], (150, 110, 0, 0))
        for still in (IDC_FORMAT_GROUP, IDC_FORMAT_TEXT, IDC_FORMAT_HTML):
            self.assertEqual(moved[still], (0, 0, 0, 0), f"control {still}")

        # Three files dropped at once land in the list's sorted order, whatever the order
        # the desktop offers them in.
        list_centre = r.controls[IDC_FILELIST].center
        self.desktop.drop_files([self.files[n] for n in ("charlie.txt", "alpha.txt", "Bravo.TXT")],
                                *list_centre)
        r = self.wait_for_entries(3)
        self.assert_list(r, ["alpha.txt", "Bravo.TXT", "charlie.txt"])

        # A second drop with Japanese names, a file already listed and a folder: the new
        # files are added, the duplicate and the folder are not.
        folder = os.path.join(self.indir, "folder.txt")
        os.makedirs(folder)
        second = [self.files["日本語メモ.txt"], self.files["alpha.txt"], folder,
                  self.files["表示ソース.txt"], self.files["delta.txt"]]
        self.desktop.drop_files(second, *list_centre)
        r = self.wait_for_entries(6)
        listed = self.entries(r)
        self.assertEqual(sorted(listed), sorted(self.entry(n) for n in CONTENTS))
        order = [next(n for n in CONTENTS if self.entry(n) == e) for e in listed]

        # The last entry dragged up onto the gap above the second; the first dragged down
        # onto the gap above the fifth, which puts it fourth; the second dragged into the
        # empty space below the entries, which puts it last.
        self.drag_entry(r, 5, 1)
        order.insert(1, order.pop(5))
        r = self.snap()
        self.assert_list(r, order, selected=1)
        self.drag_entry(r, 0, 4)
        order.insert(3, order.pop(0))
        r = self.snap()
        self.assert_list(r, order, selected=3)
        self.drag_entry(r, 1, 6)
        order.append(order.pop(1))
        r = self.snap()
        self.assert_list(r, order, selected=5)

        # Alt+Down does nothing on the last entry; Alt+Up twice and Alt+Down move the
        # selected entry, and the selection with it.
        self.keys(r, "alt+Down")
        r = self.snap()
        self.assert_list(r, order, selected=5)
        self.keys(r, "alt+Up", "alt+Up")
        order.insert(3, order.pop(5))
        r = self.snap()
        self.assert_list(r, order, selected=3)
        self.keys(r, "alt+Down")
        order.insert(4, order.pop(3))
        r = self.snap()
        self.assert_list(r, order, selected=4)

        # Delete removes the selected entry and selects the one that takes its place; after
        # Up, Backspace removes the entry above it and selects the one before that.
        self.keys(r, "Delete")
        del order[4]
        r = self.snap()
        self.assert_list(r, order, selected=4)
        self.keys(r, "Up", "BackSpace")
        del order[3]
        r = self.snap()
        self.assert_list(r, order, selected=2)

        # The output name typed into 保存名 enables OK; HTML chosen with the mouse. The name
        # becomes the page's title.
        outdir = os.path.join(self.dir, "out")
        os.makedirs(outdir)
        output = os.path.join(outdir, OUTPUT_NAME_HTML)
        self.click_control(r, IDC_SAVENAME)
        self.keys(r)
        self.desktop.type_text(to_wine_path(output))
        self.click_control(r, IDC_FORMAT_HTML)
        r = self.snap()
        self.assertEqual(r.controls[IDC_SAVENAME].text, sjis(to_wine_path(output)))
        self.assertTrue(r.controls[IDOK].enabled, "OK once a name is typed")
        self.assertEqual((r.controls[IDC_FORMAT_TEXT].check, r.controls[IDC_FORMAT_HTML].check),
                         (0, 1))
        self.assert_list(r, order)

        self.click_control(r, IDOK)
        self.wait_for_exit()
        self.assert_same_bytes(self.read(output), self.expected_join(order, OUTPUT_NAME_HTML, True),
                               "the HTML page")
        width, height = r.rect[2:]
        self.assert_same_bytes(self.read(self.ini), ini_bytes(0, 0, height, width),
                               "the settings file")

    def test_stored_size_and_topmost_apply_at_start_then_a_plain_join_after_a_failed_one(self):
        with open(self.ini, "wb") as f:
            f.write(ini_bytes(2, 0, 420, 560))
        # Near the bottom-right corner: the window must stay inside the work area.
        cursor = (1000, 740)
        s = self.start(cursor)
        self.assertEqual(s.rect[2:], (560, 420))
        self.assertEqual(self.desktop.x_geometry(s.xid)[2:], (560, 420))
        self.assertEqual(s.rect[:2], placed_near_cursor(cursor, (560, 420), s.workarea))
        wx, wy, ww, wh = s.workarea
        self.assertEqual((s.rect[0] + 560, s.rect[1] + 420), (wx + ww, wy + wh))
        self.assertTrue(s.topmost, "a nonzero stored value puts the window on top")

        # The system menu's item turns always-on-top off.
        self.keys(s, "alt+space")
        time.sleep(0.3)
        self.keys(s, "t")
        r = self.snap()
        self.assertFalse(r.topmost, "toggled off from the system menu")

        names = ["日本語メモ.txt", "alpha.txt", "表示ソース.txt"]
        self.desktop.drop_files([self.files[n] for n in names], *r.controls[IDC_FILELIST].center)
        r = self.wait_for_entries(3)
        order = [next(n for n in CONTENTS if self.entry(n) == e) for e in self.entries(r)]
        self.assertEqual(sorted(order), sorted(names))

        # A right click on the first entry, then 削除(&D) in its menu.
        self.desktop.xdotool("mousemove", *self.row_point(r, 0))
        self.desktop.xdotool("click", 3)
        time.sleep(0.3)
        self.keys(r, "d")
        del order[0]
        r = self.snap()
        self.assert_list(r, order)

        # An output in a folder that does not exist: the window comes back as it was, with a
        # message in Japanese that names the file.
        missing = os.path.join(self.dir, "no-such-folder", "joined.txt")
        self.click_control(r, IDC_SAVENAME)
        self.keys(r)
        self.desktop.type_text(to_wine_path(missing))
        self.click_control(r, IDOK)
        box = self.look("vellumor", wait_ms=10000, control=MESSAGE_TEXT)
        self.assertIsNotNone(box, "no message about the output that could not be written")
        message = box.controls[MESSAGE_TEXT].text
        self.assertIn(sjis(to_wine_path(missing)), message)
        self.assertIn(sjis("書き込め"), message)
        self.keys(box, "Return")
        self.assertTrue(harness.wait_for(
            lambda: self.look("vellumor", control=MESSAGE_TEXT) is None, 5, 0.2),
            "the message stays after Return")
        r = self.snap()
        self.assertIsNone(self.process.poll(), "the program ended after a failed join")
        self.assert_list(r, order)
        self.assertEqual(r.controls[IDC_SAVENAME].text, sjis(to_wine_path(missing)))
        self.assertEqual(r.controls[IDC_FORMAT_TEXT].check, 1)

        # The name put right: the field comes back selected, so typing replaces it.
        output = os.path.join(self.dir, "out", "joined.txt")
        os.makedirs(os.path.dirname(output))
        self.keys(r)
        self.desktop.type_text(to_wine_path(output))
        r = self.snap()
        self.assertEqual(r.controls[IDC_SAVENAME].text, sjis(to_wine_path(output)))
        self.click_control(r, IDOK)
        self.wait_for_exit()
        self.assert_same_bytes(self.read(output), self.expected_join(order, "joined.txt", False),
                               "the joined text")
        self.assert_same_bytes(self.read(self.ini), ini_bytes(0, 0, 420, 560), "the settings file")

    # "Send to" and a drop on the program's icon start it with the files as arguments; files
    # copied in the shell are pasted into the list. Both go the way of a drop.
    @unittest.skipUnless(CLIPBOARD, "needs the clipboard helper")
    def test_files_from_the_command_line_and_pasted_then_a_plain_join(self):
        spaced = "名前 と 空白.txt"
        self.files[spaced] = os.path.join(self.indir, spaced)
        with open(self.files[spaced], "wb") as f:
            f.write(sjis("空白入りの名前\r\n"))
        folder = os.path.join(self.indir, "folder.txt")
        os.makedirs(folder)
        # The nearest character the code page has would name another file: café as cafe.
        with open(os.path.join(self.indir, "cafe.txt"), "wb") as f:
            f.write(b"not this one\r\n")
        with open(os.path.join(self.indir, "café.txt"), "wb") as f:
            f.write(b"nor this one\r\n")
        memo = to_wine_path(self.files["日本語メモ.txt"])
        args = [memo, to_wine_path(self.files[spaced]), to_wine_path(folder),
                to_wine_path(os.path.join(self.indir, "missing.txt")), "bravo.txt",
                memo.upper(), to_wine_path(os.path.join(self.indir, "café.txt"))]
        s = self.start((400, 300), *args, cwd=self.indir)
        s = self.wait_for_entries(3)
        self.assertEqual(sorted(self.entries(s)),
                         sorted(self.entry(n) for n in ("日本語メモ.txt", spaced, "Bravo.TXT")))

        # Ctrl+V in the list pastes; a file already listed stays once. Then Shift+Insert
        # pastes what was copied on the X11 desktop, which Wine hands over the same way.
        self.click(*self.row_point(s, 0))
        self.copy_files_in_windows(["alpha.txt", "日本語メモ.txt", "表示ソース.txt"])
        self.keys(s, "ctrl+v")
        s = self.wait_for_entries(5)
        self.assertEqual(len(self.entries(s)), 5)
        self.desktop.copy_files([self.files["delta.txt"], self.files["alpha.txt"]])
        self.keys(s, "shift+Insert", "ctrl+v")
        s = self.wait_for_entries(6)
        order = [next(n for n in self.files if self.entry(n) == e) for e in self.entries(s)]
        self.assertEqual(sorted(order), sorted(["日本語メモ.txt", spaced, "Bravo.TXT", "alpha.txt",
                                                "表示ソース.txt", "delta.txt"]))

        output = os.path.join(self.dir, "out", "joined.txt")
        os.makedirs(os.path.dirname(output))
        self.click_control(s, IDC_SAVENAME)
        self.keys(s)
        self.desktop.type_text(to_wine_path(output))
        self.click_control(self.snap(), IDOK)
        self.wait_for_exit()
        self.assert_same_bytes(self.read(output), self.expected_join(order, "joined.txt", False),
                               "the joined text")

    # A stored maximised state opens the window maximised; the restored size is the stored
    # one, and a window closed maximised saves both again. (Without a window manager the X
    # window keeps its size while Wine has the dialog maximised, so only Win32 can tell.)
    def test_a_maximised_window_opens_maximised_and_keeps_its_restored_size(self):
        with open(self.ini, "wb") as f:
            f.write(ini_bytes(0, 1, 400, 500))
        cursor = (300, 300)
        self.start(cursor)
        # The window is maximised once it is on screen, a moment after it first appears.
        m = self.settled(lambda s: s.zoomed)
        self.assertTrue(m.zoomed, "opens maximised")
        self.assertFalse(m.topmost)

        # 元のサイズに戻す(&R) from the system menu: the stored size, centred on the pointer.
        # The list shrinks by exactly the change of the client area.
        self.keys(m, "alt+space")
        time.sleep(0.3)
        self.keys(m, "r")
        r = self.snap()
        self.assertFalse(r.zoomed, "restored from the system menu")
        self.assertEqual(r.rect, (*placed_near_cursor(cursor, (500, 400), r.workarea), 500, 400))
        dw, dh = m.client[2] - r.client[2], m.client[3] - r.client[3]
        self.assertGreater(dw, 0)
        self.assertGreater(dh, 0)
        self.assertEqual(m.controls[IDC_FILELIST].rect[2:],
                         (r.controls[IDC_FILELIST].rect[2] + dw,
                          r.controls[IDC_FILELIST].rect[3] + dh))
        def in_client(snapshot, control):
            return (snapshot.controls[control].rect[0] - snapshot.client[0],
                    snapshot.controls[control].rect[1] - snapshot.client[1])

        ok = in_client(r, IDOK)
        self.assertEqual(in_client(m, IDOK), (ok[0] + dw, ok[1] + dh))
        self.assertEqual(in_client(m, IDC_FORMAT_HTML), in_client(r, IDC_FORMAT_HTML))

        # 最大化(&X) again, then Escape, which is Cancel. (The Cancel button of a maximised
        # window lies outside the X window, where no click can reach it.)
        self.keys(r, "alt+space")
        time.sleep(0.3)
        self.keys(r, "x")
        self.assertTrue(self.snap().zoomed, "maximised from the system menu")
        self.keys(r, "Escape")
        self.wait_for_exit()
        self.assert_same_bytes(self.read(self.ini), ini_bytes(0, 1, 400, 500), "the settings file")


if __name__ == "__main__":
    harness.run_tests()
