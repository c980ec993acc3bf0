#!/usr/bin/env python3
"""Pty peers for the Windows serial channel tests run under wine.

usage: serial-rig.py DIR NAME=ROLE [NAME=ROLE ...]

Creates one pty per NAME, links DIR/NAME to its terminal side (the wine prefix maps DIR/COMn to
COMn) and serves the other side until SIGTERM. DIR/ready appears once every link exists; the links
and DIR/ready are removed on exit.

Roles:
  responder  echoes every byte back, except two commands:
               0xF0 N  -> N bytes 0, 1, 2, ... (N from 0 to 255)
               0xF1    -> 16 bytes: the terminal's line settings as text, e.g. "460800,8,N,1"
                          padded with spaces
               0xF2    -> 8 bytes: NAME padded with spaces
             The terminal starts at 9600 baud, 7 data bits, even parity, 2 stop bits, so a
             channel that leaves any of these alone is caught.
  stall      never reads: writes to the terminal fill its buffer and then block.
  hangup     hangs up the line (closes its side of the pty) when it receives a byte, as a box
             that loses power or an adapter pulled out would; the port stays gone.
"""
import os
import select
import signal
import sys
import termios
import tty

SPEEDS = {getattr(termios, name): name[1:] for name in dir(termios)
          if name.startswith("B") and name[1:].isdigit()}


def line_settings(fd):
    iflag, oflag, cflag, lflag, ispeed, ospeed, cc = termios.tcgetattr(fd)
    bits = {termios.CS5: 5, termios.CS6: 6, termios.CS7: 7, termios.CS8: 8}[cflag & termios.CSIZE]
    if not cflag & termios.PARENB:
        parity = "N"
    elif cflag & termios.PARODD:
        parity = "O"
    else:
        parity = "E"
    stop = 2 if cflag & termios.CSTOPB else 1
    text = "%s,%d,%s,%d" % (SPEEDS.get(ospeed, "?"), bits, parity, stop)
    return text.encode().ljust(16)[:16]


def start_terminal_at_odd_settings(fd):
    tty.setraw(fd)
    attrs = termios.tcgetattr(fd)
    attrs[2] = (attrs[2] & ~termios.CSIZE) | termios.CS7 | termios.PARENB | termios.CSTOPB
    attrs[2] &= ~termios.PARODD
    attrs[4] = attrs[5] = termios.B9600
    termios.tcsetattr(fd, termios.TCSANOW, attrs)


class Responder:
    def __init__(self, name, master, terminal):
        self.name = name
        self.master = master
        self.terminal = terminal
        self.pending = None  # 0xF0 waiting for its count

    def feed(self, data):
        out = bytearray()
        for byte in data:
            if self.pending is not None:
                out += bytes(range(byte))
                self.pending = None
            elif byte == 0xF0:
                self.pending = byte
            elif byte == 0xF1:
                out += line_settings(self.terminal)
            elif byte == 0xF2:
                out += self.name.encode().ljust(8)[:8]
            else:
                out.append(byte)
        if out:
            os.write(self.master, bytes(out))


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    responders = {}
    hangups = {}
    keep = []
    made = [os.path.join(folder, "ready")]
    for spec in sys.argv[2:]:
        name, role = spec.split("=", 1)
        master, terminal = os.openpty()
        keep.append(terminal)  # held open so the master never sees a hang-up between users
        link = os.path.join(folder, name)
        if os.path.lexists(link):
            os.unlink(link)
        os.symlink(os.ttyname(terminal), link)
        made.append(link)
        if role == "responder":
            start_terminal_at_odd_settings(terminal)
            responders[master] = Responder(name, master, terminal)
        elif role == "stall":
            tty.setraw(terminal)
            keep.append(master)
        elif role == "hangup":
            tty.setraw(terminal)
            hangups[master] = terminal
        else:
            sys.exit("unknown role: " + role)

    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    try:
        open(made[0], "w").close()
        while True:
            readable, _, _ = select.select(list(responders) + list(hangups), [], [])
            for fd in readable:
                if fd in hangups:
                    os.close(hangups.pop(fd))
                    os.close(fd)
                    continue
                try:
                    data = os.read(fd, 4096)
                except OSError:
                    continue
                responders[fd].feed(data)
    finally:
        for path in made:
            if os.path.lexists(path):
                os.unlink(path)


if __name__ == "__main__":
    main()
