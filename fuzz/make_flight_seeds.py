#!/usr/bin/env python3
"""Builds the flight fuzzer's seed corpus (fuzz/flight_corpus) from the
example flight directories.

Each seed is the four parts the fuzzer cuts at "\\n@@\\n": the example's
scenario, its start-up file with the includes written in and every text
file renamed to the one string table text.ini, that table (the example's
tables one after another in one [Strings] section), and host calls (pairs
of bytes: operation, frames to wait). Run it again when an example changes.
"""
import os
import re

HERE = os.path.dirname(os.path.abspath(__file__))
EXAMPLES = os.path.join(HERE, "..", "examples")
OUT = os.path.join(HERE, "flight_corpus")

# Operation bytes (op % 10): 0 SetRunState(op // 10 % 4 - 1), 1 SetPaused,
# 2 TakeScreenshot, 3 SetScreenshotDirectory, 4 GetFlightDirectory,
# 5 GetTimeCompression, 6 GetStepRate, 7-9 IsPaused.
HOST_CALLS = {
    "quiet": b"",
    "accessors": bytes([5, 3, 6, 3, 7, 3, 4 + 10 * 20, 3, 4, 1, 4 + 10 * 2, 1]),
    "pause_and_shots": bytes([11, 10, 1, 5, 3, 1, 2, 2, 2, 0, 23, 4, 2, 1]),
    "host_ends": bytes([5, 15, 2 * 10, 15, 1, 15, 10, 15]),
}


def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


def startup(folder):
    text = read(os.path.join(folder, "flight.ini"))
    # The includes written in where they stand.
    text = re.sub(r"^#include (\S+)\s*$", lambda m: read(os.path.join(folder, m.group(1))), text, flags=re.M)
    # Every text file is the one string table.
    text = re.sub(r"^(TextFilename|TargetText|TextFile)=.*$", r"\1=text.ini", text, flags=re.M)
    text = re.sub(r"^(HUDDLL)=.*$", r"\1=Hud", text, flags=re.M)
    text = re.sub(r"^(CommDLL)=.*$", r"\1=Comm", text, flags=re.M)
    return text


def table(folder):
    lines = ["[Strings]"]
    texts = os.path.join(folder, "text")
    for name in sorted(os.listdir(texts)):
        for line in read(os.path.join(texts, name)).splitlines():
            if "=" in line and not line.startswith(";"):
                lines.append(line)
    return "\n".join(lines) + "\n"


# Scenario endings that make a seed of their own: refused allocations and a
# failing step of the loading.
SCENARIO_TAILS = {
    "": "",
    # Both examples end with their [Events] section: these lines join it.
    "_skip_eject": "\n30=SKIP_TO_NEXT\n170=EJECT\n",
    "_refusals": "\n[Fail]\nAllocation=40\nAllocationsFrom=160\n",
    "_no_terrain": "\n[Fail]\nTerrain=1\n",
}


# Keys written into a section the scenario already has.
SCENARIO_INSERTS = {
    "_app_stops": ("[Host]\n", "AppStopsAfter=150\n"),
}
# Values replaced where the scenario has them.
SCENARIO_REPLACES = {
    "_odd_times": ("FrameTime=0.05\n", "FrameTime=0.05,0,-1,30,0.00001,0.05\n"),
}


def scenario_variants(text):
    for name, tail in SCENARIO_TAILS.items():
        yield name, text + tail
    for name, (section, lines) in SCENARIO_INSERTS.items():
        at = text.find(section)
        if at >= 0:
            at += len(section)
            yield name, text[:at] + lines + text[at:]
    for name, (old, new) in SCENARIO_REPLACES.items():
        if old in text:
            yield name, text.replace(old, new, 1)


def main():
    os.makedirs(OUT, exist_ok=True)
    for example in sorted(os.listdir(EXAMPLES)):
        folder = os.path.join(EXAMPLES, example)
        if not os.path.isfile(os.path.join(folder, "scenario.ini")):
            continue
        for variant, scenario in scenario_variants(read(os.path.join(folder, "scenario.ini"))):
            parts = [scenario, startup(folder), table(folder)]
            head = "\n@@\n".join(parts).encode("utf-8") + b"\n@@\n"
            for calls_name, calls in HOST_CALLS.items():
                if variant and calls_name != "pause_and_shots":
                    continue
                with open(os.path.join(OUT, f"{example}{variant}_{calls_name}"), "wb") as f:
                    f.write(head + calls)


if __name__ == "__main__":
    main()
