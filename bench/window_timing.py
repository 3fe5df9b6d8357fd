#!/usr/bin/env python3
"""Times the real window under Xvfb from outside, through the X server:

  start to first paint  from starting the program with a document to the first time the X
                        server receives the painted window (its first large damage);
  key to screen         from sending an Up or Down key (XTest) to the X server receiving the
                        repainted chart: the last damage of the repaint, which sends only the
                        parts of the window that changed.

Usage: window_timing.py PATH_TO_QUORBEL DOCUMENT [--starts N] [--keys N]

DOCUMENT is the 25-component document of the benchmarks (paint_benchmark
--write-documents=DIR writes it as Mixed25.qbl); the view is about 1920x1080. Needs Xvfb and
the X client libraries libX11, libXdamage and libXtst (Debian's xvfb pulls them in). Prints the
medians; when something is missing it says so and exits 0.
"""

import argparse
import ctypes
import ctypes.util
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

FRAME = (1920, 1170)  # the main window; the chart view inside is about 1920x1080
SCREEN = "2048x1400x24"


class XRectangle(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short),
                ("width", ctypes.c_ushort), ("height", ctypes.c_ushort)]


class XDamageNotifyEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                ("drawable", ctypes.c_ulong), ("damage", ctypes.c_ulong),
                ("level", ctypes.c_int), ("more", ctypes.c_int),
                ("timestamp", ctypes.c_ulong), ("area", XRectangle),
                ("geometry", XRectangle)]


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("damage", XDamageNotifyEvent),
                ("pad", ctypes.c_long * 24)]


def load(name):
    path = ctypes.util.find_library(name)
    return ctypes.CDLL(path) if path else None


class Display:
    def __init__(self, name):
        self.x = load("X11")
        self.damage = load("Xdamage")
        self.xtst = load("Xtst")
        if not (self.x and self.damage and self.xtst):
            raise RuntimeError("libX11, libXdamage or libXtst is missing")
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.dpy = self.x.XOpenDisplay(name.encode())
        if not self.dpy:
            raise RuntimeError("cannot open display " + name)
        for f in ("XDefaultRootWindow",):
            getattr(self.x, f).restype = ctypes.c_ulong
            getattr(self.x, f).argtypes = [ctypes.c_void_p]
        self.root = self.x.XDefaultRootWindow(self.dpy)
        base = ctypes.c_int()
        err = ctypes.c_int()
        self.damage.XDamageQueryExtension.argtypes = [ctypes.c_void_p, ctypes.c_void_p,
                                                      ctypes.c_void_p]
        if not self.damage.XDamageQueryExtension(self.dpy, ctypes.byref(base),
                                                 ctypes.byref(err)):
            raise RuntimeError("the X server has no DAMAGE extension")
        self.notify = base.value  # XDamageNotify is event 0 of the extension
        self.damage.XDamageCreate.restype = ctypes.c_ulong
        self.damage.XDamageCreate.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int]
        self.x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
        self.x.XSelectInput(self.dpy, self.root, 1 << 19)  # SubstructureNotifyMask
        self.damage.XDamageCreate(self.dpy, self.root, 0)  # raw rectangles, root and below
        self.x.XPending.argtypes = [ctypes.c_void_p]
        self.x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
        self.x.XFlush.argtypes = [ctypes.c_void_p]
        self.x.XConnectionNumber.argtypes = [ctypes.c_void_p]
        self.fd = self.x.XConnectionNumber(self.dpy)
        self.x.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int,
                                                ctypes.c_ulong]
        self.xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int,
                                                   ctypes.c_int, ctypes.c_int, ctypes.c_ulong]

    def pixel(self, x, y):
        """The colour at a point of the screen, as 0xRRGGBB."""
        self.x.XGetImage.restype = ctypes.c_void_p
        self.x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                     ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.x.XFree.argtypes = [ctypes.c_void_p]
        image = self.x.XGetImage(self.dpy, self.root, x, y, 1, 1, 0xFFFFFFFF, 2)  # ZPixmap
        if not image:
            return None
        # XImage begins with width, height, xoffset and format (ints), then the data pointer.
        data = ctypes.cast(image + 16, ctypes.POINTER(ctypes.c_void_p)).contents.value
        value = ctypes.cast(data, ctypes.POINTER(ctypes.c_uint32)).contents.value & 0xFFFFFF
        self.x.XFree(data)
        self.x.XFree(image)
        return value

    def drain(self):
        event = XEvent()
        while self.x.XPending(self.dpy):
            self.x.XNextEvent(self.dpy, ctypes.byref(event))

    def wait_for_damage(self, min_area, timeout, probe=None):
        """Seconds since the call until a damage rectangle of at least min_area pixels (after
        which, when probe is given as (x, y, colour), that point of the screen has that colour)."""
        import select
        event = XEvent()
        start = time.perf_counter()
        while True:
            while self.x.XPending(self.dpy):
                self.x.XNextEvent(self.dpy, ctypes.byref(event))
                if event.type == self.notify:
                    a = event.damage.area
                    if a.width * a.height >= min_area and (
                            probe is None or self.pixel(probe[0], probe[1]) == probe[2]):
                        return time.perf_counter() - start
            left = timeout - (time.perf_counter() - start)
            if left <= 0:
                return None
            select.select([self.fd], [], [], left)

    def wait_for_repaint(self, since, timeout, quiet=0.005):
        """Seconds from since (a time.perf_counter()) until the last damage of the next repaint:
        the first damage, and every one after it until quiet seconds pass without more (a repaint
        that sends only what changed comes as many rectangles)."""
        import select
        event = XEvent()
        start = time.perf_counter()
        last = None
        while True:
            while self.x.XPending(self.dpy):
                self.x.XNextEvent(self.dpy, ctypes.byref(event))
                if event.type == self.notify:
                    last = time.perf_counter() - since
            now = time.perf_counter() - start
            if last is None:
                if now >= timeout:
                    return None
                select.select([self.fd], [], [], timeout - now)
            elif not select.select([self.fd], [], [], quiet)[0] and not self.x.XPending(self.dpy):
                return last

    def key(self, keysym):
        code = self.x.XKeysymToKeycode(self.dpy, keysym)
        self.xtst.XTestFakeKeyEvent(self.dpy, code, 1, 0)
        self.xtst.XTestFakeKeyEvent(self.dpy, code, 0, 0)
        self.x.XFlush(self.dpy)

    def pointer(self, x, y):
        self.xtst.XTestFakeMotionEvent(self.dpy, 0, x, y, 0)
        self.x.XFlush(self.dpy)


