#!/usr/bin/python3
"""Reads every Touchstone file shipped with scikit-rf and prints, for each port, its reflection
and impedance at every data frequency and between data frequencies, as scikit-rf computes them.
The reader test compares these with Quorbel's own reading of the same files.

Output, one record a line (paths last, since they may hold spaces):
  FILE <ports> <path>           a file scikit-rf reads
  UNREADABLE <reason> | <path>  a file scikit-rf cannot read
  PORT <port> <real|complex> <points>
  V <index> <t> <s.re> <s.im> <z.re> <z.im>
      at the frequency f[index] + t * (f[index + 1] - f[index]); t = 0 at data frequencies
Exit status 3 when scikit-rf cannot be imported.
"""
import contextlib
import io
import os
import re
import sys
import warnings

import numpy

# Debian's scikit-rf 0.15.4 still uses these aliases, which numpy has removed.
for alias, kind in (("complex", complex), ("float", float), ("int", int), ("bool", bool),
                    ("object", object)):
    setattr(numpy, alias, kind)

FRACTIONS = (0.25, 0.5)


def quietly(call, *args, **kwargs):
    with contextlib.redirect_stdout(io.StringIO()), warnings.catch_warnings():
        warnings.simplefilter("ignore")
        return call(*args, **kwargs)


try:
    skrf = quietly(__import__, "skrf")
except Exception as error:  # any failure to import means the package is unusable
    print("NOSKRF", type(error).__name__, error)
    sys.exit(3)


def touchstone_files(root):
    for folder, _, names in sorted(os.walk(root)):
        for name in sorted(names):
            if re.search(r"\.s\d+p$", name, re.IGNORECASE):
                yield os.path.join(folder, name)


def values(index, t, s, z):
    return "V %d %r %r %r %r %r" % (index, t, s.real, s.imag, z.real, z.imag)


def report_port(network, port):
    z0 = network.z0[:, port]
    s = network.s[:, port, port]
    real = bool(numpy.all(z0.imag == 0))
    print("PORT %d %s %d" % (port + 1, "real" if real else "complex", len(s)))
    if not real:
        return
    one = quietly(skrf.Network, frequency=network.frequency, s=s, z0=z0.real)
    for k, (sk, zk) in enumerate(zip(one.s[:, 0, 0], one.z[:, 0, 0])):
        print(values(k, 0.0, sk, zk))
    f = network.f
    if len(f) < 2:
        return
    steps = [(k, t) for k in range(len(f) - 1) for t in FRACTIONS]
    between = numpy.array([f[k] + t * (f[k + 1] - f[k]) for k, t in steps])
    new = skrf.Frequency.from_f(between, unit="hz")
    inner = quietly(one.interpolate, new, kind="linear")
    for (k, t), sk, zk in zip(steps, inner.s[:, 0, 0], inner.z[:, 0, 0]):
        print(values(k, t, sk, zk))


def main():
    root = os.path.dirname(skrf.__file__)
    for path in touchstone_files(root):
        try:
            network = quietly(skrf.Network, path)
            network.z0  # scikit-rf shapes its reference on first use, and may fail there
        except Exception as error:
            reason = re.sub(r"\s+", " ", "%s: %s" % (type(error).__name__, error))
            print("UNREADABLE %s | %s" % (reason, path))
            continue
        print("FILE %d %s" % (network.nports, path))
        for port in range(network.nports):
            report_port(network, port)


if __name__ == "__main__":
    main()
