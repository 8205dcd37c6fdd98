#!/bin/sh
# Drives the real editor on an X server with xdotool: types a comment, takes it back with Ctrl+Z
# and brings it again with Ctrl+Shift+Z from another window, saves with Ctrl+S after each and
# reads the file back with glyfora-cli; Ctrl+Q ends the editor without a question.
# Usage: drive_undo_keys.sh GLYFORA GLYFORA_CLI TYPEFACE   (run under RunUnderXvfb.sh)
set -eu
glyfora=$1 cli=$2 sample=$3
command -v xdotool >/dev/null 2>&1 || { echo "xdotool not found; skipped"; exit 77; }
scratch=$(mktemp -d)
trap 'kill "$editor" 2>/dev/null || true; rm -rf "$scratch"' EXIT
cp "$sample" "$scratch/face.tf"
export HOME="$scratch" XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data"
export APPDATA="$scratch/appdata" GLYFORA_NO_FILE_TYPE_CHECK=1 QT_QPA_PLATFORM=xcb
"$glyfora" "$scratch/face.tf" &
editor=$!

main=$(xdotool search --sync --onlyvisible --name '^Glyfora$' | head -n 1)
characterSet=$(xdotool search --sync --onlyvisible --name '^Zeichensatz$' | head -n 1)
sleep 1

comment() { "$cli" info "$scratch/face.tf" --json | grep -o '"Comment": *"[^"]*"' || true; }
press() {
    xdotool windowfocus --sync "$1"
    xdotool key --clearmodifiers "$2"
    sleep 0.5
}
# A save renames a new file into place: wait until the file is another one, for at most 20 s, so
# that a slow (sanitized, loaded) build is not read before it has written.
save() {
    before=$(stat -c %i "$scratch/face.tf")
    press "$1" ctrl+s
    for i in $(seq 1 40); do
        [ "$(stat -c %i "$scratch/face.tf")" != "$before" ] && return
        sleep 0.5
    done
}

# The comment field fills the lower part of the main window; its right end is clear of the import
# window, which a first start shows over the main window.
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool windowfocus --sync "$main"
xdotool mousemove --window "$main" $((WIDTH - 100)) $((HEIGHT - 120)) click 1
sleep 0.3
xdotool type --delay 30 "undo me"
# Another window takes the focus: the comment is committed as one step.
xdotool windowfocus --sync "$characterSet"
sleep 0.5
save "$characterSet"
after=$(comment)
press "$characterSet" ctrl+z
save "$characterSet"
undone=$(comment)
xdotool windowfocus --sync "$main"
press "$main" ctrl+shift+z
save "$main"
redone=$(comment)
press "$main" ctrl+q
for i in 1 2 3 4 5 6 7 8 9 10; do
    kill -0 "$editor" 2>/dev/null || break
    sleep 0.5
done

status=0
[ "$after" = '"Comment": "undo me"' ] || { echo "typed: $after"; status=1; }
[ "$undone" != "$after" ] || { echo "Ctrl+Z in the character-set window did not undo"; status=1; }
[ "$redone" = "$after" ] || { echo "Ctrl+Shift+Z did not redo: $redone"; status=1; }
if kill -0 "$editor" 2>/dev/null; then
    echo "Ctrl+Q did not end the editor"
    status=1
fi
exit $status
