#!/usr/bin/env bash
# Runs every harness built in BUILD_DIR for SECONDS each, on a working copy of its seed corpus;
# exits non-zero when any of them finds a crash, a sanitizer report, a leak or a hang. A harness
# NAME_PART (document_read, document_draw) takes the seeds of corpus/NAME when it has none of its
# own; options for one harness alone (a larger -max_len) are read from NAME.options beside it.
# Usage: fuzz/run.sh [BUILD_DIR] [SECONDS]
set -uo pipefail
build=${1:-build-fuzz}
seconds=${2:-60}
seeds=$(cd "$(dirname "$0")" && pwd)/corpus

shopt -s nullglob
harnesses=("$build"/fuzz/*_fuzzer)
if [ ${#harnesses[@]} -eq 0 ]; then
    echo "no harnesses in $build/fuzz" >&2
    exit 1
fi

status=0
for exe in "${harnesses[@]}"; do
    name=$(basename "$exe" _fuzzer)
    work="$build/fuzz-corpus/$name"
    findings="$build/fuzz-findings/$name"
    log="$build/fuzz-$name.log"
    mkdir -p "$work" "$findings"
    corpora=("$work")
    if [ -d "$seeds/$name" ]; then
        corpora+=("$seeds/$name")
    elif [ -d "$seeds/${name%%_*}" ]; then
        corpora+=("$seeds/${name%%_*}")
    fi
    dict=()
    [ -f "$seeds/../$name.dict" ] && dict=(-dict="$seeds/../$name.dict")
    options=()
    [ -f "$seeds/../$name.options" ] && read -r -a options <"$seeds/../$name.options"
    echo "== $name: ${seconds} s"
    if "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$findings/" "${dict[@]}" "${options[@]}" "${corpora[@]}" >"$log" 2>&1; then
        grep -E "^stat::number_of_executed_units|^Done" "$log" || tail -n 3 "$log"
    else
        tail -n 60 "$log"
        echo "== $name: finding in $findings (log $log)" >&2
        status=1
    fi
done
exit $status
