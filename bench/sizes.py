"""bench/run sizes: what a user downloads and what stays on the disk. The
demo product (a few kilobytes of payload) built into an installer with the
release programs, installed unattended into a private root, and the
deinstaller that install placed."""

import glob
import os

from harness import BenchError, run_checked

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
INSTALLER_LIMIT_MB = 5.0
DEINSTALLER_LIMIT_MB = 4.0
LIBC_PLACES = ("/lib/x86_64-linux-gnu/libc.so.6", "/usr/lib/x86_64-linux-gnu/libc.so.6",
               "/lib64/libc.so.6", "/usr/lib/libc.so.6")


def placed_deinstaller(root):
    found = glob.glob(os.path.join(root, "**", "Stowdemo * Deinstaller"), recursive=True)
    if len(found) != 1:
        raise BenchError("expected one placed deinstaller below %s, found %d" % (root, len(found)))
    return found[0]


def run(ctx):
    installer = os.path.join(ctx.work, "demo-installer")
    run_checked([ctx.program("stowpack"), "build", os.path.join(REPO, "samples/demo/product.json"),
                 "-o", installer, "--base", ctx.program("Stowfast"),
                 "--deinstaller", ctx.program("Stowclear")], "stowpack build")
    root = os.path.join(ctx.work, "sizes-root")
    os.makedirs(os.path.join(root, "home/demo"))
    os.makedirs(os.path.join(root, "usr/lib"))
    # The demo product requires the C library.
    libc = next((path for path in LIBC_PLACES if os.path.exists(path)), None)
    if libc:
        os.symlink(libc, os.path.join(root, "usr/lib/libc.so.6"))
    env = dict(ctx.environment(root), HOME="/home/demo")
    run_checked([installer, "--unattended", "--accept-license", "--all"], "the demo install",
                env=env)
    installer_mb = os.path.getsize(installer) / 2**20
    deinstaller_mb = os.path.getsize(placed_deinstaller(root)) / 2**20
    met = installer_mb < INSTALLER_LIMIT_MB and deinstaller_mb < DEINSTALLER_LIMIT_MB
    ctx.out("sizes: demo installer %.2f MiB (target under %.0f), placed deinstaller %.2f MiB "
            "(target under %.0f): %s" % (installer_mb, INSTALLER_LIMIT_MB, deinstaller_mb,
                                         DEINSTALLER_LIMIT_MB, "met" if met else "MISSED"))
    return "sizes: installer %.2f MiB, placed deinstaller %.2f MiB" % (installer_mb,
                                                                         deinstaller_mb)
