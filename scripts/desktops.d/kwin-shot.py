# SPDX-License-Identifier: GPL-3.0-or-later
# KWin's screen, 1024 x 768, as BGRA bytes on stdout, from its ScreenShot2 D-Bus API (KWin started
# with KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1). KWin writes the picture into the pipe given while
# the call is under way, so the pipe is drained on a thread of its own.
import os
import sys
import threading

from gi.repository import Gio, GLib

bus = Gio.bus_get_sync(Gio.BusType.SESSION)
r, w = os.pipe()
chunks = []
reader = threading.Thread(target=lambda: chunks.extend(iter(lambda: os.read(r, 1 << 20), b'')))
reader.start()
fds = Gio.UnixFDList.new()
fds.append(w)
os.close(w)
bus.call_with_unix_fd_list_sync('org.kde.KWin', '/org/kde/KWin/ScreenShot2', 'org.kde.KWin.ScreenShot2', 'CaptureArea',
                                GLib.Variant('(iiuua{sv}h)', (0, 0, 1024, 768, {}, 0)), GLib.VariantType('(a{sv})'),
                                Gio.DBusCallFlags.NONE, 10000, fds, None)
del fds  # its copy of the pipe's end, so that the reader sees the end
reader.join(10)
sys.stdout.buffer.write(b''.join(chunks))
