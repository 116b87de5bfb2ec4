"""bench/run scan: Stowclear --list over a tree against find (the walk
alone) and getfattr -R (the walk with an attribute read per entry); then
the deinstaller's windows on the same tree (deinstall_window.py); then over
an installed product, where every entry the walk meets is tagged, against
find."""

import json
import os
import shutil

from harness import BenchError, Contender, compete, print_table, run_checked, run_timed, tail, \
    verdict
import deinstall_window
import product

FULL = {"entries": 200000, "tagged": 3000, "links": 2}
SHORT = {"entries": 10000, "tagged": 300, "links": 2}
PRODUCT_FULL = {"files": 5000}
PRODUCT_SHORT = {"files": 300}
FIND_LIMIT = 1.2


def make_deinstaller(ctx, work):
    """A copy of Stowclear carrying the benchmark product's record, as an
    install would place it."""
    record_json = os.path.join(work, "record.json")
    record = os.path.join(work, "record.bin")
    with open(record_json, "w") as out:
        json.dump(product.deinstaller_record(), out)
    stowpack = ctx.program("stowpack")
    run_checked([stowpack, "message", "encode", record_json, record], "encoding the record")
    deinstaller = os.path.join(work, "Stowclear")
    shutil.copy2(ctx.program("Stowclear"), deinstaller)
    run_checked([stowpack, "add", deinstaller, "CSTR", "2002", "STK:configuration", record],
                "attaching the record")
    return deinstaller


def run(ctx):
    return run_tree(ctx) + "; " + run_product(ctx)


def install_product(ctx, work, root, env):
    """Installs the benchmark product (a folder item of small files) into
    root; every entry it places is tagged."""
    shape = PRODUCT_SHORT if ctx.short else PRODUCT_FULL
    payload = os.path.join(work, "payload")
    os.makedirs(payload)
    run_checked([ctx.program("stowbench-payload"), "--seed", "2", "--files", str(shape["files"]),
                 "--max-size", "4096", "--big", "0", payload], "making the payload")
    description = os.path.join(payload, "product.json")
    with open(description, "w") as out:
        json.dump(product.description(["library"]), out)
    installer = os.path.join(work, "installer")
    run_checked([ctx.program("stowpack"), "build", description, "-o", installer],
                "building the installer")
    destination = os.path.join(root, "dest")
    os.makedirs(destination)
    run_checked([installer, "--unattended", "--accept-license", "--all", "--dest", destination],
                "installing the product", env=env)
    return os.path.join(root, "dest", product.FOLDER)


def product_entries(folder):
    """Every path below folder (links not followed), folder included."""
    paths = [folder]
    for top, folders, leaves in os.walk(folder):
        paths.extend(os.path.join(top, name) for name in folders + leaves)
    return sorted(paths)


def run_product(ctx):
    work = os.path.join(ctx.work, "scan-product")
    root = os.path.join(work, "root")
    os.makedirs(root)
    env = ctx.environment(root)
    folder = install_product(ctx, work, root, env)
    # The item and everything in it are tagged; the product folder, its log
    # and the deinstaller are not.
    tagged = product_entries(os.path.join(folder, "library"))
    deinstaller = make_deinstaller(ctx, work)
    found_list = os.path.join(work, "found.txt")
    scan_err = os.path.join(work, "scan.err")

    def run_scan():
        with open(found_list, "w") as out, open(scan_err, "w") as err:
            return run_timed([deinstaller, "--unattended", "--list", "--volume", root], env=env,
                             stdout=out, stderr=err)

    def check_scan(result):
        if result.status != 0:
            raise BenchError("Stowclear --list failed (exit %d):\n%s" % (
                result.status, tail(open(scan_err).read())))
        with open(found_list) as listed:
            found = listed.read().splitlines()
        if len(found) != len(set(found)) or sorted(found) != tagged:
            missing = sorted(set(tagged) - set(found))
            extra = sorted(set(found) - set(tagged))
            raise BenchError("Stowclear listed %d paths (%d distinct), the item has %d; missed %s; "
                             "wrongly %s" % (len(found), len(set(found)), len(tagged), missing[:5],
                                             extra[:5]))

    def run_find():
        return run_timed(["find", root, "-xdev"])

    def check_find(result):
        if result.status != 0:
            raise BenchError("find failed (exit %d)" % result.status)

    scan = Contender("Stowclear --unattended --list", lambda: None, run_scan, check_scan)
    find = Contender("find -xdev", lambda: None, run_find, check_find)
    ctx.out("scan, installed product: %d entries, all tagged" % len(tagged))
    compete([scan, find], ctx.runs, ctx.log)
    print_table([scan, find], ctx.out)
    to_find = scan.median() / find.median()
    ctx.out("  scan/find %.2f (target at most %.1f: %s); processor time %.2f" % (
        to_find, FIND_LIMIT, verdict(to_find, FIND_LIMIT), scan.median_cpu() / find.median_cpu()))
    if not ctx.keep:
        shutil.rmtree(work, ignore_errors=True)
    return "scan installed product of %d entries: Stowclear %.3f s, find %.3f s, scan/find %.2f" % (
        len(tagged), scan.median(), find.median(), to_find)


