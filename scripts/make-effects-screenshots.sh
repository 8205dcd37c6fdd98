#!/usr/bin/env bash
# Makes the README's effect pictures on a virtual X server with a window manager:
# docs/outlined-atlas.png, the character-set window at zoom 2 showing DejaVu Sans 24 imported with
# a 2-pixel black outline, and docs/distance-field-8x.png, the example window drawing DejaVu Sans
# 24 at 8x from its "Ansicht" menu, imported plainly (above) and as a distance field of spread 4
# (below). Needs the release build (./run.sh makes it), or the build folder named in
# GLYFORA_BUILD.
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ "${1:-}" != --inside-display ]]; then
    exec xvfb-run -a -s "-screen 0 1920x1080x24" "$0" --inside-display
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export HOME=$scratch XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data
export APPDATA=$scratch/appdata GLYFORA_NO_FILE_TYPE_CHECK=1
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
build=${GLYFORA_BUILD:-build/release}
cli=$build/src/cli/glyfora-cli

"$cli" import --family "DejaVu Sans" --size 24 --outline 2 -o "$scratch/outlined.tf"
"$cli" import --family "DejaVu Sans" --size 24 --sdf 4 -o "$scratch/field.tf"
"$cli" import --family "DejaVu Sans" --size 24 -o "$scratch/plain.tf"

# Only the window each picture shows, at a place and size of its own.
configure() {
    mkdir -p "$APPDATA/Zorbatek/Glyfora"
    printf '%s\n' "[WindowImport]" "Hide = 1" "[WindowCharacter]" "Hide = 1" \
        "[WindowKerningPair]" "Hide = 1" "[WindowMain]" "X = 1000" "Y = 500" "$@" \
        >"$APPDATA/Zorbatek/Glyfora/Configuration.ini"
}

# shot FILE TITLE OUT [CROP]: starts the editor on FILE, runs the steps in the function "steps" on
# the window TITLE, and keeps that window's inside (or the CROP geometry of it) as OUT.
shot() {
    "$build/src/glyfora" "$1" &
    local editor=$!
    local window
    window=$(xdotool search --sync --onlyvisible --name "^$2\$" | head -n 1)
    sleep 2
    steps "$window"
    sleep 2
    import -window "$window" "$scratch/window.png"
    kill "$editor"
    wait "$editor" || true
    convert "$scratch/window.png" -crop "${4:-100%}" +repage "$3"
}

openbox &
manager=$!
sleep 1

configure "[WindowExample]" "Hide = 1" \
    "[WindowCharacterSet]" "X = 40" "Y = 40" "Width = 560" "Height = 440" "Zoom = 2"
steps() { :; }
shot "$scratch/outlined.tf" Zeichensatz "$scratch/atlas.png"
convert "$scratch/atlas.png" +dither -colors 64 docs/outlined-atlas.png

configure "[WindowCharacterSet]" "Hide = 1" \
    "[WindowExample]" "X = 40" "Y = 40" "Width = 900" "Height = 300"
steps() {
    # The context menu of the example screen (below the text field): the fourth entry, 8x.
    xdotool mousemove --window "$1" 300 150 click 3
    sleep 1
    xdotool key --delay 100 Down Down Down Down Return
}
shot "$scratch/plain.tf" Beispiel "$scratch/plain.png" 640x220+0+0
shot "$scratch/field.tf" Beispiel "$scratch/field.png" 640x220+0+0
convert "$scratch/plain.png" "$scratch/field.png" -append +dither -colors 64 \
    docs/distance-field-8x.png

kill "$manager"
ls -l docs/outlined-atlas.png docs/distance-field-8x.png
