#!/usr/bin/env python3
"""Runs update.exe's end-to-end tests under Wine with the packages they
serve, made here with zipfile: the new program is the recording stand-in
(recorder.exe) with a marker appended, so its start is logged. The range
server of the download tests serves the same files slowly, for a transfer
that can be watched.

usage: run_updater_tests.py WINE_RUN TEST_EXE RECORDER_EXE [gtest arguments]
"""
import os
import random
import subprocess
import sys
import tempfile
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import range_server  # noqa: E402

NEW_PROGRAM_MARKER = b"\0new Vantry"
NEW_TEXT = b"new a"
MANY_NAME = "many/d%03d/f.txt"
MANY_TEXT = b"many"
MANY_COUNT = 300


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def make_packages(directory, recorder):
    with open(recorder, "rb") as f:
        new_program = f.read() + NEW_PROGRAM_MARKER

    def archive(name, entries, method=zipfile.ZIP_DEFLATED):
        path = os.path.join(directory, name)
        with zipfile.ZipFile(path, "w", method) as z:
            for entry, data in entries:
                z.writestr(entry, data)
        with open(path, "rb") as f:
            return f.read()

    package = [("Vantry.exe", new_program), ("data/", b""), ("data/a.txt", NEW_TEXT)]
    whole = archive("install.zip", package)
    # Enough directories for the installation to take a while: the window
    # stays open and answers between them.
    archive("many.zip", package + [(MANY_NAME % n, MANY_TEXT) for n in range(MANY_COUNT)])
    write(os.path.join(directory, "truncated.zip"), whole[: len(whole) - 200])
    archive("slip.zip", package + [("../evil.txt", b"evil")])
    # Stored, so that one byte of data/a.txt can be spoilt after its CRC was taken.
    damaged = bytearray(archive("crc.zip", package[:2] + [("data/a.txt", NEW_TEXT * 100)], zipfile.ZIP_STORED))
    damaged[damaged.find(NEW_TEXT * 100) + 250] ^= 0xFF
    write(os.path.join(directory, "crc.zip"), bytes(damaged))
    # Not a package: the size the task row shows as 1234.57K.
    write(os.path.join(directory, "size.bin"), random.Random(5).randbytes(1234567))


def main():
    wine_run, exe, recorder = sys.argv[1:4]
    with tempfile.TemporaryDirectory(prefix="vantry-updater-") as work:
        packages = os.path.join(work, "packages")
        os.makedirs(packages)
        make_packages(packages, recorder)
        server = range_server.start(packages, os.path.join(work, "requests.log"))
        env = dict(os.environ)
        env["VANTRY_PACKAGES"] = "Z:" + packages.replace("/", "\\")
        env["VANTRY_RANGE_PORT"] = str(server.server_address[1])
        try:
            return subprocess.call([wine_run, exe] + sys.argv[4:], env=env)
        finally:
            server.shutdown()


if __name__ == "__main__":
    sys.exit(main())
