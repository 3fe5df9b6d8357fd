#!/usr/bin/python3
"""Reads every two-port Touchstone file shipped with scikit-rf and prints the device figures
scikit-rf computes: Rollett's K at every data frequency and, for files with noise data, the
minimum noise figure, the optimum source reflection, the noise resistance and the noise figure
for a fixed source reflection at every frequency where both S and noise data exist. The device
test compares these with Quorbel's own.

Output, one record a line (paths last, since they may hold spaces):
  FILE <path>
  K <frequency Hz> <K>
  N <frequency Hz> <Fmin dB> <Gamma_opt re> <Gamma_opt im> <Rn ohm> <NF dB at GAMMA_S>
Exit status 3 when scikit-rf cannot be imported.
"""
import contextlib
import glob
import io
import os
import sys
import warnings

import numpy

# Debian's scikit-rf 0.15.4 still uses these aliases, which numpy has removed.
for alias, kind in (("complex", complex), ("float", float), ("int", int), ("bool", bool),
                    ("object", object)):
    setattr(numpy, alias, kind)

GAMMA_S = complex(0.3, -0.2)


def quietly(call, *args, **kwargs):
    with contextlib.redirect_stdout(io.StringIO()), warnings.catch_warnings():
        warnings.simplefilter("ignore")
        return call(*args, **kwargs)


try:
    skrf = quietly(__import__, "skrf")
except Exception as error:  # any failure to import means the package is unusable
    print("NOSKRF", type(error).__name__, error)
    sys.exit(3)

folder = os.path.dirname(skrf.__file__)
paths = [p for sub in ("tests", "data", os.path.join("io", "tests"))
         for p in glob.glob(os.path.join(folder, sub, "*.s2p"))]
for path in sorted(paths):
    try:
        network = quietly(skrf.Network, path)
    except Exception:  # a file scikit-rf cannot read is not compared
        continue
    if numpy.any(numpy.abs(numpy.imag(network.z0)) > 0):
        continue
    print("FILE", path)
    k = quietly(lambda: network.stability)
    for f, value in zip(network.f, k):
        print("K", repr(float(f)), repr(float(value)))
    if not network.noisy:
        continue
    noise_hz = numpy.asarray(network.noise_freq.f, dtype=float)
    # scikit-rf evaluates noise at every frequency of a network and refuses where its noise data
    # does not reach: a network of the S data's frequencies that the noise data also has.
    chosen = numpy.isin(network.f, noise_hz)
    if not numpy.any(chosen):
        continue
    inside = skrf.Network(frequency=skrf.Frequency.from_f(network.f[chosen], unit="hz"),
                          s=network.s[chosen], z0=network.z0[chosen])
    inside.noise = network.noise
    inside.noise_freq = network.noise_freq
    fmin = quietly(lambda: inside.nfmin_db)
    gopt = quietly(lambda: inside.g_opt)
    rn = quietly(lambda: inside.rn)
    nf = numpy.ravel(quietly(inside.nfdb_gs, GAMMA_S))
    for i, f in enumerate(inside.f):
        print("N", repr(float(f)), repr(float(fmin[i])), repr(float(gopt[i].real)),
              repr(float(gopt[i].imag)), repr(float(rn[i])), repr(float(nf[i])))
