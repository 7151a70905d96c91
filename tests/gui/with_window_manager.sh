#!/usr/bin/env bash
# Runs a command (the GUI tests) with a window manager on the X display, so that the main
# window becomes active and takes the keyboard focus as it does on a desktop. Without
# openbox the command runs alone and the focus checks skip.
set -euo pipefail
if command -v openbox >/dev/null && [ -n "${DISPLAY:-}" ]; then
    openbox --sm-disable >/dev/null 2>&1 &
    wm=$!
    trap 'kill "$wm" 2>/dev/null || true; wait "$wm" 2>/dev/null || true' EXIT
    for _ in $(seq 100); do
        if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
            break
        fi
        sleep 0.05
    done
fi
"$@"
