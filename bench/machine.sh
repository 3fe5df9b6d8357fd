#!/bin/sh
# machine.sh [BUILD_TYPE]: the machine the figures that follow were measured on, printed first by
# `make bench`, so that a reader can tell a slower commit from a slower machine. The same lines
# head the table of figures in docs/reference.md.
cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)
caches=""
for index in /sys/devices/system/cpu/cpu0/cache/index*; do
    [ -r "$index/size" ] || continue
    case $(cat "$index/type") in
    Data) kind=d ;;
    Instruction) kind=i ;;
    *) kind="" ;;
    esac
    caches="$caches${caches:+, }L$(cat "$index/level")$kind $(cat "$index/size")"
done
thp=/sys/kernel/mm/transparent_hugepage/enabled
echo "Machine: ${cpu:-unknown processor}, $(nproc) cores online"
echo "Caches of core 0: ${caches:-unknown}"
echo "Transparent huge pages: $(cat "$thp" 2>/dev/null || echo 'not available')"
echo "Load average: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "Build: ${1:-unknown}"
echo "Date: $(date -u '+%Y-%m-%d %H:%M UTC')"
echo
