"""Spare keys of the X keyboard map bound to characters the map lacks, for typing them.

xdotool types such a character by binding it to a spare key for a moment; a program that
reads the map after it has changed back gets nothing. Wine also reads a changed map only
some time later. So characters to be typed get spare keys of their own, best before the
program starts, and keep them until the session ends.
"""

from Xlib import display as xdisplay


def unicode_keysym(ch):
    code = ord(ch)
    return code if 0x20 <= code <= 0x7E or 0xA0 <= code <= 0xFF else 0x1000000 | code


class SpareKeys:
    def __init__(self, display_name):
        self.d = xdisplay.Display(display_name)
        self.first = self.d.display.info.min_keycode
        count = self.d.display.info.max_keycode - self.first + 1
        mapping = self.d.get_keyboard_mapping(self.first, count)
        self.width = len(mapping[0])
        self.free = [self.first + i for i, syms in enumerate(mapping) if not any(syms)]
        self.bound = {}

    def bind(self, chars):
        """Gives every character of chars that the map lacks a key of its own."""
        for ch in sorted(set(chars)):
            if ch.isascii() or ch in self.bound:
                continue
            if not self.free:
                raise RuntimeError("no spare key left to type " + ch)
            keycode = self.free.pop(0)
            sym = unicode_keysym(ch)
            self.d.change_keyboard_mapping(keycode, [[sym, sym] + [0] * (self.width - 2)])
            self.bound[ch] = keycode
        self.d.sync()

    def close(self):
        for keycode in self.bound.values():
            self.d.change_keyboard_mapping(keycode, [[0] * self.width])
        self.d.sync()
        self.d.close()
