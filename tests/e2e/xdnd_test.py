"""The test's drag source against a real Wine window: a probe whose list box accepts files
and writes down every name that arrives with WM_DROPFILES. If this fails, the end-to-end
test's drops cannot be trusted either."""

import os
import shutil
import sys
import tempfile
import time
import unittest

sys.dont_write_bytecode = True  # nothing of ours in the source tree
import harness  # noqa: E402
import xdnd  # noqa: E402

PROBE = os.environ.get("VELLUMOR_E2E_PROBE")
READER = os.environ.get("VELLUMOR_E2E_READER")
PREFIX = os.environ.get("WINEPREFIX")


@unittest.skipUnless(PROBE and READER and PREFIX, "needs the win64 build (run through ctest)")
class DropOntoWineWindow(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.desktop = harness.Desktop(PREFIX)
        cls.dir = tempfile.mkdtemp(prefix="vellumor-xdnd-")
        try:
            cls.look = harness.WindowReader(cls.desktop, READER)
            cls.log = os.path.join(cls.dir, "drops.log")
            cls.probe = cls.desktop.start(PROBE, harness.to_wine_path(cls.log))
            cls.window = cls.look("drop probe", wait_ms=15000)
            if cls.window is None:
                raise RuntimeError("the probe window did not appear")
        except BaseException:
            cls.tearDownClass()
            raise

    @classmethod
    def tearDownClass(cls):
        cls.desktop.close()
        shutil.rmtree(cls.dir, ignore_errors=True)

    def make(self, name, content=b"x\r\n"):
        path = os.path.join(self.dir, name)
        with open(path, "wb") as f:
            f.write(content)
        return path

    def logged_drops(self):
        if not os.path.exists(self.log):
            return []
        with open(self.log, "rb") as f:
            text = f.read()
        drops = text.split(b"--\n")[:-1]
        return [d.splitlines() for d in drops]

    def drop_and_read(self, paths, point):
        before = len(self.logged_drops())
        self.desktop.drop_files(paths, *point)
        drops = harness.wait_for(lambda: self.logged_drops()[before:], 5)
        self.assertEqual(len(drops), 1, "exactly one WM_DROPFILES per drop")
        return drops[0]

    def list_point(self):
        return self.window.controls[1028].center

    def test_names_arrive_as_shift_jis_wine_paths_in_the_offered_order(self):
        # Japanese names, one whose Shift_JIS has a 0x5C trail byte (表, ソ), and characters
        # a URI must escape (space, %, #).
        names = ["zeta.txt", "日本語 テスト.txt", "表示ソ%#.txt", "A.TXT"]
        paths = [self.make(n) for n in names]
        got = self.drop_and_read(paths, self.list_point())
        self.assertEqual(got, [harness.sjis(harness.to_wine_path(p)) for p in paths])

    def test_the_probe_list_shows_what_was_dropped(self):
        path = self.make("見える.txt")
        self.drop_and_read([path], self.list_point())
        snapshot = self.look("drop probe")
        self.assertIn(harness.sjis(harness.to_wine_path(path)), snapshot.lists[1028].items)

    def test_a_window_part_that_takes_no_files_refuses_the_drop(self):
        path = self.make("refused.txt")
        before = len(self.logged_drops())
        x, y, w, h = self.window.client
        # Below the list: the frame's client area, which does not accept files.
        list_bottom = sum(self.window.controls[1028].rect[1::2])
        self.assertLess(list_bottom + 5, y + h)
        with self.assertRaises(xdnd.DropError):
            self.desktop.drop_files([path], x + 5, list_bottom + 5)
        time.sleep(0.5)
        self.assertEqual(len(self.logged_drops()), before)

    def test_no_window_under_the_point_is_reported(self):
        x, y, w, h = self.window.rect
        with self.assertRaises(xdnd.DropError):
            self.desktop.drop_files([self.make("nowhere.txt")], x + w + 200, y + h + 200)


class UriList(unittest.TestCase):
    def test_paths_become_escaped_utf8_file_uris_one_per_line(self):
        body = xdnd.file_uri_list(["/tmp/a b/日.txt", "/x/%#?.txt"])
        self.assertEqual(body, b"file:///tmp/a%20b/%E6%97%A5.txt\r\nfile:///x/%25%23%3F.txt\r\n")


if __name__ == "__main__":
    harness.run_tests()
