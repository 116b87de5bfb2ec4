"""What every benchmark shares: the work folder, timed runs of programs,
the order of runs, and the printed figures."""

import os
import statistics
import subprocess
import tempfile
import time


class BenchError(Exception):
    """A benchmark that cannot run or whose programs did the wrong thing."""


class Timed:
    def __init__(self, seconds, cpu_seconds, peak_kib, status):
        self.seconds = seconds
        self.cpu_seconds = cpu_seconds
        self.peak_kib = peak_kib
        self.status = status


def run_timed(argv, env=None, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, cwd=None):
    """Runs a program to its end; wall time on the monotonic clock, and the
    processor time and peak resident memory of the program (and of any
    program it waited for) from wait4's resource usage."""
    start = time.monotonic()
    process = subprocess.Popen(argv, env=env, stdout=stdout, stderr=stderr, cwd=cwd,
                               stdin=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    seconds = time.monotonic() - start
    process.returncode = os.waitstatus_to_exitcode(status)
    return Timed(seconds, usage.ru_utime + usage.ru_stime, usage.ru_maxrss, process.returncode)


def run_checked(argv, what, env=None, cwd=None):
    """Runs an untimed preparation step; its output on failure."""
    result = subprocess.run(argv, env=env, cwd=cwd, stdin=subprocess.DEVNULL,
                            capture_output=True, text=True, errors="replace")
    if result.returncode != 0:
        raise BenchError("%s failed (exit %d): %s\n%s" % (
            what, result.returncode, " ".join(argv), tail(result.stderr + result.stdout)))
    return result.stdout


def tail(text, lines=15):
    return "\n".join(text.strip().splitlines()[-lines:])


def mount_of(path):
    """(mount point, file system type, source) of the mount holding path."""
    path = os.path.realpath(path)
    best = ("/", "?", "?")
    with open("/proc/self/mountinfo") as mounts:
        for line in mounts:
            fields = line.split()
            point = fields[4].encode().decode("unicode_escape")
            rest = fields[fields.index("-") + 1:]
            inside = path == point or path.startswith(point.rstrip("/") + "/")
            if inside and len(point) >= len(best[0]):
                best = (point, rest[0], rest[1])
    return best


def make_work_folder(build_dir):
    """A fresh folder beside the build, so installs, archives and unzip all
    write to the file system the programs were built on (a tmpfs /tmp
    would measure memory copies instead)."""
    work = tempfile.mkdtemp(prefix="bench-", dir=build_dir)
    if os.stat(work).st_dev != os.stat(build_dir).st_dev:
        raise BenchError("%s is not on the file system of %s" % (work, build_dir))
    return work


def machine():
    """CPU model, cores, memory: what the figures came from."""
    model = "unknown CPU"
    with open("/proc/cpuinfo") as info:
        for line in info:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    memory = 0
    with open("/proc/meminfo") as info:
        for line in info:
            if line.startswith("MemTotal:"):
                memory = int(line.split()[1]) * 1024
    return "%s, %d cores, %.0f GiB RAM" % (model, os.cpu_count() or 0, memory / 2**30)


class Contender:
    """One program under test: `prepare` (untimed) leaves the state a run
    starts from, `run` returns the Timed result, `check` raises BenchError
    when the run did the wrong thing."""

    def __init__(self, name, prepare, run, check):
        self.name = name
        self.prepare = prepare
        self.run = run
        self.check = check
        self.results = []

    def median(self):
        return statistics.median(result.seconds for result in self.results)

    def median_cpu(self):
        return statistics.median(result.cpu_seconds for result in self.results)

    def peak_kib(self):
        return max(result.peak_kib for result in self.results)


def compete(contenders, runs, log):
    """Each contender runs once to warm the caches, then they take turns run
    by run (the first of each round rotates), so neither profits from the
    other's cache or suffers from its write-back. Dirty data is written out
    before every timed run."""
    for contender in contenders:
        contender.prepare()
        os.sync()
        contender.check(contender.run())
    for round_ in range(runs):
        for i in range(len(contenders)):
            contender = contenders[(round_ + i) % len(contenders)]
            contender.prepare()
            os.sync()
            result = contender.run()
            contender.check(result)
            contender.results.append(result)
            log("  run %d/%d %-34s %8.3f s" % (round_ + 1, runs, contender.name, result.seconds))


def print_table(contenders, out):
    """Wall times, and the median processor time (user and system), which a
    busy machine disturbs less."""
    out("  %-32s %9s %9s %9s %9s %5s" % ("program", "median", "min", "max", "cpu", "runs"))
    for contender in contenders:
        times = [result.seconds for result in contender.results]
        out("  %-32s %8.3fs %8.3fs %8.3fs %8.3fs %5d" % (
            contender.name, contender.median(), min(times), max(times), contender.median_cpu(),
            len(times)))


def verdict(value, limit, below=False):
    """A target's note; a missed target is reported, never a failure."""
    met = value < limit if below else value <= limit
    return "met" if met else "MISSED"
