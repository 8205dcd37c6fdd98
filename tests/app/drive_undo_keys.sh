#!/bin/sh
# Drives the real editor on an X server with xdotool: types a comment, takes it back with Ctrl+Z
# and brings it again with Ctrl+Shift+Z from another window, saves with Ctrl+S after each and
# reads the file back with glyfora-cli; Ctrl+Q ends the editor without a question.
# Usage: drive_undo_keys.sh GLYFORA GLYFORA_CLI TYPEFACE   (run under RunUnderXvfb.sh)
set -eu
glyfora=$1 cli=$2 sample=$3
. "$(dirname "$0")/EditorDriving.sh"
face="$scratch/face.tf"
cp "$sample" "$face"
start_editor "$face"
main=$(window "$editor" Glyfora)
characterSet=$(window "$editor" Zeichensatz)
sleep 1

comment() { "$cli" info "$face" --json | grep -o '"Comment": *"[^"]*"' || true; }
# Ctrl+S, then wait until the new file is in place.
save() {
    before=$(inode "$face")
    press "$1" ctrl+s
    wait_for_new_file "$face" "$before" || true
}

# The comment field's right end is clear of the import window, which a first start shows over
# the main window.
type_comment "$main" "undo me" "$characterSet"
save "$characterSet"
after=$(comment)
press "$characterSet" ctrl+z
save "$characterSet"
undone=$(comment)
xdotool windowfocus --sync "$main"
press "$main" ctrl+shift+z
save "$main"
redone=$(comment)

status=0
[ "$after" = '"Comment": "undo me"' ] || { echo "typed: $after"; status=1; }
[ "$undone" != "$after" ] || { echo "Ctrl+Z in the character-set window did not undo"; status=1; }
[ "$redone" = "$after" ] || { echo "Ctrl+Shift+Z did not redo: $redone"; status=1; }
quit "$main" "$editor" || { echo "Ctrl+Q did not end the editor"; status=1; }
exit $status
