"""bench/run install: Stowfast --unattended against unzip -q of the very
archives the installer carries, into empty folders on one file system."""

import filecmp
import json
import os
import shutil

from harness import BenchError, Contender, compete, print_table, run_checked, run_timed, tail, \
    verdict
import product

FULL = {"files": 5000, "big": 3, "big_size": 100 * 2**20}
SHORT = {"files": 300, "big": 3, "big_size": 2 * 2**20}
PEAK_LIMIT_MIB = 64
RATIO_LIMIT = 0.8


def item_files(folder, names):
    """Every file of the named items in folder, by path relative to folder,
    with its size; links are not followed."""
    files = {}
    for name in names:
        path = os.path.join(folder, name)
        if not os.path.lexists(path):
            raise BenchError("%s is missing" % path)
        if not os.path.isdir(path):
            files[name] = os.lstat(path).st_size
            continue
        for top, _, leaves in os.walk(path):
            for leaf in leaves:
                full = os.path.join(top, leaf)
                files[os.path.relpath(full, folder)] = os.lstat(full).st_size
    return files


def compare_items(who, payload, expected, folder, names, contents):
    """Raises BenchError unless folder holds exactly the payload's files,
    with their sizes, and with contents their bytes."""
    found = item_files(folder, names)
    if found != expected:
        wrong = sorted(set(found.items()) ^ set(expected.items()))
        raise BenchError("%s placed %d files of %d bytes, the payload has %d of %d; first "
                         "differences %s" % (who, len(found), sum(found.values()), len(expected),
                                             sum(expected.values()), wrong[:4]))
    for name in expected if contents else []:
        if not filecmp.cmp(os.path.join(payload, name), os.path.join(folder, name), False):
            raise BenchError("%s placed %s with other bytes than the payload's" % (who, name))


def fresh(folder, top=None):
    """An empty folder; with top, everything under top goes first."""
    shutil.rmtree(top or folder, ignore_errors=True)
    os.makedirs(folder)


def make_installer(ctx, work, shape):
    payload = os.path.join(work, "payload")
    os.makedirs(payload)
    run_checked([ctx.program("stowbench-payload"), "--seed", "1", "--files", str(shape["files"]),
                 "--big", str(shape["big"]), "--big-size", str(shape["big_size"]), payload],
                "making the payload")
    items = ["library"] + ["data-%d.bin" % i for i in range(1, shape["big"] + 1)]
    description = os.path.join(payload, "product.json")
    with open(description, "w") as out:
        json.dump(product.description(items), out, indent=1)
    installer = os.path.join(work, "Stowbench-installer")
    with open(os.path.join(work, "build.err"), "w") as err:
        built = run_timed([ctx.program("stowpack"), "build", description, "-o", installer],
                          stderr=err)
    if built.status != 0:
        raise BenchError("stowpack build failed (exit %d):\n%s" % (
            built.status, tail(open(os.path.join(work, "build.err")).read())))
    return payload, items, installer, built


def extract_archives(ctx, work, installer, count):
    """The deinstaller's archive and every item's, out of the installer."""
    folder = os.path.join(work, "archives")
    os.makedirs(folder)
    archives = []
    for resource in [2001] + [2100 + i for i in range(count)]:
        archives.append(os.path.join(folder, "%d.zip" % resource))
        run_checked([ctx.program("stowpack"), "extract", installer, "RAWT", str(resource),
                     archives[-1]], "extracting archive %d" % resource)
    return archives


def run(ctx):
    shape = SHORT if ctx.short else FULL
    work = os.path.join(ctx.work, "install")
    os.makedirs(work)
    payload, items, installer, built = make_installer(ctx, work, shape)
    archives = extract_archives(ctx, work, installer, len(items))
    expected = item_files(payload, items)
    checked = set()
    root = os.path.join(work, "root")
    destination = os.path.join(root, "dest")
    unzipped = os.path.join(work, "unzip")
    install_err = os.path.join(work, "install.err")
    env = ctx.environment(root)

    def run_install():
        with open(install_err, "w") as err:
            return run_timed([installer, "--unattended", "--accept-license", "--all", "--dest",
                              destination], env=env, stderr=err)

    def check_install(result):
        if result.status != 0:
            raise BenchError("Stowfast --unattended failed (exit %d):\n%s" % (
                result.status, tail(open(install_err).read())))
        compare_items("Stowfast", payload, expected, os.path.join(destination, product.FOLDER),
                      items, "install" not in checked)
        checked.add("install")

    def run_unzip():
        total = None
        for archive in archives:
            result = run_timed(["unzip", "-q", archive, "-d", unzipped])
            if result.status != 0:
                return result
            if total is not None:
                result.seconds += total.seconds
                result.cpu_seconds += total.cpu_seconds
                result.peak_kib = max(result.peak_kib, total.peak_kib)
            total = result
        return total

    def check_unzip(result):
        if result.status != 0:
            raise BenchError("unzip -q failed (exit %d)" % result.status)
        compare_items("unzip", payload, expected, unzipped, items, "unzip" not in checked)
        checked.add("unzip")

    install = Contender("Stowfast --unattended", lambda: fresh(destination, root), run_install,
                        check_install)
    unzip = Contender("unzip -q (%d archives)" % len(archives), lambda: fresh(unzipped),
                      run_unzip, check_unzip)
    size = sum(expected.values())
    ctx.out("install: payload %d files in %d items, %.1f MB; installer %.1f MB, built in %.2f s" % (
        len(expected), len(items), size / 1e6, os.path.getsize(installer) / 1e6, built.seconds))
    compete([install, unzip], ctx.runs, ctx.log)
    print_table([install, unzip], ctx.out)
    ratio = install.median() / unzip.median()
    peak = install.peak_kib() / 1024
    ctx.out("  install/unzip %.2f (target at most %.1f: %s); processor time %.2f" % (
        ratio, RATIO_LIMIT, verdict(ratio, RATIO_LIMIT), install.median_cpu() / unzip.median_cpu()))
    ctx.out("  Stowfast peak resident memory %.1f MiB (target under %d MiB: %s)" % (
        peak, PEAK_LIMIT_MIB, verdict(peak, PEAK_LIMIT_MIB, below=True)))
    if not ctx.keep:
        shutil.rmtree(work, ignore_errors=True)
    return "install %.1f MB: Stowfast %.2f s, unzip %.2f s, ratio %.2f, peak %.1f MiB" % (
        size / 1e6, install.median(), unzip.median(), ratio, peak)
