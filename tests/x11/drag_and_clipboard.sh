#!/bin/bash
# Real X input: a Shift-drag moves an item onto the 10-pixel grid and the
# move is saved; a folder cut on the main window and pasted into another
# folder's window keeps its whole file tree, now under its new parent.
# Usage: drag_and_clipboard.sh TOLM TOLM_SHELF   (run under xvfb-run)
tolm=$1
shelf=$2
. "$(dirname "$0")/lib.sh"

# Main: a launcher at (0, 0), folder A at (0, 60), folder B at (60, 60);
# B holds a clock and a folder C of its own.
{ shelf_head main 100 100
  item Normal 0 0 'Caption = "Uno"' 'tag1 = 0'
  item Carpeta 0 60 'Caption = "A"' 'Hint = "Carpeta A"' 'Comando = "tolmc1.dat"' 'tag1 = 1'
  item Carpeta 60 60 'Caption = "B"' 'Hint = "Carpeta B"' 'Comando = "tolmc2.dat"' 'tag1 = 1'
} >main.txt
shelf_head a 500 100 >a.txt
{ shelf_head b 500 400; item Reloj 0 0; item Carpeta 40 0 'Comando = "tolmc3.dat"' 'tag1 = 1'; } >b.txt
shelf_head c 700 400 >c.txt
"$shelf" build main.txt tolm95.dat && "$shelf" build a.txt tolmc1.dat && "$shelf" build b.txt tolmc2.dat \
    && "$shelf" build c.txt tolmc3.dat || fail "could not build the shelves"

start_tolm
# Shift-drag the launcher from (5, 5) by 53 right and 22 down: the pointer
# ends at (58, 27), so the item goes to ((58-5) div 10 * 10, (27-5) div 10 * 10) = (50, 20).
xdotool mousemove $((main_x + 5)) $((main_y + 5))
sleep 0.2
xdotool keydown shift mousedown 1
for step in 1 2 3 4 5 6 7 8 9 10 11; do
    xdotool mousemove $((main_x + 5 + step * 53 / 11)) $((main_y + 5 + step * 22 / 11))
    sleep 0.05
done
xdotool mouseup 1 keyup shift
sleep 0.3

# Cut folder B ("C&ortar" by its mnemonic).
xdotool mousemove $((main_x + 80)) $((main_y + 80)) click 3
sleep 0.5
xdotool key o
sleep 0.3
# Open folder A with a click and paste B into its window from the window menu.
xdotool mousemove $((main_x + 20)) $((main_y + 80)) click 1
await_window '^Carpeta A$'
xdotool mousemove $((X + 150)) $((Y + 100)) click 3
sleep 0.5
# Opciones, Nuevo, then Pegar ("Deshacer" is disabled and skipped).
xdotool key Down Down Down Return
sleep 0.5
stop_tolm

# The drag moved the launcher to the end of the list, after folder A (B left with its cut).
[ "$(item_property tolm95.dat Left 2)" = 50 ] && [ "$(item_property tolm95.dat Top 2)" = 20 ] \
    || fail "the dragged launcher is at ($(item_property tolm95.dat Left 2), $(item_property tolm95.dat Top 2))"
"$shelf" dump tolm95.dat | grep -q 'Comando = "tolmc2.dat"' && fail "folder B is still on the main window"
"$shelf" dump tolmc1.dat | grep -q 'Comando = "tolmc2.dat"' || fail "folder B is not in folder A"
for f in tolmc1.dat tolmc2.dat tolmc3.dat; do [ -f "$f" ] || fail "$f is gone"; done
"$shelf" dump tolmc2.dat | grep -q 'Clase = Reloj' || fail "folder B lost its clock"
tree=$("$shelf" tree tolm95.dat)
echo "$tree" | grep -q 'tolmc1.dat' && echo "$tree" | grep -q 'tolmc2.dat' && echo "$tree" | grep -q 'tolmc3.dat' \
    || fail "tree: $tree"
# B and C now lie below A.
indent() { echo "$tree" | grep "$1" | sed 's/[^ ].*//' | wc -c; }
[ "$(indent tolmc2.dat)" -gt "$(indent tolmc1.dat)" ] && [ "$(indent tolmc3.dat)" -gt "$(indent tolmc2.dat)" ] \
    || fail "tree: $tree"
echo "$tree"
echo "PASS"
