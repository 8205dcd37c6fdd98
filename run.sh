#!/usr/bin/env bash
# Builds the editor (release) and starts it; arguments go to the editor, e.g. a typeface to open.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-dependencies.sh
cmake --preset release >/dev/null
cmake --build --preset release --target glyfora
exec build/release/src/glyfora "$@"
