#!/usr/bin/python3
"""A GTK 3 drag source in a process of its own, dragged the way a person
drags from a GTK file manager: the pointer is pressed on the source's
window, moved to a point of the screen and let go there once the window
under it has taken the drag. The data is a text/uri-list read from a file
and handed to GTK as it is, as Thunar, Nemo and Caja hand theirs.

    gtk_drag_source.py URI_LIST_FILE X Y [WAYLAND_POINTER]

On X11 the pointer is XTest's. On Wayland (GDK_BACKEND=wayland) it is the
wayland_pointer program named last, a virtual pointer of the compositor,
and the source's window is expected to fill the output's top-left corner.

Prints CLOCK_MONOTONIC stamps on stdout: "drop T bytes N" when the button is
let go, "asked BYTES T" when GTK is asked for the data, "finished ACCEPTED T"
when the drag has ended. Exits 0 once the drag has ended, 1 when it could
not be made, 3 when GTK 3 or XTest is missing.
"""
import ctypes
import ctypes.util
import subprocess
import sys
import time

try:
    import gi

    gi.require_version("Gdk", "3.0")
    gi.require_version("Gtk", "3.0")
    from gi.repository import Gdk, GLib, Gtk
except (ImportError, ValueError) as error:
    print(f"no GTK 3: {error}", file=sys.stderr)
    sys.exit(3)


def stamp(*words):
    print(*words, f"{time.monotonic():.6f}", flush=True)


class FakeInput:
    """Pointer events through the X server's XTEST extension, as real input."""

    def __init__(self):
        x11 = ctypes.util.find_library("X11")
        xtst = ctypes.util.find_library("Xtst")
        if not x11 or not xtst:
            print("no libX11 or libXtst", file=sys.stderr)
            sys.exit(3)
        self.x11 = ctypes.CDLL(x11)
        self.xtst = ctypes.CDLL(xtst)
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XFlush.argtypes = [ctypes.c_void_p]
        self.xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                                   ctypes.c_ulong]
        self.xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.display = self.x11.XOpenDisplay(None)
        if not self.display:
            print("cannot open the display", file=sys.stderr)
            sys.exit(1)

    def move(self, x, y):
        self.xtst.XTestFakeMotionEvent(self.display, -1, int(x), int(y), 0)
        self.x11.XFlush(self.display)

    def button(self, pressed):
        self.xtst.XTestFakeButtonEvent(self.display, 1, 1 if pressed else 0, 0)
        self.x11.XFlush(self.display)


class WaylandInput:
    """The compositor's virtual pointer, through wayland_pointer."""

    def __init__(self, program, width, height):
        self.helper = subprocess.Popen([program, str(width), str(height)], stdin=subprocess.PIPE,
                                       stdout=subprocess.PIPE, text=True)

    def send(self, line):
        self.helper.stdin.write(line + "\n")
        self.helper.stdin.flush()
        if self.helper.stdout.readline().strip() != "ok":
            print("the virtual pointer failed", file=sys.stderr)
            sys.exit(3 if self.helper.wait() == 3 else 1)

    def move(self, x, y):
        self.send(f"move {int(x)} {int(y)}")

    def button(self, pressed):
        self.send("press" if pressed else "release")


class Source:
    def __init__(self, uri_list, target_x, target_y, wayland_pointer):
        self.uri_list = uri_list
        self.target = (target_x, target_y)
        if wayland_pointer:
            output = Gdk.Display.get_default().get_monitor(0).get_geometry()
            self.input = WaylandInput(wayland_pointer, output.width, output.height)
        else:
            self.input = FakeInput()
        self.on_wayland = bool(wayland_pointer)
        self.context = None
        self.exit_code = 1
        self.step = 0
        self.taken = 0

        self.window = Gtk.Window(title="drag source")
        self.window.set_default_size(120, 80)
        self.window.move(1100, 900)
        box = Gtk.EventBox()
        self.window.add(box)
        box.drag_source_set(Gdk.ModifierType.BUTTON1_MASK,
                            [Gtk.TargetEntry.new("text/uri-list", 0, 0)], Gdk.DragAction.COPY)
        box.connect("drag-begin", self.on_begin)
        box.connect("drag-data-get", self.on_data_get)
        box.connect("drag-end", self.on_end)
        self.window.connect("map-event", lambda *_: GLib.timeout_add(100, self.press) and False)
        self.window.show_all()
        GLib.timeout_add_seconds(600, self.give_up)

    def press(self):
        if self.on_wayland:
            self.start = (100, 100)  # a client does not learn where its window is
        else:
            origin = self.window.get_window().get_origin()
            self.start = (origin.x + 60, origin.y + 40)
        self.input.move(*self.start)
        self.input.button(True)
        GLib.timeout_add(20, self.drag_off)
        return False

    # Small steps off the source until GTK starts the drag.
    def drag_off(self):
        if self.context:
            GLib.timeout_add(20, self.approach)
            return False
        self.step += 1
        if self.step > 100:
            print("GTK did not start the drag", file=sys.stderr)
            Gtk.main_quit()
            return False
        self.input.move(self.start[0] + 4 * self.step * (1 if self.on_wayland else -1),
                        self.start[1] + 4 * self.step * (1 if self.on_wayland else -1))
        return True

    # Over the target, again and again, until it takes the drag; then let go.
    def approach(self):
        self.input.move(self.target[0] + self.step % 2, self.target[1])
        self.step += 1
        # On Wayland GTK does not know another client's window: an action
        # chosen says the target has taken the drag.
        if self.context.get_selected_action() != 0 and (self.on_wayland or self.context.get_dest_window()):
            self.taken += 1
        # A few moves more: the target answers each with what it takes.
        if self.taken > 3:
            print(f"drop {time.monotonic():.6f} bytes {len(self.uri_list)}", flush=True)
            self.input.button(False)
            return False
        if self.step > 600:
            print("the window at the point did not take the drag", file=sys.stderr)
            self.input.button(False)
            return False
        return True

    def on_begin(self, widget, context):
        self.context = context

    def on_data_get(self, widget, context, selection, info, when):
        selection.set(selection.get_target(), 8, self.uri_list)
        stamp("asked", len(self.uri_list))

    def on_end(self, widget, context):
        accepted = 1 if Gdk.drag_drop_succeeded(context) else 0
        stamp("finished", accepted)
        self.exit_code = 0
        # Later: GTK may still be handing out the data's last piece.
        GLib.timeout_add(200, Gtk.main_quit)

    def give_up(self):
        print("the drag did not end", file=sys.stderr)
        Gtk.main_quit()
        return False


def main():
    if len(sys.argv) not in (4, 5):
        print(__doc__, file=sys.stderr)
        return 2
    with open(sys.argv[1], "rb") as f:
        uri_list = f.read()
    source = Source(uri_list, int(sys.argv[2]), int(sys.argv[3]), sys.argv[4] if len(sys.argv) == 5 else None)
    Gtk.main()
    return source.exit_code


if __name__ == "__main__":
    sys.exit(main())
