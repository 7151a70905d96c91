#!/usr/bin/env bash
# End-to-end run of the real viewer on its own X server, driven with xdotool as a person would:
# open a table through the GTK file chooser, find a row by its name, open a bad file, quit.
# Usage: open_and_search_test.sh <viewer executable> <folder for the screenshots>
set -euo pipefail

viewer=$(realpath "${1:?usage: $0 <viewer> <output folder>}")
outdir=$(realpath "${2:?usage: $0 <viewer> <output folder>}")
readonly MAIN_TITLE='^Quarrytide二维表查看器器V2\.0$'
readonly OPEN_TITLE='^打开$'
readonly ERROR_TITLE='^错误$'
readonly FAR_NAME='紫水晶'   # row 25: only reachable by scrolling
readonly FIRST_NAME='铁矿石' # row 1: found by wrapping round from row 25

tmp=$(mktemp -d "${TMPDIR:-/tmp}/qrb-e2e.XXXXXX")
work="$tmp/work"
xvfb_pid='' wm_pid='' viewer_pid=''
started=$SECONDS

cleanup() {
    local status=$?
    for pid in "$viewer_pid" "$wm_pid" "$xvfb_pid"; do
        [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    done
    for pid in "$viewer_pid" "$wm_pid" "$xvfb_pid"; do
        [ -n "$pid" ] && wait "$pid" 2>/dev/null || true
    done
    if [ "$status" -ne 0 ] && [ -s "$tmp/viewer.log" ]; then
        echo "--- viewer output (last 20 lines, settings-store warnings left out)" >&2
        grep -v 'dconf' "$tmp/viewer.log" | grep . | tail -n 20 >&2 || true
    fi
    rm -rf "$tmp"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

log() { echo "[$((SECONDS - started))s] $*"; }

# --- the table and its catalogue -------------------------------------------------------------

# Little-endian integers as bytes, without a process per byte.
u8() {
    local escaped
    printf -v escaped '\\%03o' "$@"
    printf "$escaped"
}
u16() { u8 $(($1 & 255)) $((($1 >> 8) & 255)); }
u32() { u8 $(($1 & 255)) $((($1 >> 8) & 255)) $((($1 >> 16) & 255)) $((($1 >> 24) & 255)); }
# A length-prefixed UTF-8 text; its length counted in bytes.
text() {
    local LC_ALL=C
    u16 ${#1}
    printf %s "$1"
}

names=(铁矿石 铜矿石 煤炭 石英砂 Granite Basalt 金块 银块 木板 绳索 Pickaxe Shovel 火把 炸药 Lantern
    矿车 铁轨 齿轮 Conveyor 水泵 石灰石 大理石 Slate 黏土 紫水晶 蓝宝石 Obsidian 硫磺 钻石 "Quarry Crane")
readonly UNNAMED_ID=1018 # absent from the catalogue: that row keeps its number

# Compact layout: tag 0, 2 columns, 30 rows; _NameID (code 2) and Name (code 1).
write_table() {
    u32 0; u16 2; u32 ${#names[@]}
    text _NameID; u8 2
    text Name; u8 1
    for i in "${!names[@]}"; do
        u32 $((101 + i)); u32 $((1001 + i)); text "${names[$i]}"
    done
}

write_catalogue() {
    echo '<?xml version="1.0" encoding="UTF-8"?>'
    echo '<messages>'
    for i in "${!names[@]}"; do
        [ $((1001 + i)) -eq $UNNAMED_ID ] && continue
        echo "  <message mid=\"$((1001 + i))\">${names[$i]}</message>"
    done
    echo '</messages>'
}

mkdir -p "$work"
write_table >"$work/items.ext"
write_catalogue >"$work/uistring.xml"
printf '\x07\x00\x00\x00\x01\x00' >"$work/broken.qrb"

# --- a private desktop --------------------------------------------------------------------------

# Nothing of the user's own settings or sessions leaks in or out; no blinking caret, animation
# or fading scroll bar, so that a screen that stops changing means the program is idle.
export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/.config" XDG_DATA_HOME="$tmp/home/.local/share"
export XDG_CACHE_HOME="$tmp/home/.cache" XDG_RUNTIME_DIR="$tmp/run"
export NO_AT_BRIDGE=1 GSETTINGS_BACKEND=memory GTK_OVERLAY_SCROLLING=0 LC_ALL=C.UTF-8
unset DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER
mkdir -p "$XDG_CONFIG_HOME/gtk-3.0" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
printf '[Settings]\ngtk-cursor-blink=false\ngtk-enable-animations=false\n' >"$XDG_CONFIG_HOME/gtk-3.0/settings.ini"

# Polls a command for up to $1 seconds.
wait_until() {
    local timeout=$1
    shift
    local deadline=$((SECONDS + timeout))
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# No reset when the last client leaves: that would also drop the keys bound below.
Xvfb -displayfd 3 -noreset -screen 0 1280x800x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb_pid=$!
wait_until 15 test -s "$tmp/display" || fail "Xvfb did not start: $(tail -n 3 "$tmp/xvfb.log")"
export DISPLAY=":$(head -n 1 "$tmp/display")"

openbox --sm-disable >"$tmp/openbox.log" 2>&1 &
wm_pid=$!
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wait_until 15 wm_running || fail "openbox did not start: $(tail -n 3 "$tmp/openbox.log")"
log "X server $DISPLAY and openbox are up"

# Gives each character of $1 a key of its own. Otherwise xdotool remaps a spare key for every
# character missing from the keymap just before pressing it, and a program that has not yet
# seen the new mapping drops the key (under load, the first character of a name went missing).
bind_characters() {
    local keymap="$tmp/keymap.xkb" keys='' spare i code
    xkbcomp -xkb "$DISPLAY" "$keymap" 2>/dev/null || fail "cannot read the keymap"
    # Key names the keymap defines but gives no symbols.
    mapfile -t spare < <(awk '
        FNR == NR {
            if (/^xkb_symbols/) on = 1
            if (on && match($0, /key +<[A-Z0-9]+>/)) { k = substr($0, RSTART, RLENGTH); sub(/key +/, "", k); used[k] = 1 }
            next
        }
        /^xkb_keycodes/ { on = 1 } /^};/ { on = 0 }
        on && $1 ~ /^<I[0-9]+>$/ && $2 == "=" && !($1 in used) { print $1 }
    ' "$keymap" "$keymap")
    [ "${#spare[@]}" -ge "${#1}" ] || fail "the keymap has only ${#spare[@]} spare keys"
    for ((i = 0; i < ${#1}; i++)); do
        printf -v code '%04X' "'${1:i:1}"
        keys+="    key ${spare[i]} { [ U$code ] };"$'\n'
    done
    KEYS="$keys" awk '/^xkb_symbols/ { on = 1 } on && /^};/ { printf "%s", ENVIRON["KEYS"]; on = 0 } { print }' \
        "$keymap" >"$keymap.new"
    xkbcomp -w 0 "$keymap.new" "$DISPLAY" 2>/dev/null || fail "cannot load the extended keymap"
}

# --- windows and screenshots --------------------------------------------------------------------

viewer_alive() {
    kill -0 "$viewer_pid" 2>/dev/null && return 0
    local status=0
    wait "$viewer_pid" || status=$?
    viewer_pid=''
    fail "the viewer ended unexpectedly (exit status $status)"
}

find_window() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
has_window() { viewer_alive && [ -n "$(find_window "$1")" ]; }
lacks_window() { viewer_alive && [ -z "$(find_window "$1")" ]; }

# Sets `window` to the id of the window titled like $1 once it shows, within $2 seconds.
await_window() {
    wait_until "$2" has_window "$1" || fail "no window titled $1 within $2 s"
    window=$(find_window "$1")
}

await_no_window() {
    wait_until "$2" lacks_window "$1" || fail "the window titled $1 was still open after $2 s"
}

# Rectangle "x y w h" of a window's content on the screen.
content_rect_of() {
    xwininfo -id "$1" | awk '
        /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
        /Width:/ { w = $NF } /Height:/ { h = $NF }
        END { print x, y, w, h }'
}

# The same with the window manager's borders and title bar.
frame_of() {
    local x y w h l r t b
    read -r x y w h < <(content_rect_of "$1")
    read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,/ /g')
    echo $((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))
}

# Smallest rectangle holding all the given rectangles.
union_of() {
    printf '%s\n' "$@" | awk '
        NR == 1 || $1 < x0 { x0 = $1 } NR == 1 || $2 < y0 { y0 = $2 }
        NR == 1 || $1 + $3 > x1 { x1 = $1 + $3 } NR == 1 || $2 + $4 > y1 { y1 = $2 + $4 }
        END { print x0, y0, x1 - x0, y1 - y0 }'
}

shot() { import -window root "$1"; }

# Copies the rectangle "x y w h" of screenshot $1 to $3.
crop() {
    local x y w h
    read -r x y w h <<<"$2"
    convert "$1" -crop "${w}x${h}+${x}+${y}" +repage "$3"
}

# Number of differing pixels.
pixels_differing() {
    local out status=0
    out=$(compare -metric AE "$1" "$2" null: 2>&1) || status=$?
    [ "$status" -le 1 ] || fail "cannot compare $1 and $2: $out"
    printf '%.0f\n' "$out"
}

# Waits until two screenshots in a row are the same (the program has stopped drawing).
settle() {
    local previous="$tmp/settle-a.png" current="$tmp/settle-b.png" deadline=$((SECONDS + 15))
    shot "$previous"
    while :; do
        sleep 0.2
        viewer_alive
        shot "$current"
        [ "$(pixels_differing "$previous" "$current")" -eq 0 ] && break
        [ "$SECONDS" -lt "$deadline" ] || fail "the screen kept changing for 15 s"
        mv "$current" "$previous"
    done
    mv "$current" "${1:-$tmp/settled.png}"
}

# The search box in window image $1: the topmost white area 40-400 pixels wide and 12-60 high
# in the top 150 rows (the grid's cells below are wider or lower). Prints "x y w h".
find_search_box() {
    convert "$1" -crop x150+0+0 +repage -fill black +opaque white \
        -define connected-components:verbose=true -connected-components 4 null: | awk '
        $NF ~ /255,255,255|white/ {
            split($2, g, /[x+]/)
            if (g[1] >= 40 && g[1] <= 400 && g[2] >= 12 && g[2] <= 60 && (!found || g[4] < top)) {
                found = 1; top = g[4]; box = g[3] " " g[4] " " g[1] " " g[2]
            }
        }
        END { if (found) print box }'
}

# Top edge (y) of the grid's cursor in window image $1, looking below row $2: the cursor is the
# only pure black line 30 or more pixels long (glyphs are shorter, the grid's border is grey).
cursor_top() {
    local box w h y
    box=$(convert "$1" -crop "x$((content_h - $2))+0+$2" +repage -fill white +opaque black -negate \
        -morphology Erode Rectangle:30x1 -format '%@' info: 2>/dev/null)
    IFS='x+' read -r w h _ y <<<"$box"
    [ "$w" -gt 0 ] && [ "$h" -le 80 ] || return 0
    echo $(($2 + y))
}

# Window-relative image of the main window's content from a screenshot.
content_of() {
    crop "$1" "$content_rect" "$2"
}

# The grid and the status bar: everything of the main window below the tool bar's search box.
grid_of() {
    convert "$1" -crop "x$((content_h - grid_top))+0+$grid_top" +repage "$2"
}

# Opens $1 through Ctrl+O and the file chooser's location field.
# Once the screen is still: $tmp/NAME.png, the window as $outdir/SHOT, and its content and grid
# as $tmp/NAME-content.png and $tmp/NAME-grid.png.
snapshot() {
    local name=$1 shot=$2
    settle "$tmp/$name.png"
    crop "$tmp/$name.png" "$frame" "$outdir/$shot"
    content_of "$tmp/$name.png" "$tmp/$name-content.png"
    grid_of "$tmp/$name-content.png" "$tmp/$name-grid.png"
}

open_through_dialog() {
    xdotool windowactivate --sync "$main_window"
    xdotool key --clearmodifiers ctrl+o
    await_window "$OPEN_TITLE" 30
    xdotool windowactivate --sync "$window"
    xdotool key --clearmodifiers ctrl+l ctrl+a
    xdotool type --delay 15 "$1"
    # The chooser completes the typed path in the background and drops an Enter that
    # arrives before it has finished: wait until it stops drawing.
    settle
    xdotool key Return
    await_no_window "$OPEN_TITLE" 20
}

# Types $1 into the search box and presses Enter there.
search_for() {
    xdotool mousemove --window "$main_window" "$box_x" "$box_y" click 1
    xdotool mousemove 0 0 # no hover highlight in the screenshots
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 60 "$1"
    xdotool key Return
}

# --- 1-2. start, the empty window ---------------------------------------------------------------

bind_characters "$FAR_NAME$FIRST_NAME"

(cd "$work" && exec "$viewer") >"$tmp/viewer.log" 2>&1 &
viewer_pid=$!
await_window "$MAIN_TITLE" 30
main_window=$window
settle "$tmp/empty.png"
log "main window $main_window is up"

frame=$(frame_of "$main_window")
content_rect=$(content_rect_of "$main_window")
read -r _ _ _ content_h <<<"$content_rect"
crop "$tmp/empty.png" "$frame" "$outdir/e2e-empty.png"
content_of "$tmp/empty.png" "$tmp/empty-content.png"
[ "$(convert "$tmp/empty-content.png" -format '%k' info:)" -gt 10 ] ||
    fail "the main window shows nothing (see $outdir/e2e-empty.png)"

read -r bx by bw bh < <(find_search_box "$tmp/empty-content.png") ||
    fail "no search box found on the tool bar (see $outdir/e2e-empty.png)"
[ "$bh" -ge 12 ] || fail "the search box found is only $bh pixels high (see $outdir/e2e-empty.png)"
box_x=$((bx + bw / 2)) box_y=$((by + bh / 2)) grid_top=$((by + bh + 1))
log "search box at $bx,$by ${bw}x$bh in the window"
grid_of "$tmp/empty-content.png" "$tmp/empty-grid.png"

# --- 3. open the table --------------------------------------------------------------------------

open_through_dialog "$work/items.ext"
snapshot loaded e2e-loaded.png
changed=$(pixels_differing "$tmp/empty-grid.png" "$tmp/loaded-grid.png")
[ "$changed" -gt 20000 ] ||
    fail "the grid looks the same after loading ($changed pixels changed; see $outdir/e2e-loaded.png)"
cursor_before=$(cursor_top "$tmp/loaded-content.png" "$grid_top")
[ -n "$cursor_before" ] || fail "no grid cursor visible after loading (see $outdir/e2e-loaded.png)"
log "table loaded ($changed pixels of the grid changed, cursor at y=$cursor_before)"

# --- 4. search a row far down by its name, then wrap round to the first ------------------------

search_for "$FAR_NAME"
snapshot search e2e-search.png
cursor_after=$(cursor_top "$tmp/search-content.png" "$grid_top")
[ -n "$cursor_after" ] || fail "no grid cursor visible after the search (see $outdir/e2e-search.png)"
# Row 25 of 30 is below the first screenful: the grid must have scrolled and the cursor must
# stand in the lower part of the grid.
[ $((cursor_after - cursor_before)) -gt $(((content_h - grid_top) / 3)) ] ||
    fail "the cursor did not move far down (y $cursor_before -> $cursor_after; see $outdir/e2e-search.png)"
changed=$(pixels_differing "$tmp/loaded-grid.png" "$tmp/search-grid.png")
[ "$changed" -gt 5000 ] || fail "the grid did not scroll ($changed pixels changed; see $outdir/e2e-search.png)"
log "search for $FAR_NAME moved the cursor to y=$cursor_after and scrolled ($changed pixels changed)"

search_for "$FIRST_NAME"
snapshot wrapped e2e-search-wrap.png
changed=$(pixels_differing "$tmp/loaded-grid.png" "$tmp/wrapped-grid.png")
[ "$changed" -eq 0 ] ||
    fail "searching $FIRST_NAME did not bring back the first screenful with the cursor on row 1" \
        "($changed pixels differ from right after loading; see $outdir/e2e-search-wrap.png)"
log "search for $FIRST_NAME wrapped round to row 1"

# --- 5. a bad file ------------------------------------------------------------------------------

open_through_dialog "$work/broken.qrb"
await_window "$ERROR_TITLE" 20
error_box=$window
settle "$tmp/error.png"
crop "$tmp/error.png" "$(union_of "$frame" "$(frame_of "$error_box")")" "$outdir/e2e-error.png"
log "error box $error_box is up"
xdotool windowactivate --sync "$error_box"
xdotool key Return
await_no_window "$ERROR_TITLE" 10
settle "$tmp/after-error.png"
content_of "$tmp/after-error.png" "$tmp/after-error-content.png"
grid_of "$tmp/after-error-content.png" "$tmp/after-error-grid.png"
changed=$(pixels_differing "$tmp/loaded-grid.png" "$tmp/after-error-grid.png")
[ "$changed" -gt 20000 ] || fail "the table still shows after the failed load ($changed pixels changed)"

# Still responding: the file chooser opens again and Escape closes it.
xdotool windowactivate --sync "$main_window"
xdotool key --clearmodifiers ctrl+o
await_window "$OPEN_TITLE" 30
xdotool key Escape
await_no_window "$OPEN_TITLE" 10
log "the main window still answers after the error"

# --- 6. quit ------------------------------------------------------------------------------------

xdotool windowactivate --sync "$main_window"
xdotool key --clearmodifiers alt+F4
ended() { ! kill -0 "$viewer_pid" 2>/dev/null; }
wait_until 10 ended || fail "the viewer was still running 10 s after Alt+F4"
status=0
wait "$viewer_pid" || status=$?
viewer_pid=''
[ "$status" -eq 0 ] || fail "the viewer ended with exit status $status after Alt+F4"
log "the viewer ended with status 0; screenshots in $outdir"
