"""The source side of the X11 drag-and-drop protocol (XDND), for dropping files from a test.

A desktop file manager drops files on a window by offering them as a text/uri-list of
file:// URIs. This module plays that part: it finds the XDND-aware top-level window under a
screen point, moves the pointer there, offers the files, answers the target's requests for
the data and waits until the target reports that the drop is finished. Wine turns such a
drop into WM_DROPFILES for the window under the point that accepts files.

Run as a program: python3 xdnd.py X Y FILE...   (exit status 0 when the target took the drop)
"""

import os
import select
import sys
import time
import urllib.parse

from Xlib import X, Xatom, display as xdisplay, error as xerror, protocol

XDND_VERSION = 5


class DropError(Exception):
    """The drop could not be made or was refused."""


def file_uri_list(paths):
    """The text/uri-list body for local paths: one file:// URI per line, CR LF separated."""
    lines = []
    for p in paths:
        p = os.path.abspath(p)
        raw = p.encode("utf-8") if isinstance(p, str) else p
        lines.append(b"file://" + urllib.parse.quote_from_bytes(raw, safe="/-._~").encode("ascii"))
    return b"".join(line + b"\r\n" for line in lines)


class XdndSource:
    def __init__(self, display_name=None):
        self.d = xdisplay.Display(display_name)
        self.root = self.d.screen().root
        atom = self.d.intern_atom
        self.a = {name: atom(name) for name in (
            "XdndAware", "XdndSelection", "XdndEnter", "XdndPosition", "XdndStatus",
            "XdndDrop", "XdndFinished", "XdndLeave", "XdndActionCopy", "XdndTypeList",
            "text/uri-list", "TARGETS")}
        # The source window never shows: it only owns the selection and receives replies.
        self.win = self.root.create_window(-10, -10, 1, 1, 0, X.CopyFromParent,
                                           override_redirect=True,
                                           event_mask=X.PropertyChangeMask)
        self.requests_served = 0

    def close(self):
        self.win.destroy()
        self.d.close()

    # --- finding the target -------------------------------------------------------------

    def _xdnd_version(self, window):
        try:
            prop = window.get_full_property(self.a["XdndAware"], Xatom.ATOM)
        except xerror.XError:
            return None
        if prop is None or not prop.value:
            return None
        return int(prop.value[0])

    def target_at(self, x, y):
        """The outermost window under (x, y) that announces XdndAware, with its version."""
        window = self.root
        while True:
            reply = window.translate_coords(self.root, x, y)
            child = reply.child
            if not child:
                return None, None
            version = self._xdnd_version(child)
            if version is not None:
                return child, version
            window = child

    # --- the protocol -------------------------------------------------------------------

    def _send(self, target, message, data):
        data = list(data) + [0] * (5 - len(data))
        event = protocol.event.ClientMessage(window=target, client_type=self.a[message],
                                             data=(32, data))
        target.send_event(event, event_mask=0)
        self.d.flush()

    def _server_time(self):
        # A real timestamp, as ICCCM asks of selection owners: touch a property and read the
        # time of the PropertyNotify it causes.
        self.win.change_property(self.a["XdndTypeList"], Xatom.ATOM, 32, [self.a["text/uri-list"]])
        self.d.flush()
        deadline = time.monotonic() + 2
        while time.monotonic() < deadline:
            event = self._next_event(deadline)
            if event is not None and event.type == X.PropertyNotify and event.window == self.win:
                return event.time
            if event is not None:
                self._handle(event)
        return X.CurrentTime

    def _next_event(self, deadline):
        # pending_events() reads what the server has sent without blocking.
        while not self.d.pending_events():
            left = deadline - time.monotonic()
            if left <= 0:
                return None
            select.select([self.d.fileno()], [], [], left)
        return self.d.next_event()

    def _serve_selection(self, req):
        """Answers a SelectionRequest for XdndSelection with the URI list."""
        prop = req.property or req.target
        if req.selection != self.a["XdndSelection"]:
            prop = X.NONE
        elif req.target == self.a["text/uri-list"]:
            req.requestor.change_property(prop, req.target, 8, self.payload)
        elif req.target == self.a["TARGETS"]:
            req.requestor.change_property(prop, Xatom.ATOM, 32,
                                          [self.a["TARGETS"], self.a["text/uri-list"]])
        else:
            prop = X.NONE
        notify = protocol.event.SelectionNotify(time=req.time, requestor=req.requestor,
                                                selection=req.selection, target=req.target,
                                                property=prop)
        req.requestor.send_event(notify, event_mask=0)
        self.d.flush()
        if prop != X.NONE and req.target == self.a["text/uri-list"]:
            self.requests_served += 1

    def _handle(self, event):
        """Handles what may arrive at any moment; returns a client message for the caller."""
        if event.type == X.SelectionRequest:
            self._serve_selection(event)
        elif event.type == X.ClientMessage:
            return event
        return None

    def _await(self, message, deadline):
        while True:
            event = self._next_event(deadline)
            if event is None:
                raise DropError(f"no {message} from the target")
            msg = self._handle(event)
            if msg is not None and msg.client_type == self.a[message]:
                return msg

    def drop(self, paths, x, y, timeout=10.0, move_pointer=True):
        """Drops the files on the window under screen point (x, y); True when accepted."""
        target, version = self.target_at(x, y)
        if target is None:
            raise DropError(f"no XDND-aware window at {x},{y}")
        self.payload = file_uri_list(paths)
        self.requests_served = 0
        if move_pointer:
            # A user's pointer is over the target while dragging; targets may look at it.
            self.root.warp_pointer(x, y)
        stamp = self._server_time()
        self.win.set_selection_owner(self.a["XdndSelection"], stamp)
        deadline = time.monotonic() + timeout
        v = min(version, XDND_VERSION)
        self._send(target, "XdndEnter",
                   [self.win.id, v << 24, self.a["text/uri-list"], 0, 0])
        self._send(target, "XdndPosition",
                   [self.win.id, 0, (x << 16) | (y & 0xFFFF), stamp, self.a["XdndActionCopy"]])
        status = self._await("XdndStatus", deadline)
        accepted = bool(status.data[1][1] & 1)
        if not accepted:
            self._send(target, "XdndLeave", [self.win.id])
            raise DropError(f"the window at {x},{y} refuses the files")
        self._send(target, "XdndDrop", [self.win.id, 0, stamp])
        finished = self._await("XdndFinished", deadline)
        if version >= 5 and not (finished.data[1][1] & 1):
            raise DropError("the target reports the drop as not performed")
        return True


def drop_files(paths, x, y, display_name=None, timeout=10.0):
    source = XdndSource(display_name)
    try:
        return source.drop(paths, x, y, timeout)
    finally:
        source.close()


def main(argv):
    if len(argv) < 4:
        print("usage: xdnd.py X Y FILE...", file=sys.stderr)
        return 2
    try:
        drop_files(argv[3:], int(argv[1]), int(argv[2]))
    except DropError as e:
        print(f"xdnd: {e}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