def free_display():
    for n in range(90, 140):
        if not os.path.exists("/tmp/.X11-unix/X%d" % n) and not os.path.exists("/tmp/.X%d-lock" % n):
            return ":%d" % n
    raise RuntimeError("no free display number")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    parser.add_argument("document")
    parser.add_argument("--starts", type=int, default=7)
    parser.add_argument("--keys", type=int, default=31)
    args = parser.parse_args()
    document = args.document
    if shutil.which("Xvfb") is None:
        print("window timing: Xvfb is not installed; skipped")
        return 0
    display = free_display()
    xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", SCREEN, "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    home = tempfile.mkdtemp(prefix="quorbel-timing-")
    try:
        for _ in range(100):
            if os.path.exists("/tmp/.X11-unix/X" + display[1:]):
                break
            time.sleep(0.05)
        try:
            x = Display(display)
        except RuntimeError as e:
            print("window timing: %s; skipped" % e)
            return 0
        env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", HOME=home,
                   XDG_CONFIG_HOME=os.path.join(home, "config"))
        command = [args.program, "-geometry", "%dx%d+0+0" % FRAME, document]
        frame_area = FRAME[0] * FRAME[1]

        # Below the readout and left of the chart the painted view is white; the window's
        # first appearance (its background) is not.
        painted = (10, FRAME[1] // 2 + 200, 0xFFFFFF)
        starts = []
        for _ in range(args.starts):
            x.drain()
            t0 = time.perf_counter()
            app = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
            waited = x.wait_for_damage(frame_area // 2, 10.0, painted)
            if waited is not None:
                starts.append(time.perf_counter() - t0)
            app.terminate()
            app.wait()
            # The closed window leaves damage behind on the screen; let it pass.
            time.sleep(0.3)
            x.drain()
        app = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
        x.wait_for_damage(frame_area // 2, 10.0, painted)
        time.sleep(0.5)
        x.pointer(FRAME[0] // 2, FRAME[1] // 2)
        time.sleep(0.2)
        keys = []
        up, down = 0xFF52, 0xFF54
        for i in range(args.keys):
            time.sleep(0.1)
            x.drain()
            t0 = time.perf_counter()
            x.key(up if i % 2 == 0 else down)
            waited = x.wait_for_repaint(t0, 2.0)
            if waited is not None:
                keys.append(waited)
        app.terminate()
        app.wait()

        def report(what, values, target):
            if not values:
                print("%-40s no paint seen" % what)
                return
            ms = statistics.median(values) * 1000
            print("%-40s median %7.2f ms (fastest %.2f, %d runs; target <= %g ms: %s)"
                  % (what, ms, min(values) * 1000, len(values), target,
                     "met" if ms <= target else "MISSED"))

        print("Real window under Xvfb (%s), measured from outside through the X server:"
              % SCREEN)
        report("start to first paint", starts, 150)
        report("key to chart on screen, 25 components", keys, 5)
        return 0
    finally:
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
