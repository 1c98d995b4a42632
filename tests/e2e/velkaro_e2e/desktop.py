"""Real input and screen pixels on the X display (X screen coordinates are Win32 screen
coordinates under Wine)."""

import subprocess

from .waiting import wait_for

BUTTONS = {"left": 1, "middle": 2, "right": 3}


class Mouse:
    """The X pointer, driven with xdotool (XTEST: the program sees real input)."""

    def __init__(self, display):
        self.display = display

    def _xdotool(self, *args):
        subprocess.run(["xdotool", *map(str, args)], check=True, timeout=20,
                       env={"DISPLAY": self.display, "PATH": "/usr/bin:/bin"},
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)

    def move(self, x, y):
        """Moves the pointer and returns once the X server reports it there.

        (xdotool's own --sync waits about 15 s when the pointer is there already.)
        """
        target = (int(x), int(y))
        if self.position() == target:
            return
        self._xdotool("mousemove", *target)
        wait_for(lambda: self.position() == target, 5, 0.002, f"pointer at {target}")

    def click(self, x, y, button="left", repeat=1):
        """One click, or `repeat` clicks 50 ms apart (2: a double click)."""
        self.move(x, y)
        repeated = ("--repeat", repeat, "--delay", 50) if repeat > 1 else ()
        self._xdotool("click", *repeated, BUTTONS[button])

    def drag(self, start, end, button="left", steps=8):
        """Press at `start`, move in steps to `end`, release there."""
        (x0, y0), (x1, y1) = start, end
        self.move(x0, y0)
        self._xdotool("mousedown", BUTTONS[button])
        try:
            for i in range(1, steps + 1):
                self.move(x0 + (x1 - x0) * i // steps, y0 + (y1 - y0) * i // steps)
        finally:
            self._xdotool("mouseup", BUTTONS[button])

    def position(self):
        out = subprocess.run(["xdotool", "getmouselocation", "--shell"], check=True, timeout=20,
                             env={"DISPLAY": self.display, "PATH": "/usr/bin:/bin"},
                             capture_output=True, text=True).stdout
        values = dict(line.split("=", 1) for line in out.split())
        return int(values["X"]), int(values["Y"])


class Image:
    """RGB pixels of a screen rectangle."""

    def __init__(self, left, top, width, height, data):
        self.left, self.top, self.width, self.height = left, top, width, height
        self.data = data

    def pixel(self, x, y):
        """The colour at screen position (x, y) as an (r, g, b) tuple."""
        i = ((y - self.top) * self.width + (x - self.left)) * 3
        return tuple(self.data[i:i + 3])

    def pixels(self):
        d = self.data
        return [tuple(d[i:i + 3]) for i in range(0, len(d), 3)]

    def count(self, colour):
        return sum(1 for p in self.pixels() if p == tuple(colour))

    def colours(self):
        """{(r, g, b): number of pixels}"""
        counts = {}
        for p in self.pixels():
            counts[p] = counts.get(p, 0) + 1
        return counts

    def save_png(self, path):
        """Writes the image as PNG (ImageMagick converts from PPM)."""
        header = f"P6\n{self.width} {self.height}\n255\n".encode()
        subprocess.run(["convert", "ppm:-", f"png:{path}"], input=header + self.data,
                       check=True, timeout=60)


def grab(display, rect):
    """The pixels of the screen rectangle [left, top, right, bottom]."""
    left, top, right, bottom = rect
    width, height = right - left, bottom - top
    if width <= 0 or height <= 0:
        raise ValueError(f"empty rectangle {rect}")
    out = subprocess.run(
        ["import", "-display", display, "-window", "root", "-crop",
         f"{width}x{height}+{left}+{top}", "+repage", "-depth", "8", "ppm:-"],
        check=True, timeout=60, capture_output=True).stdout
    w, h, data = _parse_ppm(out)
    if (w, h) != (width, height):
        raise RuntimeError(f"grabbed {w}x{h}, asked for {width}x{height} (rectangle off screen?)")
    return Image(left, top, w, h, data)


def _parse_ppm(blob):
    """Width, height and RGB bytes of a binary PPM (P6, maxval 255)."""
    fields, pos = [], 0
    while len(fields) < 4:
        while blob[pos:pos + 1].isspace():
            pos += 1
        if blob[pos:pos + 1] == b"#":
            pos = blob.index(b"\n", pos) + 1
            continue
        end = pos
        while not blob[end:end + 1].isspace():
            end += 1
        fields.append(blob[pos:end])
        pos = end
    if fields[0] != b"P6" or fields[3] != b"255":
        raise RuntimeError(f"not an 8-bit PPM: {fields}")
    width, height = int(fields[1]), int(fields[2])
    data = blob[pos + 1:pos + 1 + width * height * 3]
    if len(data) != width * height * 3:
        raise RuntimeError("truncated PPM")
    return width, height, data
