#!/bin/sh
# Writes .fnt and .json samples (row and compact) and reads them with the BMFont parsers from the npm
# registry (the JSON through load-bmfont, which engines' loaders are modelled on).
# Usage: run_interop.sh WRITER SCRIPT WORK_FOLDER
# Exit status 77 (skipped) when Node.js, npm or the packages cannot be had; nothing is vendored:
# the packages are installed into the build folder on first use.
set -u
writer=$1
script=$2
work=$3

command -v node >/dev/null 2>&1 || { echo "SKIP: node not found"; exit 77; }
rm -rf "$work/out"
mkdir -p "$work/out" "$work/npm" || exit 1
"$writer" "$work/out" || exit 1

modules="$work/npm/node_modules"
if [ ! -f "$modules/parse-bmfont-ascii/package.json" ] ||
   [ ! -f "$modules/parse-bmfont-xml/package.json" ] ||
   [ ! -f "$modules/parse-bmfont-binary/package.json" ] ||
   [ ! -f "$modules/load-bmfont/package.json" ]; then
    command -v npm >/dev/null 2>&1 || { echo "SKIP: npm not found"; exit 77; }
    # Bounded, so an offline machine skips within a minute instead of hanging.
    if ! timeout 120 npm install --no-save --no-audit --no-fund --no-package-lock \
            --fetch-retries=1 --fetch-timeout=30000 --prefix "$work/npm" \
            parse-bmfont-ascii@^1 parse-bmfont-xml@^1 parse-bmfont-binary@^1 load-bmfont@^1 >"$work/npm.log" 2>&1; then
        echo "SKIP: npm install failed (offline?); see $work/npm.log"
        exit 77
    fi
fi
node "$script" "$work/out" "$modules" && node "$script" "$work/out/compact" "$modules" &&
    node "$script" "$work/out/paged" "$modules"
