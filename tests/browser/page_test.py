#!/usr/bin/env python3
"""The page as its readers meet it: vellumor-join writes a page of a handful of files chosen to
catch escaping faults, headless Chromium opens it, and what a reader sees is checked: the
character set, the title, where each contents link and each up/down link lands, that no
markup of a file or a name became an element, and that each table's cell shows the file's
text, decoded from Shift_JIS, with CR LF, CR and LF each a line break and each space a
no-break space.

Usage: page_test.py VELLUMOR_JOIN
The browser is driven through its DevTools pipe (file descriptors 3 and 4) with nothing but
the standard library.
"""
import fcntl
import json
import os
import re
import select
import shutil
import subprocess
import sys
import tempfile
import time

# Japanese prose: 表, ソ, 能 and ポ have 0x5C or 0x7C as their second byte, 　 (U+3000) is
# the full-width space, ｱｲｳ are half-width kana.
PROSE = ("吾輩は猫である。名前はまだ無い。表示の能力、ソース、ポット。"
         "　全角の空白と ASCII の空白、ｱｲｳ。")


def big_file():
    # Japanese lines with CR LF, laid so that a CR is the last byte of the writer's first
    # 64 KiB read and its LF the first of the next; then LF-only lines.
    line = PROSE.encode("cp932") + b"\r\n"
    head = line * (65536 // len(line))
    head += b"x" * (65535 - len(head)) + b"\r\n"
    return head + (PROSE.encode("cp932") + b"\n") * 1000


FILES = [
    ("markup.txt", b'<script>alert("x & y")</script> <b>bold</b> &amp; &lt; "q" \'a\' a>b\r\n'
                   b"<!-- c --></TD></TR></TABLE><P>out</P><A NAME=\"00000000\">x</A>\r\n"),
    ("spaces.txt", b"a  b   c\t\td\r\n  two leading\r\n\ttab first\r\ntrailing  \r\n \t \r\n"
                   b"\t\r\n\r\nend"),
    ("line-ends.txt", b"crlf\r\ncr\rlf\nlf twice\n\ncr twice\r\rcrlf lf\r\n\nlf cr\n\rend\r"),
    ("malformed.txt", b"\x81<b>x</b>\x81\r\n\x85\x40y \xa0\xfd\x81 z\x81\nhalf \xb1\xb2\xb3\r\n"
                      b"\x83\x5c\x83\x7c\x95\x5c end\x81"),
    ("japanese.txt", big_file()),
]
if os.name == "posix":
    FILES.append(('<img src=x onerror="alert(1)">&.txt', b"a name with markup\r\n"))
OUTPUT = '<i>"page"&.html' if os.name == "posix" else "page.html"


def whatwg_shift_jis(data):
    """Decodes as a browser does (the WHATWG Shift_JIS decoder): an invalid pair gives U+FFFD
    and, when its second byte is ASCII, that byte is read again on its own."""
    out, i = [], 0
    while i < len(data):
        b = data[i]
        if b < 0x80:
            out.append(chr(b))
        elif 0xA1 <= b <= 0xDF:
            out.append(chr(0xFF61 - 0xA1 + b))
        elif 0x81 <= b <= 0x9F or 0xE0 <= b <= 0xFC:
            if i + 1 == len(data):
                out.append("\ufffd")
            else:
                try:
                    out.append(data[i:i + 2].decode("cp932"))
                    i += 1
                except UnicodeDecodeError:
                    out.append("\ufffd")
                    if data[i + 1] >= 0x80:
                        i += 1
        else:
            out.append("\ufffd" if b != 0x80 else "\x80")
        i += 1
    return "".join(out)


def seen(data):
    """The text a reader sees of a file: its lines, each space a no-break space, and tabs
    white space a browser collapses (a run is one space, none at either end of a line)."""
    lines = re.split("\r\n|\r|\n", whatwg_shift_jis(data))
    return "\n".join(re.sub("\t+", " ", l.replace(" ", "\xa0")).strip(" ") for l in lines)


class Browser:
    """Headless Chromium on its DevTools pipe: one page, attached as a flat session."""

    def __init__(self, folder):
        exe = shutil.which("chromium") or shutil.which("chromium-browser")
        if exe is None:
            sys.exit("page_test: no chromium here (scripts/setup installs Debian's chromium)")
        to_browser, self.commands = os.pipe()
        self.replies, from_browser = os.pipe()
        # Out of the way of 3 and 4 until the child puts them there.
        ends = [fcntl.fcntl(fd, fcntl.F_DUPFD_CLOEXEC, 10) for fd in (to_browser, from_browser)]

        def child():
            os.dup2(ends[0], 3)
            os.dup2(ends[1], 4)

        flags = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update",
                 "--disable-sync", "--user-data-dir=" + os.path.join(folder, "profile"), "--remote-debugging-pipe"]
        self.log = open(os.path.join(folder, "browser.log"), "w")
        self.process = subprocess.Popen([exe] + flags + ["about:blank"], preexec_fn=child,
                                        close_fds=False, stdin=subprocess.DEVNULL,
                                        stdout=self.log, stderr=self.log)
        for fd in [to_browser, from_browser] + ends:
            os.close(fd)
        self.buffer, self.last, self.session = b"", 0, None
        self.dialogs = []  # what scripts of the page said with alert() and the like

    def send(self, method, params=None):
        self.last += 1
        message = {"id": self.last, "method": method, "params": params or {}}
        if self.session:
            message["sessionId"] = self.session
        os.write(self.commands, json.dumps(message).encode() + b"\0")
        return self.last

    def receive(self, deadline):
        while b"\0" not in self.buffer:
            if not select.select([self.replies], [], [], max(0, deadline - time.time()))[0]:
                raise RuntimeError("the browser did not answer in time")
            data = os.read(self.replies, 1 << 20)
            if not data:
                raise RuntimeError("the browser closed its pipe")
            self.buffer += data
        message, _, self.buffer = self.buffer.partition(b"\0")
        message = json.loads(message)
        if message.get("method") == "Page.javascriptDialogOpening":
            # A script of the page runs: note it, and close the dialog that would hold the page.
            self.dialogs.append(message["params"]["message"])
            self.send("Page.handleJavaScriptDialog", {"accept": True})
        return message

    def call(self, method, params=None, timeout=30):
        sent, deadline = self.send(method, params), time.time() + timeout
        while True:
            message = self.receive(deadline)
            if message.get("id") == sent:
                if "error" in message:
                    raise RuntimeError("%s: %s" % (method, message["error"]))
                return message["result"]

    def open(self, url):
        target = self.call("Target.createTarget", {"url": "about:blank"})["targetId"]
        self.session = self.call("Target.attachToTarget",
                                 {"targetId": target, "flatten": True})["sessionId"]
        self.call("Page.enable")
        self.send("Page.navigate", {"url": url})
        deadline = time.time() + 30
        while self.receive(deadline).get("method") != "Page.loadEventFired":
            pass

    def evaluate(self, expression):
        result = self.call("Runtime.evaluate", {"expression": expression, "returnByValue": True})
        if "exceptionDetails" in result:
            raise RuntimeError("script failed: %s" % result["exceptionDetails"])
        return result["result"]["value"]

    def close(self):
        try:
            self.session = None
            self.call("Browser.close", timeout=10)
            self.process.wait(timeout=10)
        except (RuntimeError, OSError, subprocess.TimeoutExpired):
            self.process.kill()
            self.process.wait()
        os.close(self.commands)
        os.close(self.replies)
        self.log.close()