def run_tree(ctx):
    shape = SHORT if ctx.short else FULL
    work = os.path.join(ctx.work, "scan")
    root = os.path.join(work, "root")
    os.makedirs(root)
    env = ctx.environment(root)
    expected_list = os.path.join(work, "expected.txt")
    made = run_checked([ctx.program("stowbench-tree"), "--seed", "1",
                        "--entries", str(shape["entries"]), "--tagged", str(shape["tagged"]),
                        "--tagged-links", str(shape["links"]), "--key", product.KEY,
                        "--expected", expected_list, root], "making the tree", env=env)
    with open(expected_list) as listed:
        expected = listed.read().splitlines()
    deinstaller = make_deinstaller(ctx, work)
    found_list = os.path.join(work, "found.txt")
    scan_err = os.path.join(work, "scan.err")

    def run_scan():
        with open(found_list, "w") as out, open(scan_err, "w") as err:
            return run_timed([deinstaller, "--unattended", "--list", "--volume", root], env=env,
                             stdout=out, stderr=err)

    def check_scan(result):
        if result.status != 0:
            raise BenchError("Stowclear --list failed (exit %d):\n%s" % (
                result.status, tail(open(scan_err).read())))
        with open(found_list) as listed:
            found = listed.read().splitlines()
        if len(found) != len(set(found)):
            raise BenchError("Stowclear listed %d paths, some of them twice" % len(found))
        if sorted(found) != expected:
            missing = sorted(set(expected) - set(found))
            extra = sorted(set(found) - set(expected))
            raise BenchError("Stowclear found %d entries, %d are tagged; missed %s; wrongly %s"
                             % (len(found), len(expected), missing[:5], extra[:5]))

    def run_find():
        return run_timed(["find", root, "-xdev"])

    def check_find(result):
        if result.status != 0:
            raise BenchError("find failed (exit %d)" % result.status)

    def run_getfattr():
        return run_timed(["getfattr", "-R", "-n", "user.InstallBy", root])

    def check_getfattr(result):
        # 1: some entries lack the attribute, which is the point.
        if result.status not in (0, 1):
            raise BenchError("getfattr failed (exit %d)" % result.status)

    def nothing():
        pass

    scan = Contender("Stowclear --unattended --list", nothing, run_scan, check_scan)
    find = Contender("find -xdev", nothing, run_find, check_find)
    getfattr = Contender("getfattr -R -n user.InstallBy", nothing, run_getfattr, check_getfattr)
    ctx.out("scan: %s" % made.strip())
    compete([scan, find, getfattr], ctx.runs, ctx.log)
    print_table([scan, find, getfattr], ctx.out)
    to_find = scan.median() / find.median()
    to_getfattr = scan.median() / getfattr.median()
    ctx.out("  scan/find %.2f (target at most %.1f: %s); processor time %.2f" % (
        to_find, FIND_LIMIT, verdict(to_find, FIND_LIMIT), scan.median_cpu() / find.median_cpu()))
    ctx.out("  scan/getfattr %.2f (target below 1: %s)" % (to_getfattr, verdict(to_getfattr, 1,
                                                                                 below=True)))
    ctx.out("  Stowclear found all %d tagged entries; peak resident memory %.1f MiB" % (
        len(expected), scan.peak_kib() / 1024))
    # Last: its removal takes the tagged entries away.
    window = deinstall_window.run(ctx, root, deinstaller, env, scan.median(), len(expected))
    if not ctx.keep:
        shutil.rmtree(work, ignore_errors=True)
    return window + "; scan %d entries: Stowclear %.2f s, find %.2f s, getfattr %.2f s, scan/find %.2f, " \
        "scan/getfattr %.2f" % (shape["entries"], scan.median(), find.median(),
                                getfattr.median(), to_find, to_getfattr)
