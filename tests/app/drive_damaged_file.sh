#!/bin/sh
# Drives the real editor, under a window manager, with a ".tf" whose picture chunk is damaged:
# opening it warns that it was only partly read and shows the characters and pairs after the
# damage; an edit and Ctrl+S ask before the file is written over, and Return (the default, "Keep
# Original") leaves the file as it was, byte for byte.
# Usage: drive_damaged_file.sh GLYFORA GLYFORA_CLI TYPEFACE   (run under RunUnderXvfb.sh)
set -eu
glyfora=$1 cli=$2 sample=$3
. "$(dirname "$0")/EditorDriving.sh"
start_window_manager
face="$scratch/damaged.tf"
cp "$sample" "$face"
# Eight bytes a quarter into the file lie inside the picture, the first and largest chunk.
printf '\377\377\377\377\377\377\377\377' |
    dd of="$face" bs=1 seek=$(($(stat -c %s "$face") / 4)) conv=notrunc 2>/dev/null
cp "$face" "$scratch/as-damaged.tf"
characters=$("$cli" info "$face" | grep '^Characters:')

status=0
start_editor "$face"
main=$(window "$editor" Glyfora)
warning=$(window "$editor" "Open Typeface") || status=1
press "$warning" Return
characterSet=$(window "$editor" Zeichensatz)
type_comment "$main" "edited" "$characterSet"
press "$main" ctrl+s
question=$(window "$editor" "Save Typeface") || { echo "Ctrl+S wrote without asking"; status=1; }
press "$question" Return
sleep 1
cmp -s "$face" "$scratch/as-damaged.tf" || { echo "Keep Original changed the file"; status=1; }
[ "$characters" != "Characters: 0" ] || { echo "the chunks after the damage were lost"; status=1; }
exit $status
