"""Files copied on the X11 desktop, as a Linux file manager copies them: the CLIPBOARD
selection offering them as a text/uri-list of file:// URIs. Wine hands such a clipboard to
Windows programs as a drop (CF_HDROP).

Run as a program: python3 xclipboard.py FILE...
It prints "ready" once it owns the clipboard and serves it until another owner takes it over
or it is killed.
"""

import os
import select
import sys

from Xlib import X, Xatom, display as xdisplay, protocol

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xdnd import file_uri_list  # noqa: E402


def serve(paths, display_name=None):
    d = xdisplay.Display(display_name)
    atom = d.intern_atom
    clipboard, targets, uri_list = atom("CLIPBOARD"), atom("TARGETS"), atom("text/uri-list")
    win = d.screen().root.create_window(-10, -10, 1, 1, 0, X.CopyFromParent,
                                        override_redirect=True)
    payload = file_uri_list(paths)
    win.set_selection_owner(clipboard, X.CurrentTime)
    if d.get_selection_owner(clipboard) != win:
        return 1
    print("ready", flush=True)
    while True:
        if not d.pending_events():
            select.select([d.fileno()], [], [])
            continue
        event = d.next_event()
        if event.type == X.SelectionClear:
            return 0
        if event.type != X.SelectionRequest:
            continue
        prop = event.property or event.target
        if event.target == targets:
            event.requestor.change_property(prop, Xatom.ATOM, 32, [targets, uri_list])
        elif event.target == uri_list:
            event.requestor.change_property(prop, uri_list, 8, payload)
        else:
            prop = X.NONE
        event.requestor.send_event(protocol.event.SelectionNotify(
            time=event.time, requestor=event.requestor, selection=event.selection,
            target=event.target, property=prop), event_mask=0)
        d.flush()


if __name__ == "__main__":
    if len(sys.argv) < 2:
        print("usage: xclipboard.py FILE...", file=sys.stderr)
        sys.exit(2)
    sys.exit(serve(sys.argv[1:]))
