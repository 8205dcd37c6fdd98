#!/usr/bin/env bash
# Builds the editor (release) and starts it; arguments go to the editor, e.g. a typeface to open.
# Without arguments it opens the sample typeface (DejaVu Sans 24) made during the build.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-dependencies.sh
cmake --preset release >/dev/null
cmake --build --preset release --target glyfora
if [[ $# -eq 0 ]]; then
    set -- build/release/samples/DejaVuSans-24.tf
fi
exec build/release/src/glyfora "$@"
