#!/usr/bin/python3
"""Drives an X display the way an operator would, for end-to-end tests of the program.

  xwindow.py close NAME   asks the top-level window titled NAME to close (WM_DELETE_WINDOW)
  xwindow.py click X Y    clicks the left button at X, Y of the screen (XTest)

Uses DISPLAY; needs only libX11 and libXtst.
"""
import ctypes
import sys

x11 = ctypes.CDLL("libX11.so.6")
xtst = ctypes.CDLL("libXtst.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                           ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
                           ctypes.POINTER(ctypes.c_uint)]
x11.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_char_p)]
x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_ulong]
xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]

class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5), ("pad", ctypes.c_long * 12)]

d = x11.XOpenDisplay(None)
if not d:
    sys.exit("no display")

def find(window, name):
    title = ctypes.c_char_p()
    if x11.XFetchName(d, window, ctypes.byref(title)) and title.value == name:
        return window
    root, parent = ctypes.c_ulong(), ctypes.c_ulong()
    children = ctypes.POINTER(ctypes.c_ulong)()
    count = ctypes.c_uint()
    if x11.XQueryTree(d, window, ctypes.byref(root), ctypes.byref(parent), ctypes.byref(children), ctypes.byref(count)):
        for i in range(count.value):
            found = find(children[i], name)
            if found:
                return found
    return 0

if sys.argv[1] == "close":
    w = find(x11.XDefaultRootWindow(d), sys.argv[2].encode())
    if not w:
        sys.exit("window not found")
    ev = ClientMessage()
    ev.type = 33  # ClientMessage
    ev.window = w
    ev.message_type = x11.XInternAtom(d, b"WM_PROTOCOLS", 0)
    ev.format = 32
    ev.data[0] = x11.XInternAtom(d, b"WM_DELETE_WINDOW", 0)
    x11.XSendEvent(d, w, 0, 0, ctypes.byref(ev))
else:
    x, y = int(sys.argv[2]), int(sys.argv[3])
    xtst.XTestFakeMotionEvent(d, 0, x, y, 0)
    x11.XSync(d, 0)
    xtst.XTestFakeButtonEvent(d, 1, 1, 0)
    x11.XSync(d, 0)
    xtst.XTestFakeButtonEvent(d, 1, 0, 0)
x11.XSync(d, 0)
