#!/usr/bin/python3
"""A real FTP server on loopback for the tests and benchmarks: pyftpdlib serving one folder to one user.

The control connection speaks the Thai code page (cp874) like the insurer's server, instead of
pyftpdlib's UTF-8. Prints "PORT <n>" once it listens; ends when its standard input closes, so that it
never outlives the process that started it.
"""
import argparse
import logging
import os
import sys
import threading
import warnings

with warnings.catch_warnings():
    warnings.simplefilter("ignore", DeprecationWarning)
    import asynchat

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


class ThaiHandler(FTPHandler):
    def decode(self, data):
        return data.decode("cp874", self.unicode_errors)

    def push(self, s):
        asynchat.async_chat.push(self, s.encode("cp874", self.unicode_errors))


def end_with_parent():
    sys.stdin.buffer.read()
    os._exit(0)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", required=True)
    parser.add_argument("--password", required=True)
    parser.add_argument("--address", default="127.0.0.1")
    parser.add_argument("--log")
    args = parser.parse_args()
    if not args.address.startswith("127."):
        parser.error("the test server listens on loopback only")

    logging.basicConfig(filename=args.log, level=logging.INFO if args.log else logging.WARNING)
    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")
    handler = ThaiHandler
    handler.authorizer = authorizer
    server = FTPServer((args.address, 0), handler)
    print("PORT %d" % server.socket.getsockname()[1], flush=True)
    threading.Thread(target=end_with_parent, daemon=True).start()
    server.serve_forever()


if __name__ == "__main__":
    main()
