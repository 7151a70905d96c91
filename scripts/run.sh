#!/usr/bin/env bash
# Sets everything up and starts the viewer. Without a display it starts a virtual one.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" build
viewer="$root/build/app/quarrytide-viewer"
if [ -n "${DISPLAY:-}" ]; then
    exec "$viewer"
else
    echo "No DISPLAY: running on a virtual X display (xvfb-run)." >&2
    exec xvfb-run -a -s "-screen 0 1280x800x24" "$viewer"
fi
