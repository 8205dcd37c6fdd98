#!/bin/sh
# Drives two real editors at once, under a window manager: each exports its picture for external
# editing ("Edit" of the character-set window) as "CharacterSet.png" into a folder of its own; a
# change to the second one's picture reloads it into the second editor only, and each folder is
# gone when its editor ends.
# Usage: drive_two_editors.sh GLYFORA TYPEFACE   (run under RunUnderXvfb.sh)
set -eu
glyfora=$1 sample=$2
. "$(dirname "$0")/EditorDriving.sh"
start_window_manager
# The external editor is a program that does nothing: the script changes the picture itself.
mkdir -p "$APPDATA/Zorbatek/Glyfora"
printf '[WindowCharacterSet]\nEditor = /bin/true\n' \
    >"$APPDATA/Zorbatek/Glyfora/Configuration.ini"
cp "$sample" "$scratch/first.tf"
cp "$sample" "$scratch/second.tf"

# open_and_export FILE: starts an editor on FILE and clicks "Edit", the first entry of its
# character-set window's menu bar; sets $editor and $main.
open_and_export() {
    start_editor "$1"
    main=$(window "$editor" Glyfora)
    characterSet=$(window "$editor" Zeichensatz)
    sleep 1
    xdotool windowfocus --sync "$characterSet"
    click "$characterSet" 15 10
}
open_and_export "$scratch/first.tf"
first=$editor firstMain=$main
open_and_export "$scratch/second.tf"
second=$editor secondMain=$main
sleep 1

status=0
folders=$(ls -d "$TMPDIR"/glyfora-* 2>/dev/null | wc -l)
[ "$folders" -eq 2 ] || { echo "expected two export folders, found $folders"; status=1; }
[ ! -e "$TMPDIR/CharacterSet.png" ] || { echo "a picture was exported into the shared folder"; status=1; }
# The newest folder is the second editor's. Its picture changes a second later, as an external
# editor saves it: written beside it, then renamed into place.
picture="$(ls -td "$TMPDIR"/glyfora-* | head -n 1)/CharacterSet.png"
sleep 1.1
convert "$picture" -negate "$picture.new.png"
mv "$picture.new.png" "$picture"
sleep 2

# Only the second editor reloaded the picture, so only its Ctrl+S has a change to write.
firstFile=$(inode "$scratch/first.tf") secondFile=$(inode "$scratch/second.tf")
press "$firstMain" ctrl+s
press "$secondMain" ctrl+s
wait_for_new_file "$scratch/second.tf" "$secondFile" || { echo "the second editor did not reload its picture"; status=1; }
[ "$(inode "$scratch/first.tf")" = "$firstFile" ] || { echo "the first editor took the second one's picture"; status=1; }

quit "$firstMain" "$first" || { echo "the first editor did not end"; status=1; }
quit "$secondMain" "$second" || { echo "the second editor did not end"; status=1; }
left=$(ls -d "$TMPDIR"/glyfora-* 2>/dev/null | wc -l)
[ "$left" -eq 0 ] || { echo "$left export folders were left behind"; status=1; }
exit $status
