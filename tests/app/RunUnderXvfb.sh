#!/bin/sh
# Runs a command on a private virtual X server; exit status 77 (skipped) when there is none.
# Usage: RunUnderXvfb.sh [--screen WIDTHxHEIGHT] COMMAND...   (1280x1024 unless given)
if ! command -v xvfb-run >/dev/null 2>&1; then
    echo "xvfb-run not found; skipped"
    exit 77
fi
screen=1280x1024
if [ "${1:-}" = "--screen" ]; then
    screen=$2
    shift 2
fi
exec xvfb-run -a -s "-screen 0 ${screen}x24" "$@"
