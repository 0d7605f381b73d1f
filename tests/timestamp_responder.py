"""A time-stamping authority on 127.0.0.1 for the signing tests: answers
each RFC 3161 request with `openssl ts -reply` under a throwaway
certificate, and ends by itself after ten minutes.
    timestamp_responder.py OPENSSL_TS_CONFIG PORT_FILE
The port it listens on goes to PORT_FILE once it is ready."""
import http.server
import os
import subprocess
import sys
import time

config, port_file = sys.argv[1], sys.argv[2]


class Responder(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        query = self.rfile.read(int(self.headers.get("Content-Length", 0)))
        reply = subprocess.run(
            ["openssl", "ts", "-reply", "-config", config, "-queryfile", "/dev/stdin",
             "-out", "/dev/stdout"], input=query, capture_output=True).stdout
        self.send_response(200 if reply else 500)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(reply)))
        self.end_headers()
        self.wfile.write(reply)

    def log_message(self, *args):
        pass


server = http.server.HTTPServer(("127.0.0.1", 0), Responder)
server.timeout = 1
with open(port_file + ".new", "w") as out:
    out.write(str(server.server_address[1]))
os.replace(port_file + ".new", port_file)
deadline = time.time() + 600
while time.time() < deadline:
    server.handle_request()
