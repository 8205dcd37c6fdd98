#!/usr/bin/env bash
# Makes docs/screenshot.png: the editor as ./run.sh first shows it (the sample typeface), on a
# virtual X server with fresh settings. Needs the release build (./run.sh makes it).
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

build/release/src/glyfora build/release/samples/DejaVuSans-24.tf &
editor=$!
sleep 5
import -window root "$scratch/screen.png"
kill "$editor"
# The windows sit between 200, 80 and 1460, 960 at first run; a palette keeps the file small.
convert "$scratch/screen.png" -crop 1260x880+200+80 +repage -colors 128 docs/screenshot.png
ls -l docs/screenshot.png
