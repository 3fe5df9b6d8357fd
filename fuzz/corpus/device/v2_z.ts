[Version] 2.0
# MHz Z RI R 50
[Number of Ports] 2
[Two-Port Data Order] 12_21
[Number of Frequencies] 1
[Number of Noise Frequencies] 1
[Network Data]
100 60 -5 10 2 400 -90 30 20
[Noise Data]
100 0.5 0.3 45 10
[End]
