#!/usr/bin/env python3
"""Runs the download and package tests under Wine: makes the fixtures (data
files and ZIP archives), starts the range server on 127.0.0.1 and passes both
to the test program through the environment.

usage: run_download_tests.py WINE_RUN TEST_EXE [gtest arguments]
"""
import os
import random
import subprocess
import sys
import tempfile
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import range_server  # noqa: E402


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def make_data(directory):
    rng = random.Random(5)
    write(os.path.join(directory, "big.bin"), rng.randbytes(5 * 1000 * 1000 + 17))
    write(os.path.join(directory, "small.bin"), rng.randbytes(1000))


def make_zips(directory):
    def archive(name, entries):
        path = os.path.join(directory, name)
        with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
            for entry, data in entries:
                z.writestr(entry, data)
        return path

    good = archive("edge.zip", [("Vantry.exe", b"new program"), ("data/", b""), ("data/a.txt", b"a text")])
    archive("dotdir.zip", [("keep.txt", b"keep"), (".hidden/x.txt", b"hidden")])
    archive("slip.zip", [("ok.txt", b"ok"), ("../evil.txt", b"evil")])
    archive("absolute.zip", [("ok.txt", b"ok"), ("/evil.txt", b"evil")])
    archive("drive.zip", [("ok.txt", b"ok"), ("C:/evil.txt", b"evil")])
    # A name flagged UTF-8 (Python sets the flag for non-ASCII names).
    archive("utf8.zip", [("升级/说明.txt", b"notes")])
    # A name not flagged: GBK bytes as they stand. zipfile would store a
    # non-ASCII name as flagged UTF-8, so a placeholder of the same length is
    # replaced in the finished archive.
    gbk_name = "升级.txt".encode("gbk")
    placeholder = b"X" * (len(gbk_name) - 4) + b".txt"
    gbk_zip = archive("gbk.zip", [(placeholder.decode(), b"gbk")])
    with open(gbk_zip, "rb") as f:
        patched = f.read().replace(placeholder, gbk_name)
    write(gbk_zip, patched)
    make_mixed_zip(directory)
    with open(good, "rb") as f:
        whole = f.read()
    write(os.path.join(directory, "truncated.zip"), whole[: len(whole) // 2])
    # A stored entry whose data no longer matches its CRC.
    payload = b"0123456789" * 100
    with zipfile.ZipFile(os.path.join(directory, "crc.zip"), "w", zipfile.ZIP_STORED) as z:
        z.writestr("damaged.txt", payload)
    with open(os.path.join(directory, "crc.zip"), "rb") as f:
        damaged = bytearray(f.read())
    at = damaged.find(payload)
    damaged[at + 500] ^= 0xFF
    write(os.path.join(directory, "crc.zip"), bytes(damaged))


def make_mixed_zip(directory):
    """An archive far larger than the extractor's read windows: stored and
    deflated entries of many sizes in nested directories, and the expected
    bytes of each under mixed\ with their names listed in mixed.list."""
    rng = random.Random(7)
    expected = os.path.join(directory, "mixed")
    names = []
    with zipfile.ZipFile(os.path.join(directory, "mixed.zip"), "w") as z:
        for n in range(300):
            size = rng.choice([0, 1, 100, 4096, 65535, 65536, 300_000])
            data = rng.randbytes(size) if n % 3 else (b"text line %d\r\n" % n) * (size // 16)
            name = "d%d/s%d/f%d.bin" % (n % 7, n % 3, n)
            method = zipfile.ZIP_STORED if n % 5 == 0 else zipfile.ZIP_DEFLATED
            z.writestr(zipfile.ZipInfo(name), data, compress_type=method)
            os.makedirs(os.path.dirname(os.path.join(expected, name)), exist_ok=True)
            write(os.path.join(expected, name), data)
            names.append(name.replace("/", "\\"))
    write(os.path.join(directory, "mixed.list"), "\n".join(names).encode())


def main():
    wine_run, exe = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory(prefix="vantry-download-") as work:
        data = os.path.join(work, "data")
        os.makedirs(data)
        make_data(data)
        make_zips(data)
        log = os.path.join(work, "requests.log")
        server = range_server.start(data, log)
        env = dict(os.environ)
        env["VANTRY_TEST_PORT"] = str(server.server_address[1])
        env["VANTRY_TEST_DIR"] = "Z:" + work.replace("/", "\\")
        try:
            return subprocess.call([wine_run, exe] + sys.argv[3:], env=env)
        finally:
            server.shutdown()


if __name__ == "__main__":
    sys.exit(main())
