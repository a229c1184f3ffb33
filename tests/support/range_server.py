#!/usr/bin/env python3
"""The download tests' HTTP server (standard library only), on 127.0.0.1.

Serves the files below a root directory with HTTP Range support (one
"bytes=a-b" or "bytes=a-" range: 206 with Content-Range) and applies a fault
chosen by the first path component:

  /plain/NAME       no fault
  /drop-once/NAME   the first answer of more than 64 KB closes its connection
                    half-way through the body
  /no-range/NAME    ignores Range: always 200 with the whole file
  /silent/NAME      accepts the connection and never answers
  /slow/NAME        50 KB/s per connection
  anything else     404

Every request is logged as one line "PATH RANGE STATUS" to the log file.
"""
import http.server
import os
import re
import socket
import sys
import threading
import time

DROP_MIN_BYTES = 64 * 1024
SLOW_BYTES_PER_SECOND = 50 * 1024
CHUNK = 16 * 1024
SILENT_SECONDS = 120


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def record(self, status):
        with self.server.lock:
            with open(self.server.log_path, "a") as log:
                log.write("%s %s %d\n" % (self.path, self.headers.get("Range", "-").replace(" ", ""), status))

    def do_GET(self):
        parts = self.path.split("?")[0].split("/", 2)
        fault, name = (parts[1], parts[2]) if len(parts) == 3 else ("", "")
        path = os.path.join(self.server.root, name)
        if fault == "silent":
            self.record(0)
            time.sleep(SILENT_SECONDS)
            return
        if fault not in ("plain", "drop-once", "no-range", "slow") or not os.path.isfile(path):
            self.record(404)
            self.send_error(404)
            return
        size = os.path.getsize(path)
        first, last, status = 0, size - 1, 200
        match = re.fullmatch(r"bytes=(\d+)-(\d*)", self.headers.get("Range", ""))
        if match and fault != "no-range":
            first = int(match.group(1))
            last = min(int(match.group(2)), size - 1) if match.group(2) else size - 1
            if first > last:
                self.record(416)
                self.send_error(416)
                return
            status = 206
        length = last - first + 1
        self.record(status)
        self.send_response(status)
        self.send_header("Content-Length", str(length))
        self.send_header("Accept-Ranges", "bytes")
        if status == 206:
            self.send_header("Content-Range", "bytes %d-%d/%d" % (first, last, size))
        self.send_header("Connection", "close")
        self.end_headers()
        send = length
        if fault == "drop-once" and length > DROP_MIN_BYTES:
            with self.server.lock:
                if not self.server.dropped:
                    self.server.dropped = True
                    send = length // 2
        self.send_body(path, first, send, fault == "slow")
        if send < length:
            # Reset, not a tidy close: the client sees the connection end.
            self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, b"\x01\x00\x00\x00\x00\x00\x00\x00")
            self.close_connection = True

    def send_body(self, path, first, length, slow):
        with open(path, "rb") as f:
            f.seek(first)
            started = time.monotonic()
            sent = 0
            while sent < length:
                data = f.read(min(CHUNK, length - sent))
                try:
                    self.wfile.write(data)
                except OSError:
                    return
                sent += len(data)
                if slow:
                    ahead = sent / SLOW_BYTES_PER_SECOND - (time.monotonic() - started)
                    if ahead > 0:
                        time.sleep(ahead)


def start(root, log_path):
    """Starts the server on a free port in a background thread; returns it."""
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    server.root = root
    server.log_path = log_path
    server.lock = threading.Lock()
    server.dropped = False
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


if __name__ == "__main__":
    srv = start(sys.argv[1], sys.argv[2])
    print("port", srv.server_address[1], flush=True)
    threading.Event().wait()
