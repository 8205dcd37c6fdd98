#!/usr/bin/env bash
# Compares font imports with a bare single-thread FreeType loop that renders the same glyphs into
# a same-sized PNG with libpng's defaults, in the same run. For each workload it times
# glyfora-cli import with one worker and with WORKERS (default: every core), and reports wall time
# (best of RUNS), CPU time (user + system, best of RUNS), peak memory (largest of RUNS), the .tf
# file's size against the baseline's PNG plus the records a file needs (18 bytes a character,
# 6 a pair), the ratios, and the speed-up from one worker to WORKERS; then, once, how long the
# picture takes to make before any PNG is written.
# Usage: bench/import_bench.sh [BUILD_DIR] (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
runs=${RUNS:-3}
workers=${WORKERS:-$(nproc)}
bench=$build/bench/glyfora_bench_import
cli=$build/src/cli/glyfora-cli
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# measure CMD...: prints "wall-seconds cpu-seconds kilobytes": the best runs and the largest peak.
# The last run's standard output is kept in $out/stdout.
measure() {
    local best="" bestcpu="" peak=0
    for _ in $(seq "$runs"); do
        /usr/bin/time -v -o "$out/time" "$@" >"$out/stdout" 2>"$out/stderr"
        local wall rss cpu
        cpu=$(awk -F': ' '/User time|System time/ {s+=$2} END {print s}' "$out/time")
        wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {n=split($2,p,":"); s=0; for(i=1;i<=n;i++) s=s*60+p[i]; print s}' "$out/time")
        rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$out/time")
        if [[ -z $best ]] || awk -v a="$wall" -v b="$best" 'BEGIN{exit !(a<b)}'; then best=$wall; fi
        if [[ -z $bestcpu ]] || awk -v a="$cpu" -v b="$bestcpu" 'BEGIN{exit !(a<b)}'; then bestcpu=$cpu; fi
        (( rss > peak )) && peak=$rss
    done
    echo "$best $bestcpu $peak"
}

# Workloads: family, size, max width (the baseline packs rows as wide).
workloads=(
    "DejaVu Sans|24|512"
    "WenQuanYi Zen Hei|32|4096"
    "DejaVu Sans|64|1024"
)
printf '%-24s %8s %8s %8s %7s %7s | %8s %8s %7s | %9s %9s %6s\n' workload "base s" "1 job s" \
    "$workers jobs s" "time x" "1->$workers" "base MB" "MB" "mem x" "tf bytes" "base+rec" "size x"
for workload in "${workloads[@]}"; do
    IFS='|' read -r family size width <<<"$workload"
    read -r bs bc bk < <(measure "$bench" freetype "$family" "$size" all "$width" "$out/base.png")
    glyphs=$(grep -o '[0-9]* glyphs' "$out/stdout" | cut -d' ' -f1)
    args=(import --family "$family" --size "$size" --unicode --max-width "$width")
    read -r s1 c1 k1 < <(measure "$cli" "${args[@]}" --jobs 1 -o "$out/one.tf")
    read -r sn cn kn < <(measure "$cli" "${args[@]}" --jobs "$workers" -o "$out/all.tf")
    cmp -s "$out/one.tf" "$out/all.tf" || echo "warning: $family $size differs between 1 and $workers workers" >&2
    read -r characters pairs < <(sed -E 's/.*: ([0-9]+) characters, ([0-9]+) kerning pairs.*/\1 \2/' "$out/stdout")
    tf=$(stat -c %s "$out/all.tf")
    png=$(stat -c %s "$out/base.png")
    awk -v w="$family $size ($glyphs)" -v bs="$bs" -v s1="$s1" -v sn="$sn" -v bk="$bk" -v kn="$kn" \
        -v tf="$tf" -v png="$png" -v ch="$characters" -v pr="$pairs" 'BEGIN {
        base = png + 18 * ch + 6 * pr
        printf "%-24s %8.2f %8.2f %8.2f %7.2f %7.2f | %8.1f %8.1f %7.2f | %9d %9d %6.2f\n",
            w, bs, s1, sn, sn / bs, s1 / sn, bk / 1024, kn / 1024, kn / bk, tf, base, tf / base }'
    echo "  cpu s: base $bc, 1 job $c1, $workers jobs $cn; 1 job peak $(awk -v k="$k1" 'BEGIN{printf "%.1f", k/1024}') MB"
    # The picture alone, before any PNG is written: what the workers speed up.
    pictures=()
    for mode in "freetype" "glyfora 1" "glyfora $workers"; do
        read -r kind jobs <<<"$mode"
        "$bench" "$kind" "$family" "$size" all "$width" "$out/p.png" ${jobs:+"$jobs"} >"$out/stdout"
        pictures+=("$(sed -E 's/.*picture ([0-9.]+) s.*/\1/' "$out/stdout")")
    done
    echo "  picture s (before the PNG): base ${pictures[0]}, 1 job ${pictures[1]}, $workers jobs ${pictures[2]}"
done
echo "time x and mem x: $workers workers against the baseline; 1->$workers: wall-time speed-up"
