[Version] 2.0
# GHz S MA R 50
[Number of Ports] 2
[Two-Port Data Order] 12_21
[Number of Frequencies] 2
[Number of Noise Frequencies] 1
[Reference] 50 75
[Network Data]
1 .5 10 .9 0 .9 0 .2 20
2 .5 10 .9 0 .9 0 .2 20
[Noise Data]
1 2 .5 10 .2
[End]
