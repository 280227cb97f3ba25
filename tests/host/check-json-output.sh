#!/bin/sh
# isphost --json, parsed line by line with Python's JSON parser: a whole write, a failing
# write, a verify and a usage error, each one object per line ending in one "result".
# Usage: check-json-output.sh PYTHON3 EXAMPLE.kvf ISPHOST-COMMAND...
# (the command may start with an emulator: wine64 isphost.exe)
set -eu
python=$1 example=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
# Relative names only, so that a Windows isphost under wine opens them as they are; the
# non-ASCII name reaches the message list as the system's ANSI bytes.
cp "$example" fw.kvf
cp "$example" "fw-$(printf '\303\251').kvf"

run() { # EXPECTED-STATUS NAME ARGS...: the output in NAME.json
    expected=$1 name=$2
    shift 2
    status=0
    "$@" >"$name.json" 2>"$name.err" || status=$?
    if [ "$status" != "$expected" ]; then
        echo "$name: exit status $status, expected $expected"; cat "$name.json" "$name.err"
        exit 1
    fi
}
run 0 write "$@" --json --stats --sim-flash flash.bin write fw.kvf
run 1 failed "$@" --json --sim-fault stuck=0:10 write fw.kvf
run 0 verify "$@" --json --sim-flash flash.bin verify fw.kvf
run 2 usage "$@" --json --bus-speed 300 write fw.kvf
run 1 named "$@" --json --sim-fault no-isp write "fw-$(printf '\303\251').kvf"

exec "$python" - <<'PY'
import json, sys

EVENTS = {"line", "progress", "error", "note", "result"}

def events(name):
    with open(name + ".json", "rb") as f:
        raw = f.read()
    # Strict UTF-8: a byte that is not UTF-8 was escaped.
    objects = [json.loads(line) for line in raw.decode("utf-8").splitlines()]
    for o in objects:
        assert o["event"] in EVENTS, (name, o)
        if o["event"] == "progress":
            assert 0 <= o["percent"] <= 100, (name, o)
        elif o["event"] != "result":
            assert isinstance(o["text"], str), (name, o)
    assert [o["event"] for o in objects].count("result") == 1, name
    assert objects[-1]["event"] == "result", name
    return objects

def texts(objects, kind):
    return [o["text"] for o in objects if o["event"] == kind]

write = events("write")
result = write[-1]
assert result["command"] == "write" and result["status"] == 0 and result["ok"], result
assert result["error"] == "" and not result["skipped"], result
assert [b["bank"] for b in result["banks"]] == [0, 1], result
assert result["pages_sent"] == sum(b["pages_sent"] for b in result["banks"]), result
assert result["stats"]["bus_calls"] > result["pages_sent"], result
assert texts(write, "line")[:2] == ["Begin...", "LoadFile:fw.kvf"], write[:3]
assert [o["percent"] for o in write if o["event"] == "progress"][-1] == 100
assert any(t.startswith("Summary: banks 0 and 1, ") for t in texts(write, "note"))

failed = events("failed")[-1]
assert failed["status"] == 1 and not failed["ok"] and failed["error"] == "Crc Error!", failed

verify = events("verify")[-1]
assert verify["command"] == "verify" and verify["status"] == 0, verify
crcs = [b["crc"] for b in result["banks"]]
assert [b["chip_crc"] for b in verify["banks"]] == crcs, verify
assert all(b["match"] for b in verify["banks"]), verify

usage = events("usage")[-1]
assert usage["status"] == 2 and usage["error"].startswith("--bus-speed"), usage

named = events("named")
line = texts(named, "line")[1]
name = "fw-\u00e9.kvf"
# The UTF-8 name as it is natively; under wine the ANSI name's byte is not UTF-8 and
# comes back as one \u00XX.
wanted = "LoadFile:" + name
assert line == wanted or line.encode("latin-1") == wanted.encode("cp1252"), line
print("json output: 5 runs parsed")
PY
