#!/bin/bash
# The shelf from the keyboard alone, with real X key events (xdotool): the
# first letters of a launcher's caption and Return start it; Tab, Tab and
# space start the second launcher in reading order; Escape takes the mark
# away so that Return starts nothing; the menu key opens the marked item's
# menu. The pointer stays off the window.
# Usage: keyboard_launch.sh TOLM TOLM_SHELF   (run under xvfb-run)
tolm=$1
shelf=$2
. "$(dirname "$0")/lib.sh"

# Every launcher runs this script with its own name; it notes the name.
cat >"$work/mark.sh" <<'SCRIPT'
#!/bin/sh
echo "$1" >>"$(dirname "$0")/started.txt"
SCRIPT
chmod +x "$work/mark.sh"
launcher() {
    item Normal "$1" "$2" "tag1 = 0" "Caption = \"$3\"" "Comando = \"$work/mark.sh\"" "Param = \"$3\"" \
        "Directorio = \"$work/shelf\""
}
{
    shelf_head tolm95.dat 300 300
    launcher 0 0 Editor
    launcher 50 0 Explorador
    launcher 100 0 Calc
} >"$work/shelf.txt"
"$shelf" build "$work/shelf.txt" tolm95.dat || fail "could not build the shelf"

xdotool mousemove 5 5
start_tolm
window=$(xdotool search --onlyvisible --name '^Tolm 2000$' | head -1)
xdotool windowfocus --sync "$window" || fail "the shelf window could not be focused"
sleep 0.3

started() {
    for _ in $(seq 30); do
        [ "$(cat "$work/started.txt" 2>/dev/null)" = "$1" ] && return 0
        sleep 0.1
    done
    fail "started so far: '$(cat "$work/started.txt" 2>/dev/null)', expected '$1'"
}

xdotool key --delay 50 e x Return
started "Explorador"

# After the type-ahead pause, Escape, then Tab twice: the second item.
sleep 1.2
xdotool key --delay 50 Escape Tab Tab space
started $'Explorador\nExplorador'

xdotool key --delay 50 Escape Return
sleep 0.5
started $'Explorador\nExplorador'

xdotool key --delay 50 c Return
started $'Explorador\nExplorador\nCalc'

# The menu key opens the marked item's menu; "&Abrir" starts it.
sleep 1.2
xdotool key --delay 50 Escape Tab Menu
sleep 0.5
xdotool key a
started $'Explorador\nExplorador\nCalc\nEditor'
stop_tolm
echo "PASS"
