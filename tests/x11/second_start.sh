#!/bin/bash
# One Tolm per shelf folder on a real X server: with Tolms running in two
# folders, the second one's window on top, a new start in the first folder
# raises the first Tolm's window and gives it the focus, and ends at once,
# leaving the shelf and the start counter as they were.
# Usage: second_start.sh TOLM TOLM_SHELF   (run under xvfb-run)
tolm=$1
shelf=$2
. "$(dirname "$0")/lib.sh"
trap 'kill -9 "${pid:-0}" "${first:-0}" "${other:-0}" 2>/dev/null; rm -rf "$work"' EXIT
# The locks and sockets lie in the user's runtime folder, never in the shelf
# folder, and wherever the environment says the runtime folder is.
export XDG_RUNTIME_DIR=$work/run
mkdir -m 700 "$XDG_RUNTIME_DIR" || exit 1
runtime=/run/user/$(id -u)
[ -d "$runtime" ] && [ ! -L "$runtime" ] && [ -O "$runtime" ] || runtime=/tmp/tolm-$(id -u)

# The lock file of shelf folder $1.
lock_of() {
    echo "$runtime/tolm-$(id -u)-$(printf %s "$(realpath "$1")" | sha256sum | cut -c1-16).lock"
}

# The visible main window of process $1.
window_of() {
    local id=""
    for _ in $(seq 50); do
        id=$(xdotool search --all --onlyvisible --pid "$1" --name '^Tolm 2000$' 2>/dev/null | head -1)
        [ -n "$id" ] && break
        sleep 0.1
    done
    echo "$id"
}

# The topmost of the Tolm windows: a search lists the root's children in
# stacking order, bottom first.
topmost() {
    xdotool search --onlyvisible --name '^Tolm 2000$' 2>/dev/null | tail -1
}

# Waits until window $1 is on top and has the focus. The focus is only
# checked, never set here: a focus that xdotool set would be newer than any
# X time tolm knows, and the X server rightly refuses an older request.
await_forward() {
    for _ in $(seq 50); do
        [ "$(topmost)" = "$1" ] && [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] && return 0
        sleep 0.1
    done
    return 1
}

start_tolm
first=$pid
first_window=$(window_of "$first")
[ -n "$first_window" ] || fail "no window of the first Tolm"
[ -f "$(lock_of "$work/shelf")" ] || fail "no lock in $runtime"

mkdir "$work/other" && cd "$work/other" || exit 1
start_tolm
other=$pid
other_window=$(window_of "$other")
[ -n "$other_window" ] || fail "a second folder did not get its own Tolm"
[ "$other_window" != "$first_window" ] || fail "two folders share one window"
[ "$(topmost)" = "$other_window" ] || fail "the second folder's Tolm is not on top"
[ "$(xdotool getwindowfocus 2>/dev/null)" != "$first_window" ] || fail "the first Tolm has the focus already"

cd "$work/shelf" || exit 1
shelf_before=$(stat -c '%Y %s' tolm95.dat; md5sum <tolm95.dat)
counter_before=$(cat "$XDG_CONFIG_HOME/Tolm/tolm.ini")
timeout 20 "$tolm" 2>>"$work/stderr"
status=$?
[ "$status" = 0 ] || fail "the second start in a held folder ended with $status"
await_forward "$first_window" || fail "the first Tolm's window did not come forward"
[ "$(stat -c '%Y %s' tolm95.dat; md5sum <tolm95.dat)" = "$shelf_before" ] || fail "the second start touched tolm95.dat"
[ "$(cat "$XDG_CONFIG_HOME/Tolm/tolm.ini")" = "$counter_before" ] || fail "the second start was counted"
kill -0 "$first" 2>/dev/null || fail "the first Tolm ended"
kill -0 "$other" 2>/dev/null || fail "the other folder's Tolm ended"

pid=$other
stop_tolm
pid=$first
stop_tolm
[ -e "$(lock_of "$work/shelf")" ] || [ -e "$(lock_of "$work/other")" ] && fail "a lock is still there after the Tolms ended"
[ -z "$(find "$XDG_RUNTIME_DIR" "$work/shelf" "$work/other" -name '*.lock')" ] || fail "a lock lies where it should not"
echo "PASS"
