#!/usr/bin/python3
"""Compares `vorlo length` with python3-mido over the same files and explains the differences.

usage: compare_lengths.py VORLO_OUTPUT MIDO_OUTPUT"""
import collections
import struct
import sys


def read(path):
    lengths = {}
    for line in open(path, encoding="utf-8", errors="replace"):
        fields = line.rstrip("\n").split("\t")
        if fields[0] == "error":
            lengths[fields[1]] = None
        else:
            lengths[fields[1]] = int(fields[0])
    return lengths


def kind(path):
    """Why the two may disagree, from the file's own header."""
    data = open(path, "rb").read(64)
    if data[:4] == b"RIFF":
        return "RIFF RMID container"
    at = data.find(b"MThd")
    if at < 0:
        return "no header"
    fmt, _, division = struct.unpack(">HHH", data[at + 8:at + 14])
    if division & 0x8000:
        return "SMPTE division"
    if fmt == 2:
        return "format 2"
    return "format %d" % fmt


vorlo, mido = read(sys.argv[1]), read(sys.argv[2])
outcome = collections.Counter()
examples = {}
for path, ours in vorlo.items():
    theirs = mido.get(path)
    if ours is not None and theirs is not None:
        # mido truncates seconds * 1000; we truncate microseconds / 1000: at most 1 ms apart.
        key = ("agree" if abs(ours - theirs) <= 1 else "differ", kind(path))
    else:
        key = ("vorlo only" if theirs is None and ours is not None else
               "mido only" if ours is None and theirs is not None else "neither", kind(path))
    outcome[key] += 1
    if key[0] != "agree":
        examples.setdefault(key, (path, ours, theirs))
for (result, why), count in sorted(outcome.items()):
    print("%-10s %-22s %5d" % (result, why, count))
for (result, why), (path, ours, theirs) in sorted(examples.items()):
    print("  e.g. %s: vorlo %s ms, mido %s ms (%s)" % (path, ours, theirs, why))
