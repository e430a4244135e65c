#!/bin/bash
# Under a Wayland compositor (headless weston): a native Wayland run, which
# cannot learn where its window is, saves the stored position unchanged
# while the window's size still follows the window; with an X server beside
# it (XWayland, here the caller's Xvfb) and no platform named, Tolm runs
# through X and keeps its position there.
# Usage: wayland_position.sh TOLM TOLM_SHELF   (run under xvfb-run; exit 77 skips)
tolm=$1
shelf=$2
command -v weston >/dev/null || { echo "SKIP: weston is not installed"; exit 77; }
. "$(dirname "$0")/lib.sh"
trap 'kill -9 "${pid:-0}" "${compositor:-0}" 2>/dev/null; rm -rf "$work"' EXIT

export XDG_RUNTIME_DIR=$work/run
mkdir -m 0700 "$XDG_RUNTIME_DIR"
socket=tolm-test-wayland-$$
weston --backend=headless-backend.so --socket="$socket" --idle-time=0 >"$work/weston.log" 2>&1 &
compositor=$!
disown "$compositor"
for _ in $(seq 50); do
    [ -S "$XDG_RUNTIME_DIR/$socket" ] && break
    sleep 0.1
done
[ -S "$XDG_RUNTIME_DIR/$socket" ] || fail "weston did not start: $(cat "$work/weston.log")"
export WAYLAND_DISPLAY=$socket

header_line() { "$shelf" dump tolm95.dat | awk -v want="$1" '$1 == want { print $3; exit }'; }

# Stored at (667, 150) with a client area of 305 x 147, which snaps to 300 x 140.
shelf_head main 667 150 | sed -e 's/right = .*/right = 972/' -e 's/bottom = .*/bottom = 297/' >main.txt
"$shelf" build main.txt tolm95.dat || fail "could not build the shelf"
"$shelf" dump tolm95.dat >before.txt
inode=$(stat -c %i tolm95.dat)

# Native Wayland. The protocol log says when the window has been drawn.
WAYLAND_DEBUG=client QT_QPA_PLATFORM=wayland "$tolm" 2>"$work/stderr.now" &
pid=$!
for _ in $(seq 100); do
    grep -q 'wl_surface@[0-9]*\.attach(wl_buffer' "$work/stderr.now" && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if grep -q 'platform plugin "wayland"' "$work/stderr.now"; then
    echo "SKIP: Qt's Wayland platform plugin is not installed"
    exit 77
fi
grep -q 'set_title("Tolm 2000")' "$work/stderr.now" && grep -q 'wl_surface@[0-9]*\.attach(wl_buffer' "$work/stderr.now" \
    || fail "no Wayland window was shown"
sleep 0.5
stop_tolm
[ "$(stat -c %i tolm95.dat)" != "$inode" ] || fail "the native Wayland run did not save the shelf"
echo "native Wayland: saved at ($(header_line left), $(header_line top))-($(header_line right), $(header_line bottom))"
[ "$(header_line left)" = 667 ] && [ "$(header_line top)" = 150 ] || fail "the stored position changed: $(diff before.txt <("$shelf" dump tolm95.dat))"
[ "$(header_line right)" = 967 ] && [ "$(header_line bottom)" = 290 ] || fail "the size did not follow the window: $(diff before.txt <("$shelf" dump tolm95.dat))"

# A Wayland session (where Qt would choose Wayland) with an X server beside
# it, no platform named: X it is.
unset QT_QPA_PLATFORM
export XDG_SESSION_TYPE=wayland
start_tolm
[ "$X" = 667 ] && [ "$Y" = 150 ] || fail "through X the window stands at ($X, $Y)"
stop_tolm
[ "$(header_line left)" = 667 ] && [ "$(header_line top)" = 150 ] || fail "saved through X at ($(header_line left), $(header_line top))"
echo "through X beside Wayland: window at ($X, $Y)"
echo "PASS"
