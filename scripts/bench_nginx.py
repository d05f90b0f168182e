"""nginx on a free loopback port with a private prefix, for the benchmarks that time downloads against it."""

import os
import socket
import subprocess
import time


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class Nginx:
    """nginx on loopback with a private prefix; its access log says what every request moved."""

    def __init__(self, document_root, folder):
        self.folder = folder
        self.port = free_port()
        self.access_log = os.path.join(folder, "access.log")
        config = os.path.join(folder, "nginx.conf")
        temp_paths = "".join(f"  {name}_temp_path {folder}/{name};\n"
                             for name in ("client_body", "proxy", "fastcgi", "uwsgi", "scgi"))
        with open(config, "w") as out:
            out.write(f"""worker_processes 1;
daemon off;
pid {folder}/nginx.pid;
error_log {folder}/error.log;
events {{ worker_connections 64; }}
http {{
  log_format bench '$request_method $uri $status $body_bytes_sent';
  access_log {self.access_log} bench;
{temp_paths}  sendfile on;
  tcp_nopush on;
  keepalive_requests 100000;
  default_type application/octet-stream;
  server {{
    listen 127.0.0.1:{self.port};
    root {document_root};
    location / {{ }}
  }}
}}
""")
        self.process = subprocess.Popen(["nginx", "-p", folder, "-c", config], stderr=subprocess.DEVNULL)
        for _ in range(100):
            try:
                socket.create_connection(("127.0.0.1", self.port), timeout=1).close()
                return
            except OSError:
                time.sleep(0.05)
        self.stop()
        raise RuntimeError("nginx did not start; see " + folder + "/error.log")

    def requests_since(self, offset):
        """(method, uri, status, bytes) of every request logged after byte `offset` of the log."""
        with open(self.access_log) as source:
            source.seek(offset)
            return [tuple(int(v) if i >= 2 else v for i, v in enumerate(line.split()))
                    for line in source if line.strip()]

    def log_size(self):
        return os.path.getsize(self.access_log) if os.path.exists(self.access_log) else 0

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
