#!/bin/bash
# Moving a window under a real window manager (openbox): switching the frame
# keeps the client area where it is, a background drag and a Ctrl-drag on an
# item move it by exactly the pointer's movement, with and without the frame,
# and the next start puts it back where it was left.
# Usage: window_moves.sh TOLM TOLM_SHELF   (run under xvfb-run; exit 77 skips)
tolm=$1
shelf=$2
command -v openbox >/dev/null || { echo "SKIP: openbox is not installed"; exit 77; }
command -v xwininfo >/dev/null || { echo "SKIP: xwininfo is not installed"; exit 77; }
. "$(dirname "$0")/lib.sh"
trap 'kill -9 "${pid:-0}" "${wm:-0}" 2>/dev/null; rm -rf "$work"' EXIT

openbox --config-file /dev/null >"$work/openbox.log" 2>&1 &
wm=$!
disown "$wm"
for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done
xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' || fail "openbox did not start"

# The screen position of the main window's client area, as "x y". Switching
# the frame gives the window a new X window, so it is looked up each time.
client() {
    local id
    id=$(xdotool search --onlyvisible --name '^Tolm 2000$' | head -1)
    [ -n "$id" ] || fail "no main window"
    xwininfo -id "$id" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 } END { print x, y }'
}

# Waits until the client area stops moving (the window manager has answered).
settled() {
    local now last=""
    for _ in $(seq 30); do
        sleep 0.2
        now=$(client)
        [ "$now" = "$last" ] && break
        last=$now
    done
    echo "$now"
}

# Presses the left button at client point ($1, $2), moves the pointer by
# ($3, $4) in steps and releases; $5 names a key held throughout, if any.
drag() {
    local x y
    read -r x y <<<"$(client)"
    x=$((x + $1)) y=$((y + $2))
    xdotool mousemove "$x" "$y"
    sleep 0.2
    [ -n "${5:-}" ] && xdotool keydown "$5"
    xdotool mousedown 1
    for step in $(seq 12); do
        xdotool mousemove $((x + step * $3 / 12)) $((y + step * $4 / 12))
        sleep 0.04
    done
    xdotool mouseup 1
    [ -n "${5:-}" ] && xdotool keyup "$5"
    sleep 0.3
}

# "Marco de ventana", the first entry of "Opciones" in the window menu.
toggle_frame() {
    local x y
    read -r x y <<<"$(client)"
    xdotool mousemove $((x + 200)) $((y + 100)) click 3
    sleep 0.5
    xdotool key Down Right Return
}

expect_at() {
    [ "$2" = "$3" ] || fail "$1: the client area is at ($2), expected ($3)"
    echo "$1: ($2)"
}

offset() { echo $(($1 + $3)) $(($2 + $4)); }

# The window starts framed at (400, 300) with a launcher at (0, 0).
{ shelf_head main 400 300; item Normal 0 0 'Caption = "Uno"' 'tag1 = 0'; } >main.txt
"$shelf" build main.txt tolm95.dat || fail "could not build the shelf"

start_tolm
framed=$(settled)
read -r fx fy <<<"$framed"
# The frame's title bar and border lie above and left of the client area.
[ "$fx" -gt 400 ] || [ "$fy" -gt 300 ] || fail "openbox drew no frame: the client area is at ($framed)"

toggle_frame
expect_at "frame hidden" "$(settled)" "$framed"
drag 200 100 -100 210
moved=$(offset $framed -100 210)
expect_at "frameless background drag by (-100, 210)" "$(settled)" "$moved"
drag 20 20 130 -70 ctrl
moved=$(offset $moved 130 -70)
expect_at "frameless Ctrl-drag of an item by (130, -70)" "$(settled)" "$moved"
stop_tolm
read -r mx my <<<"$moved"
# Without a frame the stored position is the client area's.
"$shelf" dump tolm95.dat | grep -q '^    frameShown = 0$' || fail "the hidden frame was not saved"
"$shelf" dump tolm95.dat | grep -q "^    left = $mx\$" && "$shelf" dump tolm95.dat | grep -q "^    top = $my\$" \
    || fail "saved at $("$shelf" dump tolm95.dat | grep -E '^    (left|top) =' | tr -s ' \n' ' ')"

start_tolm
expect_at "frameless after a restart" "$(settled)" "$moved"
toggle_frame
expect_at "frame shown again" "$(settled)" "$moved"
drag 200 100 -150 -120
moved=$(offset $moved -150 -120)
expect_at "framed background drag by (-150, -120)" "$(settled)" "$moved"
drag 20 20 90 45 ctrl
moved=$(offset $moved 90 45)
expect_at "framed Ctrl-drag of an item by (90, 45)" "$(settled)" "$moved"
# With the frame the stored position is the frame's corner, as the window
# manager announces the frame (left, right, top, bottom).
extents=$(xprop -id "$(xdotool search --onlyvisible --name '^Tolm 2000$' | head -1)" _NET_FRAME_EXTENTS \
    | sed -n 's/.*= //p' | tr -d ',')
read -r left _ top _ <<<"$extents"
[ -n "$top" ] || fail "openbox announced no frame"
stop_tolm
read -r mx my <<<"$moved"
"$shelf" dump tolm95.dat | grep -q "^    left = $((mx - left))\$" \
    && "$shelf" dump tolm95.dat | grep -q "^    top = $((my - top))\$" \
    || fail "saved at $("$shelf" dump tolm95.dat | grep -E '^    (left|top) =' | tr -s ' \n' ' '), the frame at ($((mx - left)), $((my - top)))"
echo "framed: saved at the frame's corner ($((mx - left)) $((my - top)))"

start_tolm
expect_at "framed after a restart" "$(settled)" "$moved"
stop_tolm
echo "PASS"
