"""The deinstaller's windows on the tree of bench/run scan: the search from
the Search button until the removal window shows what was found (its first
rows; the rest follow in slices), against
Stowclear --list on the same tree, and the longest gap between two input
and drawing turns of the UI loop during the searches and during the removal
of everything found."""

import os
import statistics
import subprocess

from harness import BenchError, tail, verdict
from windows import start_xvfb

RATIO_LIMIT = 1.1
GAP_LIMIT_MS = 50


def run(ctx, root, deinstaller, env, list_seconds, expected):
    """list_seconds: the median of Stowclear --list on `root`; expected: how
    many entries it found. The removal leaves the tree without them."""
    program = ctx.program("stowbench-deinstall-window")
    module = os.path.join(os.path.dirname(ctx.bin), "lib", "stow-interface.so")
    server, display = start_xvfb()
    try:
        window_env = dict(env, DISPLAY=display, STOW_INTERFACE_MODULE=module)
        window_env.pop("STOW_SCALE", None)
        result = subprocess.run([program, deinstaller, root, str(ctx.runs)], env=window_env,
                                capture_output=True, text=True, timeout=1800)
    finally:
        server.terminate()
        server.wait()
    if result.returncode != 0:
        raise BenchError("stowbench-deinstall-window failed (exit %d):\n%s" % (
            result.returncode, tail(result.stderr + result.stdout)))
    searches = []
    filled = []
    figures = {}
    for line in result.stdout.splitlines():
        name, _, value = line.partition(" ")
        if name == "search":
            searches.append(float(value))
        elif name == "filled":
            filled.append(float(value))
        else:
            figures[name] = float(value)
    if int(figures.get("found", -1)) != expected:
        raise BenchError("the window found %s entries, Stowclear --list %d" % (
            figures.get("found"), expected))
    search = statistics.median(searches)
    ratio = search / list_seconds
    search_gap = figures["search-gap"]
    remove_gap = figures["remove-gap"]
    ctx.out("  window search %.2f s (median of %d) against --list %.2f s: ratio %.2f "
            "(target at most %.1f: %s); all %d rows listed after %.2f s" % (
                search, len(searches), list_seconds, ratio, RATIO_LIMIT,
                verdict(ratio, RATIO_LIMIT), expected, statistics.median(filled)))
    ctx.out("  longest UI-loop gap: %.1f ms while searching, %.1f ms while removing %d entries "
            "in %.2f s (target under %d ms: %s)" % (
                search_gap, remove_gap, expected, figures["remove"], GAP_LIMIT_MS,
                verdict(max(search_gap, remove_gap), GAP_LIMIT_MS, below=True)))
    return "window search/--list %.2f, UI gap %.1f ms searching, %.1f ms removing %d entries" % (
        ratio, search_gap, remove_gap, expected)

