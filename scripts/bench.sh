#!/usr/bin/env bash
# Sets everything up, builds the benchmark and runs it (on a virtual X display when there is no
# DISPLAY). Options go to the benchmark: --quick for small inputs and few runs, --runs N,
# --only ROWSxCOLUMNS, --keep, --step-clock.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/install-deps.sh
# Only what the benchmark needs, in the usual build folder.
cmake -S . -B build >/dev/null
cmake --build build --target quarrytide-bench -j"$(nproc)"
bench="$root/build/bench/quarrytide-bench"
if [ -n "${DISPLAY:-}" ]; then
    exec "$bench" "$@"
else
    exec xvfb-run -a -s "-screen 0 1280x800x24" "$bench" "$@"
fi
