#!/usr/bin/env bash
# Times glyfora-cli import of every covered character of a font (default DejaVu Sans 24) plain,
# with a 2-pixel outline and a blurred shadow, and as a distance field of spread 4, in one run,
# and reports the best wall and CPU time of RUNS (default 5) and each against the plain import.
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

# best CMD...: prints "wall-seconds cpu-seconds", each the best of the runs.
best() {
    local wall="" cpu=""
    for _ in $(seq "$runs"); do
        /usr/bin/time -f '%e %U %S' -o "$out/time" "$@" >/dev/null 2>"$out/stderr"
        read -r w u s <"$out/time"
        local c
        c=$(awk -v u="$u" -v s="$s" 'BEGIN{print u+s}')
        if [[ -z $wall ]] || awk -v a="$w" -v b="$wall" 'BEGIN{exit !(a<b)}'; then wall=$w; fi
        if [[ -z $cpu ]] || awk -v a="$c" -v b="$cpu" 'BEGIN{exit !(a<b)}'; then cpu=$c; fi
    done
    echo "$wall $cpu"
}

base=(import --family "$family" --size "$size" --unicode)
printf '%-28s %8s %8s %8s %8s %10s\n' import "wall s" "cpu s" "wall x" "cpu x" "tf bytes"
read -r pw pc < <(best "$cli" "${base[@]}" -o "$out/plain.tf")
for variant in "plain|" "outline 2 + shadow 2,2,2|--outline 2 --shadow 2,2,2" "sdf 4|--sdf 4"; do
    IFS='|' read -r name flags <<<"$variant"
    # shellcheck disable=SC2086
    read -r w c < <(best "$cli" "${base[@]}" $flags -o "$out/effect.tf")
    printf '%-28s %8.2f %8.2f %8.2f %8.2f %10d\n' "$name" "$w" "$c" \
        "$(awk -v a="$w" -v b="$pw" 'BEGIN{print a/b}')" \
        "$(awk -v a="$c" -v b="$pc" 'BEGIN{print a/b}')" "$(stat -c %s "$out/effect.tf")"
done
