#!/usr/bin/env bash
# Makes docs/screenshot.png: the editor as ./run.sh first shows it (the sample typeface) with the
# character "A" selected, on a virtual X server with a window manager (openbox, so that windows
# have frames) and fresh settings. Needs the release build (./run.sh makes it), or the build folder
# named in GLYFORA_BUILD.
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ "${1:-}" != --inside-display ]]; then
    exec xvfb-run -a -s "-screen 0 1920x1080x24" "$0" --inside-display
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export HOME=$scratch XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data
export APPDATA=$scratch/appdata GLYFORA_NO_FILE_TYPE_CHECK=1
# The import window would cover the main window; the other windows keep their first-run places.
mkdir -p "$APPDATA/Zorbatek/Glyfora"
printf '[WindowImport]\nHide = 1\n' >"$APPDATA/Zorbatek/Glyfora/Configuration.ini"

build=${GLYFORA_BUILD:-build/release}
openbox &
manager=$!
sleep 1
"$build/src/glyfora" "$build/samples/DejaVuSans-24.tf" &
editor=$!
main=$(xdotool search --sync --onlyvisible --name '^Glyfora$' | head -n 1)
sleep 2
# The click lands on the second row ("!"); "A" is 32 rows further down.
xdotool windowactivate --sync "$main" mousemove --window "$main" 60 95 click 1
xdotool key --repeat 32 --delay 20 Down
sleep 2
import -window root "$scratch/screen.png"
kill "$editor" "$manager"
# The windows sit between 200, 80 and 1460, 1080 at first run; a palette keeps the file small.
convert "$scratch/screen.png" -crop 1260x1000+200+80 +repage -colors 128 docs/screenshot.png
ls -l docs/screenshot.png