# What the reader meets, gathered in the page: each link is followed with a click, and the
# element it lands on (the :target) is named by the table that holds it.
READER = r"""(() => {
    const tables = [...document.querySelectorAll('table')];
    const follow = a => {
        a.click();
        const at = document.querySelector(':target');
        if (!at) return null;
        const box = at.getBoundingClientRect();
        return {table: tables.indexOf(at.closest('table')),
                inView: box.top >= 0 && box.bottom <= innerHeight};
    };
    const contents = document.querySelector('p');
    return {
        charset: document.characterSet,
        title: document.title,
        elements: [...document.querySelectorAll('*')].map(e => e.localName)
                      .filter((n, i, all) => all.indexOf(n) === i).sort(),
        paragraphs: document.querySelectorAll('p').length,
        contents: [...contents.querySelectorAll('a[href]')].map(
            a => ({name: a.innerText, lands: follow(a)})),
        tables: tables.map(t => ({
            name: t.querySelector('caption a[name]').innerText,
            links: [...t.querySelectorAll('caption a[href]')].map(
                a => ({mark: a.innerText, lands: follow(a)})),
            text: t.querySelector('td').innerText,
        })),
    };
})()"""


def check(page, problems):
    def expect(what, got, wanted):
        if got != wanted:
            problems.append("%s: got %r, wanted %r" % (what, got, wanted))

    expect("dialogs opened by scripts of the page", page["dialogs"], [])
    expect("character set", page["charset"], "Shift_JIS")
    expect("title", page["title"], OUTPUT)
    # Only the page's own markup: a file's or a name's markup is text.
    expect("elements", page["elements"], ["a", "body", "br", "caption", "font", "head", "html",
                                          "meta", "p", "table", "tbody", "td", "title", "tr"])
    expect("paragraphs", page["paragraphs"], 1)
    names = [name for name, _ in FILES]
    expect("contents", [c["name"] for c in page["contents"]], names)
    for i, c in enumerate(page["contents"]):
        expect("contents link %d lands" % i, c["lands"], {"table": i, "inView": True})
    expect("tables", [t["name"] for t in page["tables"]], names)
    for i, table in enumerate(page["tables"][:len(FILES)]):
        wanted = ([{"mark": "\u2191", "lands": {"table": i - 1, "inView": True}}] if i > 0 else []
                  ) + ([{"mark": "\u2193", "lands": {"table": i + 1, "inView": True}}]
                       if i < len(FILES) - 1 else [])
        expect("links of table %d" % i, table["links"], wanted)
        expect("text of %s" % names[i], table["text"], seen(FILES[i][1]))


def main():
    started = time.time()
    with tempfile.TemporaryDirectory(prefix="vellumor-page-") as folder:
        paths = []
        for name, data in FILES:
            paths.append(os.path.join(folder, name))
            with open(paths[-1], "wb") as f:
                f.write(data)
        output = os.path.join(folder, OUTPUT)
        subprocess.run([sys.argv[1], "--html", "-o", output] + paths, check=True)
        browser = Browser(folder)
        try:
            browser.open("file://" + output.replace("%", "%25").replace('"', "%22")
                           .replace("<", "%3C").replace(">", "%3E"))
            page = browser.evaluate(READER)
            page["dialogs"] = browser.dialogs
        finally:
            browser.close()
    problems = []
    check(page, problems)
    for p in problems:
        print("page_test:", p[:2000])
    print("page_test: %d files, %s (%.1f s)" % (len(FILES), "FAILED" if problems else "passed",
                                                 time.time() - started))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
