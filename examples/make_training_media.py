#!/usr/bin/env python3
"""Makes the training flight's media files, standard library only:

- loading.png: the loading picture, 320 x 240 RGB. A dusk sky over a field
  with a runway running to the horizon, and a dark band where the loading
  screen draws its progress bar (ProgressBarRect in flight.ini: 40,200 to
  280,214).
- data/shutter.wav: the screenshot click, a 40 ms noise burst.
- data/briefing_theme.wav: the loading music, two seconds of a soft chord.

    python3 examples/make_training_media.py examples/training
"""
import math
import os
import random
import struct
import sys
import zlib

WIDTH, HEIGHT = 320, 240
HORIZON = 150
BAR = (32, 194, 288, 220)  # the band behind the bar, a little larger than it


def mix(a, b, t):
    return tuple(int(x + (y - x) * t) for x, y in zip(a, b))


def pixel(x, y):
    if BAR[0] <= x < BAR[2] and BAR[1] <= y < BAR[3]:
        return (18, 22, 30)
    if y < HORIZON:
        t = y / HORIZON
        return mix((16, 24, 64), (236, 140, 64), t * t)
    # The runway: a trapezoid whose edges meet near the horizon.
    depth = (y - HORIZON) / (HEIGHT - HORIZON)
    half = 4 + 70 * depth
    if abs(x - WIDTH / 2) < half:
        centre_line = abs(x - WIDTH / 2) < 1 + depth * 2 and int(depth * 20) % 2 == 0
        return (220, 220, 210) if centre_line else mix((70, 70, 74), (96, 96, 100), depth)
    return mix((40, 70, 36), (28, 52, 26), depth)


def png(width, height):
    rows = b"".join(b"\x00" + bytes(c for x in range(width) for c in pixel(x, y)) for y in range(height))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b"")


def wav(samples, rate=8000):
    """8-bit mono PCM."""
    data = bytes(max(0, min(255, int(128 + 127 * s))) for s in samples)
    fmt = struct.pack("<HHIIHH", 1, 1, rate, rate, 1, 8)
    return (b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVE" + b"fmt " + struct.pack("<I", 16) + fmt
            + b"data" + struct.pack("<I", len(data)) + data)


def click(rate=8000):
    noise = random.Random(7)
    n = rate * 40 // 1000
    return [noise.uniform(-1, 1) * (1 - i / n) ** 2 for i in range(n)]


def chord(rate=8000, seconds=2.0):
    n = int(rate * seconds)
    notes = (220.0, 277.18, 329.63)
    return [0.25 * math.sin(math.pi * i / n) * sum(math.sin(2 * math.pi * f * i / rate) for f in notes) / len(notes)
            for i in range(n)]


if __name__ == "__main__":
    folder = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(os.path.join(folder, "data"), exist_ok=True)
    files = {
        "loading.png": png(WIDTH, HEIGHT),
        os.path.join("data", "shutter.wav"): wav(click()),
        os.path.join("data", "briefing_theme.wav"): wav(chord()),
    }
    for name, content in files.items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(content)
