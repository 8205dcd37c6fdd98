#!/usr/bin/env bash
# Compares a DejaVu Sans import against a bare FreeType loop that renders the same glyphs into a
# same-sized PNG, in the same run: CPU time (user + system, best of RUNS; steadier than wall time
# on a shared machine), wall time (best of RUNS) and peak memory, with ratios.
# Usage: bench/import_bench.sh [BUILD_DIR] (default build/release)
# When BUILD_DIR holds glyfora-cli with the import command, the import side runs the tool
# (which also writes the .tf file); otherwise it runs the library pipeline through the bench.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
runs=${RUNS:-3}
bench=$build/bench/glyfora_bench_import
cli=$build/src/cli/glyfora-cli
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

use_cli=0
if [[ -x $cli ]] && "$cli" import --help >/dev/null 2>&1; then
    use_cli=1
fi

# measure CMD...: prints "cpu-seconds wall-seconds kilobytes": the best runs and the largest peak.
measure() {
    local best="" bestcpu="" peak=0
    for _ in $(seq "$runs"); do
        /usr/bin/time -v -o "$out/time" "$@" >/dev/null 2>"$out/stderr"
        local wall rss cpu
        cpu=$(awk -F': ' '/User time|System time/ {s+=$2} END {print s}' "$out/time")
        wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {n=split($2,p,":"); s=0; for(i=1;i<=n;i++) s=s*60+p[i]; print s}' "$out/time")
        rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$out/time")
        if [[ -z $best ]] || awk -v a="$wall" -v b="$best" 'BEGIN{exit !(a<b)}'; then best=$wall; fi
        if [[ -z $bestcpu ]] || awk -v a="$cpu" -v b="$bestcpu" 'BEGIN{exit !(a<b)}'; then bestcpu=$cpu; fi
        (( rss > peak )) && peak=$rss
    done
    echo "$bestcpu $best $peak"
}

printf '%-20s %9s %9s %7s %9s %9s %7s %9s %9s %7s\n' case "g cpu s" "ft cpu s" "cpu x" "g wall s" "ft wall s" "wall x" "g MB" "ft MB" "mem x"
for run in "latin 24" "all 24" "all 64"; do
    read -r set size <<<"$run"
    if (( use_cli )); then
        extra=(); [[ $set == all ]] && extra=(--unicode)
        read -r gc gs gk < <(measure "$cli" import --family "DejaVu Sans" --size "$size" "${extra[@]}" -o "$out/f.tf")
    else
        read -r gc gs gk < <(measure "$bench" glyfora "$size" "$set" "$out/g.png")
    fi
    read -r fc fs fk < <(measure "$bench" freetype "$size" "$set" "$out/f.png")
    awk -v c="$set codes, ${size} px" -v gc="$gc" -v fc="$fc" -v gs="$gs" -v fs="$fs" -v gk="$gk" -v fk="$fk" 'BEGIN {
        printf "%-20s %9.2f %9.2f %7.2f %9.2f %9.2f %7.2f %9.1f %9.1f %7.2f\n", c, gc, fc, gc/fc, gs, fs, gs/fs, gk/1024, fk/1024, gk/fk }'
done
if (( use_cli )); then echo "import side: glyfora-cli import (writes the .tf)"; else echo "import side: library pipeline + PNG (glyfora-cli import not built)"; fi
