"""A small HTTPS server for the URL session tests, bound to 127.0.0.1 only.

Usage: https_server.py CERT KEY [FOLDER]. Prints the port it listens on, then serves:
/ok (a short body), /big (a body with its length), /stream (a body without a
length, ended by closing), /slow (answers after 5 s), /to-http (a redirect to
plain http), /loop (redirects to itself), /files/NAME (the file NAME of FOLDER),
anything else 404.
"""
import http.server
import os
import ssl
import sys
import time


class Handler(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def send_body(self, status, body, with_length=True, headers=()):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        if with_length:
            self.send_header("Content-Length", str(len(body)))
        self.send_header("X-Test", "yes")
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        port = self.server.server_address[1]
        if self.path == "/ok":
            self.send_body(200, b"hello")
        elif self.path == "/big":
            self.send_body(200, b"x" * 300000)
        elif self.path == "/stream":
            self.send_body(200, b"y" * 300000, with_length=False)
        elif self.path == "/slow":
            time.sleep(5)
            self.send_body(200, b"late")
        elif self.path == "/to-http":
            self.send_body(302, b"", headers=[("Location", f"http://127.0.0.1:{port}/ok")])
        elif self.path == "/loop":
            self.send_body(302, b"", headers=[("Location", "/loop")])
        elif self.path == "/to-ok":
            self.send_body(301, b"", headers=[("Location", "/ok")])
        elif self.path.startswith("/files/") and FOLDER:
            name = os.path.basename(self.path[len("/files/"):])
            path = os.path.join(FOLDER, name)
            if name and os.path.isfile(path):
                with open(path, "rb") as f:
                    self.send_body(200, f.read())
            else:
                self.send_body(404, b"missing")
        else:
            self.send_body(404, b"missing")


FOLDER = sys.argv[3] if len(sys.argv) > 3 else None


def main():
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(sys.argv[1], sys.argv[2])
    server.socket = context.wrap_socket(server.socket, server_side=True)
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
