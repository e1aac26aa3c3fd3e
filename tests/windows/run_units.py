#!/usr/bin/env python3
"""The runtime's unit tests as Windows programs, under Wine on the bench.

Runs inside the Windows bench: python3 run_units.py BINDIR LOGDIR
Every *_tests.exe in BINDIR runs once, whole (a Wine process start costs
seconds under emulation); googletest's own summary gives the counts. Prints
one line per program, the failed tests by name, and then "N passed, N failed".
"""
import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

LIMIT = 600  # seconds for one program


def run(program, logdir):
    """Runs one program; its output goes to a log file as it comes, so a
    program that hangs can be watched from outside the bench."""
    start = time.monotonic()
    log = os.path.join(logdir, os.path.basename(program) + ".log")
    with open(log, "wb") as sink:
        # A crash ends the program at once instead of waiting on a debugger.
        env = dict(os.environ)
        env["WINEDLLOVERRIDES"] = env.get("WINEDLLOVERRIDES", "") + ";winedbg.exe=d"
        process = subprocess.Popen(["wine", program, "--gtest_color=no"], stdout=sink, env=env,
                                   stderr=subprocess.STDOUT, cwd=os.path.dirname(program))
        try:
            code = process.wait(timeout=LIMIT)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
            code = "timeout"
    with open(log, "rb") as source:
        out = source.read().decode("utf-8", "replace")
    ran = re.search(r"^\[==========\] (\d+) tests? from .* ran", out, re.M)
    passed = re.search(r"^\[  PASSED  \] (\d+) tests?", out, re.M)
    skipped = re.search(r"^\[  SKIPPED \] (\d+) tests?", out, re.M)
    failed = re.findall(r"^\[  FAILED  \] (\S+\.\S+)", out, re.M)
    differs = re.findall(r"^\[ WINE DIFFERS \] (.*)$", out, re.M)
    count = int(ran.group(1)) if ran else 0
    good = int(passed.group(1)) if passed else 0
    # A test that skipped itself (a code page it needs is not the system's)
    # neither passed nor failed.
    skips = int(skipped.group(1)) if skipped else 0
    if not ran:
        # Ended before googletest's summary: whatever did not report OK failed.
        started = re.findall(r"^\[ RUN      \] (\S+)", out, re.M)
        ok = set(re.findall(r"^\[       OK \] (\S+)", out, re.M))
        good = len(ok)
        failed = [name for name in started if name not in ok]
        count = len(started)
        skips = 0
    return (count, good, skips, sorted(set(failed)), sorted(set(differs)), code,
            time.monotonic() - start, out)


def main():
    # Run from the bench's own disk: the shared folder the programs arrive in
    # is not one Wine maps program images from reliably.
    bindir = tempfile.mkdtemp(prefix="units-")
    for program in glob.glob(os.path.join(os.path.abspath(sys.argv[1]), "*_tests.exe")):
        shutil.copy(program, bindir)
    logdir = os.path.abspath(sys.argv[2])
    os.makedirs(logdir, exist_ok=True)
    total_passed = total_failed = total_skipped = 0
    differences = []
    for program in sorted(glob.glob(os.path.join(bindir, "*_tests.exe"))):
        count, good, skips, failed, differs, code, seconds, out = run(program, logdir)
        bad = max(len(failed), count - good - skips)
        print("%s: %d run, %d passed, %d skipped, %d failed (exit %s, %.0f s)" % (
            os.path.basename(program), count, good, skips, bad, code, seconds), flush=True)
        for name in failed:
            print("    FAILED " + name, flush=True)
        if count == 0 or (code not in (0, 1)):
            print("    " + out[-3000:].replace("\n", "\n    "), flush=True)
            if count == 0:
                bad = max(bad, 1)
        total_passed += good
        total_failed += bad
        total_skipped += skips
        differences += differs
    print("%d expectations known to differ under Wine:" % len(differences), flush=True)
    for line in differences:
        print("    " + line, flush=True)
    print("%d skipped here (their reasons are in the logs)" % total_skipped, flush=True)
    print("%d passed, %d failed" % (total_passed, total_failed), flush=True)
    return 1 if total_failed else 0


if __name__ == "__main__":
    sys.exit(main())
