#!/bin/bash
# The launcher on a real X server (Xvfb), driven by real X input (xdotool):
# first start, the window menu on a right click, "Nuevo" -> "Reloj", the
# clock's properties dialog, SIGTERM saving every window; then a stored
# launcher with autorun whose parameters would do harm if a shell saw them.
# Usage: end_to_end.sh TOLM TOLM_SHELF   (run under xvfb-run)
tolm=$1
shelf=$2
. "$(dirname "$0")/lib.sh"

start_tolm
[ -f tolm95.dat ] || fail "tolm95.dat was not created on first start"
# The start is counted once the window has been painted.
for _ in $(seq 20); do
    grep -qs '^tolml=1$' "$XDG_CONFIG_HOME/Tolm/tolm.ini" && break
    sleep 0.1
done
grep -q '^tolml=1$' "$XDG_CONFIG_HOME/Tolm/tolm.ini" || fail "start counter is not 1"

X=$main_x
Y=$main_y
xdotool mousemove $((X + 100)) $((Y + 60)) click 3
sleep 0.5
# Opciones, Nuevo -> open it; Botón, Carpeta, Reloj.
xdotool key Down Down Right
sleep 0.3
xdotool key Down Down Return
sleep 0.5
# The clock's own menu on a right click, "P&ropiedades" by its mnemonic: the
# properties dialog opens; Escape closes it without a change.
xdotool mousemove $((X + 110)) $((Y + 70)) click 3
sleep 0.5
xdotool key r
dialog=""
for _ in $(seq 30); do
    dialog=$(xdotool search --name '^Propiedades' 2>/dev/null | head -1)
    [ -n "$dialog" ] && break
    sleep 0.1
done
[ -n "$dialog" ] || fail "the properties dialog did not open"
xdotool key Escape
sleep 0.5
xdotool search --onlyvisible --name '^Propiedades' >/dev/null 2>&1 && fail "the properties dialog did not close"
stop_tolm
"$shelf" dump tolm95.dat | grep -q 'Clase = Reloj' || fail "no clock saved: $("$shelf" dump tolm95.dat)"

# A launcher stored with autorun: the script must receive exactly three
# arguments and no command after the semicolon may run.
cat >"$work/args.sh" <<'SCRIPT'
#!/bin/sh
for a in "$@"; do printf '[%s]\n' "$a"; done >"$(dirname "$0")/args.txt"
SCRIPT
chmod +x "$work/args.sh"
"$shelf" dump tolm95.dat | sed '/^object TSpButton/,$d' >"$work/launcher.txt"
cat >>"$work/launcher.txt" <<TEXT
object TSpButton ""
    Left = 0
    Top = 0
    Width = 40
    Height = 40
    ParentShowHint = False
    ShowHint = True
    OnClick = SpButtonClick
    Comando = "$work/args.sh"
    Directorio = "$work/shelf"
    Param = "'a b' c;touch x"
    Autorun = True
end
TEXT
"$shelf" build "$work/launcher.txt" tolm95.dat || fail "could not build the launcher shelf"
start_tolm
for _ in $(seq 50); do
    [ -f "$work/args.txt" ] && break
    sleep 0.1
done
stop_tolm
[ -f "$work/args.txt" ] || fail "the autorun launcher did not run"
expected=$'[a b]\n[c;touch]\n[x]'
[ "$(cat "$work/args.txt")" = "$expected" ] || fail "arguments were: $(cat "$work/args.txt")"
[ ! -e "$work/shelf/x" ] && [ ! -e x ] || fail "a shell ran the parameters"
grep -q '^tolml=2$' "$XDG_CONFIG_HOME/Tolm/tolm.ini" || fail "start counter is not 2"
echo "PASS"
