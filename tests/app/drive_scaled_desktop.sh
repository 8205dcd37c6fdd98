#!/bin/sh
# Drives the real editor, under a window manager, on a 1920 x 1080 screen scaled to 2x: every
# window lies inside the screen, also after a window was moved to the edge, the editor ended and
# its positions were restored.
# Usage: drive_scaled_desktop.sh GLYFORA TYPEFACE   (run under RunUnderXvfb.sh --screen 1920x1080)
set -eu
glyfora=$1 sample=$2
. "$(dirname "$0")/EditorDriving.sh"
start_window_manager
export QT_SCALE_FACTOR=2
cp "$sample" "$scratch/face.tf"
status=0

# all_inside PROCESS: every visible window of the process lies within the screen.
all_inside() {
    for id in $(xdotool search --all --onlyvisible --pid "$1" --name '.'); do
        eval "$(xdotool getwindowgeometry --shell "$id")"
        if [ "$X" -lt 0 ] || [ "$Y" -lt 0 ] || [ $((X + WIDTH)) -gt 1920 ] ||
            [ $((Y + HEIGHT)) -gt 1080 ]; then
            echo "\"$(xdotool getwindowname "$id")\" lies at $X,$Y, $WIDTH x $HEIGHT"
            status=1
        fi
    done
}

start_editor "$scratch/face.tf"
main=$(window "$editor" Glyfora)
characterSet=$(window "$editor" Zeichensatz)
sleep 2
all_inside "$editor"
# Half off the right edge and the bottom, where a position stored in device pixels would land.
xdotool windowmove "$characterSet" 1500 700
sleep 0.5
quit "$main" "$editor" || { echo "Ctrl+Q did not end the editor"; status=1; }

start_editor "$scratch/face.tf"
main=$(window "$editor" Glyfora)
window "$editor" Zeichensatz >/dev/null
sleep 2
all_inside "$editor"
quit "$main" "$editor" || { echo "Ctrl+Q did not end the restarted editor"; status=1; }
exit $status
