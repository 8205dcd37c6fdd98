#!/usr/bin/env bash
# Builds what is needed (release) and starts the editor.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-dependencies.sh
cmake --preset release >/dev/null
cmake --build --preset release
exec build/release/src/cli/glyfora-cli --help
