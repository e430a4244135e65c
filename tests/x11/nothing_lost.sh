#!/bin/bash
# A clock added from the menu is on disk while Tolm still runs (then it is
# killed outright); one added just before SIGINT is saved as Tolm ends;
# folders open three windows deep stay open over SIGTERM.
# Usage: nothing_lost.sh TOLM TOLM_SHELF   (run under xvfb-run)
tolm=$1
shelf=$2
. "$(dirname "$0")/lib.sh"

start_tolm
xdotool mousemove $((main_x + 100)) $((main_y + 60)) click 3
sleep 0.5
xdotool key Down Down Right
sleep 0.3
xdotool key Down Down Return
sleep 4
kill -0 "$pid" || fail "tolm ended"
"$shelf" dump tolm95.dat | grep -q 'Clase = Reloj' || fail "the clock is not on disk 4 s after it was added"
kill -9 "$pid"
wait "$pid" 2>/dev/null

# Ctrl+C a moment after a second clock is added: it is saved, and Tolm ends cleanly.
start_tolm
shown=$(xdotool search --onlyvisible --pid "$pid" | wc -l)
xdotool mousemove $((main_x + 150)) $((main_y + 60)) click 3
await_more_windows "$shown"
xdotool key Down Down Right
await_more_windows $((shown + 1))
xdotool key Down Down Return
# The gap the fault needs: the item is added and not yet saved.
sleep 0.15
kill -INT "$pid"
wait "$pid" || fail "tolm did not end cleanly on SIGINT"
[ "$("$shelf" dump tolm95.dat | grep -c 'Clase = Reloj')" = 2 ] || fail "the clock added before SIGINT is lost"

# Main window -> "uno" -> "dos", every one stored open.
{
    shelf_head tolm95.dat 100 100
    item Carpeta 0 0 'Comando = "tolmc1.dat"' 'Hint = "uno"' 'Tag = 1'
} >"$work/main.txt"
{
    shelf_head tolmc1.dat 450 100
    item Carpeta 0 0 'Comando = "tolmc2.dat"' 'Hint = "dos"' 'Tag = 1'
} >"$work/uno.txt"
shelf_head tolmc2.dat 800 100 >"$work/dos.txt"
"$shelf" build "$work/main.txt" tolm95.dat && "$shelf" build "$work/uno.txt" tolmc1.dat \
    && "$shelf" build "$work/dos.txt" tolmc2.dat || fail "could not build the folder tree"
start_tolm
await_window '^uno$'
await_window '^dos$'
stop_tolm
[ "$(item_property tolm95.dat Tag 1)" = 1 ] || fail "folder uno stored closed"
[ "$(item_property tolmc1.dat Tag 1)" = 1 ] || fail "folder dos stored closed"

echo "PASS"
