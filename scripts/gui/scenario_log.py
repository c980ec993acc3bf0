#!/usr/bin/python3
"""Waits for requests in a quelt-boxsim log and checks them.

usage: scenario_log.py LOG SKIP TIMEOUT EXPECT...

Waits up to TIMEOUT seconds until the log holds SKIP + len(EXPECT) requests, then compares the
requests after the first SKIP with EXPECT, one for one. An EXPECT is "COM:NAME" or
"COM:NAME:CONDITION": NAME is "status" or a command name such as "PatternOn"; CONDITION is a
Python expression over f, the 16 bytes of the command frame (for example "f[4] & 0xe0 == 0x80").
Exit status 0 when every request matches, 1 otherwise (the requests seen are printed).
"""
import json
import sys
import time


def read_requests(path):
    try:
        with open(path, encoding="utf-8") as log:
            lines = log.read().split("\n")
    except FileNotFoundError:
        return []
    # The last piece may be a line the simulator is still writing.
    return [json.loads(line) for line in lines[:-1] if line]


def describe(request):
    if request["kind"] == "status":
        return f'{request["com"]}:status'
    return f'{request["com"]}:{request["name"]}:{request["frame"]}'


def matches(request, expect):
    parts = expect.split(":", 2)
    com, name = int(parts[0]), parts[1]
    if request["com"] != com:
        return False
    if name == "status":
        return request["kind"] == "status"
    if request["kind"] != "command" or request["name"] != name:
        return False
    if len(parts) == 3:
        frame = list(bytes.fromhex(request["frame"]))
        return bool(eval(parts[2], {}, {"f": frame}))  # conditions come from the test script
    return True


def main(argv):
    path, skip, timeout, expects = argv[1], int(argv[2]), float(argv[3]), argv[4:]
    deadline = time.monotonic() + timeout
    requests = read_requests(path)
    while len(requests) < skip + len(expects) and time.monotonic() < deadline:
        time.sleep(0.05)
        requests = read_requests(path)
    fresh = requests[skip:skip + len(expects)]
    ok = len(fresh) == len(expects) and all(map(matches, fresh, expects))
    if not ok:
        print(f"  expected after request {skip}: {' '.join(expects)}")
        print(f"  received: {' '.join(describe(r) for r in requests[skip:]) or 'nothing'}")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
