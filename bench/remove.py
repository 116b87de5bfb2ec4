"""bench/run remove: the placed deinstaller removing an installed product of
65,533 files (Stowclear --unattended: the search, then the removal into the
Trash) against rm -rf of a copy of the same tree. The same removal with a
file of the user's in every folder of the product stands for the removal as
it was before folders moved whole: every file then goes on its own."""

import json
import os
import shutil

from harness import BenchError, Contender, compete, print_table, run_checked, run_timed, tail, \
    verdict
import product

FULL = {"files": 65533}
SHORT = {"files": 1000}
RATIO_LIMIT = 2.0
ITEM = "library"
USER_FILE = "my-notes.txt"


def install_product(ctx, work, shape):
    """The product installed once, into pristine/dest; every run starts from
    a copy of it (cp -a keeps the tags, which are extended attributes)."""
    payload = os.path.join(work, "payload")
    os.makedirs(payload)
    run_checked([ctx.program("stowbench-payload"), "--seed", "1", "--files", str(shape["files"]),
                 "--min-size", "1", "--max-size", "4096", "--big", "0", payload],
                "making the payload")
    description = os.path.join(payload, "product.json")
    with open(description, "w") as out:
        json.dump(product.description([ITEM]), out, indent=1)
    installer = os.path.join(work, "Stowbench-installer")
    run_checked([ctx.program("stowpack"), "build", description, "-o", installer],
                "building the installer")
    pristine = os.path.join(work, "pristine")
    os.makedirs(os.path.join(pristine, "dest"))
    run_checked([installer, "--unattended", "--accept-license", "--all", "--dest",
                 os.path.join(pristine, "dest")], "installing the product",
                env=ctx.environment(pristine))
    shutil.rmtree(payload)
    return pristine


def count_files(folder):
    return sum(len(files) for _, _, files in os.walk(folder))


def run(ctx):
    shape = SHORT if ctx.short else FULL
    work = os.path.join(ctx.work, "remove")
    os.makedirs(work)
    ctx.log("remove: installing a product of %d files (untimed)" % shape["files"])
    pristine = install_product(ctx, work, shape)
    root = os.path.join(work, "root")
    folder = os.path.join(root, "dest", product.FOLDER)
    item = os.path.join(folder, ITEM)
    deinstaller = os.path.join(folder, "%s 1.0 Deinstaller" % product.IDENTITY[0][1])
    env = ctx.environment(root)
    err = os.path.join(work, "remove.err")
    installed_item = os.path.join(pristine, "dest", product.FOLDER, ITEM)
    # The item's folders, relative to it ("." for the item itself).
    folders_in_item = [os.path.relpath(top, installed_item) for top, _, _ in os.walk(installed_item)]

    def fresh_copy():
        shutil.rmtree(root, ignore_errors=True)
        run_checked(["cp", "-a", pristine, root], "copying the installed product")

    def with_user_files():
        fresh_copy()
        for relative in folders_in_item:
            with open(os.path.join(item, relative, USER_FILE), "w") as out:
                out.write("mine\n")

    def run_deinstaller():
        with open(err, "w") as errors:
            return run_timed([deinstaller, "--unattended"], env=env, stderr=errors)

    # The programs' home trash: $HOME/.local/share/Trash inside the root.
    trash = os.path.join(root, os.path.expanduser("~").lstrip("/"), ".local", "share", "Trash")

    def check_deinstaller(result, whole):
        if result.status != 0:
            raise BenchError("Stowclear --unattended failed (exit %d):\n%s" % (
                result.status, tail(open(err).read())))
        files = os.path.join(trash, "files")
        if not os.path.isdir(files):
            raise BenchError("the deinstaller made no Trash at %s" % trash)
        if whole:
            if os.path.exists(item):
                raise BenchError("Stowclear left %s" % item)
            if os.listdir(files) != [ITEM]:
                raise BenchError("the Trash holds %s, not the item as one entry"
                                 % sorted(os.listdir(files))[:5])
            moved = count_files(os.path.join(files, ITEM))
        else:
            left = count_files(item)
            if left != len(folders_in_item):
                raise BenchError("Stowclear left %d files, the user's are %d" % (
                    left, len(folders_in_item)))
            moved = len(os.listdir(files))
        if moved != shape["files"]:
            raise BenchError("the Trash holds %d files of the product's %d" % (
                moved, shape["files"]))

    def run_rm():
        return run_timed(["rm", "-rf", item])

    def check_rm(result):
        if result.status != 0 or os.path.exists(item):
            raise BenchError("rm -rf failed (exit %d)" % result.status)

    whole = Contender("Stowclear --unattended", fresh_copy, run_deinstaller,
                      lambda result: check_deinstaller(result, True))
    single = Contender("the same, user file in each folder", with_user_files, run_deinstaller,
                       lambda result: check_deinstaller(result, False))
    rm = Contender("rm -rf (a copy of the tree)", fresh_copy, run_rm, check_rm)
    ctx.out("remove: an installed product of %d files in %d folders, into the Trash" % (
        shape["files"], len(folders_in_item)))
    compete([whole, single, rm], ctx.runs, ctx.log)
    print_table([whole, single, rm], ctx.out)
    ratio = whole.median() / rm.median()
    before = single.median() / rm.median()
    ctx.out("  Stowclear/rm -rf %.2f (target at most %.1f: %s); processor time %.2f" % (
        ratio, RATIO_LIMIT, verdict(ratio, RATIO_LIMIT), whole.median_cpu() / rm.median_cpu()))
    ctx.out("  entry by entry (as before whole folders): Stowclear/rm -rf %.2f, %.1f times the "
            "whole removal" % (before, single.median() / whole.median()))
    if not ctx.keep:
        shutil.rmtree(work, ignore_errors=True)
    return "remove %d files: Stowclear %.2f s (entry by entry %.2f s), rm -rf %.2f s, " \
        "ratio %.2f (entry by entry %.2f)" % (shape["files"], whole.median(), single.median(),
                                             rm.median(), ratio, before)
