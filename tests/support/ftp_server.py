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
    make_garage_folders = False
    read_delay = 0.0

    def decode(self, data):
        return data.decode("cp874", self.unicode_errors)

    def push(self, s):
        asynchat.async_chat.push(self, s.encode("cp874", self.unicode_errors))

    def ftp_CWD(self, path):
        # As a stand-in for the insurer, each garage gets its folder "Claim\\<garage>" on first use. The
        # path comes here already made a path of this machine.
        home = os.path.realpath(self.authorizer.get_home_dir(self.username))
        name = os.path.basename(path)
        if (self.make_garage_folders and os.path.dirname(os.path.realpath(path)) == home
                and name.startswith("Claim\\") and len(name) > len("Claim\\")):
            os.makedirs(path, exist_ok=True)
        return FTPHandler.ftp_CWD(self, path)


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
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--garage-folders", action="store_true",
                        help="make the folder Claim\\<garage> when a client changes into it")
    parser.add_argument("--read-limit", type=int, default=0,
                        help="bytes per second the server takes in on a data connection (0: no limit)")
    args = parser.parse_args()
    if not args.address.startswith("127."):
        parser.error("the test server listens on loopback only")

    logging.basicConfig(filename=args.log, level=logging.INFO if args.log else logging.WARNING)
    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")
    handler = ThaiHandler
    handler.authorizer = authorizer
    handler.make_garage_folders = args.garage_folders
    if args.read_limit > 0:
        from pyftpdlib.handlers import ThrottledDTPHandler

        class ResettableThrottledDTPHandler(ThrottledDTPHandler):
            # pyftpdlib's throttled handler sets _throttler only once it has throttled, and closing
            # one that a client reset before that (a cancelled upload) raises and ends the server.
            _throttler = None
            read_limit = args.read_limit

        handler.dtp_handler = ResettableThrottledDTPHandler
    server = FTPServer((args.address, args.port), handler)
    print("PORT %d" % server.socket.getsockname()[1], flush=True)
    threading.Thread(target=end_with_parent, daemon=True).start()
    server.serve_forever()


if __name__ == "__main__":
    main()
