#!/usr/bin/env python3
"""A small HTTP server for the update-check tests, on 127.0.0.1 only.

    manifest_server.py PORT DIRECTORY

Each request is answered with the bytes of the file DIRECTORY/responses/NAME,
sent exactly as they stand (status line, headers and body, written by the
test), where NAME is the request path without its leading slash; a missing
file gives a plain 404. A file DIRECTORY/responses/NAME.delay holding a number
of milliseconds holds the answer back that long.

Before answering, the request as it arrived (request line and header lines,
up to the blank line) is appended to DIRECTORY/requests.log, followed by one
blank line.

DIRECTORY/ready is written once the port is bound, DIRECTORY/error (and exit
code 1) when it cannot be, so a test fails loudly on a busy port. The server
ends when DIRECTORY/stop appears, when the process that started it ends (a
test that crashed), or after LIFETIME_SECONDS, and then writes
DIRECTORY/stopped once the port is free again.
"""
import os
import re
import socketserver
import sys
import threading
import time

LIFETIME_SECONDS = 600
HOST = "127.0.0.1"
SAFE_NAME = re.compile(rb"^[A-Za-z0-9._-]+$")
NOT_FOUND = b"HTTP/1.0 404 Not Found\r\nContent-Type: text/plain\r\nContent-Length: 9\r\n\r\nnot found"


class Handler(socketserver.StreamRequestHandler):
    def handle(self):
        head = self.read_head()
        if not head:
            return
        with self.server.log_lock:
            with open(os.path.join(self.server.directory, "requests.log"), "ab") as log:
                log.write(head + b"\r\n")
        response, delay = self.find_response(head)
        if delay:
            time.sleep(delay / 1000)
        self.wfile.write(response)

    def read_head(self):
        head = b""
        while True:
            line = self.rfile.readline(65536)
            if not line:
                return head
            head += line
            if line in (b"\r\n", b"\n"):
                return head

    def find_response(self, head):
        request_line = head.split(b"\r\n", 1)[0].split(b" ")
        if len(request_line) < 2:
            return NOT_FOUND, 0
        name = request_line[1].split(b"?", 1)[0].lstrip(b"/")
        if not SAFE_NAME.match(name):
            return NOT_FOUND, 0
        path = os.path.join(self.server.directory, "responses", name.decode("ascii"))
        try:
            with open(path, "rb") as response:
                body = response.read()
        except FileNotFoundError:
            return NOT_FOUND, 0
        try:
            with open(path + ".delay") as delay:
                return body, int(delay.read().strip() or 0)
        except FileNotFoundError:
            return body, 0


class Server(socketserver.ThreadingTCPServer):
    allow_reuse_address = True  # only a lingering TIME_WAIT; a listener still makes the bind fail
    daemon_threads = True

    def __init__(self, port, directory):
        self.directory = directory
        self.log_lock = threading.Lock()
        self.started = time.monotonic()
        self.parent = os.getppid()
        super().__init__((HOST, port), Handler)

    def service_actions(self):
        stop = os.path.exists(os.path.join(self.directory, "stop"))
        orphaned = os.getppid() != self.parent
        if stop or orphaned or time.monotonic() - self.started > LIFETIME_SECONDS:
            threading.Thread(target=self.shutdown).start()


def write_file(directory, name, text):
    with open(os.path.join(directory, name), "w") as f:
        f.write(text)


def main():
    port, directory = int(sys.argv[1]), sys.argv[2]
    try:
        server = Server(port, directory)
    except OSError as error:
        write_file(directory, "error", f"cannot listen on {HOST}:{port}: {error}\n")
        sys.stderr.write(f"manifest_server: cannot listen on {HOST}:{port}: {error}\n")
        return 1
    write_file(directory, "ready", f"{port}\n")
    with server:
        server.serve_forever(poll_interval=0.1)
    write_file(directory, "stopped", "")
    return 0


if __name__ == "__main__":
    sys.exit(main())
