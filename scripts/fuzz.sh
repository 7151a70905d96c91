#!/usr/bin/env bash
# Fuzzes the table decoder and the catalogue reader: scripts/fuzz.sh <build-dir> <seconds>. The build folder must have
# been configured with -DQRB_FUZZ=ON. Prints the executions per second and in total, and exits
# non-zero when the fuzzer finds a crash, a leak or a sanitizer report.
set -euo pipefail
if [ $# -ne 2 ]; then
    echo "usage: $0 <build-dir> <seconds>" >&2
    exit 2
fi
build="$(cd "$1" && pwd)"
seconds=$2

# The corpus grows across runs in the build folder; the seeds are rewritten each time.
corpus="$build/fuzz-corpus"
artifacts="$build/fuzz-artifacts"
mkdir -p "$corpus" "$artifacts"
# Compact layout: one number column "ID", one row.
printf '\x00\x00\x00\x00\x01\x00\x01\x00\x00\x00\x02\x00ID\x02\x07\x00\x00\x00\xff\xff\xff\xff' \
    >"$corpus/seed-compact"
# Fixed layout: columns "Name" (text) and "Rate" (real), one row: 5, "hi", 1.5.
zeros60=$(printf '\\x00%.0s' $(seq 60))
printf "Q\\x00\\x00\\x00\\x02\\x00\\x00\\x00\\x01\\x00\\x00\\x00Name${zeros60}\\x01\\x00\\x00\\x00Rate${zeros60}\\x04\\x00\\x00\\x00\\x05\\x00\\x00\\x00\\x02\\x00hi\\x00\\x00\\xc0\\x3f" \
    >"$corpus/seed-fixed"
# Compact layout with every cell type and two rows, an empty text among them.
printf '\x00\x00\x00\x00\x03\x00\x02\x00\x00\x00\x01\x00T\x01\x01\x00N\x03\x01\x00R\x05\x01\x00\x00\x00\x02\x00ab\x09\x00\x00\x00\x00\x00\x80\xbf\x02\x00\x00\x00\x00\x00\xff\xff\xff\xff\x00\x00\x80\x7f' \
    >"$corpus/seed-mixed"

# Catalogue seeds: a small valid catalogue and one in UTF-16.
catalogues="$build/fuzz-corpus-catalogue"
mkdir -p "$catalogues"
printf '<?xml version="1.0" encoding="UTF-8"?>\n<messages>\n  <message mid="1">one</message>\n  <!-- c -->\n  <message mid="42">a &amp; <![CDATA[b]]></message>\n</messages>\n' \
    >"$catalogues/seed-utf8"
printf '\xff\xfe<\x00m\x00e\x00s\x00s\x00a\x00g\x00e\x00s\x00>\x00<\x00m\x00e\x00s\x00s\x00a\x00g\x00e\x00/\x00>\x00<\x00/\x00m\x00e\x00s\x00s\x00a\x00g\x00e\x00s\x00>\x00' \
    >"$catalogues/seed-utf16"

# run <target> <corpus> <seconds> <longest input>
run() {
    local target=$1 inputs=$2 time=$3 longest=$4
    local fuzzer="$build/fuzz/$target" log="$artifacts/$target.log" status=0
    [ -x "$fuzzer" ] || { echo "no fuzzer at $fuzzer (configure with -DQRB_FUZZ=ON)" >&2; exit 2; }
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "$fuzzer" "$inputs" -max_total_time="$time" -rss_limit_mb=2048 -max_len="$longest" -timeout=10 \
        -print_final_stats=1 -artifact_prefix="$artifacts/$target-" 2>"$log" || status=$?
    local total rate
    total=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n1)
    echo "$target: ${total:-?} executions in ${time} s, ${rate:-?} exec/s"
    if [ "$status" -ne 0 ]; then
        tail -n 60 "$log" >&2
        echo "$target failed with status $status; inputs are in $artifacts" >&2
        exit "$status"
    fi
}

run fuzz_table_decoder "$corpus" "$seconds" 4096
# The catalogue reader writes each input to a file, so it runs fewer inputs; half the time.
run fuzz_catalogue "$catalogues" $(( (seconds + 1) / 2 )) 8192
