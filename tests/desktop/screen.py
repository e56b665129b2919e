#!/usr/bin/python3
"""Reads a screenshot (binary PPM, as `import -depth 8 ppm:` writes it).

    screen.py window SHOT           the game's client area: "X Y W H" of the
                                    maroon rectangle, found from its top row
    screen.py pixel SHOT X Y        "R G B" of one pixel
    screen.py frames SHOT R G B     "X Y W H" for each window frame whose top
                                    edge is a run of the colour R G B at least
                                    100 pixels long (the title bars the game
                                    draws on Wayland have such an outline), H
                                    the length of its left edge
    screen.py controls SHOT X Y W   how many controls the title bar of the
                                    frame at X Y, W wide, shows at its right
                                    end, in the game's button places
    screen.py active SHOT X Y W     exit status 0 when that title bar is
                                    drawn as the active window's: its close
                                    control (the right-most) in black

Exit status 1 when nothing is found.
"""
import sys

MAROON = b"\x80\x00\x00"


def read(path):
    data = open(path, "rb").read()
    tokens, pos = [], 0
    while len(tokens) < 4:
        while data[pos : pos + 1].isspace():
            pos += 1
        start = pos
        while not data[pos : pos + 1].isspace():
            pos += 1
        tokens.append(data[start:pos])
    if tokens[0] != b"P6" or tokens[3] != b"255":
        sys.exit("not an 8-bit binary PPM: " + path)
    return int(tokens[1]), int(tokens[2]), data[pos + 1 :]


def pixel(width, pixels, x, y):
    at = 3 * (y * width + x)
    return pixels[at : at + 3]


def run_length(width, pixels, x, y, colour):
    n = 0
    while x + n < width and pixel(width, pixels, x + n, y) == colour:
        n += 1
    return n


def window(width, height, pixels):
    # The first row holding 24 maroon pixels in a row is the client area's top.
    at = pixels.find(MAROON * 24)
    while at >= 0 and at % 3:
        at = pixels.find(MAROON * 24, at + 1)
    if at < 0:
        return None
    x, y = (at // 3) % width, (at // 3) // width
    w = run_length(width, pixels, x, y, MAROON)
    h = 0
    while y + h < height and pixel(width, pixels, x, y + h) == MAROON:
        h += 1
    return x, y, w, h


def column_run(height, width, pixels, x, y, colour):
    n = 0
    while y + n < height and pixel(width, pixels, x, y + n) == colour:
        n += 1
    return n


def same_run_above(width, pixels, x, y, w, colour):
    # Row y is the second row of a thicker edge: the row above holds the
    # same run (a frame just below another frame's bottom edge does not).
    if y == 0 or pixel(width, pixels, x, y - 1) != colour:
        return False
    if x > 0 and pixel(width, pixels, x - 1, y - 1) == colour:
        return False
    return run_length(width, pixels, x, y - 1, colour) == w


def is_frame(width, height, pixels, x, y, w, colour):
    # The top edge of an outline at least 40 pixels high on both sides (a
    # title bar and more), with something else inside it.
    return (
        not same_run_above(width, pixels, x, y, w, colour)
        and column_run(height, width, pixels, x, y, colour) >= 40
        and column_run(height, width, pixels, x + w - 1, y, colour) >= 40
        and pixel(width, pixels, x + 1, y + 1) != colour
    )


def frames(width, height, pixels, colour):
    found = []
    for y in range(height):
        row = pixels[3 * width * y : 3 * width * (y + 1)]
        at = row.find(colour * 100)
        while at >= 0:
            if at % 3:
                at = row.find(colour * 100, at + 1)
                continue
            x = at // 3
            w = run_length(width, pixels, x, y, colour)
            if is_frame(width, height, pixels, x, y, w, colour):
                found.append((x, y, w, column_run(height, width, pixels, x, y, colour)))
            at = row.find(colour * 100, 3 * (x + w))
    return found


def controls(width, pixels, x, y, w):
    # The button row of a 30-pixel title bar against the bar's own colour
    # (taken above the buttons): drawn in black while the window is active,
    # in grey while it is not. Buttons are 18-pixel squares 5 pixels apart,
    # the first 8 pixels in from the right edge; counted from the right, a
    # square holds a control when something is drawn in it and nothing in
    # the 5 pixels on either side (which tells a button from the end of a
    # title reaching into its square).
    background = pixel(width, pixels, x + w - 5, y + 3)

    def drawn(left, right):
        return any(
            sum(abs(a - b) for a, b in zip(pixel(width, pixels, cx, cy), background)) > 60
            for cx in range(left, right)
            for cy in range(y + 6, y + 24)
        )

    count = 0
    for i in range(3):
        right = x + w - 8 - i * 23
        left = right - 18
        if not drawn(left, right) or drawn(left - 5, left) or drawn(right, right + 5):
            break
        count += 1
    return count


def active(width, pixels, x, y, w):
    # The close control's 18-pixel square, 8 pixels in from the right edge.
    return any(
        sum(pixel(width, pixels, cx, cy)) < 120
        for cx in range(x + w - 26, x + w - 8)
        for cy in range(y + 6, y + 24)
    )


def main(argv):
    if len(argv) < 3:
        sys.exit(__doc__)
    width, height, pixels = read(argv[2])
    command = argv[1]
    if command == "window":
        found = window(width, height, pixels)
        if not found:
            return 1
        print(*found)
    elif command == "pixel":
        print(*pixel(width, pixels, int(argv[3]), int(argv[4])))
    elif command == "frames":
        colour = bytes(int(v) for v in argv[3:6])
        found = frames(width, height, pixels, colour)
        for frame in found:
            print(*frame)
        return 0 if found else 1
    elif command == "active":
        return 0 if active(width, pixels, int(argv[3]), int(argv[4]), int(argv[5])) else 1
    elif command == "controls":
        print(controls(width, pixels, int(argv[3]), int(argv[4]), int(argv[5])))
    else:
        sys.exit(__doc__)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
