"""bench/run installwindow: one large item installed from the installer's
window on a private X server, against the unattended install of the same
installer: the window's install time (from pressing Install to the run's
end) over the unattended one's, and the longest time between two input and
drawing turns of the window's UI loop during the run."""

import json
import os
import shutil
import subprocess

from harness import BenchError, Contender, compete, print_table, run_checked, run_timed, tail, \
    verdict, Timed
import product
import windows

FULL_SIZE = 2**30
SHORT_SIZE = 32 * 2**20
RATIO_LIMIT = 1.05
GAP_LIMIT_MS = 50
ITEM = "data-1.bin"


def make_installer(ctx, work, size):
    payload = os.path.join(work, "payload")
    os.makedirs(payload)
    run_checked([ctx.program("stowbench-payload"), "--seed", "1", "--files", "1",
                 "--big", "1", "--big-size", str(size), payload], "making the payload")
    description = os.path.join(payload, "product.json")
    with open(description, "w") as out:
        json.dump(product.description([ITEM]), out, indent=1)
    installer = os.path.join(work, "Stowbench-installer")
    run_checked([ctx.program("stowpack"), "build", description, "-o", installer],
                "building the installer")
    return payload, installer


def run(ctx):
    size = SHORT_SIZE if ctx.short else FULL_SIZE
    work = os.path.join(ctx.work, "installwindow")
    os.makedirs(work)
    payload, installer = make_installer(ctx, work, size)
    root = os.path.join(work, "root")
    destination = os.path.join(root, "dest")
    placed = os.path.join(destination, product.FOLDER, ITEM)
    log = os.path.join(work, "run.err")
    program = ctx.program("stowbench-installer-window")
    module = os.path.join(os.path.dirname(ctx.bin), "lib", "stow-interface.so")
    gaps = []

    def prepare():
        shutil.rmtree(root, ignore_errors=True)
        os.makedirs(destination)

    def check(result):
        if result.status != 0:
            raise BenchError("the install failed (exit %d):\n%s" % (
                result.status, tail(open(log).read())))
        if os.path.getsize(placed) != size:
            raise BenchError("%s holds %d bytes, the payload %d" % (
                placed, os.path.getsize(placed), size))

    def run_unattended():
        with open(log, "w") as err:
            return run_timed([installer, "--unattended", "--all", "--dest", destination],
                             env=ctx.environment(root), stderr=err)

    server, display = windows.start_xvfb()
    try:
        env = dict(ctx.environment(root), DISPLAY=display, STOW_INTERFACE_MODULE=module)
        env.pop("STOW_SCALE", None)

        def run_window():
            with open(log, "w") as err:
                process = subprocess.run([program, installer, destination], env=env,
                                         stdout=subprocess.PIPE, stderr=err, text=True,
                                         timeout=1200)
            figures = dict(line.split(" ", 1) for line in process.stdout.splitlines()
                           if " " in line)
            if process.returncode == 0:
                gaps.append(float(figures["gap"]))
            return Timed(float(figures.get("seconds", 0)), 0, 0, process.returncode)

        unattended = Contender("Stowfast --unattended", prepare, run_unattended, check)
        window = Contender("Stowfast window (Install)", prepare, run_window, check)
        ctx.out("installwindow: one item of %.1f MB" % (size / 1e6))
        compete([unattended, window], ctx.runs, ctx.log)
    finally:
        server.terminate()
        server.wait()
    print_table([unattended, window], ctx.out)
    ratio = window.median() / unattended.median()
    gap = max(gaps)
    ctx.out("  window/unattended %.3f (target at most %.2f: %s)" % (
        ratio, RATIO_LIMIT, verdict(ratio, RATIO_LIMIT)))
    ctx.out("  longest gap between input and drawing turns during the runs: %.1f ms "
            "(target under %d ms: %s)" % (gap, GAP_LIMIT_MS, verdict(gap, GAP_LIMIT_MS, below=True)))
    if not ctx.keep:
        shutil.rmtree(work, ignore_errors=True)
    return "installwindow %.1f MB: unattended %.2f s, window %.2f s, ratio %.3f, gap %.1f ms" % (
        size / 1e6, unattended.median(), window.median(), ratio, gap)
