#!/bin/bash
# Real X input on the properties dialog: right-click a launcher, "P&ropiedades",
# type a new name, choose "80x40", "Aceptar": the item has the new name and
# size, on the shelf and in "tolm95.dat". The same edits with "Cancelar"
# change nothing.
# Usage: properties.sh TOLM TOLM_SHELF   (run under xvfb-run)
tolm=$1
shelf=$2
. "$(dirname "$0")/lib.sh"

{ shelf_head main 100 100; item Normal 0 0 'Caption = "Viejo"' 'tag1 = 0'; } >main.txt
"$shelf" build main.txt tolm95.dat || fail "could not build the shelf"

# Opens the launcher's dialog, renames it to $1, picks 80x40, presses the
# button at dialog position $2.
edit_launcher() {
    xdotool mousemove $((main_x + 20)) $((main_y + 20)) click 3
    sleep 0.5
    xdotool key r
    await_window '^Propiedades'
    # The name box, then the "80x40" format, then the chosen button.
    xdotool mousemove $((X + 95)) $((Y + 60)) click --repeat 3 1
    xdotool key ctrl+a
    xdotool type --delay 20 "$1"
    xdotool mousemove $((X + 197)) $((Y + 75)) click 1
    sleep 0.2
    xdotool mousemove $((X + $2)) $((Y + 372)) click 1
    sleep 0.5
    xdotool search --onlyvisible --name '^Propiedades' >/dev/null 2>&1 && fail "the dialog is still open"
}

start_tolm
edit_launcher "Cancelado" 236 # Cancelar
edit_launcher "Nuevo nombre" 155 # Aceptar
stop_tolm

[ "$(item_property tolm95.dat Caption 1)" = '"Nuevo nombre"' ] || fail "caption: $(item_property tolm95.dat Caption 1)"
[ "$(item_property tolm95.dat Width 1)" = 80 ] && [ "$(item_property tolm95.dat Height 1)" = 40 ] \
    || fail "size: $(item_property tolm95.dat Width 1) x $(item_property tolm95.dat Height 1)"
[ "$(item_property tolm95.dat Tipo 1)" = T80x40 ] || fail "format: $(item_property tolm95.dat Tipo 1)"

# Cancelling alone leaves the file as it was.
cp tolm95.dat before.dat
start_tolm
edit_launcher "Otra vez" 236
stop_tolm
[ "$(item_property tolm95.dat Caption 1)" = '"Nuevo nombre"' ] || fail "Cancelar changed the caption"
[ "$(item_property tolm95.dat Tipo 1)" = T80x40 ] || fail "Cancelar changed the format"
echo "PASS"
