#!/usr/bin/env python3
"""An RFC 3161 time-stamp server for the release checks, on 127.0.0.1 only: it makes a throwaway
time-stamping authority in FOLDER (key, self-signed certificate tsa.pem with the critical
timeStamping usage), writes the port it listens on to FOLDER/port, and answers each POSTed
time-stamp query with OpenSSL's `ts -reply`. It serves until it is killed.

    timestamp_server.py FOLDER
"""
import http.server
import os
import subprocess
import sys
import tempfile

folder = os.path.abspath(sys.argv[1])
config = os.path.join(folder, "tsa.cnf")
with open(config, "w") as out:
    out.write(f"""[req]
distinguished_name = name
[name]
[tsa_cert]
basicConstraints = critical, CA:false
keyUsage = critical, digitalSignature
extendedKeyUsage = critical, timeStamping
[tsa]
default_tsa = local
[local]
serial = {folder}/serial
crypto_device = builtin
signer_cert = {folder}/tsa.pem
signer_key = {folder}/tsa.key
signer_digest = sha256
default_policy = 1.3.6.1.4.1.99999.1
digests = sha1, sha256, sha384, sha512
accuracy = secs:1
ordering = yes
tsa_name = yes
ess_cert_id_chain = no
ess_cert_id_alg = sha256
""")
with open(os.path.join(folder, "serial"), "w") as out:
    out.write("01\n")
subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
                "/CN=Release Test Time Stamps", "-config", config, "-extensions", "tsa_cert",
                "-keyout", os.path.join(folder, "tsa.key"), "-out", os.path.join(folder, "tsa.pem")],
               check=True, capture_output=True)


class TimeStamps(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        query = self.rfile.read(int(self.headers.get("Content-Length", 0)))
        with tempfile.TemporaryDirectory(dir=folder) as work:
            with open(os.path.join(work, "query"), "wb") as out:
                out.write(query)
            answer = subprocess.run(["openssl", "ts", "-reply", "-config", config, "-queryfile",
                                     os.path.join(work, "query"), "-out", os.path.join(work, "reply")],
                                    capture_output=True)
            reply = open(os.path.join(work, "reply"), "rb").read() if answer.returncode == 0 else b""
        if not reply:
            self.send_error(400, "not a time-stamp query")
            return
        self.send_response(200)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(reply)))
        self.end_headers()
        self.wfile.write(reply)

    def log_message(self, format, *args):
        with open(os.path.join(folder, "requests.log"), "a") as log:
            log.write(format % args + "\n")


server = http.server.HTTPServer(("127.0.0.1", 0), TimeStamps)
with open(os.path.join(folder, "port.tmp"), "w") as out:
    out.write(str(server.server_address[1]))
os.replace(os.path.join(folder, "port.tmp"), os.path.join(folder, "port"))
server.serve_forever()
