[Version] 2.0
# MHz Z RI R 50
[Number of Ports] 1
[Number of Frequencies] 2
[Reference]
25
[Begin Information]
[Manufacturer] X
[End Information]
[Network Data]
10 30 40
20 35 45
[End]
