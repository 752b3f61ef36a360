#!/usr/bin/python3
"""Local HTTP server for the tests: loopback only, standard library only.

Paths (every <name> is a file below --root):
  /file/<name>                       the file
  /drip/<bytes>/<ms>/<name>          the file, <bytes> every <ms> milliseconds
  /stall/<seconds>/<name>            headers, then nothing for <seconds>, then close
  /drop/<bytes>/<name>               headers for the whole file, <bytes> of it, then close
  /status/<code>                     an error page with that status
  /page/<name>                       the file as a web page that may be cached for an hour
  /pause/<bytes>/<seconds>/<name>    headers, <bytes> of the file, a pause, then the rest
  /silent/<seconds>                  reads the request, answers nothing, closes after <seconds>
  /nolength/<bytes>/<name>           no Content-Length: at most <bytes> of the file, then close
  /raw/<name>                        the file's bytes alone: no status line, no headers
  /redirect/<count>/<name>           <count> redirects (302) in a row, then the file
  /loop/<n>                          a redirect to /loop/<n+1>, for ever
  /aredirect/..., /aloop/...         the same with absolute addresses in Location
  /goto/<address>                    a redirect to <address>, as given
  /headers                           the request's header lines, as the body
Anything else is 404, unless an --alias names it: "--alias /fileversion.zip=/stall/9/v.zip"
answers the first path as the second, so a program with built-in addresses can be given any
of the above. Every other response forbids caching, so one test's file never answers another
test's request; /page/ lets a browser test show that it asked again although it could have
used its cache.

When listening it writes its process id to --ready, and removes that file when it has
stopped: on SIGTERM, and in any case after --lifetime seconds.
"""
import argparse
import http.server
import os
import signal
import socket
import sys
import threading
import time
import urllib.parse


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"
    root = "."
    log_path = None
    aliases = {}

    def log_message(self, fmt, *args):
        if self.log_path:
            with open(self.log_path, "a", encoding="utf-8") as log:
                log.write("%s\n" % (fmt % args))

    def do_GET(self):
        path = urllib.parse.unquote(urllib.parse.urlsplit(self.path).path)
        path = self.aliases.get(path, path)
        parts = path.strip("/").split("/")
        try:
            mode = parts[0]
            if mode == "file":
                self.send_file(parts[1:], chunk=None)
            elif mode == "drip":
                self.send_file(parts[3:], chunk=(int(parts[1]), int(parts[2]) / 1000.0))
            elif mode == "stall":
                self.send_part(parts[2:], 0, float(parts[1]), finish=False)
            elif mode == "drop":
                self.send_part(parts[2:], int(parts[1]), 0, finish=False)
            elif mode == "page":
                self.send_page(parts[1:])
            elif mode == "status":
                self.send_status(int(parts[1]))
            elif mode == "pause":
                self.send_part(parts[3:], int(parts[1]), float(parts[2]), finish=True)
            elif mode == "silent":
                time.sleep(float(parts[1]))
                self.close_hard()
            elif mode == "nolength":
                self.send_part(parts[2:], int(parts[1]), 0, finish=False, announce=False)
            elif mode == "raw":
                self.send_raw(parts[1:])
            elif mode in ("redirect", "aredirect"):
                count = int(parts[1])
                if count > 0:
                    self.redirect("/%s/%d/%s" % (mode, count - 1, "/".join(parts[2:])),
                                  absolute=mode == "aredirect")
                else:
                    self.send_file(parts[2:], chunk=None)
            elif mode in ("loop", "aloop"):
                self.redirect("/%s/%d" % (mode, int(parts[1]) + 1), absolute=mode == "aloop")
            elif mode == "goto":
                self.redirect("/".join(parts[1:]))
            elif mode == "headers":
                data = str(self.headers).encode()
                self.headers_for(len(data), "text/plain")
                self.wfile.write(data)
            else:
                self.send_status(404)
        except (IndexError, ValueError):
            self.send_status(400)
        except (BrokenPipeError, ConnectionResetError):
            pass

    def read(self, name_parts):
        path = os.path.realpath(os.path.join(self.root, *name_parts))
        if not path.startswith(os.path.realpath(self.root) + os.sep) or not os.path.isfile(path):
            return None
        with open(path, "rb") as f:
            return f.read()

    def headers_for(self, length, content_type="application/zip", cache="no-store, no-cache"):
        """Headers of a 200 reply; no Content-Length when `length` is None."""
        self.send_response(200)
        self.send_header("Content-Type", content_type)
        if length is not None:
            self.send_header("Content-Length", str(length))
        self.send_header("Cache-Control", cache)
        self.end_headers()
        self.wfile.flush()

    def send_page(self, name_parts):
        data = self.read(name_parts)
        if data is None:
            return self.send_status(404)
        self.headers_for(len(data), "text/html", "public, max-age=3600")
        self.wfile.write(data)

    def send_file(self, name_parts, chunk):
        data = self.read(name_parts)
        if data is None:
            return self.send_status(404)
        self.headers_for(len(data))
        if chunk is None:
            self.wfile.write(data)
            return
        size, pause = chunk
        for start in range(0, len(data), max(size, 1)):
            self.wfile.write(data[start:start + size])
            self.wfile.flush()
            time.sleep(pause)

    def send_part(self, name_parts, count, seconds, finish, announce=True):
        """The first <count> bytes, a pause of <seconds>, then the rest or a dropped line."""
        data = self.read(name_parts)
        if data is None:
            return self.send_status(404)
        self.headers_for(len(data) if announce else None)
        self.wfile.write(data[:count])
        self.wfile.flush()
        time.sleep(seconds)
        if finish:
            self.wfile.write(data[count:])
        else:
            self.close_hard()

    def send_raw(self, name_parts):
        data = self.read(name_parts)
        if data is None:
            return self.send_status(404)
        self.log_request(200)
        self.wfile.write(data)
        self.wfile.flush()
        self.close_hard()

    def redirect(self, location, absolute=False):
        if absolute:
            location = "http://%s%s" % (self.headers.get("Host", ""), location)
        self.send_response(302)
        self.send_header("Location", location)
        self.send_header("Content-Length", "0")
        self.send_header("Cache-Control", "no-store, no-cache")
        self.end_headers()

    def close_hard(self):
        try:
            self.connection.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass
        self.close_connection = True

    def send_status(self, code):
        body = ("<html><body>%d</body></html>" % code).encode()
        self.send_response(code)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "no-store, no-cache")
        self.end_headers()
        self.wfile.write(body)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--root", required=True)
    parser.add_argument("--ready", required=True)
    parser.add_argument("--log")
    parser.add_argument("--lifetime", type=float, default=120.0)
    parser.add_argument("--alias", action="append", default=[], metavar="PATH=TARGET")
    args = parser.parse_args()

    # Let go of the output the starting test inherited to us, so a test runner that waits
    # for that output to close never waits for this server.
    null = os.open(os.devnull, os.O_RDWR)
    for fd in (0, 1, 2):
        os.dup2(null, fd)
    os.close(null)

    Handler.root = args.root
    Handler.log_path = args.log
    Handler.aliases = dict(alias.split("=", 1) for alias in args.alias)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    server.daemon_threads = True

    def stop(*_):
        threading.Thread(target=server.shutdown, daemon=True).start()

    signal.signal(signal.SIGTERM, stop)
    timer = threading.Timer(args.lifetime, stop)
    timer.daemon = True
    timer.start()

    # Written only now, so a reader that sees the file can connect at once.
    temp = args.ready + ".tmp"
    with open(temp, "w", encoding="ascii") as f:
        f.write("%d\n" % os.getpid())
    os.replace(temp, args.ready)

    server.serve_forever(poll_interval=0.2)
    server.server_close()
    # Gone with the file: whoever stopped the server can wait for this.
    os.remove(args.ready)
    return 0


if __name__ == "__main__":
    sys.exit(main())
