#!/usr/bin/env python3
"""Serves a folder over http for a person to play the browser build, as any static host would.

    serve.py FOLDER [PORT] [--host ADDRESS]

PORT is 8000 unless given; ADDRESS is 127.0.0.1 (this computer only) unless given: 0.0.0.0
serves every network the computer is on. Browsers run the site's service worker (offline play,
installing) only over https or on localhost, so a phone reaching this server by the computer's
address on the local network plays online only; see the README for the ways round that.

Nothing here is needed by the site: it only makes sure .wasm goes out as application/wasm, which
browsers want for compiling while the file downloads, and the manifest as a manifest.
"""
import argparse
import functools
import http.server


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".data": "application/octet-stream",
                      ".js": "text/javascript", ".webmanifest": "application/manifest+json"}


def main():
    parser = argparse.ArgumentParser(usage=__doc__)
    parser.add_argument("folder")
    parser.add_argument("port", nargs="?", type=int, default=8000)
    parser.add_argument("--host", default="127.0.0.1")
    args = parser.parse_args()
    handler = functools.partial(Handler, directory=args.folder)
    with http.server.ThreadingHTTPServer((args.host, args.port), handler) as server:
        try:
            server.serve_forever()
        except KeyboardInterrupt:
            pass


if __name__ == "__main__":
    main()
