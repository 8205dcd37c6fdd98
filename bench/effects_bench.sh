#!/usr/bin/env bash
# Times glyfora-cli import of every covered character of a font (default DejaVu Sans 24) plain,
# with a 2-pixel outline and a blurred shadow, and as a distance field of spread 4, in one run,
# and reports the median wall and CPU time of RUNS (default 5) and each against the plain import.
# Wall time is taken to the microsecond around each run (bash's EPOCHREALTIME), CPU time from
# /usr/bin/time (to the hundredth of a second).
# Usage: bench/effects_bench.sh [BUILD_DIR] (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
runs=${RUNS:-5}
family=${FAMILY:-DejaVu Sans}
size=${SIZE:-24}
cli=$build/src/cli/glyfora-cli
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# median CMD...: prints "wall-seconds cpu-seconds", each the median of the runs.
median() {
    local walls=() cpus=()
    for _ in $(seq "$runs"); do
        local start=$EPOCHREALTIME
        /usr/bin/time -f '%U %S' -o "$out/time" "$@" >/dev/null 2>"$out/stderr"
        local end=$EPOCHREALTIME
        read -r u s <"$out/time"
        walls+=("$(awk -v a="$start" -v b="$end" 'BEGIN{print b-a}')")
        cpus+=("$(awk -v u="$u" -v s="$s" 'BEGIN{print u+s}')")
    done
    echo "$(printf '%s\n' "${walls[@]}" | sort -g | awk '{v[NR]=$1} END{print v[int((NR+1)/2)]}')" \
        "$(printf '%s\n' "${cpus[@]}" | sort -g | awk '{v[NR]=$1} END{print v[int((NR+1)/2)]}')"
}

base=(import --family "$family" --size "$size" --unicode)
printf '%-28s %8s %8s %8s %8s %10s\n' import "wall s" "cpu s" "wall x" "cpu x" "tf bytes"
read -r pw pc < <(median "$cli" "${base[@]}" -o "$out/plain.tf")
for variant in "plain|" "outline 2 + shadow 2,2,2|--outline 2 --shadow 2,2,2" "sdf 4|--sdf 4"; do
    IFS='|' read -r name flags <<<"$variant"
    # shellcheck disable=SC2086
    read -r w c < <(median "$cli" "${base[@]}" $flags -o "$out/effect.tf")
    printf '%-28s %8.3f %8.2f %8.2f %8.2f %10d\n' "$name" "$w" "$c" \
        "$(awk -v a="$w" -v b="$pw" 'BEGIN{print a/b}')" \
        "$(awk -v a="$c" -v b="$pc" 'BEGIN{print a/b}')" "$(stat -c %s "$out/effect.tf")"
done
