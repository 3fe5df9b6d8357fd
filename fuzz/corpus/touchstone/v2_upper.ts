[Version] 2.1
# MHz S RI
[Number of Ports] 3
[Number of Frequencies] 1
[Matrix Format] Upper
[Network Data]
1 .1 0 .9 0 .9 0
 .2 0 .9 0
 .3 0
[End]
