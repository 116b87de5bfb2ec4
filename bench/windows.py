"""bench/run windows: the window kit's UI loop on a private X server. A
worker floods a window with progress messages (as an install run does); the
longest time between two input and drawing turns of the UI loop must stay
under 50 ms. A plain looper on its own thread takes the same flood as the
baseline. Also: how soon the first window is on the screen."""

import os
import shutil
import subprocess
import time

from harness import BenchError, tail

FULL = 100000
SHORT = 10000
GAP_LIMIT_MS = 50


def start_xvfb():
    if shutil.which("Xvfb") is None:
        raise BenchError("Xvfb is not installed")
    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
                               "-nolisten", "tcp"], pass_fds=(write,),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    number = b""
    deadline = time.monotonic() + 20
    while time.monotonic() < deadline:
        byte = os.read(read, 1)
        if not byte or byte == b"\n":
            break
        number += byte
    os.close(read)
    if not number:
        server.kill()
        raise BenchError("Xvfb did not start")
    return server, ":" + number.decode()


def run(ctx):
    count = SHORT if ctx.short else FULL
    program = ctx.program("stowbench-window-flood")
    module = os.path.join(os.path.dirname(ctx.bin), "lib", "stow-interface.so")
    server, display = start_xvfb()
    try:
        env = dict(os.environ, DISPLAY=display, STOW_INTERFACE_MODULE=module)
        env.pop("STOW_SCALE", None)
        result = subprocess.run([program, str(count)], env=env, capture_output=True, text=True,
                                timeout=600)
    finally:
        server.terminate()
        server.wait()
    if result.returncode != 0:
        raise BenchError("stowbench-window-flood failed (exit %d):\n%s" % (
            result.returncode, tail(result.stderr)))
    figures = dict(line.split(" ", 1) for line in result.stdout.splitlines() if " " in line)
    gap = float(figures["gap"])
    ctx.out("windows: first window drawn %.0f ms after the process started" % float(figures["opened"]))
    ctx.out("windows: %d messages: plain looper %.2f s, window %.2f s (%s redraws)" % (
        count, float(figures["baseline"]), float(figures["flood"]), figures["draws"]))
    ctx.out("windows: longest gap between input and drawing turns during the flood: %.1f ms "
            "(target under %d ms)" % (gap, GAP_LIMIT_MS))
    verdict_text = "met" if gap < GAP_LIMIT_MS else "MISSED"
    return "windows: longest UI gap %.1f ms under a %d-message flood, target %s" % (
        gap, count, verdict_text)
