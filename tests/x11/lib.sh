# Shared steps of the real-X checks. Source it after setting $tolm and $shelf.
set -u
# The checks find windows and menu entries by their Spanish texts.
export LANGUAGE=es
work=$(mktemp -d)
trap 'kill -9 "${pid:-0}" 2>/dev/null; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
# A real X server: the caller may have asked Qt for the offscreen platform.
export QT_QPA_PLATFORM=xcb
mkdir -p "$work/shelf" && cd "$work/shelf" || exit 1

fail() {
    echo "FAIL: $*"
    if [ -s "$work/stderr" ] || [ -s "$work/stderr.now" ]; then
        echo "--- what tolm wrote on stderr:"
        cat "$work/stderr" "$work/stderr.now" 2>/dev/null
    fi
    exit 1
}

# Waits for a window whose name matches $1 and sets X, Y, WIDTH, HEIGHT and WINDOW.
await_window() {
    local id=""
    for _ in $(seq 50); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
        [ -n "$id" ] && break
        sleep 0.1
    done
    [ -n "$id" ] || fail "no window named '$1'"
    eval "$(xdotool getwindowgeometry --shell "$id")"
    sleep 0.3
}

# Waits until tolm shows more visible windows than $1 (a popup menu opened).
await_more_windows() {
    for _ in $(seq 50); do
        [ "$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l)" -gt "$1" ] && return 0
        sleep 0.1
    done
    fail "no menu opened"
}

start_tolm() {
    # A server that is still settling can refuse the first connection; that,
    # and only that, is worth another try.
    for attempt in 1 2 3; do
        : >"$work/stderr.now"
        # As from a terminal: a script's background job would ignore Ctrl+C.
        env --default-signal=INT "$tolm" 2>"$work/stderr.now" &
        pid=$!
        for _ in $(seq 20); do
            xdotool search --onlyvisible --name '^Tolm 2000$' >/dev/null 2>&1 && break
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -0 "$pid" 2>/dev/null && break
        cat "$work/stderr.now" >>"$work/stderr"
        grep -q 'could not connect to display' "$work/stderr.now" || break
        sleep 1
    done
    await_window '^Tolm 2000$'
    main_x=$X
    main_y=$Y
}

stop_tolm() {
    kill -TERM "$pid"
    wait "$pid" || fail "tolm did not end cleanly on SIGTERM"
}

# The value of property $2 of the $3-th item record (1-based) in shelf file $1.
item_property() {
    "$shelf" dump "$1" | awk -v want="$2" -v n="$3" '
        /^object TSpButton/ { i++ }
        i == n && $1 == want { sub(/^[^=]*= /, ""); print; exit }'
}

# The header and font dialog record of an empty shelf file at $1 with the
# window at ($2, $3), as text for "tolm-shelf build"; items may be appended.
shelf_head() {
    cat <<TEXT
header
    magic = 991091
    left = $2
    top = $3
    right = $(($2 + 300))
    bottom = $(($3 + 150))
    frameShown = 1
    alwaysButtons = 0
    padding = 0 0
    color = clBtnFace
end

object TFontDialog "FontDialog1"
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = "MS Sans Serif"
    Font.Style = []
    MinFontSize = 0
    MaxFontSize = 0
    Options = [fdEffects, fdApplyButton]
end
TEXT
}

# An item record: kind, left, top, then extra "Name = value" lines.
item() {
    local clase=$1 left=$2 top=$3
    shift 3
    printf '\nobject TSpButton ""\n    Left = %s\n    Top = %s\n    Width = 40\n    Height = 40\n' "$left" "$top"
    printf '    ParentShowHint = False\n    ShowHint = True\n    OnClick = SpButtonClick\n'
    printf '    OnMouseDown = SpButtonMouseDown\n    OnMouseMove = SpButtonMouseMove\n    OnMouseUp = SpButtonMouseUp\n'
    printf '    Clase = %s\n' "$clase"
    for line in "$@"; do printf '    %s\n' "$line"; done
    printf 'end\n'
}
