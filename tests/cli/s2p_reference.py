# Reads a two-port Touchstone file with scikit-rf, terminates port 1 in R+jX and prints the
# impedance seen into port 2 at every frequency: "MHZ RE IM" per line.
import sys

import numpy as np
import skrf

path, r, x = sys.argv[1], float(sys.argv[2]), float(sys.argv[3])
network = skrf.Network(path)
z0 = network.z0[0, 0].real
zs = complex(r, x)
termination = skrf.Network(frequency=network.frequency,
                           s=np.full((len(network.f), 1, 1), (zs - z0) / (zs + z0)), z0=z0)
port2 = skrf.connect(termination, 0, network, 0)
for f, g in zip(network.f, port2.s[:, 0, 0]):
    # This scikit-rf's own s2z no longer runs on the packaged numpy.
    z = z0 * (1 + g) / (1 - g)
    print(repr(f / 1e6), repr(z.real), repr(z.imag))
