# Sourced by the scripts that drive the real editor on an X server with xdotool (run under
# RunUnderXvfb.sh). Gives each run a home, configuration and temporary folder of its own, a window
# manager on request, and the small steps the scripts are made of.
command -v xdotool >/dev/null 2>&1 || { echo "xdotool not found; skipped"; exit 77; }
scratch=$(mktemp -d)
started=""
trap 'for pid in $started; do kill "$pid" 2>/dev/null || true; done; rm -rf "$scratch"' EXIT
mkdir -p "$scratch/tmp"
export HOME="$scratch" XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data"
export APPDATA="$scratch/appdata" TMPDIR="$scratch/tmp" GLYFORA_NO_FILE_TYPE_CHECK=1
export QT_QPA_PLATFORM=xcb

# start_window_manager: openbox, as a desktop has one; skipped (77) when it is not installed.
start_window_manager() {
    command -v openbox >/dev/null 2>&1 || { echo "openbox not found; skipped"; exit 77; }
    openbox --sm-disable >/dev/null 2>&1 &
    started="$started $!"
    sleep 1
}

# start_editor FILE: starts the editor on FILE; $editor is its process.
start_editor() {
    "$glyfora" "$1" &
    editor=$!
    started="$started $editor"
}

# window PROCESS TITLE: the visible window of that process with that title, waiting up to 60 s.
window() {
    for i in $(seq 1 120); do
        found=$(xdotool search --all --onlyvisible --pid "$1" --name "^$2\$" 2>/dev/null | head -n 1)
        [ -n "$found" ] && { echo "$found"; return 0; }
        sleep 0.5
    done
    echo "no window \"$2\" appeared" >&2
    return 1
}

press() {
    xdotool windowfocus --sync "$1"
    xdotool key --clearmodifiers "$2"
    sleep 0.5
}

# click WINDOW X Y: a left click at a point of the window.
click() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep 0.5
}

# type_comment MAIN TEXT OTHER: types into the comment field, which fills the lower part of the
# main window, then gives the focus to another window, which commits it as one step.
type_comment() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool windowfocus --sync "$1"
    click "$1" $((WIDTH - 100)) $((HEIGHT - 120))
    xdotool type --delay 30 "$2"
    xdotool windowfocus --sync "$3"
    sleep 0.5
}

# inode FILE: which file the name stands for now; a save renames a new one into place.
inode() { stat -c %i "$1"; }

# wait_for_new_file FILE INODE: waits up to 20 s until FILE is no longer that file.
wait_for_new_file() {
    for i in $(seq 1 40); do
        [ "$(inode "$1")" != "$2" ] && return 0
        sleep 0.5
    done
    return 1
}

# quit MAIN PROCESS: Ctrl+Q, and the process ends within 5 s.
quit() {
    press "$1" ctrl+q
    for i in $(seq 1 10); do
        kill -0 "$2" 2>/dev/null || return 0
        sleep 0.5
    done
    return 1
}
