#!/bin/sh
# Runs a command on a private virtual X server; exit status 77 (skipped) when there is none.
if ! command -v xvfb-run >/dev/null 2>&1; then
    echo "xvfb-run not found; skipped"
    exit 77
fi
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
