#!/usr/bin/python3
"""A bad link between the application and the stand-in, at the level of TCP (TLS passes through
it untouched): a proxy on 127.0.0.1 that adds latency to every chunk each way, cuts the replies
of a connection after some bytes, or accepts and never answers. Bounded: it ends after its time
(--seconds) or its connections (--connections), whichever comes first, so a test that forgets it
leaves nothing running.

    link_proxy.py UPSTREAM_HOST:PORT [--latency MS] [--cut-after BYTES] [--blackhole]
                  [--seconds S] [--connections N]

It prints "listening on 127.0.0.1:PORT" once it accepts.
"""
import argparse
import socket
import sys
import threading
import time


def pump(source, sink, latency, budget):
    """Copies one direction; `budget` (a one-item list) is the bytes still allowed, or None."""
    try:
        while True:
            data = source.recv(1 << 14)
            if not data:
                break
            if latency:
                time.sleep(latency)
            if budget is not None:
                if budget[0] <= 0:
                    break
                data = data[:budget[0]]
                budget[0] -= len(data)
            sink.sendall(data)
            if budget is not None and budget[0] <= 0:
                break
    except OSError:
        pass
    for s in (source, sink):
        try:
            s.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass


def serve(client, upstream, args):
    if args.blackhole:
        return  # held open, never answered, until the proxy ends
    try:
        server = socket.create_connection(upstream, timeout=10)
        server.settimeout(None)
    except OSError:
        client.close()
        return
    latency = args.latency / 1000.0
    budget = [args.cut_after] if args.cut_after is not None else None
    threading.Thread(target=pump, args=(client, server, latency, None), daemon=True).start()
    threading.Thread(target=pump, args=(server, client, latency, budget), daemon=True).start()


def main():
    p = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    p.add_argument("upstream")
    p.add_argument("--latency", type=int, default=0, help="ms added to every chunk, each way")
    p.add_argument("--cut-after", type=int, default=None,
                   help="bytes of the replies a connection gets before it is cut")
    p.add_argument("--blackhole", action="store_true", help="accept and never answer")
    p.add_argument("--seconds", type=float, default=120)
    p.add_argument("--connections", type=int, default=200)
    args = p.parse_args()
    host, port = args.upstream.rsplit(":", 1)
    listener = socket.socket()
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", 0))
    listener.listen(32)
    print("listening on 127.0.0.1:%d" % listener.getsockname()[1], flush=True)
    deadline = time.monotonic() + args.seconds
    held = []
    accepted = 0
    while accepted < args.connections and time.monotonic() < deadline:
        listener.settimeout(max(0.05, deadline - time.monotonic()))
        try:
            client, _ = listener.accept()
        except socket.timeout:
            break
        accepted += 1
        held.append(client)
        serve(client, (host, int(port)), args)
    # Connections still being served run until the time is up.
    time.sleep(max(0, deadline - time.monotonic()))
    for c in held:
        c.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
